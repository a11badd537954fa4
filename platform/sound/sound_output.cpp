#include "platform/sound/sound_output.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "platform/wendax.h"

namespace {

int Clamp_Volume(int volume) { return std::clamp(volume, 0, kSoundVolumeMax); }
int Clamp_Pan(int pan) { return std::clamp(pan, -kSoundPanMax, kSoundPanMax); }

VoiceLevels Levels_Of(int volume, int pan) { return {Sound_Volume_To_Db(volume), pan * 10}; }

struct Channel {
  bool in_use = false;
  std::string sample_name;  // of the sample played on it
  PcmFormat format;
};

struct Stream {
  StreamPhase phase = StreamPhase::kOff;
  int channel = 0;
  size_t half = 0;  // bytes in each half of the buffer
};

}  // namespace

struct SoundOutput::State {
  State() = default;
  State(const State&) = delete;
  State& operator=(const State&) = delete;
  ~State();

  void Use_Device(std::unique_ptr<AudioDevice> device);
  int Init();
  void Close();
  int Device_Flag() const;
  int Play(const Sample* sample, int volume, int pan, int flags);
  void Stop(int channel);
  void Set(int channel, int volume, int pan);
  int32_t Position(int channel) const;
  bool Playing(int channel) const;
  void Poll() const;
  std::optional<VoiceLevels> Levels(int channel) const;
  int Stream_Start(std::span<const uint8_t> data, int rate, int bits, int stereo, int32_t size, int volume,
                   int pan);
  int Stream_Refill(std::span<const uint8_t> chunk, int volume, int pan);
  void Stream_Stop();
  StreamPhase Stream_State() const;
  bool Movie_Open(int index, const PcmFormat& format, size_t bytes);
  bool Movie_Write(int index, size_t offset, std::span<const uint8_t> bytes);
  bool Movie_Play(int index, int volume, int pan);
  int64_t Movie_Position(int index) const;
  void Movie_Close(int index);

  static bool Valid(int channel) { return channel >= 1 && channel <= kSoundChannels; }
  bool Ready() const { return device_open_; }
  int Play_Locked(const Sample& sample, int volume, int pan, int flags);
  void Stop_Locked(int channel);
  void Poll_Locked() const;
  void Set_Locked(int channel, int volume, int pan);
  void Stream_Stop_Locked();
  bool Stream_Write(size_t offset, std::span<const uint8_t> chunk);
  void Close_Locked();

  mutable std::mutex lock_;
  Mixer mixer_;
  std::unique_ptr<AudioDevice> device_;
  bool device_open_ = false;
  std::array<Channel, kSoundChannels> channels_;
  Stream stream_;
  struct MovieVoice {
    bool open = false;
    bool playing = false;
    PcmFormat format;
    std::vector<uint8_t> buffer;  // written here until it plays, then in the mixer
  };
  std::array<MovieVoice, kMovieVoices> movies_;
  static bool Valid_Movie(int index) { return index >= 0 && index < kMovieVoices; }
};

int Sound_Volume_To_Db(int volume) {
  if (volume <= 0) return kSilenceDb;
  if (volume >= kSoundVolumeMax) return 0;
  return int(-2000.0 * std::log10(double(kSoundVolumeMax) / double(volume)));
}

SoundOutput::SoundOutput() : state_(std::make_unique<State>()) {}

SoundOutput::~SoundOutput() = default;

SoundOutput::State::~State() {
  std::lock_guard guard(lock_);
  Close_Locked();
}

void SoundOutput::State::Use_Device(std::unique_ptr<AudioDevice> device) {
  std::lock_guard guard(lock_);
  Close_Locked();
  device_ = std::move(device);
}

int SoundOutput::State::Init() {
  std::lock_guard guard(lock_);
  if (device_open_ || !device_) return -1;
  if (!device_->Open(mixer_, kSoundDeviceRate)) return -1;
  device_open_ = true;
  channels_ = {};
  stream_ = {};
  return 0;
}

