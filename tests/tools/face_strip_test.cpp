// The strip laid from six faces: tile by tile as the cube's face groups
// say, and the exact inverse of Kvr_Remap.
#include "tools/face_strip.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "kvr_read/kvr_read.h"

namespace {

using Bytes = std::vector<uint8_t>;

constexpr size_t kTileBytes = size_t{256} * 256 * 4;

std::array<const uint8_t*, kFaceCount> Pointers(const std::vector<Bytes>& faces) {
  std::array<const uint8_t*, kFaceCount> p{};
  for (size_t f = 0; f < p.size(); ++f) p[f] = faces[f].data();
  return p;
}

// Fills quarter q (top-left, top-right, bottom-right, bottom-left) of a
// face with `value` in every byte.
void Fill_Quarter(Bytes& face, int q, uint8_t value) {
  const int x0 = (q == 1 || q == 2) ? 256 : 0;
  const int y0 = q >= 2 ? 256 : 0;
  for (int y = y0; y < y0 + 256; ++y)
    for (int x = x0; x < x0 + 256; ++x)
      for (int c = 0; c < 4; ++c) face[(size_t(y) * 512 + size_t(x)) * 4 + size_t(c)] = value;
}

// Pseudo-random bytes, different at every position.
Bytes Noise(size_t size, uint32_t seed) {
  Bytes b(size);
  for (auto& v : b) {
    seed = seed * 1664525u + 1013904223u;
    v = uint8_t(seed >> 24);
  }
  return b;
}

TEST(FaceStrip, TileKOfTheStripIsTheQuarterItsFaceGroupNames) {
  // The quarters that Kvr_Remap gives a strip whose tile k holds k.
  const int first_tile[kFaceCount] = {8, 12, 0, 16, 20, 4};
  std::vector<Bytes> faces(kFaceCount, Bytes(kFaceBytes, 0xEE));
  for (int f = 0; f < kFaceCount; ++f)
    for (int q = 0; q < 4; ++q) Fill_Quarter(faces[size_t(f)], q, uint8_t(first_tile[f] + q));
  Bytes strip(kStripBytes, 0xEE);
  Faces_To_Strip(Pointers(faces), strip.data());
  for (size_t k = 0; k < 24; ++k) {
    const Bytes tile(strip.begin() + std::ptrdiff_t(k * kTileBytes),
                     strip.begin() + std::ptrdiff_t((k + 1) * kTileBytes));
    EXPECT_EQ(tile, Bytes(kTileBytes, uint8_t(k))) << "tile " << k;
  }
}

TEST(FaceStrip, PixelsKeepTheirPlaceWithinTheirQuarter) {
  std::vector<Bytes> faces(kFaceCount, Bytes(kFaceBytes, 0));
  // Face "up" (faces[0], group 2 = tiles 8..11): the pixel at x 300, y 10
  // is in the top-right quarter, tile 9, at row 10, column 44; the pixel
  // at x 5, y 511 in the bottom-left quarter, tile 11, row 255, column 5.
  faces[0][(10 * 512 + 300) * 4 + 1] = 0x5A;
  faces[0][(511 * 512 + 5) * 4 + 2] = 0xA5;
  Bytes strip(kStripBytes, 0);
  Faces_To_Strip(Pointers(faces), strip.data());
  EXPECT_EQ(strip[(9 * 65536 + 10 * 256 + 44) * 4 + 1], 0x5A);
  EXPECT_EQ(strip[(11 * 65536 + 255 * 256 + 5) * 4 + 2], 0xA5);
  size_t set = 0;
  for (uint8_t v : strip) set += v != 0;
  EXPECT_EQ(set, 2u);
}

TEST(FaceStrip, IsTheExactInverseOfKvrRemap) {
  std::vector<Bytes> faces;
  for (uint32_t f = 0; f < kFaceCount; ++f) faces.push_back(Noise(kFaceBytes, 17 + f));
  Bytes strip(kStripBytes, 0);
  Faces_To_Strip(Pointers(faces), strip.data());

  std::vector<std::vector<RGB>> cut(kFaceCount, std::vector<RGB>(512 * 512));
  RGB* out[kFaceCount];
  for (size_t f = 0; f < kFaceCount; ++f) out[f] = cut[f].data();
  Kvr_Remap(out, strip.data());
  for (size_t f = 0; f < kFaceCount; ++f) {
    const auto* bytes = reinterpret_cast<const uint8_t*>(cut[f].data());
    EXPECT_EQ(Bytes(bytes, bytes + kFaceBytes), faces[f]) << kFaceNames[f];
  }

  // And the other way: a strip cut by Kvr_Remap is laid back unchanged.
  const Bytes original = Noise(kStripBytes, 99);
  Kvr_Remap(out, original.data());
  std::array<const uint8_t*, kFaceCount> in{};
  for (size_t f = 0; f < kFaceCount; ++f) in[f] = reinterpret_cast<const uint8_t*>(cut[f].data());
  Bytes again(kStripBytes, 0);
  Faces_To_Strip(in, again.data());
  EXPECT_TRUE(again == original);
}

}  // namespace
