#include "tools/face_strip.h"

#include <cstring>

namespace {

constexpr size_t kTileRowBytes = size_t{kFaceTileSize} * 4;
constexpr size_t kFaceRowBytes = size_t{kFaceSize} * 4;
constexpr size_t kTileBytes = kTileRowBytes * kFaceTileSize;

// Where quarter q (top-left, top-right, bottom-right, bottom-left) of a face
// starts: its first row and its byte offset within a face row.
struct Quarter {
  int row;
  size_t column_bytes;
};
constexpr Quarter kQuarters[4] = {
    {0, 0}, {0, kTileRowBytes}, {kFaceTileSize, kTileRowBytes}, {kFaceTileSize, 0}};

}  // namespace

void Faces_To_Strip(const std::array<const uint8_t*, kFaceCount>& faces, uint8_t* strip) {
  for (int group = 0; group < kFaceCount; ++group) {
    const uint8_t* face = faces[size_t(kFaceOfGroup[size_t(group)])];
    for (int q = 0; q < 4; ++q) {
      uint8_t* tile = strip + size_t(group * 4 + q) * kTileBytes;
      for (int r = 0; r < kFaceTileSize; ++r)
        std::memcpy(tile + size_t(r) * kTileRowBytes,
                    face + size_t(kQuarters[q].row + r) * kFaceRowBytes + kQuarters[q].column_bytes,
                    kTileRowBytes);
    }
  }
}
