// The pixels of a plain 16-bit (RGB565) picture in the forms tools write.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "pictures/picture.h"

// RGB565 widened to 8 bits a channel by bit replication: red and blue
// r5 -> r5 << 3 | r5 >> 2, green g6 -> g6 << 2 | g6 >> 4, so 0 stays 0 and
// the largest value becomes 255.
std::array<uint8_t, 3> Rgb565_Widen(uint16_t value);

// Both need a plain 16-bit picture (empty otherwise). Rows top to bottom.
// R, G, B bytes, widened.
std::vector<uint8_t> Picture_565_Rgb_Rows(const Picture& picture);
// The RGB565 words, little-endian.
std::vector<uint8_t> Picture_565_Raw(const Picture& picture);
