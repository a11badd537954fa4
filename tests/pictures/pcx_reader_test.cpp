// The PCX reader.
#include <gtest/gtest.h>

#include "tests/pictures/picture_test_support.h"
#include "pictures/picture_readers.h"

namespace {

PicturePtr Read_Pcx(const std::vector<uint8_t>& file) { return Read_From_Memory(Pcx_Read, "pic.pcx", file); }

TEST(PcxReader, EscapeBytesC0AndC1) {
  // 0xC0 is one pixel 0xC0; 0xC1 0x07 is one pixel 7; 0xC3 0x09 three 9s.
  const auto palette = Test_Palette();
  PicturePtr p = Read_Pcx(Make_Pcx(3, 2, {0xC0, 0xC1, 0x07, 0x05, 0xC3, 0x09}, palette));
  ASSERT_TRUE(p);
  EXPECT_EQ(p->name, "pic.pcx");
  EXPECT_EQ(p->width, 3);
  EXPECT_EQ(p->height, 2);
  EXPECT_EQ(p->depth, 8);
  EXPECT_EQ(p->pack_method, 0);
  EXPECT_EQ(p->data_size, 6);
  EXPECT_EQ(p->pixels, (std::vector<uint8_t>{0xC0, 0x07, 0x05, 0x09, 0x09, 0x09}));
  EXPECT_EQ(p->palette, palette);
}

TEST(PcxReader, RunsCrossRowsAndStopAtThePicturesEnd) {
  // Rows are exactly `width` bytes: a run of 5 fills row 0 and starts row 1;
  // the last run is cut at width x height and the bytes after it are unused.
  PicturePtr p = Read_Pcx(Make_Pcx(3, 2, {0xC5, 0x21, 0xC9, 0x22, 0x01, 0x02}, Test_Palette()));
  ASSERT_TRUE(p);
  EXPECT_EQ(p->pixels, (std::vector<uint8_t>{0x21, 0x21, 0x21, 0x21, 0x21, 0x22}));
}

TEST(PcxReader, WindowOffsetsGiveTheSize) {
  PcxHeader h;
  h.xmin = 10, h.ymin = 20;
  PicturePtr p = Read_Pcx(Make_Pcx(2, 3, {0xC6, 0x01}, Test_Palette(), h));
  ASSERT_TRUE(p);
  EXPECT_EQ(p->width, 2);
  EXPECT_EQ(p->height, 3);
}

TEST(PcxReader, EncodingZeroIsPlain) {
  PcxHeader h;
  h.encoding = 0;
  PicturePtr p = Read_Pcx(Make_Pcx(2, 2, {0xC5, 0xFF, 0x01, 0x02}, Test_Palette(), h));
  ASSERT_TRUE(p);
  EXPECT_EQ(p->pixels, (std::vector<uint8_t>{0xC5, 0xFF, 0x01, 0x02}));
}

TEST(PcxReader, Refusals) {
  const auto palette = Test_Palette();
  const std::vector<uint8_t> image = {0xC4, 0x01};
  PcxHeader h;
  h.version = 3;
  EXPECT_FALSE(Read_Pcx(Make_Pcx(2, 2, image, palette, h)));
  h = {}, h.bits = 4;
  EXPECT_FALSE(Read_Pcx(Make_Pcx(2, 2, image, palette, h)));
  h = {}, h.bits = 1;
  EXPECT_FALSE(Read_Pcx(Make_Pcx(2, 2, image, palette, h)));
  h = {}, h.planes = 3;
  EXPECT_FALSE(Read_Pcx(Make_Pcx(2, 2, image, palette, h)));
  // No 12 before the palette.
  auto no_mark = Make_Pcx(2, 2, image, palette);
  no_mark[no_mark.size() - 769] = 0x0A;
  EXPECT_FALSE(Read_Pcx(no_mark));
  // xmax < xmin: no size.
  h = {}, h.xmin = 5;
  EXPECT_FALSE(Read_Pcx(Make_Pcx(-4, 2, image, palette, h)));
  // Image data that cannot fill the picture: short runs, a run without its
  // value, a plain image too short.
  EXPECT_FALSE(Read_Pcx(Make_Pcx(2, 2, {0xC3, 0x01}, palette)));
  EXPECT_FALSE(Read_Pcx(Make_Pcx(2, 2, {0x01, 0x01, 0x01, 0xC2}, palette)));
  h = {}, h.encoding = 0;
  EXPECT_FALSE(Read_Pcx(Make_Pcx(2, 2, {1, 2, 3}, palette, h)));
  // A header claiming a huge picture over a few bytes is refused before
  // anything that size is made.
  EXPECT_FALSE(Read_Pcx(Make_Pcx(65535, 65535, image, palette)));
  // Files too short for header and trailer.
  EXPECT_FALSE(Read_Pcx({}));
  EXPECT_FALSE(Read_Pcx(Prefix(Make_Pcx(2, 2, image, palette), 128)));
}

TEST(PcxReader, TruncatedAtEveryLength) {
  std::vector<uint8_t> image;
  for (int i = 0; i < 20; ++i) image.insert(image.end(), {uint8_t(0xC3), uint8_t(i + 20)});
  const auto file = Make_Pcx(6, 10, image, Test_Palette());
  ASSERT_TRUE(Read_Pcx(file));
  for (size_t n = 0; n < file.size(); ++n) EXPECT_FALSE(Read_Pcx(Prefix(file, n))) << n;
}

}  // namespace
