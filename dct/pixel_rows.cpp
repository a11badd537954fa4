#include "dct/pixel_rows.h"

#include <bit>
#include <cstring>

namespace dct_internal {

int Bytes_Per_Pixel(Pixels format) { return format == Pixels::kBgr0 ? 4 : 2; }

void Rgb565_To_555(uint16_t* pixels, size_t count) {
  for (size_t i = 0; i < count; ++i) {
    const uint16_t p = pixels[i];
    pixels[i] = static_cast<uint16_t>((p >> 1 & 0x7FE0) | (p & 0x1F));
  }
}

// As 32-bit words (the fourth byte is the top one on a little-endian
// machine) the loop vectorises.
void Clear_Fourth_Bytes(unsigned char* pixels, size_t count) {
  if constexpr (std::endian::native == std::endian::little) {
    for (size_t i = 0; i < count; ++i) {
      uint32_t w;
      std::memcpy(&w, pixels + 4 * i, 4);
      w &= 0x00FFFFFFu;
      std::memcpy(pixels + 4 * i, &w, 4);
    }
  } else {
    for (size_t i = 0; i < count; ++i) pixels[4 * i + 3] = 0;
  }
}

void Finish_Row(Pixels format, unsigned char* row, size_t count) {
  if (format == Pixels::kRgb555) Rgb565_To_555(reinterpret_cast<uint16_t*>(row), count);
  if (format == Pixels::kBgr0) Clear_Fourth_Bytes(row, count);
}

}  // namespace dct_internal
