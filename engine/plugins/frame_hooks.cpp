#include "engine/plugins/frame_hooks.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "engine/engine.h"
#include "engine/engine_services.h"
#include "engine/plugins/anim_bloc.h"
#include "engine/plugins/plugin_block.h"
#include "platform/display/display.h"
#include "platform/input/frame_clock.h"

namespace {

constexpr int kWaveWidth = 640;
constexpr int kWaveHeight = 480;
constexpr int kWaveRows = 3;  // the largest sway, in rows

}  // namespace

void Waves_On(Engine& engine) {
  WavesState& waves = engine.plugins.waves;
  // The first step measures from here, not from a counter of long ago.
  if (!waves.on) waves.last_counter = Wendax_Counter(engine.wx);
  waves.on = true;
}

void Waves_Step(Engine& engine) {
  WavesState& waves = engine.plugins.waves;
  const uint64_t now = Wendax_Counter(engine.wx);
  uint32_t hz = uint32_t(Wendax_Counter_Frequency(engine.wx));
  if (hz == 0) hz = 1;
  const float dt = float(uint32_t(now) - uint32_t(waves.last_counter)) / float(hz) * kWavesSpeed;
  waves.last_counter = now;
  waves.phase += dt;

  std::span<uint16_t> frame = Wendax_Frame_Buffer(engine.wx);
  const size_t row_words = kWaveWidth;
  if (frame.size() < row_words * kWaveHeight) return;
  const std::vector<uint16_t> copy(frame.begin(), frame.begin() + std::ptrdiff_t(row_words * kWaveHeight));
  for (int i = 0; i < kWaveHeight; ++i) {
    const double sway = kWaveRows * std::sin(double(i) * 0.03926991 + double(waves.phase) * 0.4);
    const int s = std::clamp(i + int(std::trunc(sway)), 0, kWaveHeight - 1);
    std::memcpy(frame.data() + size_t(i) * row_words, copy.data() + size_t(s) * row_words, row_words * 2);
  }
}

void Frame_Hooks(Engine& engine) {
  Anim_Advance(engine, false);
  if (engine.plugins.waves.on) Waves_Step(engine);
  engine.services->Overlay_Countdown_Frame(engine);
  engine.services->Movie_Draw_Overlays(engine);
  Script_Error_Fill(engine);
}
