// Load_Scene_Picture on the input as a file: the result, the kind and the
// animation table must agree, and nothing may be written outside the two
// targets.
#include <cstdint>

#include "fuzz/fuzz_scene.h"
#include "fuzz/fuzz_scene_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
  if (size > (4u << 20)) return 0;
  FuzzSceneFile file(bytes, size);
  if (!file.Ok()) return 0;
  FuzzScene fuzz;
  Scene& scene = fuzz.scene;
  scene.picture_kind = -7;

  const int result = Load_Scene_Picture(scene, file.Path().c_str());
  const SceneAnimationTable& t = scene.table;
  switch (result) {
    case 1:
      if (scene.picture_kind != kSceneKindTga || t.count != 0 || t.target_width != 0) __builtin_trap();
      break;
    case 0:
      if (scene.picture_kind == kSceneKindVr) {
        if (t.target_width != KVR_VR_WIDTH) __builtin_trap();
      } else if (scene.picture_kind != kSceneKindRaw || t.count != 0 || t.target_width != 0) {
        __builtin_trap();
      }
      break;
    case 3:
      if (scene.picture_kind != kSceneKindPic || t.target_width != KVR_PIC_WIDTH) __builtin_trap();
      break;
    default: __builtin_trap();  // an openable file always loads as something
  }
  if (t.count < 0 || (t.count > 0) != (t.names != nullptr) || (t.count > 0) != (t.records != nullptr))
    __builtin_trap();
  // A compressed load lists the file's animations; the others list none.
  const bool compressed = scene.picture_kind == kSceneKindVr || scene.picture_kind == kSceneKindPic;
  if (compressed && t.count != Count_Scene_Animations(file.Path().c_str())) __builtin_trap();
  Free_Scene_Animations(scene);
  return 0;
}
