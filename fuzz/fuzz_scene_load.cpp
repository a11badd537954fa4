// A panorama file loaded as a warp's picture: Load_Scene_Vr, else
// Load_Scene_Pic. The result, the target width and the animation table must
// agree, and nothing may be written outside the two targets. (TGA stills
// have fuzz_scene_tga; a raw dump is any file, read without a parse.)
#include <cstdint>

#include "fuzz/fuzz_scene.h"
#include "fuzz/fuzz_scene_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
  if (size > (4u << 20)) return 0;
  FuzzSceneFile file(bytes, size);
  if (!file.Ok()) return 0;
  Scene& scene = FuzzScene::Once().scene;
  SceneAnimationTable& t = scene.table;
  t.target_width = -7;

  int width = -7;
  if (Load_Scene_Vr(scene, file.Path().c_str()))
    width = KVR_VR_WIDTH;
  else if (Load_Scene_Pic(scene, file.Path().c_str()))
    width = KVR_PIC_WIDTH;
  if (t.target_width != width) __builtin_trap();  // a failed load leaves the table as it was
  if (t.count < 0 || t.count > kSceneAnimationMax || (t.count > 0) != (t.names != nullptr) ||
      (t.count > 0) != (t.records != nullptr))
    __builtin_trap();
  const int listed = Count_Scene_Animations(file.Path().c_str());
  if (width > 0 && t.count != (listed < kSceneAnimationMax ? listed : kSceneAnimationMax)) __builtin_trap();
  if (width < 0 && t.count != 0) __builtin_trap();
  Free_Scene_Animations(scene);
  return 0;
}
