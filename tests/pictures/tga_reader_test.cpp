// The TGA reader.
#include <gtest/gtest.h>

#include "tests/pictures/picture_test_support.h"
#include "pictures/picture_readers.h"

namespace {

PicturePtr Read_Tga(const std::vector<uint8_t>& file) { return Read_From_Memory(Tga_Read, "pic.tga", file); }

// Pixel (x, y) of a 2 x 2 24-bit picture as B, G, R in the file.
std::vector<uint8_t> Bgr_Rows(bool bottom_up) {
  // Picture rows top to bottom: (1,2,3) (4,5,6) / (7,8,9) (10,11,12) as R,G,B.
  std::vector<uint8_t> top = {3, 2, 1, 6, 5, 4}, bottom = {9, 8, 7, 12, 11, 10};
  std::vector<uint8_t> rows = bottom_up ? bottom : top;
  const auto& second = bottom_up ? top : bottom;
  rows.insert(rows.end(), second.begin(), second.end());
  return rows;
}

const std::vector<uint8_t> kRgbTopDown = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};

TEST(TgaReader, BottomUpTwentyFourBitComesBackTopRowFirstInRgb) {
  TgaHeader h;
  h.descriptor = 0;  // bit 5 clear: bottom to top
  PicturePtr p = Read_Tga(Make_Tga(2, 2, {}, Bgr_Rows(true), h));
  ASSERT_TRUE(p);
  EXPECT_EQ(p->name, "pic.tga");
  EXPECT_EQ(p->depth, 24);
  EXPECT_EQ(p->data_size, 12);
  EXPECT_EQ(p->pixels, kRgbTopDown);
}

TEST(TgaReader, TopDownWhenBitFiveIsSet) {
  TgaHeader h;
  h.descriptor = 0x28;  // bit 5 set, 8 alpha bits noted
  PicturePtr p = Read_Tga(Make_Tga(2, 2, {}, Bgr_Rows(false), h));
  ASSERT_TRUE(p);
  EXPECT_EQ(p->pixels, kRgbTopDown);
}

TEST(TgaReader, OddRowCountReversesAroundTheMiddle) {
  TgaHeader h;
  h.depth = 8, h.descriptor = 0, h.type = 1;
  h.map_length = 256, h.map_entry_bits = 24;
  PicturePtr p = Read_Tga(Make_Tga(1, 3, std::vector<uint8_t>(768, 0), {1, 2, 3}, h));
  ASSERT_TRUE(p);
  EXPECT_EQ(p->pixels, (std::vector<uint8_t>{3, 2, 1}));
}

TEST(TgaReader, ThirtyTwoBitBecomesTwentyFourBit) {
  TgaHeader h;
  h.depth = 32, h.descriptor = 0x08;  // bottom-up
  // File rows bottom first: B, G, R, A.
  std::vector<uint8_t> rows = {9, 8, 7, 0xAA, 12, 11, 10, 0xBB, 3, 2, 1, 0xCC, 6, 5, 4, 0xDD};
  PicturePtr p = Read_Tga(Make_Tga(2, 2, {}, rows, h));
  ASSERT_TRUE(p);
  EXPECT_EQ(p->depth, 24);
  EXPECT_EQ(p->data_size, 12);
  EXPECT_EQ(p->pixels, kRgbTopDown);
}

TEST(TgaReader, SixteenBitRgb555ToRgb565) {
  TgaHeader h;
  h.depth = 16;
  Bytes rows;
  rows.U16_Le(0x7FFF).U16_Le(0x001F).U16_Le(0x03E0).U16_Le(0xFC00);
  PicturePtr p = Read_Tga(Make_Tga(4, 1, {}, rows.data, h));
  ASSERT_TRUE(p);
  EXPECT_EQ(p->depth, 16);
  EXPECT_EQ(Pixel16(*p, 0, 0), 0xFFDF);
  EXPECT_EQ(Pixel16(*p, 1, 0), 0x001F);
  EXPECT_EQ(Pixel16(*p, 2, 0), 0x07C0);
  EXPECT_EQ(Pixel16(*p, 3, 0), 0xF800) << "bit 15 falls off";
}

TEST(TgaReader, ColourMappedEightBitWithIdentificationField) {
  TgaHeader h;
  h.type = 1, h.depth = 8, h.id = "made by a test";
  h.map_length = 3, h.map_entry_bits = 24;
  PicturePtr p = Read_Tga(Make_Tga(3, 1, {30, 20, 10, 60, 50, 40, 90, 80, 70}, {2, 0, 1}, h));
  ASSERT_TRUE(p);
  EXPECT_EQ(p->depth, 8);
  EXPECT_EQ(p->pixels, (std::vector<uint8_t>{2, 0, 1}));
  ASSERT_EQ(p->palette.size(), 768u);
  EXPECT_EQ((std::vector<uint8_t>(p->palette.begin(), p->palette.begin() + 9)),
            (std::vector<uint8_t>{10, 20, 30, 40, 50, 60, 70, 80, 90}));
  Picture_To_16(p.get());
  EXPECT_EQ(Pixel16(*p, 1, 0), (10 >> 3) << 11 | (20 >> 2) << 5 | (30 >> 3));
}

