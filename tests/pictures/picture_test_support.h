// Picture files built byte by byte for the reader tests, and small helpers.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "pictures/picture.h"

struct Wendax;

// Little byte builder: every field appended in file order.
class Bytes {
 public:
  Bytes& U8(int value) {
    data.push_back(uint8_t(value));
    return *this;
  }
  Bytes& U16_Le(int value) { return U8(value & 0xFF).U8((value >> 8) & 0xFF); }
  Bytes& U32_Le(uint32_t value) { return U16_Le(int(value & 0xFFFF)).U16_Le(int(value >> 16)); }
  Bytes& U16_Be(int value) { return U8((value >> 8) & 0xFF).U8(value & 0xFF); }
  Bytes& U32_Be(uint32_t value) { return U16_Be(int(value >> 16)).U16_Be(int(value & 0xFFFF)); }
  // Out of line: inlined into a test, gcc's -O2 flow analysis reports a
  // false overflow for inserts into an empty vector.
  Bytes& Text(std::string_view text);
  Bytes& Fill(size_t count, int value);
  Bytes& Append(const std::vector<uint8_t>& more);
  size_t size() const { return data.size(); }

  std::vector<uint8_t> data;
};

// A 768-byte palette whose entry i is (r0 + i, g0 + 2i, b0 + 3i) mod 256,
// avoiding the byte 12 (so a PCX trailer mark is never found in it).
std::vector<uint8_t> Test_Palette(int r0 = 1, int g0 = 2, int b0 = 3);

// MDRAW: width and height as 4 hexadecimal digits of (size - 1), "00FF",
// the pack text ("NC" or "FC"), 27 filler bytes, palette, data.
std::vector<uint8_t> Make_Mdraw(int width, int height, std::string_view pack,
                                const std::vector<uint8_t>& palette, const std::vector<uint8_t>& data,
                                std::string_view signature = "MDRAW ", std::string_view depth = "00FF");

// PCX: 128-byte header (manufacturer 10, the given version, encoding, bits,
// window 0..width-1 x 0..height-1, planes), the image data, 12, palette.
struct PcxHeader {
  int version = 5;
  int encoding = 1;
  int bits = 8;
  int planes = 1;
  int xmin = 0, ymin = 0;
};
std::vector<uint8_t> Make_Pcx(int width, int height, const std::vector<uint8_t>& image,
                              const std::vector<uint8_t>& palette, PcxHeader header = {});

// TGA: 18-byte header, identification, colour map, pixel data as given.
struct TgaHeader {
  int type = 2;
  int depth = 24;
  int descriptor = 0x20;  // top-down
  int map_length = 0;
  int map_entry_bits = 0;
  std::string id;
};
std::vector<uint8_t> Make_Tga(int width, int height, const std::vector<uint8_t>& colour_map,
                              const std::vector<uint8_t>& pixels, TgaHeader header = {});

// BMP: "BM", 14-byte file header, 40-byte information header, the 8-bit
// palette (256 x B, G, R, 0) when given, then the rows as given.
struct BmpHeader {
  std::string signature = "BM";
  int bits = 24;
  uint32_t compression = 0;
};
std::vector<uint8_t> Make_Bmp(int width, int height, const std::vector<uint8_t>& bgrx_palette,
                              const std::vector<uint8_t>& rows, BmpHeader header = {});

// GIF: a 1 x 1 GIF89a whose one pixel is index 1 of a 2-entry global table
// (colour 0 = black, colour 1 = the given R, G, B).
std::vector<uint8_t> Make_Gif_1x1(uint8_t r, uint8_t g, uint8_t b);

// The 16-bit pixel (x, y) of a plain 16-bit picture.
uint16_t Pixel16(const Picture& picture, int x, int y);
// The bytes of pixel (x, y) of a plain picture.
std::vector<uint8_t> Pixel_Bytes(const Picture& picture, int x, int y);

using PictureReader = PicturePtr (*)(Wendax&, std::string_view);
// Registers the bytes as a memory file of that name in a fresh Wendax and
// runs the reader on the name.
PicturePtr Read_From_Memory(PictureReader reader, std::string_view name, const std::vector<uint8_t>& bytes);
// The first `length` bytes.
std::vector<uint8_t> Prefix(const std::vector<uint8_t>& bytes, size_t length);
// True when the picture's fields agree: a plain picture holds exactly its
// plain size, a packed one its data size.
bool Consistent(const Picture& picture);
