// Pictures made from RGBA images: the exact palette and its order, the
// transparent index, median-cut reduction, and the RGB565 output forms.
#include "tools/picture_from_image.h"

#include <gtest/gtest.h>

#include <array>
#include <map>
#include <set>
#include <vector>

#include "tools/median_cut.h"
#include "tools/picture_pixels.h"

namespace {

using Bytes = std::vector<uint8_t>;
using Rgba = std::array<uint8_t, 4>;

RgbaImage Image(int width, int height, const std::vector<Rgba>& pixels) {
  RgbaImage image{width, height, {}};
  for (const Rgba& p : pixels) image.rgba.insert(image.rgba.end(), p.begin(), p.end());
  return image;
}

Bytes Entry(const Picture& picture, int index) {
  return Bytes(picture.palette.begin() + 3 * index, picture.palette.begin() + 3 * index + 3);
}

constexpr Rgba kA{10, 20, 30, 255}, kB{200, 0, 1, 255}, kC{0, 0, 0, 255}, kD{255, 255, 255, 128};

TEST(PictureIndexed, ExactPaletteInOrderOfFirstAppearance) {
  IndexedPicture indexed = Picture_Indexed_From_Image(Image(3, 2, {kA, kB, kA, kC, kB, kD}), "x.pcx");
  ASSERT_NE(indexed.picture, nullptr);
  const Picture& p = *indexed.picture;
  EXPECT_EQ(p.depth, 8);
  EXPECT_EQ(p.pack_method, 0);
  EXPECT_EQ(p.name, "x.pcx");
  EXPECT_EQ(p.pixels, (Bytes{0, 1, 0, 2, 1, 3}));
  EXPECT_EQ(Entry(p, 0), (Bytes{10, 20, 30}));
  EXPECT_EQ(Entry(p, 1), (Bytes{200, 0, 1}));
  EXPECT_EQ(Entry(p, 2), (Bytes{0, 0, 0}));
  EXPECT_EQ(Entry(p, 3), (Bytes{255, 255, 255}));  // alpha 128 is opaque
  EXPECT_EQ(Bytes(p.palette.begin() + 12, p.palette.end()), Bytes(768 - 12, 0));
  EXPECT_EQ(indexed.image_colours, 4u);
  EXPECT_EQ(indexed.palette_colours, 4u);
  EXPECT_FALSE(indexed.reduced());
}

TEST(PictureIndexed, TransparentPixelsTakeIndexZero) {
  // Alpha below 128 is transparent whatever the RGB; they all share index 0.
  const Rgba t1{200, 100, 50, 0}, t2{1, 2, 3, 127};
  IndexedPicture indexed = Picture_Indexed_From_Image(Image(4, 1, {kA, t1, kB, t2}), "f.mtr");
  const Picture& p = *indexed.picture;
  EXPECT_EQ(p.pixels, (Bytes{1, 0, 2, 0}));
  EXPECT_EQ(Entry(p, 0), (Bytes{0, 0, 0}));
  EXPECT_EQ(Entry(p, 1), (Bytes{10, 20, 30}));
  EXPECT_EQ(Entry(p, 2), (Bytes{200, 0, 1}));
  EXPECT_EQ(indexed.image_colours, 3u);

  PicturePtr rgb = Picture_Rgb_From_Image(Image(4, 1, {kA, t1, kB, t2}), "f.tga");
  ASSERT_NE(rgb, nullptr);
  EXPECT_EQ(rgb->depth, 24);
  EXPECT_EQ(rgb->pixels, (Bytes{10, 20, 30, 0, 0, 0, 200, 0, 1, 0, 0, 0}));
}

std::vector<Rgba> Distinct_Colours(int count) {
  std::vector<Rgba> pixels;
  for (int i = 0; i < count; ++i) pixels.push_back({uint8_t(i), uint8_t(i * 3), uint8_t(255 - i / 2), 255});
  return pixels;
}

TEST(PictureIndexed, TwoHundredFiftySixColoursStayExact) {
  std::vector<Rgba> pixels = Distinct_Colours(256);
  IndexedPicture indexed = Picture_Indexed_From_Image(Image(16, 16, pixels), "x");
  ASSERT_NE(indexed.picture, nullptr);
  EXPECT_FALSE(indexed.reduced());
  for (int i = 0; i < 256; ++i) {
    EXPECT_EQ(indexed.picture->pixels[size_t(i)], i);
    EXPECT_EQ(Entry(*indexed.picture, i), Bytes(pixels[size_t(i)].begin(), pixels[size_t(i)].begin() + 3));
  }
}

// Checks a reduced picture: every palette entry is the pixel-weighted mean
// of the image colours mapped to it, and one colour always maps one way.
void Expect_Group_Means(const RgbaImage& image, const Picture& p, size_t groups) {
  std::map<int, std::array<uint64_t, 4>> sums;  // index -> R, G, B sums and count
  std::map<uint32_t, int> index_of;
  for (size_t i = 0; i < size_t(image.width * image.height); ++i) {
    const uint8_t* px = &image.rgba[4 * i];
    uint32_t key = px[3] < 128 ? 0x1000000u : uint32_t(px[0] << 16 | px[1] << 8 | px[2]);
    auto [it, added] = index_of.emplace(key, p.pixels[i]);
    EXPECT_EQ(it->second, p.pixels[i]) << "colour " << key << " maps to two entries";
    if (px[3] < 128) continue;
    auto& s = sums[p.pixels[i]];
    for (int c = 0; c < 3; ++c) s[size_t(c)] += px[c];
    ++s[3];
  }
  EXPECT_EQ(sums.size(), groups);
  for (auto& [index, s] : sums) {
    Bytes mean;
    for (int c = 0; c < 3; ++c) mean.push_back(uint8_t((s[size_t(c)] + s[3] / 2) / s[3]));
    EXPECT_EQ(Entry(p, index), mean) << "entry " << index;
  }
}

TEST(PictureIndexed, MoreColoursAreReducedByMedianCut) {
  std::vector<Rgba> pixels = Distinct_Colours(300);
  pixels.resize(320, kA);  // kA repeated: weights count
  RgbaImage image = Image(32, 10, pixels);
  IndexedPicture indexed = Picture_Indexed_From_Image(image, "x");
  ASSERT_NE(indexed.picture, nullptr);
  EXPECT_TRUE(indexed.reduced());
  EXPECT_EQ(indexed.image_colours, 301u);
  EXPECT_EQ(indexed.palette_colours, 256u);
  Expect_Group_Means(image, *indexed.picture, 256);
  // The top left pixel's group is entry 0.
  EXPECT_EQ(indexed.picture->pixels[0], 0);
  // The same image gives the same picture.
  IndexedPicture again = Picture_Indexed_From_Image(image, "x");
  EXPECT_EQ(again.picture->pixels, indexed.picture->pixels);
  EXPECT_EQ(again.picture->palette, indexed.picture->palette);
}

TEST(PictureIndexed, ReducedWithTransparencyKeepsIndexZeroForIt) {
  std::vector<Rgba> pixels = Distinct_Colours(256);  // 256 opaque + transparent = 257
  pixels.push_back({9, 9, 9, 0});
  pixels.resize(260, {0, 0, 0, 0});
  RgbaImage image = Image(26, 10, pixels);
  IndexedPicture indexed = Picture_Indexed_From_Image(image, "x");
  EXPECT_TRUE(indexed.reduced());
  EXPECT_EQ(indexed.image_colours, 257u);
  EXPECT_EQ(indexed.palette_colours, 256u);
  for (size_t i = 256; i < 260; ++i) EXPECT_EQ(indexed.picture->pixels[i], 0) << i;
  std::set<int> opaque(indexed.picture->pixels.begin(), indexed.picture->pixels.begin() + 256);
  EXPECT_EQ(opaque.count(0), 0u);
  Expect_Group_Means(image, *indexed.picture, 255);
}

TEST(PictureFromImage, SizesNoPictureCanHaveGiveNull) {
  EXPECT_EQ(Picture_Indexed_From_Image(RgbaImage{}, "x").picture, nullptr);
  EXPECT_EQ(Picture_Rgb_From_Image(RgbaImage{}, "x"), nullptr);
  RgbaImage short_image{2, 2, Bytes(15, 0)};  // one byte short
  EXPECT_EQ(Picture_Indexed_From_Image(short_image, "x").picture, nullptr);
  EXPECT_EQ(Picture_Rgb_From_Image(short_image, "x"), nullptr);
}

TEST(MedianCut, SplitsTheWidestChannelAtTheWeightedMedian) {
  auto cut = [](std::vector<ColourCount> colours, int groups) { return Median_Cut(colours, groups); };
  ColourGroups even = cut({{{0, 0, 0}, 1}, {{100, 0, 0}, 1}, {{200, 0, 0}, 1}}, 2);
  EXPECT_EQ(even.group_of, (std::vector<int>{0, 0, 1}));
  EXPECT_EQ(even.means, (std::vector<std::array<uint8_t, 3>>{{50, 0, 0}, {200, 0, 0}}));

  ColourGroups heavy = cut({{{0, 0, 0}, 10}, {{100, 0, 0}, 1}, {{200, 0, 0}, 1}}, 2);
  EXPECT_EQ(heavy.group_of, (std::vector<int>{0, 1, 1}));
  EXPECT_EQ(heavy.means, (std::vector<std::array<uint8_t, 3>>{{0, 0, 0}, {150, 0, 0}}));

  // Green is widest here: the cut separates by green, not by red or blue.
  ColourGroups green = cut({{{0, 0, 0}, 1}, {{30, 50, 0}, 1}, {{0, 0, 40}, 1}, {{20, 60, 40}, 1}}, 2);
  EXPECT_EQ(green.group_of, (std::vector<int>{0, 1, 0, 1}));
  EXPECT_EQ(green.means, (std::vector<std::array<uint8_t, 3>>{{0, 0, 20}, {25, 55, 20}}));

  // Means round to nearest; halves round up.
  EXPECT_EQ(cut({{{10, 0, 0}, 1}, {{13, 0, 0}, 1}}, 1).means,
            (std::vector<std::array<uint8_t, 3>>{{12, 0, 0}}));
}

TEST(MedianCut, FewColoursKeepTheirValuesAndEdgesGiveNothing) {
  std::vector<ColourCount> colours = {{{1, 2, 3}, 5}, {{1, 2, 4}, 1}, {{9, 9, 9}, 2}};
  ColourGroups groups = Median_Cut(colours, 256);
  ASSERT_EQ(groups.means.size(), 3u);
  for (size_t i = 0; i < colours.size(); ++i)
    EXPECT_EQ(groups.means[size_t(groups.group_of[i])], colours[i].rgb);
  EXPECT_TRUE(Median_Cut({}, 4).means.empty());
  EXPECT_TRUE(Median_Cut(colours, 0).means.empty());
  EXPECT_EQ(Median_Cut(colours, 1).group_of, (std::vector<int>{0, 0, 0}));
}

TEST(Rgb565Output, WidenedByBitReplication) {
  EXPECT_EQ(Rgb565_Widen(0x0000), (std::array<uint8_t, 3>{0, 0, 0}));
  EXPECT_EQ(Rgb565_Widen(0xFFFF), (std::array<uint8_t, 3>{255, 255, 255}));
  EXPECT_EQ(Rgb565_Widen(0xF800), (std::array<uint8_t, 3>{255, 0, 0}));
  EXPECT_EQ(Rgb565_Widen(0x07E0), (std::array<uint8_t, 3>{0, 255, 0}));
  EXPECT_EQ(Rgb565_Widen(0x001F), (std::array<uint8_t, 3>{0, 0, 255}));
  EXPECT_EQ(Rgb565_Widen(0x8410), (std::array<uint8_t, 3>{132, 130, 132}));
  EXPECT_EQ(Rgb565_Widen(0x0821), (std::array<uint8_t, 3>{8, 4, 8}));

  PicturePtr picture = Picture_New("p", 2, 1, 16);
  picture->pixels = {0x00, 0xF8, 0x21, 0x08};  // 0xF800, 0x0821
  EXPECT_EQ(Picture_565_Raw(*picture), (Bytes{0x00, 0xF8, 0x21, 0x08}));
  EXPECT_EQ(Picture_565_Rgb_Rows(*picture), (Bytes{255, 0, 0, 8, 4, 8}));
  EXPECT_TRUE(Picture_565_Raw(*Picture_New("p", 2, 1, 24)).empty());
  picture->pack_method = 1;
  EXPECT_TRUE(Picture_565_Rgb_Rows(*picture).empty());
}

}  // namespace
