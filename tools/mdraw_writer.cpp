// MDRAW: a text header, the palette at offset 50, the pixels at offset 818.
#include <cstdio>
#include <cstring>

#include "packing/packing_encode.h"
#include "tools/picture_writer_bytes.h"
#include "tools/picture_writers.h"

namespace {

constexpr int kMdrawSideMax = 0x10000;  // width - 1 and height - 1 in 4 hex digits
constexpr size_t kMdrawPaletteAt = 50;

std::string Hex4(int value) {
  char text[8];
  std::snprintf(text, sizeof text, "%04X", unsigned(value) & 0xFFFF);
  return text;
}

}  // namespace

PictureFile Mdraw_Write(const Picture& picture, MdrawPacking packing) {
  if (std::string problem = Picture_Write_Problem(picture, 8, kMdrawSideMax); !problem.empty())
    return Picture_File_Failed(problem);
  const bool packed = packing == MdrawPacking::kRunLength;
  std::string header =
      "MDRAW " + Hex4(picture.width - 1) + " " + Hex4(picture.height - 1) + " 00FF " + (packed ? "FC" : "NC");
  header.resize(kMdrawPaletteAt, ' ');
  const size_t size = size_t(picture.width) * size_t(picture.height);
  const std::vector<uint8_t> data =
      packed ? Pack(1, picture.pixels.data(), size)
             : std::vector<uint8_t>(picture.pixels.begin(), picture.pixels.begin() + std::ptrdiff_t(size));
  // One allocation, filled part by part (gcc 12 at -O3 misjudges the bounds
  // of vector inserts that follow an assign).
  PictureFile file;
  file.bytes.resize(kMdrawPaletteAt + kPalette_Rgb_Bytes + data.size());
  std::memcpy(file.bytes.data(), header.data(), kMdrawPaletteAt);
  std::memcpy(file.bytes.data() + kMdrawPaletteAt, picture.palette.data(), kPalette_Rgb_Bytes);
  if (!data.empty())
    std::memcpy(file.bytes.data() + kMdrawPaletteAt + kPalette_Rgb_Bytes, data.data(), data.size());
  return file;
}
