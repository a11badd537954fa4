// Shared helpers of the sound tests: WAV bytes built chunk by chunk, samples
// of known values, a Wendax on the headless null device, and temporary folders.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "tests/support/temp_folder.h"

#include "platform/headless/null_audio.h"
#include "platform/sound/sample.h"
#include "platform/wendax.h"

std::string Le16(uint16_t value);
std::string Le32(uint32_t value);

// An id, a 32-bit size (the payload's unless given) and the payload.
std::string Chunk(std::string_view id, std::string_view payload);
std::string Chunk_Sized(std::string_view id, uint32_t size, std::string_view payload);
// The 16 bytes of a "fmt " payload; bytes per second and block align follow.
std::string Fmt_Payload(uint16_t tag, uint16_t channels, uint32_t rate, uint16_t bits);
// "RIFF", its size (4 + the chunks' bytes), the form type and the chunks.
std::string Riff(std::string_view form, std::string_view chunks);
// 16-bit little-endian PCM bytes.
std::string Pcm16(const std::vector<int16_t>& values);

// A 16-bit sample of the values (interleaved left/right when stereo).
Sample Sample16(const std::vector<int16_t>& values, int rate, int stereo = 0);
Sample Sample8(const std::vector<uint8_t>& values, int rate, int stereo = 0);
// `frames` frames of one value.
Sample Constant16(int16_t value, size_t frames, int rate = 44100, int stereo = 0);

// A Wendax whose sound output runs on a null device of that rate, opened.
struct SoundRig {
  explicit SoundRig(int rate = 44100);
  ~SoundRig();
  Wendax wx;
  NullAudio* audio;  // owned by wx.sound
  int init_result;
};

// Left and right of captured frame i.
int16_t Left(const NullAudio& audio, size_t frame);
int16_t Right(const NullAudio& audio, size_t frame);
