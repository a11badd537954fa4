// The launcher's one sound at a time, on SDL2 audio: WAVE files played once
// or repeated in the background, or once to their end. A new sound replaces
// the one playing. The audio device opens with the first sound; when there
// is none (no audio), sounds are silent but keep their length, so a run
// that waits for a sound waits as long.
#pragma once

#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

class SplashSound {
 public:
  SplashSound() = default;
  SplashSound(const SplashSound&) = delete;
  SplashSound& operator=(const SplashSound&) = delete;
  ~SplashSound();

  // Starts the sound in the background; false when the file does not load.
  bool Play(const std::string& path, bool loop);
  // Plays the sound once and returns at its end.
  void Play_To_End(const std::string& path);
  void Stop();

 private:
  static void Callback(void* self, uint8_t* out, int length);
  bool Open_Device();
  // The file as the device's samples; false when it does not load.
  bool Load(const std::string& path, std::vector<uint8_t>& samples) const;

  std::mutex mutex_;
  std::vector<uint8_t> samples_;  // 44100 Hz, 16-bit stereo
  size_t position_ = 0;
  bool loop_ = false;
  bool tried_ = false;
  uint32_t device_ = 0;
};
