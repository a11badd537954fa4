// The engine's scene for the scene fuzz targets, with both of its targets
// exactly sized, so the sanitizer sees any stray write.
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
  std::vector<uint16_t> tiles = std::vector<uint16_t>(static_cast<size_t>(kSceneVrPixels));
  PicturePtr still = Picture_New("warpfix", kSceneStillWidth, kSceneStillHeight, 16);
  Scene scene;
};
