// The pixel formats the unpackers write, and the passes that finish rows
// after libjpeg has decoded them (it writes RGB565 and B, G, R, 0xFF).
#pragma once

#include <cstddef>
#include <cstdint>

namespace dct_internal {

enum class Pixels { kRgb565, kRgb555, kBgr0 };

int Bytes_Per_Pixel(Pixels format);

// RGB565 to RGB555: green drops its lowest bit, bit 15 becomes 0.
void Rgb565_To_555(uint16_t* pixels, size_t count);
// Sets the fourth byte of each 4-byte pixel to 0.
void Clear_Fourth_Bytes(unsigned char* pixels, size_t count);
// The pass `format` needs on `count` pixels that libjpeg wrote at `row`.
void Finish_Row(Pixels format, unsigned char* row, size_t count);

}  // namespace dct_internal
