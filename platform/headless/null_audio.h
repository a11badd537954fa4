// The headless audio device: no sound card, no thread. Time passes only when
// a test (or the headless frame clock) advances the device's virtual clock;
// the device then mixes exactly the frames of that time, which moves every
// play cursor. Everything mixed can be kept and written out as a WAV file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/sound/audio_device.h"

class NullAudio : public AudioDevice {
 public:
  // A device of that rate; `present` false makes a machine without sound,
  // whose Open fails.
  explicit NullAudio(int rate = 44100, bool present = true);

  bool Open(Mixer& mixer, int wanted_rate) override;
  void Close() override;
  bool Is_Open() const { return mixer_ != nullptr; }
  int Rate() const { return rate_; }

  // Mixes the frames that fall in the next `ms` milliseconds of the virtual
  // clock (fractions of a frame carry over). While closed nothing is mixed,
  // but a capture goes on with silence, so that its length always matches
  // the time that passed.
  void Advance_Ms(int64_t ms);
  void Advance_Frames(int64_t frames);
  int64_t Frames_Mixed() const { return frames_mixed_; }

  // While capturing, every mixed frame is kept (interleaved left, right).
  void Capture(bool on) { capturing_ = on; }
  const std::vector<int16_t>& Captured() const { return captured_; }
  void Clear_Capture() { captured_.clear(); }
  // Writes the captured frames as a 16-bit stereo PCM WAV file at the
  // device's rate. False when the file cannot be written completely.
  bool Write_Wav(const std::string& path) const;

 private:
  int rate_;
  bool present_;
  Mixer* mixer_ = nullptr;
  int64_t clock_ms_ = 0;       // virtual time since the device opened
  int64_t frames_mixed_ = 0;   // frames mixed since the device opened
  int64_t closed_ms_ = 0;      // virtual time of the closed spell going on
  int64_t closed_frames_ = 0;  // silent frames captured in that spell
  bool capturing_ = false;
  std::vector<int16_t> captured_;
};

// The bytes of a 16-bit PCM WAV file holding the interleaved samples.
std::vector<uint8_t> Wav_Bytes(const std::vector<int16_t>& samples, int rate, int channels);
