// The animations of a panorama file played as a warp plays them: the table
// is built from the file as the loaders build it (the static picture is
// left to fuzz_scene_load), then each of its first animations is opened by
// name and played into the scene picture of the file's kind until it ends
// or for a bounded number of frames. The first byte's low bit sets
// stop-at-end. An ended animation has closed its file and stays ended.
#include <cstdint>

#include "fuzz/fuzz_scene.h"
#include "fuzz/fuzz_scene_input.h"
#include "kvr_read/kvr_file.h"
#include "kvr_read/kvr_walk.h"
#include "scene/scene_table.h"

namespace {

constexpr int kMaxAnimations = 4;
constexpr int kMaxFrames = 200;

// The width the animations draw at: the panorama strip's or the still
// picture's, by the file's first static picture; 0 without one.
int Target_Width(const char* path) {
  KVR_FILE file;
  if (!kvr_walk::Enter(file, path)) return 0;
  const int tag = kvr_walk::First_Static_Tag(file);
  return tag == KVR_CHUNK_STATIC_VR ? KVR_VR_WIDTH : tag == KVR_CHUNK_STATIC_PIC ? KVR_PIC_WIDTH : 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
  if (size > (4u << 20)) return 0;
  FuzzSceneFile file(bytes, size);
  if (!file.Ok()) return 0;
  FuzzScene& fuzz = FuzzScene::Once();
  Scene& scene = fuzz.scene;
  const int width = Target_Width(file.Path().c_str());
  if (width == 0) return 0;
  SceneAnimationTable& t = scene.table;
  Scene_Table_Rebuild(t, file.Path().c_str());
  t.target_width = width;

  uint16_t* dest =
      width == KVR_VR_WIDTH ? fuzz.tiles.data() : reinterpret_cast<uint16_t*>(fuzz.still->pixels.data());
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
