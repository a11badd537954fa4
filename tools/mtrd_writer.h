// Writing MTRD videos: 16-bit RGB565 frames, each packed with method 6 or 7
// against the frame before it, and optional sound cut into one block a
// frame, stored as each version stores it (PCM packed with method 3; the
// codes of versions 1280 and 1284 at 16 bits chosen to follow the samples
// as closely as their steps allow).
//
// Chunk order: VERS, the header of the version, PALE, the sound parameters,
// PICT (frame 0), then for every frame its SAMP and the ANIM of the next
// frame; the last ANIM repeats the last frame, so every video, one frame
// long too, has the ANIM chunk players require and frame count F.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct MtrdVideoContent {
  int32_t version = 1283;  // 1280 .. 1284
  int32_t width = 0;
  int32_t height = 0;
  int32_t frames_per_second = 15;            // 1 .. 1000
  int32_t pack_method = 6;                   // 6 or 7
  std::vector<std::vector<uint8_t>> frames;  // width x height RGB565 words, little-endian
  // Sound: interleaved PCM (8-bit unsigned or 16-bit signed little-endian);
  // no sound when the rate is 0. Version 1280 takes 16-bit mono only.
  int32_t sample_rate = 0;
  int32_t bits = 16;
  int32_t stereo = 0;
  std::vector<uint8_t> pcm;
};

// The whole file; false with a message when the content cannot be written
// (sizes, rates, methods, a version-1280 sound that is not 16-bit mono).
bool Mtrd_Video_Bytes(const MtrdVideoContent& content, std::vector<uint8_t>& out, std::string& error);

// The codes of one block, as the players expand them: version 1280 (one
// code a 16-bit mono sample, steps of 256) and version 1284 at 16 bits (one
// code a sample; stereo: the left samples' codes, then the right ones').
std::vector<uint8_t> Mtrd_Codes_1280(const int16_t* samples, size_t count);
std::vector<uint8_t> Mtrd_Codes_1284(const int16_t* samples, size_t count, bool stereo);
