// The panorama strip and its six cube faces, in 4-byte pixels (blue, green,
// red, unused), rows top to bottom.
//
// The strip is 256 x 6144 pixels: 24 tiles of 256 x 256, tile k at rows
// 256k .. 256k + 255. Tiles 4f .. 4f + 3 are face group f, its quarters
// top-left, top-right, bottom-right, bottom-left. Group f is the face
// kFaceOfGroup[f] of the face list below, as Kvr_Remap cuts it.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

inline constexpr int kFaceCount = 6;
inline constexpr int kFaceSize = 512;  // a face is kFaceSize x kFaceSize pixels
inline constexpr int kFaceTileSize = 256;
inline constexpr size_t kFaceBytes = size_t{kFaceSize} * kFaceSize * 4;
inline constexpr int kStripWidth = 256;
inline constexpr int kStripHeight = 6144;
inline constexpr size_t kStripBytes = size_t{kStripWidth} * kStripHeight * 4;

// The faces in Kvr_Remap's order, by the names their files take:
//   0 up (z = +255), 1 x+, 2 down (z = -255), 3 y+, 4 y-, 5 x-.
inline constexpr std::array<std::string_view, kFaceCount> kFaceNames = {"up", "x+", "down", "y+", "y-", "x-"};
// The face that face group f of the strip holds.
inline constexpr std::array<int, kFaceCount> kFaceOfGroup = {2, 5, 0, 1, 3, 4};

// Lays six faces (each kFaceBytes, indexed as kFaceNames) into the strip
// (kStripBytes): the inverse of Kvr_Remap.
void Faces_To_Strip(const std::array<const uint8_t*, kFaceCount>& faces, uint8_t* strip);
