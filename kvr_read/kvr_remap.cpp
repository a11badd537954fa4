// Kvr_Remap: cuts a decoded panorama strip into its six cube faces.
#include <cstring>

#include "kvr_read/kvr_read.h"

namespace {

constexpr int kTileSide = 256;
constexpr int kPixelBytes = 4;
constexpr int kTileRowBytes = kTileSide * kPixelBytes;  // 1024
constexpr int kTileBytes = kTileSide * kTileRowBytes;   // 262 144
constexpr int kFaceSide = 2 * kTileSide;                // 512
constexpr int kFaceRowBytes = kFaceSide * kPixelBytes;  // 2048
constexpr int kTilesPerFace = 4;
constexpr int kFaces = 6;

static_assert(sizeof(RGB) == kPixelBytes);

// The face image that tile group f of the strip becomes.
constexpr int kFaceOfGroup[kFaces] = {2, 5, 0, 1, 3, 4};

// Where the tiles of a group go in the face: top-left, top-right,
// bottom-right, bottom-left, as (first face row, byte column).
struct Quarter {
  int row;
  int column_bytes;
};
constexpr Quarter kQuarters[kTilesPerFace] = {
    {0, 0}, {0, kTileRowBytes}, {kTileSide, kTileRowBytes}, {kTileSide, 0}};

void Copy_Tile(const unsigned char* tile, unsigned char* face, Quarter q) {
  for (int r = 0; r < kTileSide; ++r)
    std::memcpy(face + (q.row + r) * kFaceRowBytes + q.column_bytes, tile + r * kTileRowBytes, kTileRowBytes);
}

}  // namespace

// A null face is left out; the others are still written.
void Kvr_Remap(RGB* faces[6], const unsigned char* strip) {
  if (!faces || !strip) return;
  for (int group = 0; group < kFaces; ++group) {
    auto* face = reinterpret_cast<unsigned char*>(faces[kFaceOfGroup[group]]);
    if (!face) continue;
    for (int t = 0; t < kTilesPerFace; ++t)
      Copy_Tile(strip + (group * kTilesPerFace + t) * kTileBytes, face, kQuarters[t]);
  }
}

void Kvr_Remap(RGB* faces[6], unsigned char* strip) {
  Kvr_Remap(faces, static_cast<const unsigned char*>(strip));
}
