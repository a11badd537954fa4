// Pictures stored in the MTRD chunk format ("mtd" and "mta" files).
#pragma once

#include <cstdint>
#include <string_view>

#include "pictures/picture.h"

struct Wendax;

// Reads the picture of the "MTRD" chunk found between start and end of an
// open file of the file layer. The picture keeps the stored name ("Null_picture"
// when empty), the file's version, depth and pack method, and its pixels
// stay packed as stored ("PICT"); a frame count F above 0 keeps the payloads
// of the next F "ANIM" chunks, one after the other, as its frames. Null when
// a chunk is missing or malformed, or when the sizes are impossible: a width,
// height or depth (8, 16, 24, 32) that gives no plain size or one above
// kPictureBytesMax, a pack method outside 0..7, "PICT" data that cannot give
// the plain pixels, or more than kMtrdDataBytesMax bytes of data. Plain
// "PICT" data longer than the pixels is cut to them.
PicturePtr Mtrd_Read_Picture(Wendax& wx, int handle, int32_t file_size, int32_t start, int32_t end);
