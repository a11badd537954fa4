// The scene's animations: opened by name from the scene file and played
// frame by frame, block by block, into the scene picture.
#include "dct/dct.h"
#include "kvr_read/kvr_walk.h"
#include "scene/scene_file.h"
#include "scene/scene_picture.h"

int Open_Scene_Animation(const char* path, const char* name, SceneAnimation* record) {
  if (!record) return 0;
  return kvr_walk::Open_Animation(*record, Scene_Path(path).c_str(), name);
}

int Play_Scene_Animation_Frame(SceneAnimation* record, uint16_t* dest, int depth, int width) {
  if (!record) return 0;
  DCT dct;  // held for the length of the call, as the unpackers expect
  return kvr_walk::Play_Frame(*record, record->stop_at_end != 0, [&](kvr_walk::FrameBlocks& frame) {
    if (!dest) return;
    dct.Unpack_Bloc_Rgb_16(dest, frame.blocks.data(), static_cast<int>(frame.blocks.size()), width,
                           frame.data.data(), static_cast<int>(frame.data.size()), frame.dct_param, depth);
  });
}
