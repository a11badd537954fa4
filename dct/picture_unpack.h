// The whole-picture unpacker behind the six exported ones, at any size:
// they call it with the panorama strip's or the still picture's. Private to
// the library (its fuzz target reaches it at small sizes).
#pragma once

#include "dct/pixel_rows.h"

namespace dct_internal {

// Writes every pixel of the width x height picture at dest (nothing when
// either is not positive): the rows the stream decodes (a baseline JPEG of
// exactly that size), then black for the rows it does not give.
// `smooth_chroma` as JpegReader::Read_Rows.
void Unpack_Picture(unsigned char* dest, int width, int height, bool smooth_chroma, Pixels format,
                    const unsigned char* data, int size);

}  // namespace dct_internal
