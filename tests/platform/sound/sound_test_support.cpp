#include "tests/platform/sound/sound_test_support.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <stdexcept>

#include "platform/sound/sound_output.h"

std::string Le16(uint16_t value) { return {char(value & 0xFF), char(value >> 8)}; }
std::string Le32(uint32_t value) { return Le16(uint16_t(value)) + Le16(uint16_t(value >> 16)); }

std::string Chunk(std::string_view id, std::string_view payload) {
  return Chunk_Sized(id, uint32_t(payload.size()), payload);
}

std::string Chunk_Sized(std::string_view id, uint32_t size, std::string_view payload) {
  return std::string(id) + Le32(size) + std::string(payload);
}

std::string Fmt_Payload(uint16_t tag, uint16_t channels, uint32_t rate, uint16_t bits) {
  uint16_t align = uint16_t(channels * bits / 8);
  return Le16(tag) + Le16(channels) + Le32(rate) + Le32(rate * align) + Le16(align) + Le16(bits);
}

std::string Riff(std::string_view form, std::string_view chunks) {
  return "RIFF" + Le32(uint32_t(4 + chunks.size())) + std::string(form) + std::string(chunks);
}

std::string Pcm16(const std::vector<int16_t>& values) {
  std::string out;
  for (int16_t v : values) out += Le16(uint16_t(v));
  return out;
}

Sample Sample16(const std::vector<int16_t>& values, int rate, int stereo) {
  Sample s;
  s.name = "test16";
  s.rate = rate;
  s.bits = 16;
  s.stereo = stereo;
  std::string bytes = Pcm16(values);
  s.data.assign(bytes.begin(), bytes.end());
  return s;
}

Sample Sample8(const std::vector<uint8_t>& values, int rate, int stereo) {
  Sample s;
  s.name = "test8";
  s.rate = rate;
  s.bits = 8;
  s.stereo = stereo;
  s.data = values;
  return s;
}

Sample Constant16(int16_t value, size_t frames, int rate, int stereo) {
  return Sample16(std::vector<int16_t>(frames * (stereo ? 2 : 1), value), rate, stereo);
}

SoundRig::SoundRig(int rate) {
  auto device = std::make_unique<NullAudio>(rate);
  audio = device.get();
  Sound_Use_Device(wx, std::move(device));
  init_result = Sound_Init(wx);
  audio->Capture(true);
}

SoundRig::~SoundRig() = default;

int16_t Left(const NullAudio& audio, size_t frame) { return audio.Captured().at(frame * 2); }
int16_t Right(const NullAudio& audio, size_t frame) { return audio.Captured().at(frame * 2 + 1); }
