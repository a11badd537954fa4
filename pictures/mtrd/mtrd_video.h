// MTRD videos: opened from a file of the file layer, decoded frame after
// frame in place over the previous frame, with a block of sound per frame,
// and played centred on the screen, paced by the sound stream or by the
// frame period.
//
// Frame k is the "PICT" data for k = 0 and the k-th "ANIM" chunk after it;
// frames and sound blocks decode with the 65536 bytes in front of them as
// their copy history. Chunks of each kind are searched from where the last
// one of that kind ended, so a file may interleave "ANIM" and "SAMP" chunks
// or keep each kind together.
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "pictures/mtrd/mtrd_format.h"

struct Wendax;

inline constexpr size_t kVideoHistoryBytes = 65536;

struct Video {
  Video() = default;
  ~Video();
  Video(const Video&) = delete;
  Video& operator=(const Video&) = delete;

  Wendax* wx = nullptr;
  int handle = -1;
  MtrdFile file;
  MtrdVideo info;             // header, sound parameters, palette, first frame
  int32_t frame_counter = 0;  // the next frame to decode; 0 again after the last
  int32_t time_ms = 0;        // the frame period's accumulator
  // 65536 bytes of history, then the frame (width x height x depth / 8).
  std::vector<uint8_t> frame;
  // 65536 bytes of history, then the block: PCM, or the codes of versions
  // 1280 and 1284 at 16 bits, which are expanded into `pcm`.
  std::vector<uint8_t> sound;
  std::vector<uint8_t> pcm;
  size_t sound_block = 0;  // bytes one block unpacks to
  // One chunk's payload, at most scratch_limit bytes (twice the larger of a
  // frame and a sound block, and 4096 bytes more): longer payloads are cut.
  std::vector<uint8_t> scratch;
  size_t scratch_limit = 0;
  int32_t anim_from = 0;  // where the next "ANIM" search starts
  int32_t samp_from = 0;  // where the next "SAMP" search starts

  const uint8_t* Pixels() const { return frame.data() + kVideoHistoryBytes; }
  // The PCM of the last block: sound bytes per frame.
  const uint8_t* Pcm() const { return pcm.empty() ? sound.data() + kVideoHistoryBytes : pcm.data(); }
  bool Has_Sound() const { return info.sound.sample_rate != 0; }
};

// Opens the video and checks its chunks; null when it cannot be played.
// Frame 0 is not decoded yet.
std::unique_ptr<Video> Video_Open(Wendax& wx, std::string_view path);
// Decodes frame `frame_counter` and its sound block and returns the counter
// after it: 1 .. frame count while the video goes on, 0 once it has passed
// its last frame. A missing "ANIM" or "SAMP" leaves that frame's picture or
// sound as it was; a picture packed with another method than 3, 5, 6 or 7
// is not decoded, nor a sound block packed with another than 3 or 5.
int32_t Video_Next_Frame(Video& video);
// Closes the file and frees the video.
void Video_Close(std::unique_ptr<Video> video);

// Plays the video centred on the screen until its last frame has been shown
// or Escape is pressed. A file that is no video is ignored.
void Video_Play(Wendax& wx, std::string_view path);
