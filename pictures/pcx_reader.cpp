// The PCX reader: version 5, 8 bits per pixel, one plane,
// the 256-colour palette after a byte 12 at the end of the file, and the
// run-length image data between the header and the palette.
#include <algorithm>
#include <cstring>

#include "pictures/picture_bytes.h"
#include "pictures/picture_readers.h"

namespace {

constexpr size_t kPcxHeaderBytes = 128;
constexpr size_t kPcxTrailerBytes = 769;  // the byte 12 and the palette
constexpr uint8_t kPcxPaletteMark = 12;

}  // namespace

PicturePtr Pcx_Decode(std::span<const uint8_t> bytes, std::string_view name) {
  if (bytes.size() < kPcxHeaderBytes) return nullptr;
  const uint8_t* h = bytes.data();
  if (h[1] != 5 || h[3] != 8 || h[65] != 1) return nullptr;
  const int width = int(Le_U16(h + 8)) - int(Le_U16(h + 4)) + 1;
  const int height = int(Le_U16(h + 10)) - int(Le_U16(h + 6)) + 1;
  const size_t plain = Picture_Plain_Size(width, height, 8);
  if (plain == 0) return nullptr;

  // The palette trailer; the image data is what lies between header and
  // trailer (file size - 897 bytes), never negative.
  if (bytes.size() < kPcxHeaderBytes + kPcxTrailerBytes) return nullptr;
  const size_t trailer = bytes.size() - kPcxTrailerBytes;
  if (bytes[trailer] != kPcxPaletteMark) return nullptr;
  const uint8_t* in = bytes.data() + kPcxHeaderBytes;
  const size_t in_size = trailer - kPcxHeaderBytes;

  const bool encoded = h[2] != 0;
  // A 2-byte run gives at most 63 pixels: refuse sizes the data cannot hold
  // before allocating them.
  if (!encoded && in_size < plain) return nullptr;
  if (encoded && (in_size / 2) * 63 + (in_size % 2) < plain) return nullptr;

  PicturePtr picture = Picture_Make_Empty(name, width, height, 8);
  if (!picture) return nullptr;
  std::memcpy(picture->palette.data(), bytes.data() + trailer + 1, kPalette_Rgb_Bytes);
  picture->pixels.assign(plain, 0);
  picture->data_size = int(plain);
  uint8_t* out = picture->pixels.data();

  if (!encoded) {
    std::memcpy(out, in, plain);
    return picture;
  }
  // A byte up to 0xC0 is one pixel (0xC0 included); a byte above gives a
  // count (byte - 0xC0) for the next byte. Rows are exactly `width` bytes.
  size_t done = 0, pos = 0;
  while (done < plain) {
    if (pos >= in_size) return nullptr;  // the data ended before the picture
    uint8_t b = in[pos++];
    if (b <= 0xC0) {
      out[done++] = b;
      continue;
    }
    if (pos >= in_size) return nullptr;
    const uint8_t value = in[pos++];
    const size_t count = std::min<size_t>(size_t(b - 0xC0), plain - done);
    std::memset(out + done, value, count);
    done += count;
  }
  return picture;
}

PicturePtr Pcx_Read(Wendax& wx, std::string_view path) {
  auto bytes = Picture_File_Bytes(wx, path);
  if (!bytes) return nullptr;
  return Pcx_Decode(*bytes, path);
}
