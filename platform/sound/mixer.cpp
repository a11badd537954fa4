#include "platform/sound/mixer.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "packing/byte_order.h"

namespace {

struct StereoValue {
  double left;
  double right;
};

// One channel value as a 16-bit signed level; 8-bit data is unsigned around 128.
double Channel_Value(const uint8_t* p, int bits) {
  return bits == 8 ? double((int(p[0]) - 128) * 256) : double(Le_I16(p));
}

StereoValue Read_Frame(const std::vector<uint8_t>& data, const PcmFormat& format, uint64_t frame) {
  const uint8_t* p = data.data() + frame * uint64_t(format.Block_Align());
  double left = Channel_Value(p, format.bits);
  double right = format.channels == 2 ? Channel_Value(p + format.bits / 8, format.bits) : left;
  return {left, right};
}

int16_t To_Sample(double value) {
  return int16_t(std::clamp<long>(std::lround(value), INT16_MIN, INT16_MAX));
}

}  // namespace

bool Pcm_Format_Valid(const PcmFormat& format) {
  return format.rate >= 1 && format.rate <= kMaxVoiceRate && (format.bits == 8 || format.bits == 16) &&
         (format.channels == 1 || format.channels == 2);
}

double Db_To_Gain(int db) {
  if (db <= kSilenceDb) return 0.0;
  return std::pow(10.0, double(db) / 2000.0);
}

Mixer::Mixer() = default;

void Mixer::Set_Rate(int rate) {
  if (rate < 1 || rate > kMaxVoiceRate) return;
  std::lock_guard guard(lock_);
  // Positions are in units of the output rate: keep them at the same time.
  for (Voice& v : voices_) v.position = v.position / uint64_t(rate_) * uint64_t(rate);
  rate_ = rate;
}

int Mixer::Rate() const {
  std::lock_guard guard(lock_);
  return rate_;
}

void Mixer::Apply_Levels(Voice& v, VoiceLevels levels) {
  v.levels.volume = std::clamp(levels.volume, kSilenceDb, 0);
  v.levels.pan = std::clamp(levels.pan, -kPanMaxDb, kPanMaxDb);
  // A positive pan moves the sound right by attenuating the left side.
  v.gain_left = Db_To_Gain(v.levels.volume - std::max(v.levels.pan, 0));
  v.gain_right = Db_To_Gain(v.levels.volume + std::min(v.levels.pan, 0));
}

bool Mixer::Start(int voice, const PcmFormat& format, std::vector<uint8_t> data, bool loop,
                  VoiceLevels levels) {
  if (!Valid_Voice(voice) || !Pcm_Format_Valid(format)) return false;
  uint64_t frames = data.size() / size_t(format.Block_Align());
  if (frames == 0 || frames > kMaxVoiceFrames) return false;
  Voice started;
  started.started = true;
  started.playing = true;
  started.loop = loop;
  started.format = format;
  started.data = std::move(data);
  started.frames = frames;
  Apply_Levels(started, levels);
  {
    std::lock_guard guard(lock_);
    std::swap(voices_[size_t(voice)], started);
  }
  return true;  // the voice's old data is freed here, outside the lock
}

void Mixer::Stop(int voice) {
  if (!Valid_Voice(voice)) return;
  Voice stopped;
  std::lock_guard guard(lock_);
  std::swap(voices_[size_t(voice)], stopped);
}

bool Mixer::Playing(int voice) const {
  if (!Valid_Voice(voice)) return false;
  std::lock_guard guard(lock_);
  return voices_[size_t(voice)].playing;
}

int64_t Mixer::Position(int voice) const {
  if (!Valid_Voice(voice)) return 0;
  std::lock_guard guard(lock_);
  const Voice& v = voices_[size_t(voice)];
  if (!v.playing) return 0;
  return int64_t(v.position / uint64_t(rate_)) * v.format.Block_Align();
}

void Mixer::Set_Levels(int voice, VoiceLevels levels) {
  if (!Valid_Voice(voice)) return;
  std::lock_guard guard(lock_);
  Voice& v = voices_[size_t(voice)];
  if (v.started) Apply_Levels(v, levels);
}

std::optional<VoiceLevels> Mixer::Levels(int voice) const {
  if (!Valid_Voice(voice)) return std::nullopt;
  std::lock_guard guard(lock_);
  const Voice& v = voices_[size_t(voice)];
  if (!v.started) return std::nullopt;
  return v.levels;
}

bool Mixer::Write(int voice, size_t offset, std::span<const uint8_t> bytes) {
  if (!Valid_Voice(voice)) return false;
  std::lock_guard guard(lock_);
  Voice& v = voices_[size_t(voice)];
  if (!v.started || offset > v.data.size() || bytes.size() > v.data.size() - offset) return false;
  std::copy(bytes.begin(), bytes.end(), v.data.begin() + std::ptrdiff_t(offset));
  return true;
}

// Adds the voice into sum[2 * frames]. The position counts source frames in
// units of 1 / (output rate): each output frame moves it by the voice's rate,
// so a voice's timing is exact at any pair of rates.
void Mixer::Mix_Voice(Voice& v, double* sum, size_t frames) const {
  const uint64_t units = uint64_t(rate_);
  const uint64_t end = v.frames * units;
  for (size_t i = 0; i < frames && v.playing; ++i) {
    uint64_t index = v.position / units;
    uint64_t next = index + 1 < v.frames ? index + 1 : (v.loop ? 0 : index);
    double t = double(v.position % units) / double(units);
    StereoValue a = Read_Frame(v.data, v.format, index);
    StereoValue b = Read_Frame(v.data, v.format, next);
    sum[2 * i] += (a.left + (b.left - a.left) * t) * v.gain_left;
    sum[2 * i + 1] += (a.right + (b.right - a.right) * t) * v.gain_right;
    v.position += uint64_t(v.format.rate);
    if (v.position >= end) {
      if (v.loop) {
        v.position %= end;
      } else {
        v.playing = false;
      }
    }
  }
}

void Mixer::Mix(int16_t* out, size_t frames) {
  std::lock_guard guard(lock_);
  sum_.assign(frames * 2, 0.0);  // keeps its capacity from call to call
  for (Voice& v : voices_)
    if (v.playing) Mix_Voice(v, sum_.data(), frames);
  for (size_t i = 0; i < frames * 2; ++i) out[i] = To_Sample(sum_[i]);
}