TEST(TgaReader, LargeColourMapsAreKept) {
  TgaHeader h;
  h.type = 1, h.depth = 8, h.map_length = 300, h.map_entry_bits = 24;
  std::vector<uint8_t> map(900, 0x11);
  map[0] = 1, map[2] = 3;
  PicturePtr p = Read_Tga(Make_Tga(1, 1, map, {0}, h));
  ASSERT_TRUE(p);
  EXPECT_EQ(p->palette.size(), 900u);
  EXPECT_EQ(p->palette[0], 3);
  EXPECT_EQ(p->palette[2], 1);
}

TEST(TgaReader, RunLengthPackets) {
  TgaHeader h;
  h.type = 10;
  // A run of 3 of (B=1,G=2,R=3), then 2 raw pixels, into a 5 x 1 picture.
  std::vector<uint8_t> data = {0x82, 1, 2, 3, 0x01, 4, 5, 6, 7, 8, 9};
  PicturePtr p = Read_Tga(Make_Tga(5, 1, {}, data, h));
  ASSERT_TRUE(p);
  EXPECT_EQ(p->pixels, (std::vector<uint8_t>{3, 2, 1, 3, 2, 1, 3, 2, 1, 6, 5, 4, 9, 8, 7}));
}

TEST(TgaReader, PacketsRunAcrossRowsAndAreCutAtTheEnd) {
  TgaHeader h;
  h.type = 9, h.depth = 8, h.descriptor = 0;
  // 2 x 2: a run of 3 (value 5) and a raw packet of 4 whose last 3 are unused.
  PicturePtr p = Read_Tga(Make_Tga(2, 2, {}, {0x82, 5, 0x03, 6, 7, 8, 9}, h));
  ASSERT_TRUE(p);
  EXPECT_EQ(p->pixels, (std::vector<uint8_t>{5, 6, 5, 5})) << "then bottom-up reversed";
  PicturePtr q = Read_Tga(Make_Tga(2, 2, {}, {0x82, 5, 0x83, 6}, h));
  ASSERT_TRUE(q);
  EXPECT_EQ(q->pixels, (std::vector<uint8_t>{5, 6, 5, 5}));
  // A raw packet cut off by the end of the data before the picture is full.
  PicturePtr r = Read_Tga(Make_Tga(2, 2, {}, {0x82, 5}, h));
  EXPECT_FALSE(r);
}

TEST(TgaReader, Refusals) {
  const std::vector<uint8_t> pixels(12, 1);
  for (int type : {0, 3, 11, 32, 33}) {
    TgaHeader h;
    h.type = type;
    EXPECT_FALSE(Read_Tga(Make_Tga(2, 2, {}, pixels, h))) << type;
  }
  for (int depth : {1, 4, 15, 7, 31, 48}) {
    TgaHeader h;
    h.depth = depth;
    EXPECT_FALSE(Read_Tga(Make_Tga(2, 2, {}, std::vector<uint8_t>(24, 1), h))) << depth;
  }
  EXPECT_FALSE(Read_Tga(Make_Tga(0, 2, {}, pixels, {})));
  EXPECT_FALSE(Read_Tga(Make_Tga(2, 0, {}, pixels, {})));
  EXPECT_FALSE(Read_Tga(Make_Tga(2, 2, {}, std::vector<uint8_t>(11, 1), {}))) << "short pixels";
  TgaHeader h;
  h.map_length = 1000, h.map_entry_bits = 24;
  EXPECT_FALSE(Read_Tga(Make_Tga(2, 2, {}, pixels, h))) << "colour map past the end";
  h = {}, h.type = 10;
  EXPECT_FALSE(Read_Tga(Make_Tga(65535, 65535, {}, {0xFF, 1, 2, 3}, h))) << "huge over a few bytes";
  EXPECT_FALSE(Read_Tga({}));
}

TEST(TgaReader, TruncatedAtEveryLength) {
  for (int type : {2, 10}) {
    TgaHeader h;
    h.type = type, h.descriptor = 0, h.id = "id";
    std::vector<uint8_t> data;
    if (type == 2) {
      data = Bgr_Rows(true);
    } else {
      data = {0x81, 1, 2, 3, 0x01, 4, 5, 6, 7, 8, 9};
    }
    const auto file = Make_Tga(2, 2, {}, data, h);
    ASSERT_TRUE(Read_Tga(file)) << type;
    for (size_t n = 0; n < file.size(); ++n) EXPECT_FALSE(Read_Tga(Prefix(file, n))) << type << " " << n;
  }
}

}  // namespace
