#include "tools/changed_blocks.h"

#include <cstddef>

#include "dct/dct.h"

namespace {

bool Pixel_Differs(const uint8_t* a, const uint8_t* b) {
  return a[0] != b[0] || a[1] != b[1] || a[2] != b[2];
}

bool Block_Differs(const uint8_t* before, const uint8_t* after, int width, int block_x, int block_y) {
  for (int y = block_y; y < block_y + DCT_BLOCK_SIZE; ++y)
    for (int x = block_x; x < block_x + DCT_BLOCK_SIZE; ++x) {
      const size_t at = (size_t(y) * size_t(width) + size_t(x)) * 4;
      if (Pixel_Differs(before + at, after + at)) return true;
    }
  return false;
}

}  // namespace

std::vector<int> Changed_Blocks(const uint8_t* before, const uint8_t* after, int width, int height) {
  std::vector<int> changed;
  if (width <= 0 || height <= 0 || width % DCT_BLOCK_SIZE != 0 || height % DCT_BLOCK_SIZE != 0)
    return changed;
  const int columns = width / DCT_BLOCK_SIZE;
  const int rows = height / DCT_BLOCK_SIZE;
  for (int row = 0; row < rows; ++row)
    for (int column = 0; column < columns; ++column)
      if (Block_Differs(before, after, width, column * DCT_BLOCK_SIZE, row * DCT_BLOCK_SIZE))
        changed.push_back(row * columns + column);
  return changed;
}
