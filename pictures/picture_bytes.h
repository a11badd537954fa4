// Helpers shared by the picture readers: the whole file read through the
// file layer, little- and big-endian fields, and pictures made without the
// zero-filled pixel allocation of Picture_New.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "packing/byte_order.h"
#include "pictures/picture.h"

struct Wendax;

// Largest file a reader takes into memory: the largest plain data twice over
// (a run-length stream may be up to twice its output) and room for headers.
inline constexpr size_t kPictureFileBytesMax = 2 * kPictureBytesMax + (size_t{1} << 20);

// The file's bytes, read through the file layer (memory files first, names
// ignoring case). Nothing when it cannot be opened or read in full, or is
// larger than kPictureFileBytesMax. An empty file gives an empty vector.
std::optional<std::vector<uint8_t>> Picture_File_Bytes(Wendax& wx, std::string_view path);

// The depth rounded up to 8, 16, 24 or 32 (<= 8 -> 8, ..., else 32).
int Picture_Round_Depth(int depth);

// A picture as Picture_New makes it (rounded depth, name shortened, version
// 1284, 768-byte zero palette) whose pixel vector is left empty and data
// size 0: the reader fills them. Null when Picture_Plain_Size is 0.
PicturePtr Picture_Make_Empty(std::string_view name, int width, int height, int depth);

// True when the picture holds plain pixels for its size and depth: pack
// method 0, a depth of 8, 16, 24 or 32, a valid size, and at least the
// plain size of pixel bytes. Drawing and conversion touch nothing else.
bool Picture_Is_Plain(const Picture& picture);

// The truncating RGB to RGB565 rule.
inline uint16_t Rgb_To_565(uint8_t r, uint8_t g, uint8_t b) {
  return uint16_t((r >> 3) << 11 | (g >> 2) << 5 | (b >> 3));
}
// RGB555 to RGB565 as the TGA and BMP readers rewrite it: (p >> 5) << 6 |
// (p & 0x1F); bit 15 falls off.
inline uint16_t Rgb555_To_565(uint16_t p) { return uint16_t((p >> 5) << 6 | (p & 0x1F)); }
