#include "tools/picture_pixels.h"

namespace {

size_t Plain_565_Count(const Picture& picture) {
  size_t size = Picture_Plain_Size(picture.width, picture.height, 16);
  if (picture.depth != 16 || picture.pack_method != 0 || size == 0 || picture.pixels.size() < size) return 0;
  return size / 2;
}

}  // namespace

std::array<uint8_t, 3> Rgb565_Widen(uint16_t value) {
  const unsigned r = value >> 11, g = (value >> 5) & 0x3F, b = value & 0x1F;
  return {uint8_t(r << 3 | r >> 2), uint8_t(g << 2 | g >> 4), uint8_t(b << 3 | b >> 2)};
}

std::vector<uint8_t> Picture_565_Rgb_Rows(const Picture& picture) {
  const size_t count = Plain_565_Count(picture);
  std::vector<uint8_t> rgb;
  rgb.reserve(count * 3);
  for (size_t i = 0; i < count; ++i) {
    std::array<uint8_t, 3> c = Rgb565_Widen(uint16_t(picture.pixels[2 * i] | picture.pixels[2 * i + 1] << 8));
    rgb.insert(rgb.end(), c.begin(), c.end());
  }
  return rgb;
}

std::vector<uint8_t> Picture_565_Raw(const Picture& picture) {
  const size_t count = Plain_565_Count(picture);
  return std::vector<uint8_t>(picture.pixels.begin(), picture.pixels.begin() + std::ptrdiff_t(count * 2));
}
