// Raw panorama dumps: the strip's 256 x 6144 pixels as 1 572 864
// little-endian RGB555 words (red bits 10-14, green 5-9, blue 0-4, bit 15
// clear), rows top to bottom. The engine reads them back as RGB565 with
// (p >> 5) << 6 | (p & 0x1F).
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

inline constexpr size_t kRawPanoramaBytes = size_t{256} * 6144 * 2;

// One RGB555 word: each channel's top five bits.
uint16_t Rgb555_Of(uint8_t red, uint8_t green, uint8_t blue);

// The dump of a strip of 256 x 6144 4-byte pixels (blue, green, red,
// unused): kRawPanoramaBytes bytes.
std::vector<uint8_t> Raw_Panorama_Bytes(const uint8_t* strip);
