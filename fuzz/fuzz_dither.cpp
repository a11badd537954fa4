// The still pictures' error-diffusion dither on small pictures:
//
//   0  1  width less 1 (1 .. 32, low 5 bits)
//   1  1  height less 1 (1 .. 32, low 5 bits)
//   2  1  columns of the 16-bit rows past the width (low 3 bits)
//   3     4-byte pixels (blue, green, red, unused), 0 past the input's end
//
// Checks: the columns past the width are never written; every channel ends
// within one level of its own rounded value (the diffused error never
// carries a pixel further); a picture of colours that RGB565 holds exactly
// comes out exactly.
#include <cstdint>
#include <vector>

#include "scene/scene_picture.h"

namespace {

constexpr uint16_t kUnwritten = 0xA5A5;

// The RGB565 level of an 8-bit channel rounded half up, as the dither
// quantises.
int Level(int value, int bits) {
  const int shift = 8 - bits;
  const int level = (value >> shift) + ((value >> (shift - 1)) & 1);
  return level < (1 << bits) - 1 ? level : (1 << bits) - 1;
}

int Distance(int a, int b) { return a > b ? a - b : b - a; }

std::vector<uint16_t> Dither(const std::vector<unsigned char>& src, int width, int height, int pitch) {
  std::vector<uint16_t> dest(size_t(pitch) * size_t(height), kUnwritten);
  Dither_Rgb_32_To_565(src.data(), dest.data(), width, height, pitch);
  for (int y = 0; y < height; ++y)
    for (int x = width; x < pitch; ++x)
      if (dest[size_t(y) * size_t(pitch) + size_t(x)] != kUnwritten) __builtin_trap();
  return dest;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
  if (size < 3) return 0;
  const int width = (bytes[0] & 31) + 1, height = (bytes[1] & 31) + 1;
  const int pitch = width + (bytes[2] & 7);
  std::vector<unsigned char> src(size_t(width) * size_t(height) * 4, 0);
  for (size_t i = 0; i < src.size() && 3 + i < size; ++i) src[i] = bytes[3 + i];

  const std::vector<uint16_t> dest = Dither(src, width, height, pitch);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const unsigned char* s = &src[(size_t(y) * size_t(width) + size_t(x)) * 4];
      const uint16_t d = dest[size_t(y) * size_t(pitch) + size_t(x)];
      if (Distance(d & 31, Level(s[0], 5)) > 1 || Distance(d >> 5 & 63, Level(s[1], 6)) > 1 ||
          Distance(d >> 11, Level(s[2], 5)) > 1)
        __builtin_trap();
    }

  std::vector<unsigned char> exact = src;
  for (size_t i = 0; i < exact.size(); i += 4) {
    exact[i] &= 0xF8;
    exact[i + 1] &= 0xFC;
    exact[i + 2] &= 0xF8;
  }
  const std::vector<uint16_t> held = Dither(exact, width, height, pitch);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const unsigned char* s = &exact[(size_t(y) * size_t(width) + size_t(x)) * 4];
      const auto want = uint16_t((s[2] >> 3) << 11 | (s[1] >> 2) << 5 | s[0] >> 3);
      if (held[size_t(y) * size_t(pitch) + size_t(x)] != want) __builtin_trap();
    }
  return 0;
}
