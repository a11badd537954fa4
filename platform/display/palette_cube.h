// The fixed 8-bit palette: a 6 x 7 x 6 colour cube in entries 0 to 251
// (entry = b + 6 x (g + 7 x r)) and three purples in 252 to 254. Entry 255
// is not part of the table.
#pragma once

#include <array>
#include <cstdint>

#include "platform/display/display_device.h"

inline constexpr int kPaletteTableSize = 255;

const std::array<PaletteEntry, kPaletteTableSize>& Palette_Cube();

// The cube entry for a 5-6-5 pixel.
uint8_t Palette_Index(uint16_t pixel);
