// TGA: 18-byte header, uncompressed 24-bit pixels, top row first.
#include "tools/picture_writer_bytes.h"
#include "tools/picture_writers.h"

namespace {

constexpr int kTgaSideMax = 65535;
constexpr uint8_t kTgaTrueColour = 2;
constexpr uint8_t kTgaTopFirst = 0x20;  // descriptor bit 5: rows run top to bottom

}  // namespace

PictureFile Tga_Write(const Picture& picture) {
  if (std::string problem = Picture_Write_Problem(picture, 24, kTgaSideMax); !problem.empty())
    return Picture_File_Failed(problem);
  PictureFile file;
  std::vector<uint8_t>& out = file.bytes;
  out.push_back(0);  // identification length
  out.push_back(0);  // no colour map
  out.push_back(kTgaTrueColour);
  out.insert(out.end(), 5, 0);  // colour map: first entry, length, entry size
  Push_Le16(out, 0);            // x and y origin
  Push_Le16(out, 0);
  Push_Le16(out, uint32_t(picture.width));
  Push_Le16(out, uint32_t(picture.height));
  out.push_back(24);
  out.push_back(kTgaTopFirst);
  const size_t count = size_t(picture.width) * size_t(picture.height);
  out.reserve(out.size() + count * 3);
  for (size_t i = 0; i < count; ++i) {
    const uint8_t* p = picture.pixels.data() + 3 * i;
    out.insert(out.end(), {p[2], p[1], p[0]});
  }
  return file;
}
