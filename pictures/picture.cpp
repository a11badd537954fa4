// Picture objects: making, freeing, unpacking, the RGB565 table, conversion
// to 16 bits and nearest-neighbour resizing.
#include "pictures/picture.h"

#include <algorithm>
#include <cstring>

#include "packing/packing.h"
#include "pictures/picture_bytes.h"

std::string Picture_Name_From_Path(std::string_view path) {
  size_t cut = path.find_last_of("/:\\");
  std::string_view name = cut == std::string_view::npos ? path : path.substr(cut + 1);
  return std::string(name.substr(0, kPictureNameMax));
}

int Picture_Round_Depth(int depth) {
  if (depth <= 8) return 8;
  if (depth <= 16) return 16;
  if (depth <= 24) return 24;
  return 32;
}

size_t Picture_Plain_Size(int width, int height, int depth) {
  if (width <= 0 || height <= 0) return 0;
  uint64_t pixels = uint64_t(width) * uint64_t(height);  // < 2^62
  if (pixels > kPictureBytesMax) return 0;
  uint64_t bytes = pixels * uint64_t(Picture_Round_Depth(depth) / 8);
  return bytes > kPictureBytesMax ? 0 : size_t(bytes);
}

PicturePtr Picture_Make_Empty(std::string_view name, int width, int height, int depth) {
  if (Picture_Plain_Size(width, height, depth) == 0) return nullptr;
  auto picture = std::make_unique<Picture>();
  picture->name = Picture_Name_From_Path(name);
  picture->version = kPictureVersion;
  picture->width = width;
  picture->height = height;
  picture->depth = Picture_Round_Depth(depth);
  picture->pack_method = 0;
  picture->data_size = 0;
  picture->palette.assign(kPalette_Rgb_Bytes, 0);
  picture->frame_count = 0;
  return picture;
}

PicturePtr Picture_New(std::string_view name, int width, int height, int depth) {
  PicturePtr picture = Picture_Make_Empty(name, width, height, depth);
  if (!picture) return nullptr;
  size_t size = Picture_Plain_Size(width, height, depth);
  picture->pixels.assign(size, 0);
  picture->data_size = int(size);
  return picture;
}

void Picture_Free(PicturePtr& picture) { picture.reset(); }

bool Picture_Is_Plain(const Picture& picture) {
  if (picture.pack_method != 0) return false;
  if (picture.depth != 8 && picture.depth != 16 && picture.depth != 24 && picture.depth != 32) return false;
  size_t size = Picture_Plain_Size(picture.width, picture.height, picture.depth);
  return size != 0 && picture.pixels.size() >= size;
}

void Picture_Unpack(Picture* picture) {
  if (!picture || picture->pack_method == 0 || picture->frame_count != 0) return;
  size_t size = Picture_Plain_Size(picture->width, picture->height, picture->depth);
  if (size == 0) return;  // not a size a picture can have: left as it is
  // Zero-filled for every method: methods 6 and 7 skip over it, and a
  // stream that ends early leaves the rest of the picture 0.
  std::vector<uint8_t> plain(size, 0);
  Unpack(picture->pack_method, picture->pixels.data(), picture->pixels.size(), plain.data(), size);
  picture->pixels = std::move(plain);
  picture->data_size = int(size);
  picture->pack_method = 0;
}

void Picture_Palette_565(Picture* picture) {
  if (!picture || picture->depth != 8) return;
  picture->palette.resize(kPalette_565_Bytes, 0);
  uint8_t* p = picture->palette.data();
  for (size_t i = 0; i < 256; ++i) {
    uint16_t value = Rgb_To_565(p[3 * i], p[3 * i + 1], p[3 * i + 2]);
    p[kPalette_Rgb_Bytes + 2 * i] = uint8_t(value);
    p[kPalette_Rgb_Bytes + 2 * i + 1] = uint8_t(value >> 8);
  }
}

void Picture_To_16(Picture* picture) {
  if (!picture) return;
  if (picture->depth != 8 && picture->depth != 16 && picture->depth != 24 && picture->depth != 32) return;
  Picture_Unpack(picture);
  if (!Picture_Is_Plain(*picture)) return;
  if (picture->depth == 16) return;  // already RGB565 (now plain as well)

  size_t count = size_t(picture->width) * size_t(picture->height);
  std::vector<uint8_t> out(count * 2);
  const uint8_t* in = picture->pixels.data();
  if (picture->depth == 8) {
    Picture_Palette_565(picture);
    const uint8_t* table = picture->palette.data() + kPalette_Rgb_Bytes;
    for (size_t i = 0; i < count; ++i) {
      out[2 * i] = table[2 * in[i]];
      out[2 * i + 1] = table[2 * in[i] + 1];
    }
  } else {
    size_t stride = size_t(picture->depth / 8);
    for (size_t i = 0; i < count; ++i) {
      const uint8_t* s = in + i * stride;
      uint16_t value = Rgb_To_565(s[0], s[1], s[2]);
      out[2 * i] = uint8_t(value);
      out[2 * i + 1] = uint8_t(value >> 8);
    }
  }
  picture->pixels = std::move(out);
  picture->depth = 16;
  picture->data_size = int(count * 2);
  picture->pack_method = 0;
}

void Picture_Resize(Picture* picture, int new_width, int new_height) {
  if (!picture) return;
  Picture_Unpack(picture);
  if (!Picture_Is_Plain(*picture)) return;
  size_t size = Picture_Plain_Size(new_width, new_height, picture->depth);
  if (size == 0) return;

  const int64_t step_x = int64_t(picture->width) * 256 / new_width;
  const int64_t step_y = int64_t(picture->height) * 256 / new_height;
  const size_t bytes = size_t(picture->depth / 8);
  const size_t source_row = size_t(picture->width) * bytes;
  std::vector<uint8_t> out(size);
  uint8_t* d = out.data();
  for (int64_t i = 0; i < new_height; ++i) {
    // (i * step_y) >> 8 < height for every i < new_height, and the same
    // for the columns, so no index leaves the source.
    const uint8_t* row = picture->pixels.data() + size_t((i * step_y) >> 8) * source_row;
    for (int64_t j = 0; j < new_width; ++j) {
      std::memcpy(d, row + size_t((j * step_x) >> 8) * bytes, bytes);
      d += bytes;
    }
  }
  picture->pixels = std::move(out);
  picture->width = new_width;
  picture->height = new_height;
  picture->data_size = int(size);
}
