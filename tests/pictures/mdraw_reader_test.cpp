// The MDRAW reader.
#include <gtest/gtest.h>

#include "tests/pictures/picture_test_support.h"
#include "packing/packing_encode.h"
#include "pictures/picture_readers.h"
#include "platform/wendax.h"

namespace {

std::vector<uint8_t> Pixels(size_t count) {
  std::vector<uint8_t> p(count);
  for (size_t i = 0; i < count; ++i) p[i] = uint8_t(i * 37 + 5);
  return p;
}

TEST(MdrawReader, PlainPicture) {
  const auto palette = Test_Palette();
  const auto pixels = Pixels(3 * 2);
  PicturePtr p = Read_From_Memory(Mdraw_Read, "dir/sheet.mtr", Make_Mdraw(3, 2, "NC", palette, pixels));
  ASSERT_TRUE(p);
  EXPECT_EQ(p->name, "sheet.mtr");
  EXPECT_EQ(p->width, 3);
  EXPECT_EQ(p->height, 2);
  EXPECT_EQ(p->depth, 8);
  EXPECT_EQ(p->pack_method, 0);
  EXPECT_EQ(p->data_size, 6);
  EXPECT_EQ(p->pixels, pixels);
  EXPECT_EQ(p->palette, palette);
  EXPECT_EQ(p->version, 1284);
  EXPECT_EQ(p->frame_count, 0);
}

TEST(MdrawReader, PackedPictureStaysPackedUntilConverted) {
  const auto pixels = Pixels(40 * 3);
  const auto packed = Pack(1, pixels.data(), pixels.size());
  const auto file = Make_Mdraw(40, 3, "FC", Test_Palette(), packed);
  PicturePtr p = Read_From_Memory(Mdraw_Read, "a.mtr", file);
  ASSERT_TRUE(p);
  EXPECT_EQ(p->pack_method, 1);
  EXPECT_EQ(p->data_size, int(file.size() - 818));
  EXPECT_EQ(p->pixels, packed);
  Picture_Unpack(p.get());
  EXPECT_EQ(p->pack_method, 0);
  EXPECT_EQ(p->pixels, pixels);
}

TEST(MdrawReader, PlainDataBeyondThePictureIsNotKept) {
  auto pixels = Pixels(4);
  pixels.push_back(0xEE);
  PicturePtr p = Read_From_Memory(Mdraw_Read, "a.mtr", Make_Mdraw(2, 2, "NC", Test_Palette(), pixels));
  ASSERT_TRUE(p);
  EXPECT_EQ(p->data_size, 4);
  EXPECT_EQ(p->pixels, Pixels(4));
}

TEST(MdrawReader, HexadecimalSizesAndCaseIgnored) {
  // "000f" -> 16 wide; "00G1": reading stops at 'G' -> 0 -> 1 high.
  Bytes b;
  b.Text("mdraw 000f.00G1.00ff.fc").Fill(27, 0).Append(Test_Palette());
  const auto pixels = Pixels(16);
  b.Append(Pack(1, pixels.data(), pixels.size()));
  PicturePtr p = Read_From_Memory(Mdraw_Read, "a.mtr", b.data);
  ASSERT_TRUE(p);
  EXPECT_EQ(p->width, 16);
  EXPECT_EQ(p->height, 1);
  EXPECT_EQ(p->pack_method, 1);
  Picture_To_16(p.get());
  EXPECT_EQ(p->data_size, 32);
}

TEST(MdrawReader, AnyOtherPackTextIsPlain) {
  const auto pixels = Pixels(4);
  PicturePtr p = Read_From_Memory(Mdraw_Read, "a.mtr", Make_Mdraw(2, 2, "XY", Test_Palette(), pixels));
  ASSERT_TRUE(p);
  EXPECT_EQ(p->pack_method, 0);
  EXPECT_EQ(p->pixels, pixels);
}

TEST(MdrawReader, Refusals) {
  const auto palette = Test_Palette();
  const auto pixels = Pixels(4);
  EXPECT_FALSE(Read_From_Memory(Mdraw_Read, "a.mtr", Make_Mdraw(2, 2, "NC", palette, pixels, "MDRAX ")));
  EXPECT_FALSE(Read_From_Memory(Mdraw_Read, "a.mtr", Make_Mdraw(2, 2, "NC", palette, pixels, "MDRAW_")))
      << "the sixth byte is a blank";
  EXPECT_FALSE(
      Read_From_Memory(Mdraw_Read, "a.mtr", Make_Mdraw(2, 2, "NC", palette, pixels, "MDRAW ", "0018")));
  EXPECT_FALSE(
      Read_From_Memory(Mdraw_Read, "a.mtr", Make_Mdraw(2, 2, "NC", palette, pixels, "MDRAW ", "FFFF")));
  EXPECT_FALSE(Read_From_Memory(Mdraw_Read, "missing.mtr", {}));
  Wendax wx;
  EXPECT_FALSE(Mdraw_Read(wx, "nowhere.mtr"));
  // Plain data shorter than the picture, and packed data that cannot hold it.
  EXPECT_FALSE(Read_From_Memory(Mdraw_Read, "a.mtr", Make_Mdraw(2, 2, "NC", palette, Pixels(3))));
  EXPECT_FALSE(Read_From_Memory(Mdraw_Read, "a.mtr", Make_Mdraw(4096, 4096, "FC", palette, {0x7F, 1})));
}

TEST(MdrawReader, TruncatedAtEveryLength) {
  const auto file = Make_Mdraw(5, 4, "NC", Test_Palette(), Pixels(20));
  ASSERT_TRUE(Read_From_Memory(Mdraw_Read, "a.mtr", file));
  for (size_t n = 0; n < file.size(); ++n)
    EXPECT_FALSE(Read_From_Memory(Mdraw_Read, "a.mtr", Prefix(file, n))) << n;
}

TEST(MdrawReader, PackedTruncatedAtEveryLengthGivesAPartialPictureAtMost) {
  const auto pixels = Pixels(30 * 5);
  const auto file = Make_Mdraw(30, 5, "FC", Test_Palette(), Pack(1, pixels.data(), pixels.size()));
  for (size_t n = 0; n <= file.size(); ++n) {
    PicturePtr p = Read_From_Memory(Mdraw_Read, "a.mtr", Prefix(file, n));
    if (n < 818) {
      EXPECT_FALSE(p) << n;
      continue;
    }
    if (!p) continue;  // refused: the data cannot hold the picture
    EXPECT_TRUE(Consistent(*p)) << n;
    Picture_To_16(p.get());
    ASSERT_EQ(p->pixels.size(), 300u) << n;
    EXPECT_TRUE(Consistent(*p)) << n;
  }
}

}  // namespace
