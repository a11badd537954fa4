// Load_Tga_640_480: an uncompressed true-colour TGA of exactly 640 x 480
// pixels, dithered into the still picture.
#include <cstdint>
#include <cstdio>
#include <vector>

#include "pictures/picture.h"
#include "scene/scene_file.h"
#include "scene/scene_picture.h"
#include "scene/scene_table.h"
#include "scene/tga_read.h"

namespace {

constexpr int kTgaHeaderSize = 18;
constexpr int kTgaTrueColour = 2;
constexpr int kTopDownBit = 0x20;

struct TgaHeader {
  int id_length = 0;
  int image_type = 0;
  int width = 0;
  int height = 0;
  int depth = 0;
  int descriptor = 0;
};

bool Read_Header(std::FILE* f, TgaHeader& h) {
  unsigned char b[kTgaHeaderSize];
  if (std::fread(b, 1, kTgaHeaderSize, f) != kTgaHeaderSize) return false;
  h.id_length = b[0];
  h.image_type = b[2];
  h.width = b[12] | b[13] << 8;
  h.height = b[14] | b[15] << 8;
  h.depth = b[16];
  h.descriptor = b[17];
  return true;
}

bool Acceptable(const TgaHeader& h, int width, int height) {
  return h.image_type == kTgaTrueColour && h.width == width && h.height == height &&
         (h.depth == 24 || h.depth == 32);
}

std::vector<unsigned char> Read_Pixels(std::FILE* f, const TgaHeader& h) {
  const int bytes = h.depth / 8;
  const size_t row_bytes = size_t(h.width) * size_t(bytes);
  std::vector<unsigned char> out(size_t(h.width) * size_t(h.height) * 4, 0);
  std::vector<unsigned char> row(row_bytes);
  const bool top_down = (h.descriptor & kTopDownBit) != 0;
  for (int stored = 0; stored < h.height; ++stored) {
    const size_t got = std::fread(row.data(), 1, row_bytes, f);
    const int y = top_down ? stored : h.height - 1 - stored;
    unsigned char* d = &out[size_t(y) * size_t(h.width) * 4];
    const size_t whole = got / size_t(bytes);
    for (size_t x = 0; x < whole; ++x)
      for (int c = 0; c < bytes; ++c) d[x * 4 + size_t(c)] = row[x * size_t(bytes) + size_t(c)];
    if (got < row_bytes) break;
  }
  return out;
}

}  // namespace

bool Tga_Read(std::FILE* f, int width, int height, std::vector<unsigned char>& pixels) {
  TgaHeader h;
  if (!f || width <= 0 || height <= 0 || !Read_Header(f, h) || !Acceptable(h, width, height)) return false;
  // The identification field follows the header; the colour-map fields are
  // not looked at.
  if (std::fseek(f, h.id_length, SEEK_CUR) != 0) return false;
  pixels = Read_Pixels(f, h);
  return true;
}

int Load_Tga_640_480(Scene& scene, const char* path) {
  uint16_t* still = Scene_Still_Pixels(scene);
  if (!still) return 0;
  SceneFile f = Scene_Open(path);
  if (!f) return 0;
  std::vector<unsigned char> pixels;
  if (!Tga_Read(f.get(), kSceneStillWidth, kSceneStillHeight, pixels)) return 0;
  Dither_Rgb_32_To_565(pixels.data(), still, kSceneStillWidth, kSceneStillHeight, kSceneStillWidth);
  Scene_Table_Empty(scene.table);
  return 1;
}
