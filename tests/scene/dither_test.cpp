// The serpentine error-diffusion dither to RGB565, against values worked
// out by hand and by a separate two-dimensional reference of the rules.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "scene/scene_picture.h"

namespace {

using Bgr = std::vector<std::vector<std::vector<int>>>;  // [y][x] = {b, g, r}

std::vector<uint16_t> Dither(const Bgr& rows, int dest_width = 0) {
  const int height = int(rows.size());
  const int width = int(rows[0].size());
  if (dest_width == 0) dest_width = width;
  std::vector<uint8_t> src;
  for (const auto& row : rows)
    for (const auto& p : row) src.insert(src.end(), {uint8_t(p[0]), uint8_t(p[1]), uint8_t(p[2]), 0xEE});
  std::vector<uint16_t> dest(size_t(dest_width) * size_t(height), 0xBEEF);
  Dither_Rgb_32_To_565(src.data(), dest.data(), width, height, dest_width);
  return dest;
}

TEST(Dither, UniformOnGridColoursComeOutExactly) {
  const std::vector<std::vector<int>> colours = {
      {0, 0, 0}, {248, 252, 248}, {8, 4, 16}, {128, 64, 200}, {40, 100, 240}};
  for (const auto& c : colours) {
    const Bgr rows(5, std::vector<std::vector<int>>(7, c));
    const uint16_t want = uint16_t((c[2] >> 3) << 11 | (c[1] >> 2) << 5 | (c[0] >> 3));
    for (uint16_t p : Dither(rows)) {
      EXPECT_EQ(p, want) << c[0] << "," << c[1] << "," << c[2];
    }
  }
}

TEST(Dither, RoundsHalfUpAndStopsAtTheTopLevel) {
  // One row diffuses nothing: each pixel is only rounded.
  const Bgr rows = {{{3, 1, 3}, {4, 2, 4}, {255, 255, 255}, {251, 253, 252}, {12, 6, 11}}};
  const std::vector<uint16_t> got = Dither(rows);
  EXPECT_EQ(got[0], 0x0000);                          // below half a step
  EXPECT_EQ(got[1], uint16_t(1 << 11 | 1 << 5 | 1));  // exactly half: up
  EXPECT_EQ(got[2], 0xFFFF);                          // 255 would round past the top
  EXPECT_EQ(got[3], 0xFFFF);
  EXPECT_EQ(got[4], uint16_t(1 << 11 | 2 << 5 | 2));  // 12 -> 2 (bit 2 set), 11 -> 1
}

TEST(Dither, ShareLeftOfColumnZeroLandsOnTheRowAbove) {
  // Blue only, worked by hand. (0,0) = 100 rounds to 104: e = -4.
  // (1,0) gets 7/16 e = -1.75 and, through the wrap, the below-behind share
  // 3/16 e = -0.75: 6 - 2.5 = 3.5 -> 3 -> level 0 (without the wrap it
  // would be 4.25 -> level 1). (0,1) gets 5/16 e: 6 - 1.25 -> 4 -> level 1.
  // (1,1) gets 1/16 e: 6 - 0.25 -> 5 -> level 1.
  const Bgr rows = {{{100, 0, 0}, {6, 0, 0}}, {{6, 0, 0}, {6, 0, 0}}};
  EXPECT_EQ(Dither(rows), (std::vector<uint16_t>{13, 0, 1, 1}));
}

TEST(Dither, SmallPicturesMatchTheReference) {
  const Bgr a = {{{5, 90, 200}, {42, 90, 183}, {79, 90, 166}, {116, 90, 149}},
                 {{82, 103, 169}, {119, 126, 152}, {156, 149, 135}, {193, 172, 118}},
                 {{159, 116, 138}, {196, 162, 121}, {233, 208, 104}, {14, 254, 87}}};
  EXPECT_EQ(Dither(a), (std::vector<uint16_t>{0xCAE1, 0xBAC5, 0xAAEA, 0x92CE, 0xAB2A, 0x9C0F, 0x8CB3, 0x7D78,
                                              0x8BB4, 0x7D19, 0x6E9D, 0x5FE2}));
  const Bgr b = {{{165, 77, 202}, {24, 37, 48}, {187, 29, 109}, {19, 44, 222}, {214, 35, 123}},
                 {{46, 217, 30}, {63, 114, 31}, {203, 25, 113}, {23, 68, 148}, {214, 73, 60}},
                 {{157, 92, 52}, {96, 190, 49}, {32, 30, 105}, {254, 218, 160}, {238, 232, 185}},
                 {{153, 127, 92}, {124, 41, 153}, {253, 175, 229}, {147, 37, 60}, {214, 84, 175}}};
  EXPECT_EQ(Dither(b), (std::vector<uint16_t>{0xCA75, 0x3123, 0x70F7, 0xE163, 0x793A, 0x26C6, 0x23A8,
                                              0x70D9, 0x9223, 0x3A5B, 0x32F3, 0x360C, 0x68E4, 0xA6FF,
                                              0xBF5E, 0x6413, 0x9950, 0xED9F, 0x4133, 0xB2BB}));
}

TEST(Dither, WritesRowsOfTheDestinationWidthOnly) {
  const Bgr rows(2, std::vector<std::vector<int>>(2, {8, 4, 8}));
  const std::vector<uint16_t> got = Dither(rows, 3);
  const uint16_t p = uint16_t(1 << 11 | 1 << 5 | 1);
  EXPECT_EQ(got, (std::vector<uint16_t>{p, p, 0xBEEF, p, p, 0xBEEF}));
}

TEST(Dither, RefusesWhatItCannotConvert) {
  std::vector<uint8_t> src(16, 0x80);
  std::vector<uint16_t> dest(4, 0xBEEF);
  Dither_Rgb_32_To_565(src.data(), dest.data(), 0, 2, 2);
  Dither_Rgb_32_To_565(src.data(), dest.data(), 2, 0, 2);
  Dither_Rgb_32_To_565(src.data(), dest.data(), 2, 2, 1);  // rows would overlap
  Dither_Rgb_32_To_565(nullptr, dest.data(), 2, 2, 2);
  EXPECT_EQ(dest, std::vector<uint16_t>(4, 0xBEEF));
}

}  // namespace
