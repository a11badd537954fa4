// Where the 16 x 16 blocks of an animation frame sit: in the target picture
// (numbered row by row over its width) and in the packed picture of a frame
// (block i of the frame's list in cell i, DCT_PACKED_COLUMNS cells a row).
#pragma once

#include <cstddef>

namespace dct_internal {

struct Grid {
  int columns = 0;  // blocks across
  int rows = 0;     // blocks down
  int Blocks() const { return columns * rows; }
  int Width() const;
  int Height() const;
};

// The picture an animation draws into, known by its width: 256 is the
// panorama strip (16 x 384 blocks), 640 the still picture (40 x 30). False
// for any other width.
bool Target_Grid(int width, Grid& grid);

// The packed picture of `count` blocks (count >= 1): min(count, 16) columns,
// ceil(count / 16) rows; the cells after the last block are padding.
Grid Packed_Grid(int count);

// Byte offset of block (or cell) n's top-left pixel in a picture of that
// grid with `bytes_per_pixel`.
size_t Block_Offset(const Grid& grid, int n, int bytes_per_pixel);

// Copies one block's 16 rows of 16 pixels.
void Copy_Block(const unsigned char* from, size_t from_pitch, unsigned char* to, size_t to_pitch,
                int bytes_per_pixel);

}  // namespace dct_internal
