// PNG reading (every colour type to 8-bit RGBA) and writing for tools.
#include "tools/png_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/tools/png_bytes.h"

namespace {

using Bytes = std::vector<uint8_t>;

RgbaImage Decoded(const Bytes& png) {
  RgbaImage image;
  std::string error;
  EXPECT_TRUE(Png_Decode(png, image, error)) << error;
  EXPECT_EQ(error, "");
  return image;
}

TEST(PngDecode, EveryColourTypeGivesRgba) {
  struct Case {
    const char* what;
    PngFields fields;
    int width, height;
    Bytes rgba;
  };
  const Case cases[] = {
      {"RGB 8",
       {2, 1, 8, 2, 0, Png_Rows({{1, 2, 3, 250, 251, 252}}), {}, {}},
       2,
       1,
       {1, 2, 3, 255, 250, 251, 252, 255}},
      {"RGBA 8",
       {1, 2, 8, 6, 0, Png_Rows({{9, 8, 7, 0}, {1, 2, 3, 127}}), {}, {}},
       1,
       2,
       {9, 8, 7, 0, 1, 2, 3, 127}},
      {"grey 8", {2, 1, 8, 0, 0, Png_Rows({{0, 77}}), {}, {}}, 2, 1, {0, 0, 0, 255, 77, 77, 77, 255}},
      {"grey 1",
       {3, 1, 1, 0, 0, Png_Rows({{0xA0}}), {}, {}},
       3,
       1,
       {255, 255, 255, 255, 0, 0, 0, 255, 255, 255, 255, 255}},
      {"grey + alpha 8", {1, 1, 8, 4, 0, Png_Rows({{66, 5}}), {}, {}}, 1, 1, {66, 66, 66, 5}},
      {"RGB 16",
       {1, 1, 16, 2, 0, Png_Rows({{0x12, 0x34, 0xAB, 0xCD, 0xFF, 0x01}}), {}, {}},
       1,
       1,
       {0x12, 0xAB, 0xFF, 255}},
      // Palette of 3 entries, 2 bits a pixel, entry 0 made transparent by tRNS.
      {"palette 2 + tRNS",
       {3, 1, 2, 3, 0, Png_Rows({{0x18}}), {10, 20, 30, 40, 50, 60, 70, 80, 90}, {0}},
       3,
       1,
       {10, 20, 30, 0, 40, 50, 60, 255, 70, 80, 90, 255}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    RgbaImage image = Decoded(Png_Build(c.fields));
    EXPECT_EQ(image.width, c.width);
    EXPECT_EQ(image.height, c.height);
    EXPECT_EQ(image.rgba, c.rgba);
  }
}

TEST(PngDecode, InterlacedRowsComeBackInPlace) {
  // 3 x 3 RGB, pixel (x, y) = (x, y, 10 x + y). Adam7 passes with pixels:
  // 1 (0,0); 4 (2,0); 5 (0,2) (2,2); 6 (1,0), (1,2); 7 the middle row.
  auto p = [](int x, int y) { return Bytes{uint8_t(x), uint8_t(y), uint8_t(10 * x + y)}; };
  auto cat = [](std::initializer_list<Bytes> parts) {
    Bytes out{0};
    for (const Bytes& part : parts) out.insert(out.end(), part.begin(), part.end());
    return out;
  };
  Bytes lines;
  for (const Bytes& line : {cat({p(0, 0)}), cat({p(2, 0)}), cat({p(0, 2), p(2, 2)}), cat({p(1, 0)}),
                            cat({p(1, 2)}), cat({p(0, 1), p(1, 1), p(2, 1)})})
    lines.insert(lines.end(), line.begin(), line.end());
  RgbaImage image = Decoded(Png_Build({3, 3, 8, 2, 1, lines, {}, {}}));
  ASSERT_EQ(image.rgba.size(), 36u);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 3; ++x) {
      const uint8_t* px = &image.rgba[size_t(4 * (3 * y + x))];
      EXPECT_EQ(Bytes(px, px + 4), (Bytes{uint8_t(x), uint8_t(y), uint8_t(10 * x + y), 255}))
          << x << "," << y;
    }
}

TEST(PngEncode, RoundTripsExactly) {
  Bytes rgb;
  for (int i = 0; i < 5 * 3; ++i) rgb.insert(rgb.end(), {uint8_t(i * 17), uint8_t(255 - i), uint8_t(i * i)});
  Bytes png;
  std::string error;
  ASSERT_TRUE(Png_Encode_Rgb(5, 3, rgb, png, error)) << error;
  RgbaImage image = Decoded(png);
  EXPECT_EQ(image.width, 5);
  EXPECT_EQ(image.height, 3);
  ASSERT_EQ(image.rgba.size(), 60u);
  for (size_t i = 0; i < 15; ++i) {
    EXPECT_EQ(
        Bytes(image.rgba.begin() + std::ptrdiff_t(4 * i), image.rgba.begin() + std::ptrdiff_t(4 * i + 3)),
        Bytes(rgb.begin() + std::ptrdiff_t(3 * i), rgb.begin() + std::ptrdiff_t(3 * i + 3)));
    EXPECT_EQ(image.rgba[4 * i + 3], 255);
  }
}

TEST(PngEncode, RefusesPixelsThatDoNotMatchTheSize) {
  Bytes png{1, 2, 3};
  std::string error;
  EXPECT_FALSE(Png_Encode_Rgb(2, 2, Bytes(11, 0), png, error));
  EXPECT_TRUE(png.empty());
  EXPECT_FALSE(Png_Encode_Rgb(0, 1, Bytes{}, png, error));
  EXPECT_FALSE(Png_Encode_Rgb(1, -1, Bytes(3, 0), png, error));
  EXPECT_EQ(error, "no pixels to write");
}

TEST(PngDecode, RefusesDamagedFiles) {
  const Bytes good =
      Png_Build({2, 2, 8, 2, 0, Png_Rows({{1, 2, 3, 4, 5, 6}, {7, 8, 9, 10, 11, 12}}), {}, {}});
  ASSERT_EQ(Decoded(good).width, 2);
  // Every shorter file.
  for (size_t length = 0; length < good.size(); ++length) {
    RgbaImage image;
    std::string error;
    EXPECT_FALSE(Png_Decode(Bytes(good.begin(), good.begin() + std::ptrdiff_t(length)), image, error))
        << length;
    EXPECT_TRUE(image.rgba.empty()) << length;
    EXPECT_FALSE(error.empty()) << length;
  }
  RgbaImage image;
  std::string error;
  EXPECT_FALSE(Png_Decode(Bytes{'G', 'I', 'F', '8', '9', 'a', 0, 0, 0, 0}, image, error));
  EXPECT_EQ(error, "not a PNG file");

  Bytes bad_crc = good;
  bad_crc[8 + 8 + 13] ^= 1;  // IHDR's CRC
  EXPECT_FALSE(Png_Decode(bad_crc, image, error));
  EXPECT_EQ(error.rfind("not a valid PNG file: ", 0), 0u) << error;

  // Image data that is not a zlib stream.
  Bytes bad_data = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  for (const Bytes& chunk : {Png_Chunk("IHDR", {0, 0, 0, 2, 0, 0, 0, 2, 8, 2, 0, 0, 0}),
                             Png_Chunk("IDAT", {1, 2, 3, 4, 5, 6, 7, 8}), Png_Chunk("IEND", {})})
    bad_data.insert(bad_data.end(), chunk.begin(), chunk.end());
  EXPECT_FALSE(Png_Decode(bad_data, image, error));
  EXPECT_TRUE(image.rgba.empty());
}

TEST(PngDecode, RefusesImagesLargerThanTheLimitBeforeAllocating) {
  // 8193 x 8193 is just over 64 Mi pixels; the image data is never read.
  Bytes png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  for (const Bytes& chunk : {Png_Chunk("IHDR", {0, 0, 0x20, 0x01, 0, 0, 0x20, 0x01, 8, 2, 0, 0, 0}),
                             Png_Chunk("IDAT", {0}), Png_Chunk("IEND", {})})
    png.insert(png.end(), chunk.begin(), chunk.end());
  RgbaImage image;
  std::string error;
  EXPECT_FALSE(Png_Decode(png, image, error));
  EXPECT_EQ(error, "not a valid PNG file: the image has too many pixels");
}

}  // namespace
