#include "tests/pictures/picture_test_support.h"

std::vector<uint8_t> Test_Palette(int r0, int g0, int b0) {
  std::vector<uint8_t> palette(768);
  for (int i = 0; i < 256; ++i) {
    int c[3] = {(r0 + i) & 0xFF, (g0 + 2 * i) & 0xFF, (b0 + 3 * i) & 0xFF};
    for (int k = 0; k < 3; ++k) palette[size_t(3 * i + k)] = uint8_t(c[k] == 12 ? 13 : c[k]);
  }
  return palette;
}

namespace {

std::string Hex4(int value) {
  static const char* kDigits = "0123456789ABCDEF";
  std::string text(4, '0');
  for (int i = 3; i >= 0; --i, value >>= 4) text[size_t(i)] = kDigits[value & 0xF];
  return text;
}

}  // namespace

std::vector<uint8_t> Make_Mdraw(int width, int height, std::string_view pack,
                                const std::vector<uint8_t>& palette, const std::vector<uint8_t>& data,
                                std::string_view signature, std::string_view depth) {
  Bytes b;
  b.Text(signature).Text(Hex4(width - 1)).U8('x').Text(Hex4(height - 1)).U8('x').Text(depth).U8('x');
  b.Text(pack).Fill(27, ' ');
  b.Append(palette).Append(data);
  return b.data;
}

std::vector<uint8_t> Make_Pcx(int width, int height, const std::vector<uint8_t>& image,
                              const std::vector<uint8_t>& palette, PcxHeader h) {
  Bytes b;
  b.U8(10).U8(h.version).U8(h.encoding).U8(h.bits);
  b.U16_Le(h.xmin).U16_Le(h.ymin).U16_Le(h.xmin + width - 1).U16_Le(h.ymin + height - 1);
  b.U16_Le(72).U16_Le(72).Fill(48, 0).U8(0).U8(h.planes).U16_Le(width).U16_Le(1);
  b.Fill(128 - b.size(), 0);
  b.Append(image).U8(12).Append(palette);
  return b.data;
}

std::vector<uint8_t> Make_Tga(int width, int height, const std::vector<uint8_t>& colour_map,
                              const std::vector<uint8_t>& pixels, TgaHeader h) {
  Bytes b;
  b.U8(int(h.id.size())).U8(h.map_length ? 1 : 0).U8(h.type);
  b.U16_Le(0).U16_Le(h.map_length).U8(h.map_entry_bits);
  b.U16_Le(0).U16_Le(0).U16_Le(width).U16_Le(height).U8(h.depth).U8(h.descriptor);
  b.Text(h.id).Append(colour_map).Append(pixels);
  return b.data;
}

std::vector<uint8_t> Make_Bmp(int width, int height, const std::vector<uint8_t>& bgrx_palette,
                              const std::vector<uint8_t>& rows, BmpHeader h) {
  Bytes b;
  const uint32_t offset = uint32_t(54 + bgrx_palette.size());
  b.Text(h.signature).U32_Le(uint32_t(offset + rows.size())).U32_Le(0).U32_Le(offset);
  b.U32_Le(40).U32_Le(uint32_t(width)).U32_Le(uint32_t(height)).U16_Le(1).U16_Le(h.bits);
  b.U32_Le(h.compression).U32_Le(uint32_t(rows.size())).U32_Le(2835).U32_Le(2835).U32_Le(0).U32_Le(0);
  b.Append(bgrx_palette).Append(rows);
  return b.data;
}

std::vector<uint8_t> Make_Gif_1x1(uint8_t r, uint8_t g, uint8_t bl) {
  Bytes b;
  b.Text("GIF89a").U16_Le(1).U16_Le(1).U8(0x80).U8(0).U8(0);  // global table of 2
  b.U8(0).U8(0).U8(0).U8(r).U8(g).U8(bl);
  b.Text(",").U16_Le(0).U16_Le(0).U16_Le(1).U16_Le(1).U8(0);
  // Minimum code size 2; codes clear (4), 1, end (5) in 3 bits, LSB first.
  b.U8(2).U8(2).U8(0x4C).U8(0x01).U8(0).Text(";");
  return b.data;
}

uint16_t Pixel16(const Picture& picture, int x, int y) {
  size_t i = (size_t(y) * size_t(picture.width) + size_t(x)) * 2;
  return uint16_t(picture.pixels[i] | picture.pixels[i + 1] << 8);
}

std::vector<uint8_t> Pixel_Bytes(const Picture& picture, int x, int y) {
  size_t bytes = size_t(picture.depth / 8);
  size_t i = (size_t(y) * size_t(picture.width) + size_t(x)) * bytes;
  return {picture.pixels.begin() + ptrdiff_t(i), picture.pixels.begin() + ptrdiff_t(i + bytes)};
}

#include "platform/files/file_layer.h"
#include "platform/wendax.h"

PicturePtr Read_From_Memory(PictureReader reader, std::string_view name, const std::vector<uint8_t>& bytes) {
  Wendax wx;
  Memory_File_Add(wx, name, bytes.data(), bytes.size());
  return reader(wx, name);
}

std::vector<uint8_t> Prefix(const std::vector<uint8_t>& bytes, size_t length) {
  return {bytes.begin(), bytes.begin() + ptrdiff_t(length)};
}

bool Consistent(const Picture& p) {
  if (p.data_size != int(p.pixels.size())) return false;
  if (p.palette.size() < kPalette_Rgb_Bytes) return false;
  if (p.pack_method != 0) return true;
  return p.pixels.size() == Picture_Plain_Size(p.width, p.height, p.depth) &&
         (p.depth == 8 || p.depth == 16 || p.depth == 24 || p.depth == 32);
}

Bytes& Bytes::Text(std::string_view text) {
  data.insert(data.end(), text.begin(), text.end());
  return *this;
}

Bytes& Bytes::Fill(size_t count, int value) {
  data.insert(data.end(), count, uint8_t(value));
  return *this;
}

Bytes& Bytes::Append(const std::vector<uint8_t>& more) {
  data.insert(data.end(), more.begin(), more.end());
  return *this;
}
