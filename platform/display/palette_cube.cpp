#include "platform/display/palette_cube.h"

namespace {

constexpr uint8_t kRedLevels[6] = {0, 51, 102, 153, 204, 255};
constexpr uint8_t kGreenLevels[7] = {0, 42, 85, 127, 170, 212, 255};

std::array<PaletteEntry, kPaletteTableSize> Make_Cube() {
  std::array<PaletteEntry, kPaletteTableSize> table{};
  for (int r = 0; r < 6; ++r) {
    for (int g = 0; g < 7; ++g) {
      for (int b = 0; b < 6; ++b) {
        table[size_t(b + 6 * (g + 7 * r))] = {kRedLevels[r], kGreenLevels[g], kRedLevels[b]};
      }
    }
  }
  table[252] = {25, 0, 25};
  table[253] = {93, 0, 93};
  table[254] = {161, 0, 161};
  return table;
}

}  // namespace

const std::array<PaletteEntry, kPaletteTableSize>& Palette_Cube() {
  static const std::array<PaletteEntry, kPaletteTableSize> table = Make_Cube();
  return table;
}

uint8_t Palette_Index(uint16_t pixel) {
  int r5 = pixel >> 11;
  int g6 = (pixel >> 5) & 0x3F;
  int b5 = pixel & 0x1F;
  return uint8_t((b5 * 40) / 255 + 6 * ((g6 * 24) / 255 + 7 * ((r5 * 40) / 255)));
}
