#include "tools/raw_panorama.h"

uint16_t Rgb555_Of(uint8_t red, uint8_t green, uint8_t blue) {
  return uint16_t((red >> 3) << 10 | (green >> 3) << 5 | (blue >> 3));
}

std::vector<uint8_t> Raw_Panorama_Bytes(const uint8_t* strip) {
  std::vector<uint8_t> bytes(kRawPanoramaBytes);
  for (size_t i = 0; i < kRawPanoramaBytes / 2; ++i) {
    const uint8_t* p = strip + i * 4;
    const uint16_t word = Rgb555_Of(p[2], p[1], p[0]);
    bytes[2 * i] = uint8_t(word);
    bytes[2 * i + 1] = uint8_t(word >> 8);
  }
  return bytes;
}
