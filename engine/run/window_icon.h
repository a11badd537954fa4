// The program's window icon, drawn rather than loaded: a cube seen from a
// corner, in the colours of the sample game.
#pragma once

#include <cstdint>
#include <vector>

inline constexpr int kIconSize = 32;

// kIconSize x kIconSize pixels 0xAARRGGBB, rows top to bottom.
std::vector<uint32_t> Window_Icon();
