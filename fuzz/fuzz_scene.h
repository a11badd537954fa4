// The engine's scene for the scene fuzz targets, with both of its targets
// exactly sized, so the sanitizer sees any stray write. Made once per
// process: the targets are large, and fresh pages every run would cost more
// than the loads themselves. A run leaves the table empty.
#pragma once

#include <cstdint>
#include <vector>

#include "pictures/picture.h"
#include "scene/scene_picture.h"

struct FuzzScene {
  FuzzScene() {
    scene.tile_store = tiles.data();
    scene.still = still.get();
  }
  static FuzzScene& Once() {
    static FuzzScene fuzz;
    return fuzz;
  }
  std::vector<uint16_t> tiles = std::vector<uint16_t>(static_cast<size_t>(kSceneVrPixels));
  PicturePtr still = Picture_New("warpfix", kSceneStillWidth, kSceneStillHeight, 16);
  Scene scene;
};
