// PNG reading and writing for tools, in memory.
//
// Reading accepts every PNG colour type and bit depth and gives 8-bit RGBA
// samples as stored (no gamma or colour-profile correction): palette and
// grey images are expanded, 16-bit samples keep their high byte, images
// without alpha get 255. Writing makes an 8-bit RGB or RGBA PNG.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

// Rows top to bottom, 4 bytes R, G, B, A per pixel.
struct RgbaImage {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> rgba;
};

// Largest image Png_Decode takes: its RGBA samples fill at most 256 MiB.
inline constexpr uint64_t kPngPixelsMax = uint64_t(64) << 20;

// False with a message in `error` when the bytes are not a whole, valid PNG
// or the image has more than kPngPixelsMax pixels.
bool Png_Decode(std::span<const uint8_t> bytes, RgbaImage& image, std::string& error);

// Encodes width x height pixels of 3 bytes R, G, B, rows top to bottom
// (rgb holds exactly width * height * 3 bytes). False with a message when
// the size is not positive, the bytes do not match it, or libpng fails.
bool Png_Encode_Rgb(int width, int height, std::span<const uint8_t> rgb, std::vector<uint8_t>& png,
                    std::string& error);
// The same with 4 bytes R, G, B, A a pixel (rgba holds width * height * 4).
bool Png_Encode_Rgba(int width, int height, std::span<const uint8_t> rgba, std::vector<uint8_t>& png,
                     std::string& error);
