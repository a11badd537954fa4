// The scene's animation table and still picture, as the loaders change them.
#pragma once

#include <cstdint>

#include "scene/scene_picture.h"

// Frees the names and records (closing any animation still open) and sets
// the count to 0.
void Scene_Table_Empty(SceneAnimationTable& table);
// Replaces the table by the animations of the panorama file `path`: the
// path (cut to kScenePathMax characters), the count, the names and
// zero-filled records.
void Scene_Table_Rebuild(SceneAnimationTable& table, const char* path);
// The still picture's pixels, or null when the scene has no 640 x 480
// plain 16-bit still picture to load into.
uint16_t* Scene_Still_Pixels(Scene& scene);
