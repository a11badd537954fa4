// The BMP reader.
#include <gtest/gtest.h>

#include "tests/pictures/picture_test_support.h"
#include "pictures/picture_readers.h"

namespace {

PicturePtr Read_Bmp(const std::vector<uint8_t>& file) { return Read_From_Memory(Bmp_Read, "pic.bmp", file); }

TEST(BmpReader, SixteenBit7FFFBecomesFFDF) {
  BmpHeader h;
  h.bits = 16;
  Bytes rows;
  rows.U16_Le(0x7FFF).U16_Le(0x001F);  // the one row
  PicturePtr p = Read_Bmp(Make_Bmp(2, 1, {}, rows.data, h));
  ASSERT_TRUE(p);
  EXPECT_EQ(p->name, "pic.bmp");
  EXPECT_EQ(p->depth, 16);
  EXPECT_EQ(p->data_size, 4);
  EXPECT_EQ(Pixel16(*p, 0, 0), 0xFFDF);
  EXPECT_EQ(Pixel16(*p, 1, 0), 0x001F);
}

TEST(BmpReader, TwentyFourBitBottomUpToRgbTopDown) {
  // File rows bottom first, B, G, R, each padded to 4 bytes (the last may
  // end the file unpadded).
  PicturePtr p = Read_Bmp(Make_Bmp(1, 3, {}, {30, 20, 10, 0, 60, 50, 40, 0, 90, 80, 70}));
  ASSERT_TRUE(p);
  EXPECT_EQ(p->depth, 24);
  EXPECT_EQ(p->width, 1);
  EXPECT_EQ(p->height, 3);
  EXPECT_EQ(p->pixels, (std::vector<uint8_t>{70, 80, 90, 40, 50, 60, 10, 20, 30}));
}

TEST(BmpReader, EightBitPaletteAfterTheHeaders) {
  std::vector<uint8_t> bgrx(1024, 0);
  bgrx[4] = 3, bgrx[5] = 2, bgrx[6] = 1, bgrx[7] = 0xEE;  // entry 1: R 1, G 2, B 3
  bgrx[1020] = 0xFF;                                      // entry 255: B 255
  // 2 x 2, rows bottom first.
  PicturePtr p = Read_Bmp(Make_Bmp(2, 2, bgrx, {1, 255, 0, 0, 0, 1}, {"BM", 8, 0}));
  ASSERT_TRUE(p);
  EXPECT_EQ(p->depth, 8);
  EXPECT_EQ(p->pixels, (std::vector<uint8_t>{0, 1, 1, 255}));
  EXPECT_EQ(p->palette[3], 1);
  EXPECT_EQ(p->palette[4], 2);
  EXPECT_EQ(p->palette[5], 3);
  EXPECT_EQ(p->palette[765], 0);
  EXPECT_EQ(p->palette[767], 255);
  EXPECT_EQ(p->palette.size(), 768u);
}

TEST(BmpReader, RowsStartAtTheDataOffset) {
  // Width 1, 24 bits: 4-byte rows. An offset past the headers skips a gap;
  // one inside the headers or past the file means "right after the headers".
  auto file = Make_Bmp(1, 2, {}, {9, 9, 1, 2, 3, 0, 4, 5, 6});
  file[10] = 56;
  PicturePtr p = Read_Bmp(file);
  ASSERT_TRUE(p);
  EXPECT_EQ(p->pixels, (std::vector<uint8_t>{6, 5, 4, 3, 2, 1}));
  for (uint8_t offset : {0, 53, 0xFF}) {
    SCOPED_TRACE(int(offset));
    file = Make_Bmp(1, 2, {}, {1, 2, 3, 0, 4, 5, 6});
    file[10] = offset;
    file[11] = offset == 0xFF ? 0x03 : 0;  // 1023: past the end
    p = Read_Bmp(file);
    ASSERT_TRUE(p);
    EXPECT_EQ(p->pixels, (std::vector<uint8_t>{6, 5, 4, 3, 2, 1}));
  }
  file = Make_Bmp(1, 2, {}, {9, 9, 1, 2, 3, 0, 4, 5});
  file[10] = 56;
  EXPECT_FALSE(Read_Bmp(file)) << "the last row runs past the end";
}

TEST(BmpReader, Refusals) {
  const std::vector<uint8_t> rows(12, 7);
  EXPECT_FALSE(Read_Bmp(Make_Bmp(2, 2, {}, rows, {"BA", 24, 0})));
  EXPECT_FALSE(Read_Bmp(Make_Bmp(2, 2, {}, rows, {"bm", 24, 0}))) << "the signature is the bytes BM";
  for (uint32_t compression : {1u, 2u, 3u})
    EXPECT_FALSE(Read_Bmp(Make_Bmp(2, 2, {}, rows, {"BM", 24, compression}))) << compression;
  for (int bits : {1, 4, 32, 0, 15})
    EXPECT_FALSE(
        Read_Bmp(Make_Bmp(2, 2, std::vector<uint8_t>(1024, 0), std::vector<uint8_t>(16, 0), {"BM", bits, 0})))
        << bits;
  EXPECT_FALSE(Read_Bmp(Make_Bmp(2, -2, {}, rows))) << "top-down files have no positive height";
  EXPECT_FALSE(Read_Bmp(Make_Bmp(0, 2, {}, rows)));
  EXPECT_FALSE(Read_Bmp(Make_Bmp(2, 2, {}, std::vector<uint8_t>(11, 7)))) << "short rows";
  EXPECT_FALSE(Read_Bmp(Make_Bmp(2, 2, std::vector<uint8_t>(1000, 0), {}, {"BM", 8, 0}))) << "short palette";
  EXPECT_FALSE(Read_Bmp(Make_Bmp(100000, 100000, {}, rows))) << "huge over a few bytes";
  EXPECT_FALSE(Read_Bmp({}));
}

TEST(BmpReader, TruncatedAtEveryLength) {
  std::vector<uint8_t> bgrx(1024);
  for (size_t i = 0; i < bgrx.size(); ++i) bgrx[i] = uint8_t(i);
  const auto file = Make_Bmp(3, 2, bgrx, {1, 2, 3, 0, 4, 5, 6}, {"BM", 8, 0});
  ASSERT_TRUE(Read_Bmp(file));
  for (size_t n = 0; n < file.size(); ++n) EXPECT_FALSE(Read_Bmp(Prefix(file, n))) << n;
}

}  // namespace
