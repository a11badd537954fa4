// What PLUGIN blocks leave behind between frames: the script error marker
// and the wave effect. Both are cleared whenever a warp picture loads (the
// scene hooks below). Lives in Engine.
#pragma once

#include <cstdint>

#include "scene/scene_picture.h"

struct Engine;

struct WavesState {
  bool on = false;
  float phase = 0.0f;
  uint64_t last_counter = 0;  // of the last wave step
};

struct PluginState {
  bool script_error = false;  // a malformed statement was met
  WavesState waves;
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
