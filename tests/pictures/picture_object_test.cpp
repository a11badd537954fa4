// Picture objects: making, naming, unpacking, the RGB565
// table, conversion to 16 bits and resizing.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/pictures/picture_test_support.h"
#include "packing/packing_encode.h"
#include "pictures/picture.h"

namespace {

TEST(PictureNew, FieldsOfANewPicture) {
  PicturePtr p = Picture_New("pic.tga", 3, 2, 24);
  ASSERT_TRUE(p);
  EXPECT_EQ(p->name, "pic.tga");
  EXPECT_EQ(p->version, 1284);
  EXPECT_EQ(p->width, 3);
  EXPECT_EQ(p->height, 2);
  EXPECT_EQ(p->depth, 24);
  EXPECT_EQ(p->pack_method, 0);
  EXPECT_EQ(p->data_size, 18);
  EXPECT_EQ(p->pixels, std::vector<uint8_t>(18, 0));
  EXPECT_EQ(p->palette, std::vector<uint8_t>(768, 0));
  EXPECT_EQ(p->frame_count, 0);
  EXPECT_TRUE(p->frames.empty());
}

TEST(PictureNew, DepthIsRoundedUp) {
  const std::pair<int, int> cases[] = {{-3, 8},  {0, 8},   {1, 8},   {8, 8},   {9, 16},  {12, 16},
                                       {16, 16}, {17, 24}, {24, 24}, {25, 32}, {32, 32}, {99, 32}};
  for (auto [asked, made] : cases) {
    PicturePtr p = Picture_New("d", 2, 2, asked);
    ASSERT_TRUE(p) << asked;
    EXPECT_EQ(p->depth, made) << asked;
    EXPECT_EQ(p->data_size, 4 * made / 8) << asked;
    EXPECT_EQ(p->pixels.size(), size_t(4 * made / 8)) << asked;
  }
}

TEST(PictureNew, SizeMustBePositiveAndBounded) {
  EXPECT_FALSE(Picture_New("x", 0, 5, 8));
  EXPECT_FALSE(Picture_New("x", 5, 0, 8));
  EXPECT_FALSE(Picture_New("x", -1, 5, 8));
  EXPECT_FALSE(Picture_New("x", 65536, 65536, 32)) << "16 GiB is more than kPictureBytesMax";
  EXPECT_FALSE(Picture_New("x", INT32_MAX, INT32_MAX, 32));
  EXPECT_EQ(Picture_Plain_Size(4, 4, 12), 32u);
  EXPECT_EQ(Picture_Plain_Size(4, 4, 32), 64u);
  EXPECT_EQ(Picture_Plain_Size(0, 4, 8), 0u);
  EXPECT_EQ(Picture_Plain_Size(int(kPictureBytesMax / 4), 1, 32), kPictureBytesMax);
  EXPECT_EQ(Picture_Plain_Size(int(kPictureBytesMax / 4) + 1, 1, 32), 0u);
}

TEST(PictureName, TextAfterTheLastSeparatorCutTo255) {
  EXPECT_EQ(Picture_Name_From_Path("cursor1.pcx"), "cursor1.pcx");
  EXPECT_EQ(Picture_Name_From_Path("data/pics/cursor1.pcx"), "cursor1.pcx");
  EXPECT_EQ(Picture_Name_From_Path("D:\\data\\cursor1.pcx"), "cursor1.pcx");
  EXPECT_EQ(Picture_Name_From_Path("D:cursor1.pcx"), "cursor1.pcx");
  EXPECT_EQ(Picture_Name_From_Path("a/b\\c:d/e"), "e");
  EXPECT_EQ(Picture_Name_From_Path("dir/"), "");
  const std::string long_name(300, 'n');
  EXPECT_EQ(Picture_Name_From_Path("dir/" + long_name), std::string(255, 'n'));
  PicturePtr p = Picture_New("some/dir\\" + long_name, 1, 1, 8);
  ASSERT_TRUE(p);
  EXPECT_EQ(p->name, std::string(255, 'n'));
}

TEST(PictureFree, FreesAndIgnoresNull) {
  PicturePtr p = Picture_New("a", 1, 1, 8);
  Picture_Free(p);
  EXPECT_FALSE(p);
  Picture_Free(p);  // null: nothing
  // The other operations ignore a null picture.
  Picture_Unpack(nullptr);
  Picture_Palette_565(nullptr);
  Picture_To_16(nullptr);
  Picture_Resize(nullptr, 2, 2);
  uint16_t pixel = 7;
  Picture_Draw(nullptr, Screen16{&pixel, 1, 1}, 0, 0);
  EXPECT_EQ(pixel, 7);
}

PicturePtr Packed_8(int width, int height, int method, const std::vector<uint8_t>& plain) {
  PicturePtr p = Picture_New("packed", width, height, 8);
  p->pixels = Pack(method, plain.data(), plain.size());
  p->data_size = int(p->pixels.size());
  p->pack_method = method;
  return p;
}

TEST(PictureUnpack, EveryMethodDecodesInPlace) {
  std::vector<uint8_t> plain(64);
  for (size_t i = 0; i < plain.size(); ++i) plain[i] = uint8_t(i / 5 * 7);
  for (int method = 1; method <= 7; ++method) {
    PicturePtr p = Packed_8(8, 8, method, plain);
    Picture_Unpack(p.get());
    EXPECT_EQ(p->pack_method, 0) << method;
    EXPECT_EQ(p->data_size, 64) << method;
    EXPECT_EQ(p->pixels, plain) << method;
  }
}

TEST(PictureUnpack, RunLengthWorkedExample) {
  PicturePtr p = Picture_New("rle", 5, 1, 8);
  p->pixels = {0x02, 0x41, 0x81, 0x41, 0x42};
  p->data_size = 5;
  p->pack_method = 1;
  Picture_Unpack(p.get());
  EXPECT_EQ(p->pixels, (std::vector<uint8_t>{0x41, 0x41, 0x41, 0x41, 0x42}));
}

TEST(PictureUnpack, MethodSixSkipsOverZeros) {
  PicturePtr p = Picture_New("skip", 4, 2, 8);
  p->pixels = {0x40 | 3, 0x00, 0xAA, 0x40 | 2};  // skip 4, literal 1, skip 3
  p->pack_method = 6;
  Picture_Unpack(p.get());
  EXPECT_EQ(p->pixels, (std::vector<uint8_t>{0, 0, 0, 0, 0xAA, 0, 0, 0}));
}

TEST(PictureUnpack, ShortOrBadStreamsLeaveZerosNeverMore) {
  PicturePtr p = Picture_New("short", 4, 4, 8);
  p->pixels = {0x02, 0x41};  // three of sixteen bytes
  p->pack_method = 1;
  Picture_Unpack(p.get());
  std::vector<uint8_t> expected(16, 0);
  expected[0] = expected[1] = expected[2] = 0x41;
  EXPECT_EQ(p->pixels, expected);

  PicturePtr bad = Picture_New("bad", 2, 2, 8);
  bad->pixels = {1, 2, 3};
  bad->pack_method = 9;  // no such method
  Picture_Unpack(bad.get());
  EXPECT_EQ(bad->pack_method, 0);
  EXPECT_EQ(bad->pixels, std::vector<uint8_t>(4, 0));
}

TEST(PictureUnpack, PlainAndAnimatedPicturesAreLeftAlone) {
  PicturePtr plain = Picture_New("p", 2, 1, 8);
  plain->pixels = {5, 6};
  Picture_Unpack(plain.get());
  EXPECT_EQ(plain->pixels, (std::vector<uint8_t>{5, 6}));

  PicturePtr animated = Picture_New("a", 2, 2, 8);
  animated->pixels = {0x02, 0x41};
  animated->pack_method = 1;
  animated->frame_count = 3;
  Picture_Unpack(animated.get());
  EXPECT_EQ(animated->pack_method, 1);
  EXPECT_EQ(animated->pixels, (std::vector<uint8_t>{0x02, 0x41}));
}

TEST(PicturePalette565, GrowsTo1280WithTheTruncatingRule) {
  PicturePtr p = Picture_New("p", 1, 1, 8);
  p->palette[0] = 255, p->palette[1] = 255, p->palette[2] = 255;
  p->palette[3] = 7, p->palette[4] = 3, p->palette[5] = 7;
  p->palette[6] = 0x80, p->palette[7] = 0x40, p->palette[8] = 0x20;
  Picture_Palette_565(p.get());
  ASSERT_EQ(p->palette.size(), 1280u);
  auto entry = [&](int i) {
    return uint16_t(p->palette[size_t(768 + 2 * i)] | p->palette[size_t(769 + 2 * i)] << 8);
  };
  EXPECT_EQ(entry(0), 0xFFFF);
  EXPECT_EQ(entry(1), 0);
  EXPECT_EQ(entry(2), (0x80 >> 3) << 11 | (0x40 >> 2) << 5 | (0x20 >> 3));
  EXPECT_EQ(entry(255), 0);
  EXPECT_EQ(p->palette[0], 255) << "the RGB part stays";

  PicturePtr deep = Picture_New("d", 1, 1, 24);
  Picture_Palette_565(deep.get());
  EXPECT_EQ(deep->palette.size(), 768u) << "other depths: nothing";
}

TEST(PictureTo16, TwentyFourBitWhiteAndNearBlack) {
  PicturePtr p = Picture_New("p", 2, 1, 24);
  p->pixels = {255, 255, 255, 7, 3, 7};
  Picture_To_16(p.get());
  EXPECT_EQ(p->depth, 16);
  EXPECT_EQ(p->data_size, 4);
  ASSERT_EQ(p->pixels.size(), 4u);
  EXPECT_EQ(Pixel16(*p, 0, 0), 0xFFFF);
  EXPECT_EQ(Pixel16(*p, 1, 0), 0);
}

TEST(PictureTo16, ThirtyTwoBitIgnoresTheFourthByte) {
  PicturePtr p = Picture_New("p", 2, 1, 32);
  p->pixels = {0xF8, 0x00, 0x00, 0x55, 0x00, 0xFC, 0x1F, 0xFF};
  Picture_To_16(p.get());
  EXPECT_EQ(p->depth, 16);
  EXPECT_EQ(Pixel16(*p, 0, 0), 0xF800);
  EXPECT_EQ(Pixel16(*p, 1, 0), 0x07E3);  // green 0xFC -> 63, blue 0x1F -> 3
}

TEST(PictureTo16, EightBitThroughThePaletteEvenWhenPacked) {
  std::vector<uint8_t> plain = {0, 1, 1, 2, 2, 2};
  PicturePtr p = Packed_8(3, 2, 1, plain);
  p->palette[3] = 255, p->palette[4] = 0, p->palette[5] = 0;
  p->palette[6] = 0, p->palette[7] = 0, p->palette[8] = 255;
  Picture_To_16(p.get());
  EXPECT_EQ(p->depth, 16);
  EXPECT_EQ(p->pack_method, 0);
  EXPECT_EQ(p->data_size, 12);
  EXPECT_EQ(p->palette.size(), 1280u);
  EXPECT_EQ(Pixel16(*p, 0, 0), 0);
  EXPECT_EQ(Pixel16(*p, 1, 0), 0xF800);
  EXPECT_EQ(Pixel16(*p, 0, 1), 0x001F);
  EXPECT_EQ(Pixel16(*p, 2, 1), 0x001F);
}

TEST(PictureTo16, SixteenBitKeepsItsPixels) {
  PicturePtr p = Picture_New("p", 2, 1, 16);
  p->pixels = {0x34, 0x12, 0x78, 0x56};
  Picture_To_16(p.get());
  EXPECT_EQ(p->pixels, (std::vector<uint8_t>{0x34, 0x12, 0x78, 0x56}));
  EXPECT_EQ(p->depth, 16);
}

TEST(PictureTo16, BrokenPicturesAreLeftAsTheyAre) {
  Picture odd;  // made by hand with too few pixels for its size
  odd.width = 4, odd.height = 4, odd.depth = 24;
  odd.pixels.assign(5, 9);
  Picture_To_16(&odd);
  EXPECT_EQ(odd.depth, 24);
  EXPECT_EQ(odd.pixels.size(), 5u);
  Picture weird;
  weird.width = 1, weird.height = 1, weird.depth = 12;
  weird.pixels.assign(8, 1);
  Picture_To_16(&weird);
  EXPECT_EQ(weird.depth, 12);
}

TEST(PictureResize, FourByFourToTwoByTwoKeepsRowsAndColumnsZeroAndTwo) {
  for (int depth : {8, 16, 24, 32}) {
    PicturePtr p = Picture_New("p", 4, 4, depth);
    const size_t bytes = size_t(depth / 8);
    for (size_t i = 0; i < p->pixels.size(); ++i) p->pixels[i] = uint8_t(i / bytes * 16 + i % bytes);
    PicturePtr original = Picture_New("o", 4, 4, depth);
    original->pixels = p->pixels;
    Picture_Resize(p.get(), 2, 2);
    EXPECT_EQ(p->width, 2);
    EXPECT_EQ(p->height, 2);
    EXPECT_EQ(p->data_size, int(4 * bytes));
    ASSERT_EQ(p->pixels.size(), 4 * bytes);
    for (int i = 0; i < 2; ++i)
      for (int j = 0; j < 2; ++j)
        EXPECT_EQ(Pixel_Bytes(*p, j, i), Pixel_Bytes(*original, 2 * j, 2 * i)) << depth;
  }
}

TEST(PictureResize, EnlargingRepeatsAndOddStepsUseTheEightEightRule) {
  PicturePtr p = Picture_New("p", 2, 1, 8);
  p->pixels = {10, 20};
  Picture_Resize(p.get(), 5, 2);
  // step_x = 2 * 256 / 5 = 102: columns 0, 0, 0, 1, 1; step_y = 128: rows 0, 0.
  EXPECT_EQ(p->pixels, (std::vector<uint8_t>{10, 10, 10, 20, 20, 10, 10, 10, 20, 20}));

  PicturePtr q = Picture_New("q", 3, 1, 8);
  q->pixels = {1, 2, 3};
  Picture_Resize(q.get(), 2, 1);  // step 384: columns 0 and 1
  EXPECT_EQ(q->pixels, (std::vector<uint8_t>{1, 2}));
}

TEST(PictureResize, UnpacksFirstAndRefusesImpossibleSizes) {
  PicturePtr p = Packed_8(2, 2, 1, {1, 2, 3, 4});
  Picture_Resize(p.get(), 1, 1);
  EXPECT_EQ(p->pack_method, 0);
  EXPECT_EQ(p->pixels, (std::vector<uint8_t>{1}));
  Picture_Resize(p.get(), 0, 3);
  Picture_Resize(p.get(), 3, -1);
  Picture_Resize(p.get(), 1 << 30, 1 << 30);
  EXPECT_EQ(p->width, 1);
  EXPECT_EQ(p->height, 1);
  EXPECT_EQ(p->pixels.size(), 1u);
}

}  // namespace
