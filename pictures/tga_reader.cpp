// The TGA reader: image types 1, 2, 9 and 10 with 8, 16, 24
// or 32 bits per pixel; the colour map into the palette; run-length packets
// for types 9 and 10; rows by bit 5 of the descriptor; 24-bit pixels to
// R, G, B, 32-bit pixels to a 24-bit picture and 16-bit pixels to RGB565.
#include <algorithm>
#include <cstring>

#include "pictures/picture_bytes.h"
#include "pictures/picture_readers.h"

namespace {

constexpr size_t kTgaHeaderBytes = 18;

// Decodes run-length packets into out (exactly out_size bytes of pixels of
// `bytes` bytes each). False when the data ends before the picture is full.
bool Tga_Unpack(const uint8_t* in, size_t in_size, uint8_t* out, size_t out_size, size_t bytes) {
  size_t pos = 0, done = 0;
  while (done < out_size) {
    if (pos >= in_size) return false;
    const uint8_t header = in[pos++];
    const size_t count = size_t(header & 0x7F) + 1;
    const size_t room = (out_size - done) / bytes;  // whole pixels left
    const size_t kept = std::min(count, room);
    if (header & 0x80) {
      if (in_size - pos < bytes) return false;
      for (size_t i = 0; i < kept; ++i) std::memcpy(out + done + i * bytes, in + pos, bytes);
      pos += bytes;
    } else {
      if ((in_size - pos) / bytes < kept) return false;
      std::memcpy(out + done, in + pos, kept * bytes);
      pos += count * bytes;  // a packet running past the picture is cut
      pos = std::min(pos, in_size);
    }
    done += kept * bytes;
  }
  return true;
}

}  // namespace

PicturePtr Tga_Decode(std::span<const uint8_t> file, std::string_view name) {
  if (file.size() < kTgaHeaderBytes) return nullptr;
  const uint8_t* h = file.data();
  const int id_length = h[0];
  const int type = h[2];
  const size_t map_length = Le_U16(h + 5);
  const size_t map_entry_bits = h[7];
  const int width = Le_U16(h + 12);
  const int height = Le_U16(h + 14);
  const int depth = h[16];
  const uint8_t descriptor = h[17];
  if (type != 1 && type != 2 && type != 9 && type != 10) return nullptr;
  if (depth != 8 && depth != 16 && depth != 24 && depth != 32) return nullptr;
  const size_t plain = Picture_Plain_Size(width, height, depth);
  if (plain == 0) return nullptr;
  const size_t bytes = size_t(depth / 8);

  // Identification field, then the colour map (entry size x length bits).
  size_t pos = kTgaHeaderBytes + size_t(id_length);
  const size_t map_bytes = map_entry_bits * map_length >= 8 ? map_entry_bits * map_length / 8 : 0;
  if (file.size() < pos + map_bytes) return nullptr;
  const uint8_t* map = file.data() + pos;
  pos += map_bytes;
  const uint8_t* in = file.data() + pos;
  const size_t in_size = file.size() - pos;

  const bool packed = type == 9 || type == 10;
  // Refuse what the data cannot hold before allocating it: a packet of
  // 1 + bytes bytes gives at most 128 pixels.
  if (!packed && in_size < plain) return nullptr;
  if (packed && in_size / (1 + bytes) * 128 * bytes < plain) return nullptr;

  PicturePtr picture = Picture_Make_Empty(name, width, height, depth);
  if (!picture) return nullptr;
  if (map_bytes > 0) {
    picture->palette.assign(std::max(map_bytes, kPalette_Rgb_Bytes), 0);
    std::memcpy(picture->palette.data(), map, map_bytes);
    for (size_t i = 0; i < 256; ++i) std::swap(picture->palette[3 * i], picture->palette[3 * i + 2]);
  }
  std::vector<uint8_t> pixels(plain);
  if (packed) {
    if (!Tga_Unpack(in, in_size, pixels.data(), plain, bytes)) return nullptr;
  } else {
    std::memcpy(pixels.data(), in, plain);
  }

  // Bit 5 clear: the file's rows run bottom to top.
  const size_t row = size_t(width) * bytes;
  if (!(descriptor & 0x20))
    for (size_t top = 0, bottom = size_t(height) - 1; top < bottom; ++top, --bottom)
      std::swap_ranges(pixels.begin() + ptrdiff_t(top * row), pixels.begin() + ptrdiff_t((top + 1) * row),
                       pixels.begin() + ptrdiff_t(bottom * row));

  const size_t count = size_t(width) * size_t(height);
  switch (depth) {
    case 24:
      for (size_t i = 0; i < count; ++i) std::swap(pixels[3 * i], pixels[3 * i + 2]);
      break;
    case 32: {  // B, G, R, unused -> R, G, B
      std::vector<uint8_t> rgb(count * 3);
      for (size_t i = 0; i < count; ++i) {
        rgb[3 * i] = pixels[4 * i + 2];
        rgb[3 * i + 1] = pixels[4 * i + 1];
        rgb[3 * i + 2] = pixels[4 * i];
      }
      pixels = std::move(rgb);
      picture->depth = 24;
      break;
    }
    case 16:
      for (size_t i = 0; i < count; ++i) {
        uint16_t p = Rgb555_To_565(Le_U16(&pixels[2 * i]));
        pixels[2 * i] = uint8_t(p);
        pixels[2 * i + 1] = uint8_t(p >> 8);
      }
      break;
  }
  picture->data_size = int(pixels.size());
  picture->pixels = std::move(pixels);
  return picture;
}

PicturePtr Tga_Read(Wendax& wx, std::string_view path) {
  auto bytes = Picture_File_Bytes(wx, path);
  if (!bytes) return nullptr;
  return Tga_Decode(*bytes, path);
}
