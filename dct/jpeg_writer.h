// Encoding of 4-byte pixels into one baseline JPEG stream, through
// libjpeg-turbo: YCbCr with 4:2:0 chroma (16 x 16 MCUs), Huffman tables
// optimised for the picture.
#pragma once

#include <cstddef>
#include <vector>

namespace dct_internal {

// Compresses width x height pixels of 4 bytes (blue, green, red, unused),
// rows `pitch` bytes apart, at `quality` (1 to 100). False when libjpeg
// fails or memory runs out; `out` is then left empty.
bool Jpeg_Write(const unsigned char* pixels, int width, int height, size_t pitch, int quality,
                std::vector<unsigned char>& out);

}  // namespace dct_internal
