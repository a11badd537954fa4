// Load_Scene_Picture and the two compressed loaders: which kind of file a
// warp names, and the animation table that panorama files bring.
#include "scene/scene_picture.h"

#include "scene/scene_table.h"

namespace {

void Free_Overlays(Scene& scene) {
  if (scene.hooks) scene.hooks->Movie_Free_Overlays();
}

}  // namespace

int Load_Scene_Picture(Scene& scene, const char* path) {
  scene.table.target_width = 0;
  if (scene.hooks) {
    scene.hooks->Clear_Script_Error();
    scene.hooks->Clear_Waves();
  }
  Free_Overlays(scene);

  if (Load_Tga_640_480(scene, path)) {
    scene.picture_kind = kSceneKindTga;
    return 1;
  }
  if (Load_Scene_Vr(scene, path)) {
    scene.picture_kind = kSceneKindVr;
    return 0;
  }
  if (Load_Scene_Pic(scene, path)) {
    scene.picture_kind = kSceneKindPic;
    return 3;
  }
  if (Load_Raw_Vr(path, scene.tile_store)) {
    Scene_Table_Empty(scene.table);
    scene.picture_kind = kSceneKindRaw;
    return 0;
  }
  return -1;
}

int Load_Scene_Vr(Scene& scene, const char* path) {
  // Always RGB565, whatever the display format: see scene_picture.h.
  if (!Unpack_Static_Vr(path, scene.tile_store, 16)) return 0;
  Free_Overlays(scene);
  Scene_Table_Rebuild(scene.table, path);
  scene.table.target_width = KVR_VR_WIDTH;
  return 1;
}

int Load_Scene_Pic(Scene& scene, const char* path) {
  if (!Unpack_Static_Pic(path, Scene_Still_Pixels(scene), 16)) return 0;
  Scene_Table_Rebuild(scene.table, path);
  scene.table.target_width = KVR_PIC_WIDTH;
  return 1;
}

int Free_Scene_Animations(Scene& scene) {
  Free_Overlays(scene);
  Scene_Table_Empty(scene.table);
  return 1;
}
