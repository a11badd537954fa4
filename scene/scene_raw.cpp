// Load_Raw_Vr: a raw panorama dump, RGB555 words, into the tile store.
#include <algorithm>
#include <cstdio>

#include "scene/scene_file.h"
#include "scene/scene_picture.h"

int Load_Raw_Vr(const char* path, uint16_t* dest) {
  if (!dest) return 0;
  SceneFile f = Scene_Open(path);
  if (!f) return 0;
  unsigned char bytes[4096];
  int at = 0;
  while (at < kSceneVrPixels) {
    const size_t want = std::min(sizeof bytes, size_t(kSceneVrPixels - at) * 2);
    const size_t got = std::fread(bytes, 1, want, f.get());
    for (size_t i = 0; i + 1 < got; i += 2) dest[at++] = uint16_t(bytes[i] | bytes[i + 1] << 8);
    if (got < want) break;
  }
  // Every pixel is converted, the ones the file did not cover included: the
  // top bit goes, green gains a 0 low bit.
  for (int i = 0; i < kSceneVrPixels; ++i) {
    const uint16_t p = dest[i];
    dest[i] = uint16_t((p >> 5) << 6 | (p & 0x1F));
  }
  return 1;
}
