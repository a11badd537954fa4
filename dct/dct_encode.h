// The encoder of libdct.so, for tools and tests: writes the compressed data
// that the unpackers of dct/dct.h read (format in dct/README.md).
//
// Input pixels are 4 bytes each, blue, green, red and one byte not read (the
// layout the 32-bit unpackers write), rows top to bottom. quality is the
// JPEG quality, 1 to 100; store it as the data's dct_param. Each function
// returns 1 with the data in `out`, or 0 with `out` emptied when an argument
// is refused or the encoder fails.
#pragma once

#include <vector>

#include "dct/dct.h"

// A whole picture of width x height pixels (each 1 to 65500); the
// unpackers take 256 x 6144 and 640 x 480.
DCT_API int Dct_Encode_Picture(const unsigned char* pixels, int width, int height, int quality,
                               std::vector<unsigned char>& out);

// The `count` listed blocks of a whole picture of 256 x 6144 or 640 x 480
// pixels (pixels holds the whole picture), packed for Unpack_Bloc_Rgb_16 and
// Unpack_Bloc_Rgb_32_2. Refused: another picture size, count not in 1 ..
// blocks of the picture, a block number outside the picture.
DCT_API int Dct_Encode_Blocks(const unsigned char* pixels, int width, int height, const int* blocks,
                              int count, int quality, std::vector<unsigned char>& out);
