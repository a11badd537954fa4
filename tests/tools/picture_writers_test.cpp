// The picture file writers: exact bytes, limits, and the engine's readers
// reading every written file back to the same picture.
#include "tools/picture_writers.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "packing/packing_encode.h"
#include "pictures/picture_readers.h"

namespace {

using Bytes = std::vector<uint8_t>;

PicturePtr Make_Picture(int width, int height, int depth, uint32_t seed) {
  PicturePtr picture = Picture_New("p", width, height, depth);
  for (uint8_t& byte : picture->pixels) {
    seed = seed * 1664525u + 1013904223u;
    byte = uint8_t(seed >> 24);
  }
  for (size_t i = 0; i < kPalette_Rgb_Bytes; ++i) picture->palette[i] = uint8_t(i * 7 + 3);
  return picture;
}

Bytes Slice(const Bytes& bytes, size_t at, size_t count) {
  return Bytes(bytes.begin() + std::ptrdiff_t(at), bytes.begin() + std::ptrdiff_t(at + count));
}

uint32_t Le(const Bytes& bytes, size_t at, int size) {
  uint32_t value = 0;
  for (int i = size - 1; i >= 0; --i) value = value << 8 | bytes[at + size_t(i)];
  return value;
}

void Expect_Same_Picture(const Picture* back, const Picture& written) {
  ASSERT_NE(back, nullptr);
  EXPECT_EQ(back->width, written.width);
  EXPECT_EQ(back->height, written.height);
  EXPECT_EQ(back->depth, written.depth);
  EXPECT_EQ(back->pack_method, 0);
  EXPECT_EQ(back->pixels, written.pixels);
  if (written.depth == 8) {
    EXPECT_EQ(Slice(back->palette, 0, kPalette_Rgb_Bytes), Slice(written.palette, 0, kPalette_Rgb_Bytes));
  }
}

TEST(PcxWriter, HeaderRowsAndTrailerByteByByte) {
  PicturePtr picture = Picture_New("p", 6, 2, 8);
  picture->pixels = {5, 5, 5, 0xC0, 0xC1, 7, 7, 7, 7, 7, 7, 7};
  picture->palette[0] = 11;
  picture->palette[767] = 99;
  PictureFile file = Pcx_Write(*picture);
  ASSERT_TRUE(file.ok()) << file.error;
  const Bytes& b = file.bytes;
  ASSERT_EQ(b.size(), 128u + 9 + 769);
  EXPECT_EQ(Slice(b, 0, 4), (Bytes{0x0A, 5, 1, 8}));
  EXPECT_EQ(Le(b, 4, 2), 0u);
  EXPECT_EQ(Le(b, 6, 2), 0u);
  EXPECT_EQ(Le(b, 8, 2), 5u);   // xmax
  EXPECT_EQ(Le(b, 10, 2), 1u);  // ymax
  EXPECT_EQ(Le(b, 12, 2), 72u);
  EXPECT_EQ(Le(b, 14, 2), 72u);
  EXPECT_EQ(Slice(b, 16, 49), Bytes(49, 0));  // 16-colour palette, reserved
  EXPECT_EQ(b[65], 1);                        // planes
  EXPECT_EQ(Le(b, 66, 2), 6u);                // bytes per line: the width, no padding
  EXPECT_EQ(Le(b, 68, 2), 1u);
  EXPECT_EQ(Slice(b, 70, 58), Bytes(58, 0));
  // A byte of 0xC0 or more always goes as a run; runs stop at the row's end.
  EXPECT_EQ(Slice(b, 128, 9), (Bytes{0xC3, 5, 0xC1, 0xC0, 0xC1, 0xC1, 7, 0xC6, 7}));
  EXPECT_EQ(b[137], 12);
  EXPECT_EQ(b[138], 11);
  EXPECT_EQ(b.back(), 99);
  Expect_Same_Picture(Pcx_Decode(b, "p.pcx").get(), *picture);
}

TEST(PcxWriter, RunsSplitAtSixtyThree) {
  PicturePtr picture = Picture_New("p", 130, 1, 8);
  std::fill(picture->pixels.begin(), picture->pixels.end(), 3);
  PictureFile file = Pcx_Write(*picture);
  ASSERT_TRUE(file.ok());
  EXPECT_EQ(Slice(file.bytes, 128, file.bytes.size() - 128 - 769), (Bytes{0xFF, 3, 0xFF, 3, 0xC4, 3}));
  Expect_Same_Picture(Pcx_Decode(file.bytes, "p.pcx").get(), *picture);
}

TEST(PictureWriters, EngineReadersReadBackWhatWasWritten) {
  for (auto [width, height] : {std::pair{1, 1}, std::pair{7, 3}, std::pair{64, 5}, std::pair{300, 2}}) {
    SCOPED_TRACE(std::to_string(width) + " x " + std::to_string(height));
    PicturePtr indexed = Make_Picture(width, height, 8, uint32_t(width * 31 + height));
    PicturePtr rgb = Make_Picture(width, height, 24, uint32_t(width + height * 77));
    PictureFile pcx = Pcx_Write(*indexed);
    PictureFile tga = Tga_Write(*rgb);
    PictureFile nc = Mdraw_Write(*indexed, MdrawPacking::kPlain);
    PictureFile fc = Mdraw_Write(*indexed, MdrawPacking::kRunLength);
    ASSERT_TRUE(pcx.ok() && tga.ok() && nc.ok() && fc.ok());
    Expect_Same_Picture(Pcx_Decode(pcx.bytes, "p.pcx").get(), *indexed);
    Expect_Same_Picture(Tga_Decode(tga.bytes, "p.tga").get(), *rgb);
    Expect_Same_Picture(Mdraw_Decode(nc.bytes, "p.mtr").get(), *indexed);
    PicturePtr packed = Mdraw_Decode(fc.bytes, "p.mtr");
    ASSERT_NE(packed, nullptr);
    EXPECT_EQ(packed->pack_method, 1);
    Picture_Unpack(packed.get());
    Expect_Same_Picture(packed.get(), *indexed);
    if (width % 4 == 0) {
      PictureFile bmp = Bmp_Write(*rgb);
      ASSERT_TRUE(bmp.ok()) << bmp.error;
      Expect_Same_Picture(Bmp_Decode(bmp.bytes, "p.bmp").get(), *rgb);
    }
  }
}

TEST(TgaWriter, HeaderAndTopRowFirstBgrPixels) {
  PicturePtr picture = Picture_New("p", 2, 2, 24);
  picture->pixels = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
  PictureFile file = Tga_Write(*picture);
  ASSERT_TRUE(file.ok());
  EXPECT_EQ(file.bytes, (Bytes{0, 0, 2, 0, 0, 0, 0, 0, 0, 0,  0,  0, 2, 0, 2, 0, 24, 0x20,  //
                               3, 2, 1, 6, 5, 4, 9, 8, 7, 12, 11, 10}));
}

TEST(BmpWriter, HeadersAndBottomRowFirstBgrPixels) {
  PicturePtr picture = Picture_New("p", 4, 2, 24);
  for (size_t i = 0; i < picture->pixels.size(); ++i) picture->pixels[i] = uint8_t(i + 1);
  PictureFile file = Bmp_Write(*picture);
  ASSERT_TRUE(file.ok()) << file.error;
  const Bytes& b = file.bytes;
  ASSERT_EQ(b.size(), 54u + 24);
  EXPECT_EQ(Slice(b, 0, 2), (Bytes{'B', 'M'}));
  EXPECT_EQ(Le(b, 2, 4), 78u);
  EXPECT_EQ(Le(b, 6, 4), 0u);
  EXPECT_EQ(Le(b, 10, 4), 54u);
  EXPECT_EQ(Le(b, 14, 4), 40u);
  EXPECT_EQ(Le(b, 18, 4), 4u);
  EXPECT_EQ(Le(b, 22, 4), 2u);
  EXPECT_EQ(Le(b, 26, 2), 1u);
  EXPECT_EQ(Le(b, 28, 2), 24u);
  EXPECT_EQ(Le(b, 30, 4), 0u);
  EXPECT_EQ(Le(b, 34, 4), 24u);
  EXPECT_EQ(Le(b, 38, 4), 2835u);
  EXPECT_EQ(Le(b, 42, 4), 2835u);
  EXPECT_EQ(Slice(b, 46, 8), Bytes(8, 0));
  // The picture's second row (bytes 13..24) comes first, each pixel B, G, R.
  EXPECT_EQ(Slice(b, 54, 6), (Bytes{15, 14, 13, 18, 17, 16}));
  EXPECT_EQ(Slice(b, 66, 6), (Bytes{3, 2, 1, 6, 5, 4}));
}

TEST(BmpWriter, RowsArePaddedToFourBytes) {
  for (int width : {1, 2, 3, 5, 6, 7, 9}) {
    SCOPED_TRACE(width);
    PicturePtr picture = Picture_New("p", width, 2, 24);
    for (size_t i = 0; i < picture->pixels.size(); ++i) picture->pixels[i] = uint8_t(i + 1);
    PictureFile file = Bmp_Write(*picture);
    ASSERT_TRUE(file.ok()) << file.error;
    const size_t row = size_t(width) * 3, stride = (row + 3) / 4 * 4;
    ASSERT_EQ(file.bytes.size(), 54 + 2 * stride);
    EXPECT_EQ(Le(file.bytes, 34, 4), 2 * stride);
    EXPECT_EQ(Slice(file.bytes, 54 + row, stride - row), Bytes(stride - row, 0));
    EXPECT_EQ(file.bytes[54 + stride], 3u) << "the top row starts after the padding, blue first";
    Expect_Same_Picture(Bmp_Decode(file.bytes, "p.bmp").get(), *picture);
  }
}

TEST(MdrawWriter, HeaderPaletteAndPixelsAtTheirOffsets) {
  PicturePtr picture = Make_Picture(6, 2, 8, 5);
  PictureFile nc = Mdraw_Write(*picture, MdrawPacking::kPlain);
  ASSERT_TRUE(nc.ok());
  EXPECT_EQ(std::string(nc.bytes.begin(), nc.bytes.begin() + 50),
            "MDRAW 0005 0001 00FF NC" + std::string(27, ' '));
  EXPECT_EQ(Slice(nc.bytes, 50, 768), Slice(picture->palette, 0, 768));
  EXPECT_EQ(Slice(nc.bytes, 818, nc.bytes.size() - 818), picture->pixels);

  PictureFile fc = Mdraw_Write(*picture, MdrawPacking::kRunLength);
  ASSERT_TRUE(fc.ok());
  EXPECT_EQ(std::string(fc.bytes.begin(), fc.bytes.begin() + 23), "MDRAW 0005 0001 00FF FC");
  EXPECT_EQ(Slice(fc.bytes, 0, 818), [&] {
    Bytes head = Slice(nc.bytes, 0, 818);
    head[21] = 'F';
    return head;
  }());
  EXPECT_EQ(Slice(fc.bytes, 818, fc.bytes.size() - 818),
            Pack(1, picture->pixels.data(), picture->pixels.size()));

  PictureFile widest = Mdraw_Write(*Picture_New("p", 65536, 1, 8), MdrawPacking::kPlain);
  ASSERT_TRUE(widest.ok());
  EXPECT_EQ(std::string(widest.bytes.begin(), widest.bytes.begin() + 20), "MDRAW FFFF 0000 00FF");
  EXPECT_EQ(Mdraw_Decode(widest.bytes, "w.mtr")->width, 65536);
}

TEST(PictureWriters, RefuseWrongDepthsPackedPixelsAndOversizedSides) {
  PicturePtr rgb = Picture_New("p", 4, 4, 24);
  PicturePtr indexed = Picture_New("p", 4, 4, 8);
  EXPECT_EQ(Pcx_Write(*rgb).error, "the picture has 24 bits per pixel, not 8");
  EXPECT_EQ(Mdraw_Write(*rgb, MdrawPacking::kPlain).error, "the picture has 24 bits per pixel, not 8");
  EXPECT_EQ(Tga_Write(*indexed).error, "the picture has 8 bits per pixel, not 24");
  EXPECT_EQ(Bmp_Write(*indexed).error, "the picture has 8 bits per pixel, not 24");

  PicturePtr packed = Picture_New("p", 4, 4, 8);
  packed->pack_method = 1;
  EXPECT_EQ(Pcx_Write(*packed).error, "the picture holds no plain pixels");
  PicturePtr cut = Picture_New("p", 4, 4, 24);
  cut->pixels.pop_back();
  EXPECT_EQ(Tga_Write(*cut).error, "the picture holds no plain pixels");

  EXPECT_TRUE(Pcx_Write(*Picture_New("p", 65535, 1, 8)).ok());
  EXPECT_EQ(Pcx_Write(*Picture_New("p", 65536, 1, 8)).error,
            "the format holds at most 65535 x 65535 pixels, not 65536 x 1");
  EXPECT_TRUE(Tga_Write(*Picture_New("p", 1, 65535, 24)).ok());
  EXPECT_EQ(Tga_Write(*Picture_New("p", 1, 65536, 24)).error,
            "the format holds at most 65535 x 65535 pixels, not 1 x 65536");
  EXPECT_EQ(Mdraw_Write(*Picture_New("p", 1, 65537, 8), MdrawPacking::kRunLength).error,
            "the format holds at most 65536 x 65536 pixels, not 1 x 65537");
}

}  // namespace