void SoundOutput::State::Close() {
  std::lock_guard guard(lock_);
  Close_Locked();
}

void SoundOutput::State::Close_Locked() {
  if (!device_open_) return;
  for (int i = 0; i < kMovieVoices; ++i) {
    mixer_.Stop(kSoundChannels + i);
    movies_[size_t(i)] = MovieVoice{};
  }
  Stream_Stop_Locked();
  for (int channel = 1; channel <= kSoundChannels; ++channel) Stop_Locked(channel);
  device_->Close();
  device_open_ = false;
}

int SoundOutput::State::Device_Flag() const {
  std::lock_guard guard(lock_);
  return Ready() ? 0 : -1;
}

int SoundOutput::State::Play(const Sample* sample, int volume, int pan, int flags) {
  std::lock_guard guard(lock_);
  if (!Ready() || !sample) return -1;
  return Play_Locked(*sample, volume, pan, flags);
}

int SoundOutput::State::Play_Locked(const Sample& sample, int volume, int pan, int flags) {
  Poll_Locked();
  volume = Clamp_Volume(volume);
  pan = Clamp_Pan(pan);
  auto free_channel =
      std::find_if(channels_.begin(), channels_.end(), [](const Channel& c) { return !c.in_use; });
  if (free_channel == channels_.end()) return -1;
  int channel = int(free_channel - channels_.begin()) + 1;
  PcmFormat format{sample.rate, sample.bits, sample.stereo != 0 ? 2 : 1};
  if (!mixer_.Start(channel - 1, format, sample.data, (flags & kSoundFlagLoop) != 0, Levels_Of(volume, pan)))
    return -1;  // the channel stays free
  *free_channel = Channel{true, sample.name, format};
  return channel;
}

void SoundOutput::State::Stop(int channel) {
  std::lock_guard guard(lock_);
  if (Ready()) Stop_Locked(channel);
}

void SoundOutput::State::Stop_Locked(int channel) {
  if (!Valid(channel) || !channels_[size_t(channel - 1)].in_use) return;
  // Stopping the stream's channel ends the stream, so a later refill can
  // never write into another sound that takes the channel.
  if (stream_.phase != StreamPhase::kOff && stream_.channel == channel) stream_ = {};
  mixer_.Stop(channel - 1);
  channels_[size_t(channel - 1)] = Channel{};
  Poll_Locked();
}

void SoundOutput::State::Set(int channel, int volume, int pan) {
  std::lock_guard guard(lock_);
  if (Ready()) Set_Locked(channel, volume, pan);
}

void SoundOutput::State::Set_Locked(int channel, int volume, int pan) {
  if (!Valid(channel) || !channels_[size_t(channel - 1)].in_use) return;
  if (mixer_.Playing(channel - 1))
    mixer_.Set_Levels(channel - 1, Levels_Of(Clamp_Volume(volume), Clamp_Pan(pan)));
}

int32_t SoundOutput::State::Position(int channel) const {
  std::lock_guard guard(lock_);
  if (!Ready() || !Valid(channel) || !channels_[size_t(channel - 1)].in_use) return 0;
  return int32_t(mixer_.Position(channel - 1));
}

bool SoundOutput::State::Playing(int channel) const {
  std::lock_guard guard(lock_);
  return Ready() && Valid(channel) && channels_[size_t(channel - 1)].in_use && mixer_.Playing(channel - 1);
}

void SoundOutput::State::Poll() const {
  std::lock_guard guard(lock_);
  if (Ready()) Poll_Locked();
}

// Reads each channel's status without acting on it (see Sound_Poll).
void SoundOutput::State::Poll_Locked() const {
  for (int channel = 1; channel <= kSoundChannels; ++channel)
    if (channels_[size_t(channel - 1)].in_use) (void)mixer_.Playing(channel - 1);
}

std::optional<VoiceLevels> SoundOutput::State::Levels(int channel) const {
  std::lock_guard guard(lock_);
  if (!Ready() || !Valid(channel) || !channels_[size_t(channel - 1)].in_use) return std::nullopt;
  return mixer_.Levels(channel - 1);
}

