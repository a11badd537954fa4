// Dither_Rgb_32_To_565: serpentine Floyd-Steinberg error diffusion from
// 4-byte pixels to RGB565, in 16.16 integers.
//
// The working array holds blue, green and red per pixel, linearly. Shares
// are placed by linear position, so a share that falls left of column 0
// lands on the last pixel of the row above its target row; the last row
// and the last column diffuse nothing. Every position reached is inside the
// array: sources stop one column short of the row end and one row short of
// the last row.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <new>
#include <vector>

#include "scene/scene_picture.h"

namespace {

constexpr int32_t kOne = 1 << 16;
constexpr int32_t kTop = 255 * kOne;

// Rounds half up on a grid of `bits` bits: the level is v >> (8 - bits),
// plus one when the first dropped bit is set, at most the top level.
template <int Bits>
int Level(int32_t v) {
  constexpr int shift = 8 - Bits;
  const int level = (v >> shift) + ((v >> (shift - 1)) & 1);
  return std::min(level, (1 << Bits) - 1);
}

int32_t Clamp(int32_t v) { return std::clamp(v, 0, kTop); }

uint16_t To_565(const int32_t* bgr) {
  const int blue = Level<5>(Clamp(bgr[0]) >> 16);
  const int green = Level<6>(Clamp(bgr[1]) >> 16);
  const int red = Level<5>(Clamp(bgr[2]) >> 16);
  return static_cast<uint16_t>(red << 11 | green << 5 | blue);
}

// Clamps the pixel's working values, quantises them and spreads the error:
// 7/16 ahead, 5/16 below, 3/16 below and behind, 1/16 below and ahead
// (`step` is +1 or -1 pixels, `below` one row of pixels).
void Diffuse(int32_t* work, ptrdiff_t at, ptrdiff_t step, ptrdiff_t below) {
  int32_t* p = work + at * 3;
  for (int c = 0; c < 3; ++c) p[c] = Clamp(p[c]);
  const int32_t quantised[3] = {
      Level<5>(p[0] >> 16) << 3,
      Level<6>(p[1] >> 16) << 2,
      Level<5>(p[2] >> 16) << 3,
  };
  for (int c = 0; c < 3; ++c) {
    const int32_t e = p[c] - quantised[c] * kOne;
    work[(at + step) * 3 + c] += (e * 7) >> 4;
    work[(at + below) * 3 + c] += (e * 5) >> 4;
    work[(at + below - step) * 3 + c] += (e * 3) >> 4;
    work[(at + below + step) * 3 + c] += e >> 4;
  }
}

}  // namespace

void Dither_Rgb_32_To_565(const unsigned char* src, uint16_t* dest, int width, int height, int dest_width) {
  if (!src || !dest || width <= 0 || height <= 0 || dest_width < width) return;
  const size_t pixels = size_t(width) * size_t(height);
  if (pixels > std::numeric_limits<size_t>::max() / 12) return;
  std::vector<int32_t> work;
  try {
    work.resize(pixels * 3);
  } catch (const std::bad_alloc&) {
    return;  // nothing is written
  }
  for (size_t i = 0; i < pixels; ++i)
    for (int c = 0; c < 3; ++c) work[i * 3 + c] = int32_t{src[i * 4 + c]} << 16;

  const ptrdiff_t w = width;
  for (int y = 0; y + 1 < height; ++y) {
    const ptrdiff_t row = y * w;
    if (y % 2 == 0) {
      for (int x = 0; x <= width - 2; ++x) Diffuse(work.data(), row + x, 1, w);
    } else {
      for (int x = width - 2; x >= 0; --x) Diffuse(work.data(), row + x, -1, w);
    }
  }

  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      dest[size_t(y) * size_t(dest_width) + size_t(x)] =
          To_565(&work[(size_t(y) * size_t(width) + size_t(x)) * 3]);
}
