// The scene animation table and the still picture target.
#include "scene/scene_table.h"

#include <algorithm>

#include "pictures/picture.h"

void Scene_Table_Empty(SceneAnimationTable& table) {
  table.names.reset();
  table.records.reset();
  table.count = 0;
}

void Scene_Table_Rebuild(SceneAnimationTable& table, const char* path) {
  Scene_Table_Empty(table);
  table.file_path.assign(path ? path : "");
  if (table.file_path.size() > size_t(kScenePathMax)) table.file_path.resize(kScenePathMax);
  const int count = std::min(Count_Scene_Animations(path), kSceneAnimationMax);
  if (count <= 0) return;
  table.names = std::make_unique<SceneAnimationName[]>(size_t(count));
  table.records = std::make_unique<SceneAnimation[]>(size_t(count));
  Get_Scene_Animation_Names(path, table.names.get(), count);
  table.count = count;
}

uint16_t* Scene_Still_Pixels(Scene& scene) {
  Picture* p = scene.still;
  if (!p || p->width != kSceneStillWidth || p->height != kSceneStillHeight || p->depth != 16 ||
      p->pack_method != 0 || p->frame_count != 0 || p->pixels.size() < size_t(kSceneStillPixels) * 2)
    return nullptr;
  // Picture data come from operator new, aligned for 16-bit words.
  return reinterpret_cast<uint16_t*>(p->pixels.data());
}