int SoundOutput::State::Stream_Start(std::span<const uint8_t> data, int rate, int bits, int stereo,
                                     int32_t size, int volume, int pan) {
  std::lock_guard guard(lock_);
  if (!Ready() || stream_.phase != StreamPhase::kOff || size < 2) return -1;
  size_t half = size_t(size) / 2;
  if (data.size() < half) return -1;
  Sample buffer;
  buffer.name = kStreamSampleName;
  buffer.rate = rate;
  buffer.bits = bits;
  buffer.stereo = stereo;
  buffer.data.assign(size_t(size), bits == 8 ? 0x80 : 0x00);  // silence until the first refill
  std::copy(data.begin(), data.begin() + std::ptrdiff_t(half), buffer.data.begin());
  int channel = Play_Locked(buffer, volume, pan, kSoundFlagLoop);
  if (channel < 0) return -1;
  stream_ = Stream{StreamPhase::kA, channel, half};
  return 0;
}

int SoundOutput::State::Stream_Refill(std::span<const uint8_t> chunk, int volume, int pan) {
  std::lock_guard guard(lock_);
  if (!Ready() || stream_.phase == StreamPhase::kOff) return 0;
  size_t cursor = size_t(mixer_.Position(stream_.channel - 1));
  bool in_second_half = cursor >= stream_.half;
  if (stream_.phase == StreamPhase::kA ? in_second_half : !in_second_half) return 0;
  size_t offset = stream_.phase == StreamPhase::kA ? stream_.half : 0;
  if (!Stream_Write(offset, chunk)) {
    Stream_Stop_Locked();
    return 1;
  }
  stream_.phase = stream_.phase == StreamPhase::kA ? StreamPhase::kB : StreamPhase::kA;
  Set_Locked(stream_.channel, volume, pan);
  return 1;
}

// Writes one half: the chunk, cut to the half or completed with silence.
bool SoundOutput::State::Stream_Write(size_t offset, std::span<const uint8_t> chunk) {
  const Channel& channel = channels_[size_t(stream_.channel - 1)];
  std::vector<uint8_t> half(stream_.half, channel.format.bits == 8 ? 0x80 : 0x00);
  std::copy_n(chunk.begin(), std::min(chunk.size(), half.size()), half.begin());
  return mixer_.Write(stream_.channel - 1, offset, half);
}

void SoundOutput::State::Stream_Stop() {
  std::lock_guard guard(lock_);
  Stream_Stop_Locked();
}

void SoundOutput::State::Stream_Stop_Locked() {
  if (stream_.phase == StreamPhase::kOff) return;
  int channel = stream_.channel;
  stream_ = {};
  Stop_Locked(channel);
}

StreamPhase SoundOutput::State::Stream_State() const {
  std::lock_guard guard(lock_);
  return stream_.phase;
}

bool SoundOutput::State::Movie_Open(int index, const PcmFormat& format, size_t bytes) {
  std::lock_guard guard(lock_);
  if (!Ready() || !Valid_Movie(index) || movies_[size_t(index)].open || !Pcm_Format_Valid(format))
    return false;
  if (bytes < size_t(format.Block_Align()) || bytes > kMaxVoiceFrames) return false;
  MovieVoice& v = movies_[size_t(index)];
  v = MovieVoice{true, false, format, std::vector<uint8_t>(bytes, format.bits == 8 ? 0x80 : 0x00)};
  return true;
}

bool SoundOutput::State::Movie_Write(int index, size_t offset, std::span<const uint8_t> bytes) {
  std::lock_guard guard(lock_);
  if (!Ready() || !Valid_Movie(index) || !movies_[size_t(index)].open) return false;
  MovieVoice& v = movies_[size_t(index)];
  if (v.playing) return mixer_.Write(kSoundChannels + index, offset, bytes);
  if (offset > v.buffer.size() || bytes.size() > v.buffer.size() - offset) return false;
  std::copy(bytes.begin(), bytes.end(), v.buffer.begin() + std::ptrdiff_t(offset));
  return true;
}

