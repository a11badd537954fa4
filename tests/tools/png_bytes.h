// PNG files built chunk by chunk for the tool tests, so that every colour
// type, bit depth and kind of damage can be made exactly.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// One chunk: length, type, data, CRC.
std::vector<uint8_t> Png_Chunk(std::string_view type, const std::vector<uint8_t>& data);

struct PngFields {
  int width = 1;
  int height = 1;
  int bit_depth = 8;
  int colour_type = 2;  // 0 grey, 2 RGB, 3 palette, 4 grey + alpha, 6 RGBA
  int interlace = 0;
  // The filtered scan lines as they go into zlib (each starting with its
  // filter byte), or, with `interlace` 1, the passes one after another.
  std::vector<uint8_t> scan_lines;
  std::vector<uint8_t> palette;  // PLTE data when not empty
  std::vector<uint8_t> trns;     // tRNS data when not empty
};

// Signature, IHDR, PLTE, tRNS, one IDAT, IEND.
std::vector<uint8_t> Png_Build(const PngFields& fields);

// Scan lines of 8-bit samples, filter 0, from rows of `channels` samples a
// pixel.
std::vector<uint8_t> Png_Rows(const std::vector<std::vector<uint8_t>>& rows);
