#include "platform/display/conversion_table.h"

#include "platform/display/palette_cube.h"

uint32_t Convert_To_555(uint16_t pixel) {
  uint32_t p = pixel;
  // The lowest green bit is dropped.
  return (((p >> 6) << 5) & 0x7FFF) | (p & 0x1F);
}

uint32_t Convert_To_888(uint16_t pixel) {
  uint32_t p = pixel;
  // Red lands in bits 23-19, green in 15-10, blue in 7-3.
  return ((((p & 0xF800) | ((p >> 3) & 0xFC)) << 5) | (p & 0x1F)) << 3;
}

std::vector<uint32_t> Conversion_Table(int bits) {
  uint32_t (*convert)(uint16_t) = nullptr;
  if (bits == 8) convert = [](uint16_t p) { return uint32_t(Palette_Index(p)); };
  if (bits == 15) convert = Convert_To_555;
  if (bits == 24 || bits == 32) convert = Convert_To_888;
  if (!convert) return {};
  std::vector<uint32_t> table(65536);
  for (uint32_t p = 0; p < 65536; ++p) table[p] = convert(uint16_t(p));
  return table;
}
