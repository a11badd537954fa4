// Writers of engine picture files, for tools. Each takes a plain picture of
// the depth its format stores and gives the whole file; the engine's readers
// read it back to the same pixels (and, for 8 bits, the same palette).
//
//   PCX   8 bits, 1 plane, version 5, run-length encoded rows, 256-colour
//         palette trailer (byte 12 and 768 bytes R, G, B). Rows are exactly
//         `width` bytes, as the engine reads them. Up to 65535 x 65535.
//   TGA   24 bits, image type 2 (uncompressed), no colour map, rows top to
//         bottom (descriptor bit 5 set), pixels B, G, R. Up to 65535 x 65535.
//   BMP   24 bits, BITMAPINFOHEADER, uncompressed, rows bottom to top,
//         pixels B, G, R, each row padded to 4 bytes, data at offset 54.
//   MDRAW 8 bits: "MDRAW " + width - 1 and height - 1 as 4 upper-case
//         hexadecimal digits, "00FF" and the packing "NC" (plain) or "FC"
//         (packing method 1), separated by blanks; blanks up to offset 50;
//         the palette (768 bytes R, G, B); the pixel data. Up to 65536 x 65536.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "pictures/picture.h"

struct PictureFile {
  std::vector<uint8_t> bytes;  // the whole file
  std::string error;           // "" on success; bytes is empty otherwise

  bool ok() const { return error.empty(); }
};

enum class MdrawPacking { kPlain, kRunLength };  // "NC", "FC"

PictureFile Pcx_Write(const Picture& picture);
PictureFile Tga_Write(const Picture& picture);
PictureFile Bmp_Write(const Picture& picture);
PictureFile Mdraw_Write(const Picture& picture, MdrawPacking packing);

// For the writers: "" when the picture holds plain pixels of that depth and
// its sides are at most max_side, else why not.
std::string Picture_Write_Problem(const Picture& picture, int depth, int max_side);
