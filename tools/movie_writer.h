// Writing ZQM movies: Matroska files with one lossless FFV1 video stream and
// optional 16-bit PCM audio tracks, made with FFmpeg, which the engine's
// movie library plays back exactly.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct MovieTrack {
  int rate = 0;                  // Hz
  int channels = 0;              // 1 or 2
  std::vector<int16_t> samples;  // interleaved
};

struct MovieContent {
  int width = 0;
  int height = 0;
  int frames_per_second = 15;                // 1 .. 1000
  std::vector<std::vector<uint8_t>> frames;  // width x height x 3 bytes R, G, B, rows top to bottom
  std::vector<MovieTrack> audio;
};

// Writes the movie to a temporary file beside `path` and renames it over
// `path`. False with a message when the content is not writable (sizes,
// rates) or FFmpeg fails.
bool Movie_File_Write(const MovieContent& content, const std::string& path, std::string& error);
