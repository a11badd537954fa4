// What PLUGIN blocks leave behind between frames: the script error marker
// and the wave effect, both cleared whenever a warp picture loads (the
// scene hooks below); and the states of the engine plug-ins (countdown,
// target game, overlay picture), which live as long as the Engine, across
// warps and scripts. Lives in Engine.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "scene/scene_picture.h"

struct Engine;

struct WavesState {
  bool on = false;
  float phase = 0.0f;
  uint64_t last_counter = 0;  // of the last wave step
};

// Countdown flags.
inline constexpr uint32_t kCountdownRunning = 1;
inline constexpr uint32_t kCountdownPaused = 2;
inline constexpr uint32_t kCountdownShown = 4;

struct CountdownState {
  uint32_t flags = 0;      // 0: no countdown
  int32_t total = 0;       // ms
  int32_t remaining = 0;   // ms, below 0 once it has run out
  uint32_t last_tick = 0;  // ms of the last update
  int32_t frame = 0;       // not 0: the frame "Cadre" and the bar "CadreB" are drawn
};

inline constexpr size_t kCibleWindowNumbers = 32;  // 16 (start, end) pairs in seconds

struct CibleState {
  bool on = false;
  uint32_t start_tick = 0;  // ms
  int32_t period = 0;       // seconds
  std::array<int32_t, kCibleWindowNumbers> windows{};
};

inline constexpr size_t kOverlayNameMax = 63;

struct OverlayPictureState {
  bool on = false;
  std::string name;  // a picture of the data archive
  int32_t x = 0;
  int32_t y = 0;
};

struct PluginState {
  bool script_error = false;  // a malformed statement was met
  WavesState waves;
  CountdownState countdown;
  CibleState cible;
  OverlayPictureState overlay;
};

// The engine's answers to the scene loaders: the marker and the waves
// cleared, the movie overlays released through the engine's services.
class EngineSceneHooks : public SceneHooks {
 public:
  explicit EngineSceneHooks(Engine& engine) : engine_(engine) {}
  void Movie_Free_Overlays() override;
  void Clear_Script_Error() override;
  void Clear_Waves() override;

 private:
  Engine& engine_;
};
