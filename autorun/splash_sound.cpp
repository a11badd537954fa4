#include "autorun/splash_sound.h"

#include <SDL.h>

#include <chrono>
#include <cstring>
#include <thread>

namespace {

constexpr int kRate = 44100;
constexpr int kFrameBytes = 4;  // 16-bit stereo

}  // namespace

SplashSound::~SplashSound() {
  if (device_ != 0) {
    SDL_CloseAudioDevice(device_);
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
  }
}

bool SplashSound::Open_Device() {
  if (tried_) return device_ != 0;
  tried_ = true;
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
  SDL_AudioSpec want{};
  want.freq = kRate;
  want.format = AUDIO_S16SYS;
  want.channels = 2;
  want.samples = 2048;
  want.callback = &SplashSound::Callback;
  want.userdata = this;
  device_ = SDL_OpenAudioDevice(nullptr, 0, &want, nullptr, 0);
  if (device_ == 0) {
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return false;
  }
  SDL_PauseAudioDevice(device_, 0);
  return true;
}

bool SplashSound::Load(const std::string& path, std::vector<uint8_t>& samples) const {
  SDL_AudioSpec spec;
  uint8_t* data = nullptr;
  uint32_t length = 0;
  if (!SDL_LoadWAV(path.c_str(), &spec, &data, &length)) return false;
  SDL_AudioStream* stream = SDL_NewAudioStream(spec.format, spec.channels, spec.freq, AUDIO_S16SYS, 2, kRate);
  bool loaded =
      stream && SDL_AudioStreamPut(stream, data, int(length)) == 0 && SDL_AudioStreamFlush(stream) == 0;
  if (loaded) {
    samples.resize(size_t(SDL_AudioStreamAvailable(stream)));
    const int got = SDL_AudioStreamGet(stream, samples.data(), int(samples.size()));
    loaded = got >= 0;
    samples.resize(loaded ? size_t(got) / kFrameBytes * kFrameBytes : 0);
  }
  if (stream) SDL_FreeAudioStream(stream);
  SDL_FreeWAV(data);
  return loaded;
}

void SplashSound::Callback(void* self, uint8_t* out, int length) {
  auto& sound = *static_cast<SplashSound*>(self);
  std::lock_guard lock(sound.mutex_);
  size_t done = 0;
  while (done < size_t(length) && !sound.samples_.empty()) {
    if (sound.position_ == sound.samples_.size()) {
      if (!sound.loop_) break;
      sound.position_ = 0;
    }
    const size_t take = std::min(size_t(length) - done, sound.samples_.size() - sound.position_);
    std::memcpy(out + done, sound.samples_.data() + sound.position_, take);
    sound.position_ += take;
    done += take;
  }
  std::memset(out + done, 0, size_t(length) - done);
}

bool SplashSound::Play(const std::string& path, bool loop) {
  // SDL's WAVE reader works without the audio subsystem's device.
  std::vector<uint8_t> samples;
  if (!Load(path, samples)) return false;
  Open_Device();
  std::lock_guard lock(mutex_);
  samples_ = std::move(samples);
  position_ = 0;
  loop_ = loop;
  return true;
}

void SplashSound::Play_To_End(const std::string& path) {
  if (!Play(path, false)) return;
  if (device_ == 0) {
    size_t bytes;
    {
      std::lock_guard lock(mutex_);
      bytes = samples_.size();
      samples_.clear();
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(bytes / kFrameBytes * 1000 / kRate));
    return;
  }
  for (;;) {
    {
      std::lock_guard lock(mutex_);
      if (position_ >= samples_.size()) break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
}

void SplashSound::Stop() {
  std::lock_guard lock(mutex_);
  samples_.clear();
  position_ = 0;
}
