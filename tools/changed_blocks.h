// Which animation blocks differ between two pictures.
#pragma once

#include <cstdint>
#include <vector>

// The numbers, ascending, of the DCT_BLOCK_SIZE x DCT_BLOCK_SIZE blocks in
// which two pictures of width x height 4-byte pixels (blue, green, red,
// unused) differ in blue, green or red. Blocks are numbered row by row from
// the top left, width / DCT_BLOCK_SIZE a row; width and height must be
// positive multiples of DCT_BLOCK_SIZE (empty result otherwise).
std::vector<int> Changed_Blocks(const uint8_t* before, const uint8_t* after, int width, int height);
