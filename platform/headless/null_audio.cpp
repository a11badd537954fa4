#include "platform/headless/null_audio.h"

#include <algorithm>
#include <cstdio>

#include "platform/sound/mixer.h"

namespace {

// Writes little-endian fields into a buffer sized beforehand.
class ByteWriter {
 public:
  explicit ByteWriter(std::vector<uint8_t>& out) : out_(out) {}
  void Tag(const char (&tag)[5]) {
    for (int i = 0; i < 4; ++i) out_[at_++] = uint8_t(tag[i]);
  }
  void U16(uint16_t value) {
    out_[at_++] = uint8_t(value);
    out_[at_++] = uint8_t(value >> 8);
  }
  void U32(uint32_t value) {
    U16(uint16_t(value));
    U16(uint16_t(value >> 16));
  }

 private:
  std::vector<uint8_t>& out_;
  size_t at_ = 0;
};

}  // namespace

NullAudio::NullAudio(int rate, bool present) : rate_(rate > 0 ? rate : 44100), present_(present) {}

bool NullAudio::Open(Mixer& mixer, int /*wanted_rate*/) {
  if (!present_) return false;
  mixer.Set_Rate(rate_);
  mixer_ = &mixer;
  clock_ms_ = 0;
  closed_ms_ = 0;
  closed_frames_ = 0;
  frames_mixed_ = 0;
  return true;
}

void NullAudio::Close() { mixer_ = nullptr; }

void NullAudio::Advance_Ms(int64_t ms) {
  if (ms <= 0) return;
  if (!mixer_) {
    closed_ms_ += ms;
    const int64_t frames = closed_ms_ * rate_ / 1000 - closed_frames_;
    closed_frames_ += frames;
    if (capturing_) captured_.insert(captured_.end(), size_t(frames) * 2, int16_t(0));
    return;
  }
  clock_ms_ += ms;
  Advance_Frames(clock_ms_ * rate_ / 1000 - frames_mixed_);
}

void NullAudio::Advance_Frames(int64_t frames) {
  if (!mixer_ || frames <= 0) return;
  constexpr int64_t kBlock = 4096;  // frames mixed per call, as a card asks for them
  std::vector<int16_t> block;
  for (int64_t done = 0; done < frames;) {
    int64_t count = std::min(kBlock, frames - done);
    block.resize(size_t(count) * 2);
    mixer_->Mix(block.data(), size_t(count));
    if (capturing_) captured_.insert(captured_.end(), block.begin(), block.end());
    done += count;
  }
  frames_mixed_ += frames;
}

bool NullAudio::Write_Wav(const std::string& path) const {
  std::vector<uint8_t> bytes = Wav_Bytes(captured_, rate_, 2);
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return false;
  bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  return std::fclose(file) == 0 && written;
}

std::vector<uint8_t> Wav_Bytes(const std::vector<int16_t>& samples, int rate, int channels) {
  constexpr uint32_t kHeaderBytes = 44;
  uint32_t data_size = uint32_t(samples.size() * 2);
  uint16_t block_align = uint16_t(channels * 2);
  std::vector<uint8_t> out(kHeaderBytes + size_t(data_size));
  ByteWriter w(out);
  w.Tag("RIFF");
  w.U32(kHeaderBytes - 8 + data_size);
  w.Tag("WAVE");
  w.Tag("fmt ");
  w.U32(16);
  w.U16(1);  // PCM
  w.U16(uint16_t(channels));
  w.U32(uint32_t(rate));
  w.U32(uint32_t(rate) * block_align);
  w.U16(block_align);
  w.U16(16);
  w.Tag("data");
  w.U32(data_size);
  for (int16_t sample : samples) w.U16(uint16_t(sample));
  return out;
}