bool SoundOutput::State::Movie_Play(int index, int volume, int pan) {
  std::lock_guard guard(lock_);
  if (!Ready() || !Valid_Movie(index) || !movies_[size_t(index)].open) return false;
  MovieVoice& v = movies_[size_t(index)];
  if (v.playing) return true;
  if (!mixer_.Start(kSoundChannels + index, v.format, std::move(v.buffer), true,
                    Levels_Of(Clamp_Volume(volume), Clamp_Pan(pan))))
    return false;
  v.buffer = {};
  v.playing = true;
  return true;
}

int64_t SoundOutput::State::Movie_Position(int index) const {
  std::lock_guard guard(lock_);
  if (!Ready() || !Valid_Movie(index) || !movies_[size_t(index)].playing) return 0;
  return mixer_.Position(kSoundChannels + index);
}

void SoundOutput::State::Movie_Close(int index) {
  std::lock_guard guard(lock_);
  if (!Ready() || !Valid_Movie(index)) return;
  mixer_.Stop(kSoundChannels + index);
  movies_[size_t(index)] = MovieVoice{};
}

void Sound_Use_Device(Wendax& wx, std::unique_ptr<AudioDevice> device) {
  wx.sound.Get().Use_Device(std::move(device));
}
int Sound_Init(Wendax& wx) { return wx.sound.Get().Init(); }
void Sound_Close(Wendax& wx) { wx.sound.Get().Close(); }
int Sound_Device_Flag(const Wendax& wx) { return wx.sound.Get().Device_Flag(); }
int Sound_Play(Wendax& wx, const Sample* sample, int volume, int pan, int flags) {
  return wx.sound.Get().Play(sample, volume, pan, flags);
}
void Sound_Stop(Wendax& wx, int channel) { wx.sound.Get().Stop(channel); }
void Sound_Set(Wendax& wx, int channel, int volume, int pan) { wx.sound.Get().Set(channel, volume, pan); }
int32_t Sound_Position(const Wendax& wx, int channel) { return wx.sound.Get().Position(channel); }
void Sound_Poll(const Wendax& wx) { wx.sound.Get().Poll(); }
bool Sound_Playing(const Wendax& wx, int channel) { return wx.sound.Get().Playing(channel); }
std::optional<VoiceLevels> Sound_Levels(const Wendax& wx, int channel) {
  return wx.sound.Get().Levels(channel);
}

int Stream_Start(Wendax& wx, std::span<const uint8_t> data, int rate, int bits, int stereo, int32_t size,
                 int volume, int pan) {
  return wx.sound.Get().Stream_Start(data, rate, bits, stereo, size, volume, pan);
}
int Stream_Refill(Wendax& wx, std::span<const uint8_t> chunk, int volume, int pan) {
  return wx.sound.Get().Stream_Refill(chunk, volume, pan);
}
void Stream_Stop(Wendax& wx) { wx.sound.Get().Stream_Stop(); }
StreamPhase Stream_State(const Wendax& wx) { return wx.sound.Get().Stream_State(); }

bool Movie_Voice_Open(Wendax& wx, int index, int rate, int bits, int channels, size_t bytes) {
  return wx.sound.Get().Movie_Open(index, PcmFormat{rate, bits, channels}, bytes);
}
bool Movie_Voice_Write(Wendax& wx, int index, size_t offset, std::span<const uint8_t> bytes) {
  return wx.sound.Get().Movie_Write(index, offset, bytes);
}
bool Movie_Voice_Play(Wendax& wx, int index, int volume, int pan) {
  return wx.sound.Get().Movie_Play(index, volume, pan);
}
int64_t Movie_Voice_Position(const Wendax& wx, int index) { return wx.sound.Get().Movie_Position(index); }
void Movie_Voice_Close(Wendax& wx, int index) { wx.sound.Get().Movie_Close(index); }
