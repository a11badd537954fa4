// Makes the sample game's sounds into the disc folder: demo_sounds DISC.
// KEY.WAV a two-note chime, SWITCH.WAV a click, CLOCK.WAV a tick (the hall's
// random sound), THEME.WAV eight seconds of a soft chord that loops without
// a seam (every partial and its swell complete whole cycles in the loop).
// All 22050 Hz, 16-bit mono.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "platform/headless/null_audio.h"

namespace {

constexpr int kRate = 22050;
constexpr double kTwoPi = 6.283185307179586;

std::vector<int16_t> Render(double seconds, const std::function<double(double)>& wave) {
  std::vector<int16_t> samples(size_t(seconds * kRate));
  for (size_t i = 0; i < samples.size(); ++i) {
    const double v = std::clamp(wave(double(i) / kRate), -1.0, 1.0);
    samples[i] = int16_t(std::lround(v * 32000.0));
  }
  return samples;
}

double Tone(double t, double hz) { return std::sin(kTwoPi * hz * t); }

bool Write(const std::string& path, const std::vector<int16_t>& samples) {
  const std::vector<uint8_t> bytes = Wav_Bytes(samples, kRate, 1);
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return false;
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  return std::fclose(file) == 0 && written;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: demo_sounds DISC\n");
    return 2;
  }
  const std::string disc = std::string(argv[1]) + "/";
  const auto chime = [](double t) {
    const double first = t < 0.18 ? Tone(t, 1318.5) * std::exp(-t * 12) : 0.0;
    const double second = t >= 0.12 ? Tone(t, 1760.0) * std::exp(-(t - 0.12) * 8) : 0.0;
    return 0.45 * (first + second);
  };
  const auto click = [](double t) {
    return 0.7 * Tone(t, 2400.0) * std::exp(-t * 90) + 0.3 * Tone(t, 180.0) * std::exp(-t * 40);
  };
  const auto tick = [](double t) { return 0.6 * Tone(t, 3100.0) * std::exp(-t * 160); };
  // 110, 165, 220 and 275 Hz all make whole cycles in 8 s; the swell makes two.
  const auto theme = [](double t) {
    const double swell = 0.6 + 0.4 * std::sin(kTwoPi * 0.25 * t);
    return 0.12 * swell *
           (Tone(t, 110.0) + 0.7 * Tone(t, 165.0) + 0.5 * Tone(t, 220.0) + 0.3 * Tone(t, 275.0));
  };
  const bool ok =
      Write(disc + "KEY.WAV", Render(0.6, chime)) && Write(disc + "SWITCH.WAV", Render(0.12, click)) &&
      Write(disc + "CLOCK.WAV", Render(0.06, tick)) && Write(disc + "THEME.WAV", Render(8.0, theme));
  if (!ok) {
    std::fprintf(stderr, "demo_sounds: cannot write the sounds into %s\n", argv[1]);
    return 1;
  }
  return 0;
}
