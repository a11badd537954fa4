#include "engine/plugins/anim_bloc.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "engine/engine.h"
#include "platform/files/text.h"
#include "platform/input/frame_clock.h"
#include "scene/scene_table.h"

namespace {

// The stored name, up to its NUL.
std::string_view Stored_Name(const SceneAnimationName& name) {
  size_t length = 0;
  while (length < name.size() && name[length] != '\0') ++length;
  return {name.data(), length};
}

SceneAnimation* Find_Bloc(SceneAnimationTable& table, std::string_view name, std::string_view* stored) {
  name = name.substr(0, kAnimBlocNameMax);
  for (int i = 0; i < table.count; ++i) {
    const std::string_view candidate = Stored_Name(table.names[size_t(i)]);
    if (Text_Equal(candidate, name) != 0) continue;
    if (stored) *stored = candidate;
    return &table.records[size_t(i)];
  }
  return nullptr;
}

// Where the blocs draw: the tile store of a panorama, the still picture of
// a still-picture warp.
uint16_t* Bloc_Target(Scene& scene) {
  if (scene.table.target_width == KVR_VR_WIDTH) return scene.tile_store;
  if (scene.table.target_width == KVR_PIC_WIDTH) return Scene_Still_Pixels(scene);
  return nullptr;
}

}  // namespace

std::string Anim_Bloc_Number_Name(std::string_view base, int32_t number) {
  char digits[16];
  std::snprintf(digits, sizeof digits, "%.4d", int(number));
  return std::string(base) + digits;
}

void Anim_Bloc_Start(Engine& engine, std::string_view name, std::string_view end_var,
                     const std::string& end_value, const std::optional<std::string>& fps) {
  Scene& scene = engine.run.scene;
  std::string_view stored;
  SceneAnimation* bloc = Find_Bloc(scene.table, name, &stored);
  if (!bloc || bloc->playing) return;
  const std::string stored_name(stored);
  if (Open_Scene_Animation(scene.table.file_path.c_str(), stored_name.c_str(), bloc)) {
    bloc->playing = 1;
    bloc->stop_at_end = 0;
    bloc->end_var = std::string(end_var.substr(0, kAnimBlocNameMax));
    bloc->end_value = int32_t(std::atoi(end_value.c_str()));
    bloc->fps = fps ? float(std::atof(fps->c_str())) : kAnimBlocDefaultFps;
    bloc->accumulator = 0.0f;
    bloc->counter_frequency = Wendax_Counter_Frequency(engine.wx);
    bloc->last_counter = Wendax_Counter(engine.wx);
  }
  Anim_Advance(engine, true);
}

void Anim_Bloc_Stop(Engine& engine, std::string_view name) {
  SceneAnimation* bloc = Find_Bloc(engine.run.scene.table, name, nullptr);
  if (bloc && bloc->playing) bloc->stop_at_end = 1;
}

void Anim_Advance(Engine& engine, bool force) {
  Scene& scene = engine.run.scene;
  SceneAnimationTable& table = scene.table;
  uint16_t* target = Bloc_Target(scene);
  for (int i = 0; i < table.count; ++i) {
    SceneAnimation& bloc = table.records[size_t(i)];
    if (!bloc.playing) continue;
    const uint64_t now = Wendax_Counter(engine.wx);
    // Low 32 bits, as unsigned 32-bit numbers: a wrap between two steps
    // still gives the right difference.
    const uint32_t ticks = uint32_t(now) - uint32_t(bloc.last_counter);
    uint32_t hz = uint32_t(bloc.counter_frequency);
    if (hz == 0) hz = 1;
    const float elapsed = float(ticks) / float(hz);
    bloc.last_counter = now;
    const float acc = elapsed * bloc.fps + bloc.accumulator;
    if (force || acc >= 1.0f) {
      if (!Play_Scene_Animation_Frame(&bloc, target, 16, table.target_width)) {
        bloc.playing = 0;
        bloc.stop_at_end = 0;
        Set_Var(engine.script.get(), bloc.end_var, bloc.end_value);
      }
    }
    bloc.accumulator = acc - std::trunc(acc);
  }
}
