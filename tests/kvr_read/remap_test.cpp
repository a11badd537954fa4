// Kvr_Remap: a decoded panorama strip cut into its six cube faces.
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <vector>

#include "kvr_read/kvr_read.h"
#include "tests/kvr_read/panorama_bytes.h"

namespace kvr_test {
namespace {

constexpr int kFaceSide = 512;
constexpr int kFacePixels = kFaceSide * kFaceSide;
constexpr size_t kTileBytes = 256 * 256 * 4;

struct Faces {
  Faces() {
    for (int d = 0; d < 6; ++d) {
      images[d].assign(kFacePixels, RGB{0xEE, 0xEE, 0xEE, 0xEE});
      pointers[d] = images[d].data();
    }
  }
  const RGB& At(int d, int x, int y) const { return images[d][static_cast<size_t>(y) * kFaceSide + x]; }
  std::array<std::vector<RGB>, 6> images;
  RGB* pointers[6];
};

// The strip tile of each quarter of each face, in the order top-left,
// top-right, bottom-right, bottom-left.
constexpr int kQuarterTiles[6][4] = {
    {8, 9, 10, 11}, {12, 13, 14, 15}, {0, 1, 2, 3}, {16, 17, 18, 19}, {20, 21, 22, 23}, {4, 5, 6, 7},
};

// Which quarter (as above) holds face pixel (x, y).
int Quarter(int x, int y) {
  if (y < 256) return x < 256 ? 0 : 1;
  return x < 256 ? 3 : 2;
}

TEST(Remap, EachQuarterOfEachFaceHoldsItsTile) {
  Pixels strip(kVrPixels * 4);
  for (int k = 0; k < 24; ++k) std::memset(&strip[k * kTileBytes], k, kTileBytes);
  Faces faces;
  Kvr_Remap(faces.pointers, strip.data());
  for (int d = 0; d < 6; ++d) {
    for (int y = 0; y < kFaceSide; ++y) {
      for (int x = 0; x < kFaceSide; ++x) {
        const RGB& p = faces.At(d, x, y);
        const int want = kQuarterTiles[d][Quarter(x, y)];
        if (p.b != want || p.g != want || p.r != want || p.unused != want) {
          FAIL() << "face " << d << " pixel " << x << "," << y << " holds " << int{p.b} << ", not " << want;
        }
      }
    }
  }
}

// Every pixel of every tile tells its tile, row and column: each lands in
// its face's quarter at the same row and column, neither flipped nor turned.
TEST(Remap, RowsAndColumnsKeepTheirPlaces) {
  Pixels strip(kVrPixels * 4);
  for (int k = 0; k < 24; ++k) {
    for (int r = 0; r < 256; ++r) {
      for (int c = 0; c < 256; ++c) {
        unsigned char* p = &strip[k * kTileBytes + (static_cast<size_t>(r) * 256 + c) * 4];
        p[0] = static_cast<unsigned char>(c);
        p[1] = static_cast<unsigned char>(r);
        p[2] = static_cast<unsigned char>(k);
        p[3] = static_cast<unsigned char>(255 - k);
      }
    }
  }
  Faces faces;
  Kvr_Remap(faces.pointers, strip.data());
  for (int d = 0; d < 6; ++d) {
    for (int y = 0; y < kFaceSide; ++y) {
      for (int x = 0; x < kFaceSide; ++x) {
        const RGB& p = faces.At(d, x, y);
        const int tile = kQuarterTiles[d][Quarter(x, y)];
        if (p.b != x % 256 || p.g != y % 256 || p.r != tile || p.unused != 255 - tile) {
          FAIL() << "face " << d << " pixel " << x << "," << y << " holds column " << int{p.b} << " row "
                 << int{p.g} << " of tile " << int{p.r};
        }
      }
    }
  }
  // Spot checks written out: face 3 is tiles 16..19.
  EXPECT_EQ(faces.At(3, 0, 0).r, 16);
  EXPECT_EQ(faces.At(3, 511, 0).r, 17);
  EXPECT_EQ(faces.At(3, 511, 0).b, 255);
  EXPECT_EQ(faces.At(3, 511, 511).r, 18);
  EXPECT_EQ(faces.At(3, 0, 511).r, 19);
  EXPECT_EQ(faces.At(3, 0, 511).g, 255);
  EXPECT_EQ(faces.At(3, 300, 260).b, 44);
  EXPECT_EQ(faces.At(3, 300, 260).g, 4);
}

TEST(Remap, NullFacesAreLeftOutAndNullArgumentsDoNothing) {
  Pixels strip(kVrPixels * 4, 7);
  Faces faces;
  faces.pointers[3] = nullptr;
  Kvr_Remap(faces.pointers, strip.data());
  for (int d = 0; d < 6; ++d) {
    const unsigned char want = d == 3 ? 0xEE : 7;
    EXPECT_EQ(faces.At(d, 0, 0).b, want) << d;
    EXPECT_EQ(faces.At(d, 511, 511).unused, want) << d;
  }
  Faces untouched;
  Kvr_Remap(untouched.pointers, static_cast<unsigned char*>(nullptr));
  Kvr_Remap(nullptr, strip.data());
  EXPECT_EQ(untouched.At(0, 0, 0).b, 0xEE);
}

}  // namespace
}  // namespace kvr_test
