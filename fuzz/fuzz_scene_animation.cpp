// Play_Scene_Animation_Frame on the input as a file: the scene is loaded,
// then each of its first animations is opened by name and played into the
// scene picture until it ends or for a bounded number of frames. The first
// byte's low bit sets stop-at-end. An ended animation has closed its file and stays ended.
#include <cstdint>

#include "fuzz/fuzz_scene.h"
#include "fuzz/fuzz_scene_input.h"

namespace {

constexpr int kMaxAnimations = 4;
constexpr int kMaxFrames = 200;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
  if (size > (4u << 20)) return 0;
  FuzzSceneFile file(bytes, size);
  if (!file.Ok()) return 0;
  FuzzScene fuzz;
  Scene& scene = fuzz.scene;
  const int result = Load_Scene_Picture(scene, file.Path().c_str());
  SceneAnimationTable& t = scene.table;
  if (t.count == 0) return 0;

  uint16_t* dest = result == 0 ? fuzz.tiles.data() : reinterpret_cast<uint16_t*>(fuzz.still->pixels.data());
  for (int i = 0; i < t.count && i < kMaxAnimations; ++i) {
    SceneAnimation& r = t.records[i];
    r.stop_at_end = size > 0 && (bytes[0] & 1);
    char name[KVR_ANIM_NAME_SIZE + 1] = {};
    for (int k = 0; k < KVR_ANIM_NAME_SIZE; ++k) name[k] = t.names[i][size_t(k)];
    if (!Open_Scene_Animation(t.file_path.c_str(), name, &r)) continue;
    int frame = 0;
    while (frame < kMaxFrames && Play_Scene_Animation_Frame(&r, dest, 16, t.target_width)) ++frame;
    if (frame < kMaxFrames) {
      if (r.file.Tell() != -1) __builtin_trap();  // ended with its file open
      if (Play_Scene_Animation_Frame(&r, dest, 16, t.target_width) != 0) __builtin_trap();
    }
  }
  Free_Scene_Animations(scene);
  return 0;
}
