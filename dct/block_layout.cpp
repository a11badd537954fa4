#include "dct/block_layout.h"

#include <cstring>

#include "dct/dct.h"

namespace dct_internal {

int Grid::Width() const { return columns * DCT_BLOCK_SIZE; }
int Grid::Height() const { return rows * DCT_BLOCK_SIZE; }

bool Target_Grid(int width, Grid& grid) {
  if (width == 256) {
    grid = Grid{16, 384};
    return true;
  }
  if (width == 640) {
    grid = Grid{40, 30};
    return true;
  }
  return false;
}

Grid Packed_Grid(int count) {
  const int columns = count < DCT_PACKED_COLUMNS ? count : DCT_PACKED_COLUMNS;
  return Grid{columns, (count + DCT_PACKED_COLUMNS - 1) / DCT_PACKED_COLUMNS};
}

size_t Block_Offset(const Grid& grid, int n, int bytes_per_pixel) {
  const size_t x = static_cast<size_t>(n % grid.columns) * DCT_BLOCK_SIZE;
  const size_t y = static_cast<size_t>(n / grid.columns) * DCT_BLOCK_SIZE;
  return (y * static_cast<size_t>(grid.Width()) + x) * static_cast<size_t>(bytes_per_pixel);
}

void Copy_Block(const unsigned char* from, size_t from_pitch, unsigned char* to, size_t to_pitch,
                int bytes_per_pixel) {
  const size_t row_bytes = static_cast<size_t>(DCT_BLOCK_SIZE * bytes_per_pixel);
  for (int r = 0; r < DCT_BLOCK_SIZE; ++r) std::memcpy(to + r * to_pitch, from + r * from_pitch, row_bytes);
}

}  // namespace dct_internal
