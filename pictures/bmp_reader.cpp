// The BMP reader: "BM", compression 0, 8, 16 or 24 bits; the 8-bit palette
// (256 entries) right after the 54 header bytes; rows bottom-up, each padded
// to a multiple of 4 bytes, from the header's data offset. An offset inside
// the headers or past the file falls back to the bytes right after what was
// read. Files whose rows need no padding and whose offset points right after
// the headers (every file an unpadded reader shows correctly) read the same.
#include <algorithm>
#include <cstring>

#include "pictures/picture_bytes.h"
#include "pictures/picture_readers.h"

namespace {

constexpr size_t kBmpHeaderBytes = 14 + 40;
constexpr size_t kBmpPaletteBytes = 256 * 4;

}  // namespace

PicturePtr Bmp_Decode(std::span<const uint8_t> file, std::string_view name) {
  if (file.size() < kBmpHeaderBytes) return nullptr;
  const uint8_t* h = file.data();
  if (h[0] != 'B' || h[1] != 'M') return nullptr;
  const int32_t width = int32_t(Le_U32(h + 18));
  const int32_t height = int32_t(Le_U32(h + 22));
  const int bit_count = Le_U16(h + 28);
  const uint32_t compression = Le_U32(h + 30);
  if (compression != 0 || (bit_count != 8 && bit_count != 16 && bit_count != 24)) return nullptr;
  // A negative height (a top-down file) is not a size a picture can have.
  const size_t plain = Picture_Plain_Size(width, height, bit_count);
  if (plain == 0) return nullptr;

  size_t pos = kBmpHeaderBytes;
  if (bit_count == 8) {
    if (file.size() < pos + kBmpPaletteBytes) return nullptr;
    pos += kBmpPaletteBytes;
  }
  const uint32_t offset = Le_U32(h + 10);
  if (offset >= kBmpHeaderBytes && offset <= file.size()) pos = offset;
  const size_t row = size_t(width) * size_t(bit_count / 8);
  const size_t stride = (row + 3) & ~size_t{3};
  // The last row needs no padding after it. Short rows: no picture.
  if (file.size() - pos < stride * (size_t(height) - 1) + row) return nullptr;

  PicturePtr picture = Picture_Make_Empty(name, width, height, bit_count);
  if (!picture) return nullptr;
  if (bit_count == 8) {
    const uint8_t* entries = file.data() + kBmpHeaderBytes;  // B, G, R, unused
    for (size_t i = 0; i < 256; ++i) {
      picture->palette[3 * i] = entries[4 * i + 2];
      picture->palette[3 * i + 1] = entries[4 * i + 1];
      picture->palette[3 * i + 2] = entries[4 * i];
    }
  }
  std::vector<uint8_t> pixels(plain);
  for (size_t r = 0; r < size_t(height); ++r)  // the file's first row is the picture's last
    std::memcpy(pixels.data() + (size_t(height) - 1 - r) * row, file.data() + pos + r * stride, row);

  const size_t count = size_t(width) * size_t(height);
  if (bit_count == 16) {
    for (size_t i = 0; i < count; ++i) {
      uint16_t p = Rgb555_To_565(Le_U16(&pixels[2 * i]));
      pixels[2 * i] = uint8_t(p);
      pixels[2 * i + 1] = uint8_t(p >> 8);
    }
  } else if (bit_count == 24) {
    for (size_t i = 0; i < count; ++i) std::swap(pixels[3 * i], pixels[3 * i + 2]);
  }
  picture->data_size = int(plain);
  picture->pixels = std::move(pixels);
  return picture;
}

PicturePtr Bmp_Read(Wendax& wx, std::string_view path) {
  auto bytes = Picture_File_Bytes(wx, path);
  if (!bytes) return nullptr;
  return Bmp_Decode(*bytes, path);
}
