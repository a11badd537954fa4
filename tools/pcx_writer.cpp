// PCX: 128-byte header, run-length encoded rows, palette trailer.
#include <algorithm>

#include "tools/picture_writer_bytes.h"
#include "tools/picture_writers.h"

namespace {

constexpr int kPcxSideMax = 65535;  // bytes per line is a 16-bit field
constexpr size_t kPcxHeaderSize = 128;
constexpr uint8_t kPcxPaletteMark = 12;
constexpr int kPcxRunMax = 63;  // a count byte is 0xC0 + 1..63

void Put_Header(std::vector<uint8_t>& out, const Picture& picture) {
  out.push_back(0x0A);  // manufacturer
  out.push_back(5);     // version: 256-colour palette
  out.push_back(1);     // run-length encoding
  out.push_back(8);     // bits per pixel per plane
  Push_Le16(out, 0);    // xmin, ymin, xmax, ymax
  Push_Le16(out, 0);
  Push_Le16(out, uint32_t(picture.width - 1));
  Push_Le16(out, uint32_t(picture.height - 1));
  Push_Le16(out, 72);  // dots per inch
  Push_Le16(out, 72);
  out.insert(out.end(), 48, 0);  // 16-colour palette, unused
  out.push_back(0);              // reserved
  out.push_back(1);              // planes
  // Bytes per line: exactly `width`, with no padding byte for odd widths,
  // since the engine takes every row as `width` bytes.
  Push_Le16(out, uint32_t(picture.width));
  Push_Le16(out, 1);  // colour palette
  out.resize(kPcxHeaderSize, 0);
}

// One row: runs of up to 63 equal bytes. A single byte below 0xC0 stands for
// itself; 0xC0 and above always go as a run, since any byte with both top
// bits set reads as a count elsewhere.
void Put_Row(std::vector<uint8_t>& out, const uint8_t* row, int width) {
  int x = 0;
  while (x < width) {
    int run = 1;
    while (x + run < width && run < kPcxRunMax && row[x + run] == row[x]) ++run;
    if (run > 1 || row[x] >= 0xC0) out.push_back(uint8_t(0xC0 + run));
    out.push_back(row[x]);
    x += run;
  }
}

}  // namespace

PictureFile Pcx_Write(const Picture& picture) {
  if (std::string problem = Picture_Write_Problem(picture, 8, kPcxSideMax); !problem.empty())
    return Picture_File_Failed(problem);
  PictureFile file;
  Put_Header(file.bytes, picture);
  for (int y = 0; y < picture.height; ++y)
    Put_Row(file.bytes, picture.pixels.data() + size_t(y) * size_t(picture.width), picture.width);
  file.bytes.push_back(kPcxPaletteMark);
  file.bytes.insert(file.bytes.end(), picture.palette.begin(), picture.palette.begin() + kPalette_Rgb_Bytes);
  return file;
}
