// BMP: 14-byte file header, 40-byte information header, 24-bit rows bottom
// to top, each padded to a multiple of 4 bytes.
#include <limits>

#include "tools/picture_writer_bytes.h"
#include "tools/picture_writers.h"

namespace {

// Sides are 32-bit fields; the sizes fit 32 bits too, since a picture's
// plain data is at most kPictureBytesMax.
constexpr int kBmpSideMax = std::numeric_limits<int>::max();
constexpr uint32_t kBmpHeadersSize = 14 + 40;

}  // namespace

PictureFile Bmp_Write(const Picture& picture) {
  if (std::string problem = Picture_Write_Problem(picture, 24, kBmpSideMax); !problem.empty())
    return Picture_File_Failed(problem);
  const uint32_t row = uint32_t(picture.width) * 3;
  const uint32_t stride = (row + 3) & ~uint32_t{3};  // rows are padded to 4 bytes
  const uint32_t data = stride * uint32_t(picture.height);
  PictureFile file;
  std::vector<uint8_t>& out = file.bytes;
  out.push_back('B');
  out.push_back('M');
  Push_Le32(out, kBmpHeadersSize + data);  // file size
  Push_Le32(out, 0);                       // reserved
  Push_Le32(out, kBmpHeadersSize);         // offset of the pixels
  Push_Le32(out, 40);                      // information header size
  Push_Le32(out, uint32_t(picture.width));
  Push_Le32(out, uint32_t(picture.height));  // positive: bottom row first
  Push_Le16(out, 1);                         // planes
  Push_Le16(out, 24);
  Push_Le32(out, 0);  // no compression
  Push_Le32(out, data);
  Push_Le32(out, 2835);  // 72 dots per inch, in dots per metre
  Push_Le32(out, 2835);
  Push_Le32(out, 0);  // colours used
  Push_Le32(out, 0);  // important colours
  out.reserve(out.size() + data);
  for (int y = picture.height - 1; y >= 0; --y) {
    const uint8_t* p = picture.pixels.data() + size_t(y) * row;
    for (int x = 0; x < picture.width; ++x, p += 3) out.insert(out.end(), {p[2], p[1], p[0]});
    out.insert(out.end(), stride - row, 0);
  }
  return file;
}
