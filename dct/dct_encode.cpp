// The encoder beside the unpackers.
#include "dct/dct_encode.h"

#include <cstring>

#include "dct/block_layout.h"
#include "dct/jpeg_writer.h"

namespace {

using namespace dct_internal;

constexpr int kMaxSide = 65500;  // the largest JPEG side
constexpr int kPixelBytes = 4;

bool Quality_Ok(int quality) { return quality >= 1 && quality <= 100; }

bool Blocks_Ok(const int* blocks, int count, const Grid& target) {
  if (!blocks || count < 1 || count > target.Blocks()) return false;
  for (int i = 0; i < count; ++i)
    if (blocks[i] < 0 || blocks[i] >= target.Blocks()) return false;
  return true;
}

// Copies the listed blocks of the picture into the cells of the packed
// picture; padding cells stay black.
void Pack_Blocks(const unsigned char* pixels, const Grid& target, const int* blocks, int count,
                 const Grid& packed, std::vector<unsigned char>& cells) {
  cells.assign(static_cast<size_t>(packed.Width()) * packed.Height() * kPixelBytes, 0);
  const size_t from_pitch = static_cast<size_t>(target.Width()) * kPixelBytes;
  const size_t to_pitch = static_cast<size_t>(packed.Width()) * kPixelBytes;
  for (int i = 0; i < count; ++i)
    Copy_Block(pixels + Block_Offset(target, blocks[i], kPixelBytes), from_pitch,
               cells.data() + Block_Offset(packed, i, kPixelBytes), to_pitch, kPixelBytes);
}

}  // namespace

int Dct_Encode_Picture(const unsigned char* pixels, int width, int height, int quality,
                       std::vector<unsigned char>& out) {
  out.clear();
  if (!pixels || width < 1 || height < 1 || width > kMaxSide || height > kMaxSide || !Quality_Ok(quality))
    return 0;
  const size_t pitch = static_cast<size_t>(width) * kPixelBytes;
  return Jpeg_Write(pixels, width, height, pitch, quality, out) ? 1 : 0;
}

int Dct_Encode_Blocks(const unsigned char* pixels, int width, int height, const int* blocks, int count,
                      int quality, std::vector<unsigned char>& out) {
  out.clear();
  Grid target;
  if (!pixels || !Target_Grid(width, target) || height != target.Height() ||
      !Blocks_Ok(blocks, count, target) || !Quality_Ok(quality))
    return 0;
  const Grid packed = Packed_Grid(count);
  try {
    std::vector<unsigned char> cells;
    Pack_Blocks(pixels, target, blocks, count, packed, cells);
    const size_t pitch = static_cast<size_t>(packed.Width()) * kPixelBytes;
    return Jpeg_Write(cells.data(), packed.Width(), packed.Height(), pitch, quality, out) ? 1 : 0;
  } catch (...) {  // no memory for the packed picture
    out.clear();
    return 0;
  }
}
