// Dct_Encode_Picture and Dct_Encode_Blocks: what they refuse, and the
// baseline JPEG streams they write.
#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "dct/dct_encode.h"
#include "tests/dct/dct_test_support.h"

namespace dct_test {
namespace {

// The frame header of a baseline stream: FF C0, length, precision, height,
// width. Returns false when the stream has none before its scan.
struct Frame {
  int marker = 0;
  int width = 0;
  int height = 0;
  int components = 0;
};

Frame First_Frame(const std::vector<unsigned char>& s) {
  Frame f;
  size_t i = 2;
  while (i + 9 < s.size() && s[i] == 0xFF) {
    const int marker = s[i + 1];
    const size_t length = static_cast<size_t>(s[i + 2] << 8 | s[i + 3]);
    if (marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xCC) {
      f.marker = marker;
      f.height = s[i + 5] << 8 | s[i + 6];
      f.width = s[i + 7] << 8 | s[i + 8];
      f.components = s[i + 9];
      return f;
    }
    i += 2 + length;
  }
  return f;
}

TEST(Encoder, APictureIsABaselineJpegOfItsSize) {
  const Pixels32 p = Smooth_Picture(640, 480, 1);
  std::vector<unsigned char> out;
  ASSERT_EQ(Dct_Encode_Picture(p.data(), 640, 480, 75, out), 1);
  ASSERT_GT(out.size(), 4u);
  EXPECT_EQ(out[0], 0xFF);
  EXPECT_EQ(out[1], 0xD8);
  EXPECT_EQ(out[out.size() - 2], 0xFF);
  EXPECT_EQ(out[out.size() - 1], 0xD9);
  const Frame f = First_Frame(out);
  EXPECT_EQ(f.marker, 0xC0);
  EXPECT_EQ(f.width, 640);
  EXPECT_EQ(f.height, 480);
  EXPECT_EQ(f.components, 3);
}

TEST(Encoder, PicturesOfAnySizeUpToTheJpegLimitAreTaken) {
  const Pixels32 p = Uniform_Picture(1, 3, 1, 2, 3);
  std::vector<unsigned char> out;
  EXPECT_EQ(Dct_Encode_Picture(p.data(), 1, 3, 50, out), 1);
  EXPECT_EQ(First_Frame(out).height, 3);
}

TEST(Encoder, PictureArgumentsOutsideTheLimitsAreRefused) {
  const Pixels32 p = Uniform_Picture(16, 16, 1, 2, 3);
  struct Case {
    const unsigned char* pixels;
    int width, height, quality;
  };
  const Case refused[] = {{nullptr, 16, 16, 50},  {p.data(), 0, 16, 50},    {p.data(), 16, 0, 50},
                          {p.data(), -1, 16, 50}, {p.data(), 65501, 1, 50}, {p.data(), 1, 65501, 50},
                          {p.data(), 16, 16, 0},  {p.data(), 16, 16, 101},  {p.data(), 16, 16, INT_MIN}};
  for (const Case& c : refused) {
    std::vector<unsigned char> out(5, 1);
    EXPECT_EQ(Dct_Encode_Picture(c.pixels, c.width, c.height, c.quality, out), 0);
    EXPECT_TRUE(out.empty());
  }
}

TEST(Encoder, BlocksArePackedSixteenCellsARow) {
  const Pixels32 strip = Smooth_Picture(256, 6144, 2);
  struct Case {
    int count, width, height;
  };
  for (const Case& c : {Case{1, 16, 16}, Case{15, 240, 16}, Case{16, 256, 16}, Case{17, 256, 32},
                        Case{33, 256, 48}, Case{6144, 256, 6144}}) {
    std::vector<int> blocks(c.count);
    for (int i = 0; i < c.count; ++i) blocks[i] = (i * 5) % 6144;
    std::vector<unsigned char> out;
    ASSERT_EQ(Dct_Encode_Blocks(strip.data(), 256, 6144, blocks.data(), c.count, 80, out), 1) << c.count;
    const Frame f = First_Frame(out);
    EXPECT_EQ(f.marker, 0xC0);
    EXPECT_EQ(f.width, c.width) << c.count;
    EXPECT_EQ(f.height, c.height) << c.count;
  }
}

TEST(Encoder, BlockArgumentsThatDoNotFitAreRefused) {
  const Pixels32 still = Smooth_Picture(640, 480, 3);
  std::vector<int> ok = {0, 1199};
  std::vector<int> outside_low = {0, -1};
  std::vector<int> outside_high = {1200};
  std::vector<int> many(1201, 0);
  struct Case {
    const unsigned char* pixels;
    int width, height;
    const int* blocks;
    int count, quality;
  };
  const Case refused[] = {
      {nullptr, 640, 480, ok.data(), 2, 80},
      {still.data(), 640, 479, ok.data(), 2, 80},
      {still.data(), 320, 480, ok.data(), 2, 80},
      {still.data(), 256, 480, ok.data(), 2, 80},
      {still.data(), 640, 480, nullptr, 2, 80},
      {still.data(), 640, 480, ok.data(), 0, 80},
      {still.data(), 640, 480, ok.data(), -3, 80},
      {still.data(), 640, 480, many.data(), 1201, 80},
      {still.data(), 640, 480, outside_low.data(), 2, 80},
      {still.data(), 640, 480, outside_high.data(), 1, 80},
      {still.data(), 640, 480, ok.data(), 2, 0},
      {still.data(), 640, 480, ok.data(), 2, 101},
  };
  for (const Case& c : refused) {
    std::vector<unsigned char> out(5, 1);
    EXPECT_EQ(Dct_Encode_Blocks(c.pixels, c.width, c.height, c.blocks, c.count, c.quality, out), 0);
    EXPECT_TRUE(out.empty());
  }
  std::vector<unsigned char> out;
  EXPECT_EQ(Dct_Encode_Blocks(still.data(), 640, 480, ok.data(), 2, 80, out), 1);
}

TEST(Encoder, TheSameInputGivesTheSameBytes) {
  const Pixels32 p = Smooth_Picture(640, 480, 4);
  std::vector<unsigned char> a, b;
  ASSERT_EQ(Dct_Encode_Picture(p.data(), 640, 480, 66, a), 1);
  ASSERT_EQ(Dct_Encode_Picture(p.data(), 640, 480, 66, b), 1);
  EXPECT_EQ(a, b);
  std::vector<unsigned char> lower;
  ASSERT_EQ(Dct_Encode_Picture(p.data(), 640, 480, 30, lower), 1);
  EXPECT_LT(lower.size(), a.size());
}

}  // namespace
}  // namespace dct_test
