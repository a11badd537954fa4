#include "platform/sdl/sdl_audio.h"

#include <SDL.h>

#include "platform/sound/mixer.h"

namespace {

// Frames per callback: about 23 ms at 44100 Hz.
constexpr Uint16 kCallbackFrames = 1024;

class SdlAudio : public AudioDevice {
 public:
  ~SdlAudio() override { Close(); }

  bool Open(Mixer& mixer, int wanted_rate) override {
    if (device_ != 0) return false;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
    SDL_AudioSpec want{};
    want.freq = wanted_rate;
    want.format = AUDIO_S16SYS;
    want.channels = 2;
    want.samples = kCallbackFrames;
    want.callback = Fill;
    want.userdata = &mixer;
    SDL_AudioSpec have{};
    device_ = SDL_OpenAudioDevice(nullptr, 0, &want, &have, SDL_AUDIO_ALLOW_FREQUENCY_CHANGE);
    if (device_ == 0) {
      SDL_QuitSubSystem(SDL_INIT_AUDIO);
      return false;
    }
    mixer.Set_Rate(have.freq);
    SDL_PauseAudioDevice(device_, 0);
    return true;
  }

  void Close() override {
    if (device_ == 0) return;
    SDL_CloseAudioDevice(device_);  // returns once the callback has finished
    device_ = 0;
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
  }

 private:
  static void SDLCALL Fill(void* userdata, Uint8* stream, int length) {
    static_cast<Mixer*>(userdata)->Mix(reinterpret_cast<int16_t*>(stream), size_t(length) / 4);
  }

  SDL_AudioDeviceID device_ = 0;
};

}  // namespace

std::unique_ptr<AudioDevice> Sdl_Audio_Device() { return std::make_unique<SdlAudio>(); }
