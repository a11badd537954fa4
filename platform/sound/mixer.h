// The software mixer behind the sound channels. Each voice plays its own copy
// of PCM data (any rate, 8-bit unsigned or 16-bit signed, mono or stereo),
// resampled by linear interpolation to the output rate and summed into
// 16-bit stereo frames.
//
// Levels follow the attenuation law of the original sound API: volume and
// pan in hundredths of a decibel, gain = 10^(dB / 2000); a positive pan
// attenuates the left side by the pan, a negative one the right side by -pan;
// -10000 or below is silence.
//
// Locking: one mutex guards every voice. The audio thread holds it while it
// mixes; every other member takes it for the duration of the call. The mixer
// calls nothing outside itself while holding it.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <optional>
#include <span>
#include <vector>

inline constexpr int kMixerVoices = 8;
// Voices beyond the channels' eight, for the sound streams of movies.
inline constexpr int kMixerStreamVoices = 16;
inline constexpr int kMixerAllVoices = kMixerVoices + kMixerStreamVoices;
inline constexpr int kSilenceDb = -10000;
inline constexpr int kPanMaxDb = 10000;
// Voice rates outside 1..kMaxVoiceRate Hz are refused, and so is longer data
// than kMaxVoiceFrames; output rates above kMaxVoiceRate are ignored. Frame
// positions in units of the output rate then never overflow.
inline constexpr int kMaxVoiceRate = 1000000;
inline constexpr uint64_t kMaxVoiceFrames = uint64_t(1) << 31;

struct PcmFormat {
  int rate = 0;      // frames per second
  int bits = 0;      // 8 or 16
  int channels = 0;  // 1 or 2
  int Block_Align() const { return channels * bits / 8; }
};

bool Pcm_Format_Valid(const PcmFormat& format);

// Hundredths of a decibel: volume -10000..0, pan -10000..10000.
struct VoiceLevels {
  int volume = 0;
  int pan = 0;
};

class Mixer {
 public:
  Mixer();
  Mixer(const Mixer&) = delete;
  Mixer& operator=(const Mixer&) = delete;

  // Output frames per second (values outside 1..kMaxVoiceRate are ignored);
  // 44100 at first. Playing voices keep their place (to the frame).
  void Set_Rate(int rate);
  int Rate() const;

  // Starts voice 0..23 (8..23: movie streams) on the data, from its first frame, replacing what the
  // voice held. False (and the voice left as it was) for a voice number out
  // of range, an invalid format, or data without one whole frame; bytes past
  // the last whole frame are never played.
  bool Start(int voice, const PcmFormat& format, std::vector<uint8_t> data, bool loop, VoiceLevels levels);
  // Stops the voice and frees its data.
  void Stop(int voice);
  // True while a started voice advances: a voice that does not loop stops
  // advancing after its last frame, and keeps its data until Stop.
  bool Playing(int voice) const;
  // Byte offset in the voice's own data of the frame that plays next; 0 for
  // a voice that is not playing.
  int64_t Position(int voice) const;
  // Clamps and applies the levels of a started voice.
  void Set_Levels(int voice, VoiceLevels levels);
  std::optional<VoiceLevels> Levels(int voice) const;
  // Copies bytes into a started voice's data at the offset. False when the
  // voice is not started or the bytes would not fit.
  bool Write(int voice, size_t offset, std::span<const uint8_t> bytes);

  // Fills `frames` interleaved left/right frames (the audio thread).
  void Mix(int16_t* out, size_t frames);

 private:
  struct Voice {
    bool started = false;
    bool playing = false;
    bool loop = false;
    PcmFormat format;
    std::vector<uint8_t> data;
    uint64_t frames = 0;    // whole frames in data
    uint64_t position = 0;  // source frames x output rate
    VoiceLevels levels;
    double gain_left = 1.0;
    double gain_right = 1.0;
  };

  static bool Valid_Voice(int voice) { return voice >= 0 && voice < kMixerAllVoices; }
  static void Apply_Levels(Voice& v, VoiceLevels levels);
  void Mix_Voice(Voice& v, double* sum, size_t frames) const;

  mutable std::mutex lock_;
  int rate_ = 44100;
  std::array<Voice, kMixerAllVoices> voices_;
  std::vector<double> sum_;  // Mix's accumulator
};

// Gain of an attenuation in hundredths of a decibel: 10^(db / 2000), and
// exactly 0 at -10000 or below.
double Db_To_Gain(int db);
