#include "engine/run/window_icon.h"

#include <cstdlib>

namespace {

// The three visible faces of a cube around the centre of the icon: top
// (light), left (middle), right (dark); outside them transparent.
uint32_t Pixel(int x, int y) {
  const int cx = x - kIconSize / 2;
  const int cy = y - kIconSize / 2;
  const int half = 13;
  // A hexagon made of three rhombi meeting at the centre.
  if (std::abs(cx) > half || std::abs(cy) * 2 + std::abs(cx) > 2 * half) return 0;
  if (cy * 2 < -std::abs(cx)) return 0xFFE6C88Cu;  // top
  return cx < 0 ? 0xFFAA6E32u : 0xFF5A3C1Eu;
}

}  // namespace

std::vector<uint32_t> Window_Icon() {
  std::vector<uint32_t> icon(size_t(kIconSize) * kIconSize);
  for (int y = 0; y < kIconSize; ++y)
    for (int x = 0; x < kIconSize; ++x) icon[size_t(y) * kIconSize + size_t(x)] = Pixel(x, y);
  return icon;
}
