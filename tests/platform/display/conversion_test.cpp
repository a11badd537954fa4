// The conversion tables and the palette cube.
#include <gtest/gtest.h>

#include "platform/display/conversion_table.h"
#include "platform/display/palette_cube.h"

namespace {

TEST(ConversionTable, FifteenBitsDropsTheLowestGreenBit) {
  EXPECT_EQ(Convert_To_555(0x0000), 0x0000u);
  EXPECT_EQ(Convert_To_555(0xFFFF), 0x7FFFu);
  EXPECT_EQ(Convert_To_555(0xF800), 0x7C00u);
  EXPECT_EQ(Convert_To_555(0x07E0), 0x03E0u);
  EXPECT_EQ(Convert_To_555(0x0020), 0x0000u);
  EXPECT_EQ(Convert_To_555(0x0040), 0x0020u);
  EXPECT_EQ(Convert_To_555(0x001F), 0x001Fu);
  EXPECT_EQ(Convert_To_555(0x8410), 0x4210u);
}

TEST(ConversionTable, TwentyFourAndThirtyTwoBitsPlaceTheFieldsHigh) {
  EXPECT_EQ(Convert_To_888(0x0000), 0x000000u);
  EXPECT_EQ(Convert_To_888(0xFFFF), 0xF8FCF8u);
  EXPECT_EQ(Convert_To_888(0xF800), 0xF80000u);
  EXPECT_EQ(Convert_To_888(0x07E0), 0x00FC00u);
  EXPECT_EQ(Convert_To_888(0x001F), 0x0000F8u);
  EXPECT_EQ(Convert_To_888(0x0821), 0x080408u);  // the lowest bit of each field
}

TEST(ConversionTable, TablesPerDepth) {
  EXPECT_TRUE(Conversion_Table(16).empty());
  EXPECT_TRUE(Conversion_Table(12).empty());
  std::vector<uint32_t> t8 = Conversion_Table(8), t15 = Conversion_Table(15);
  std::vector<uint32_t> t24 = Conversion_Table(24), t32 = Conversion_Table(32);
  ASSERT_EQ(t8.size(), 65536u);
  ASSERT_EQ(t15.size(), 65536u);
  ASSERT_EQ(t24.size(), 65536u);
  ASSERT_EQ(t32.size(), 65536u);
  int wrong = 0;
  for (uint32_t p = 0; p < 65536; ++p) {
    uint16_t px = uint16_t(p);
    if (t8[p] != Palette_Index(px) || t15[p] != Convert_To_555(px)) ++wrong;
    if (t24[p] != Convert_To_888(px) || t32[p] != t24[p]) ++wrong;
    if (t8[p] > 251) ++wrong;  // always inside the cube
  }
  EXPECT_EQ(wrong, 0);
}

TEST(PaletteCube, IndexFormulaUsesIntegerDivisions) {
  EXPECT_EQ(Palette_Index(0x0000), 0);
  // r5 = 6: 240/255 = 0; r5 = 7: 280/255 = 1.
  EXPECT_EQ(Palette_Index(6 << 11), 0);
  EXPECT_EQ(Palette_Index(7 << 11), 42);
  // g6 = 10: 240/255 = 0; g6 = 11: 264/255 = 1.
  EXPECT_EQ(Palette_Index(10 << 5), 0);
  EXPECT_EQ(Palette_Index(11 << 5), 6);
  // b5 = 7 gives 1, b5 = 31 gives 4.
  EXPECT_EQ(Palette_Index(7), 1);
  EXPECT_EQ(Palette_Index(31), 4);
  EXPECT_EQ(Palette_Index(0xFFFF), 202);
}

TEST(PaletteCube, CubeAndPurples) {
  const auto& cube = Palette_Cube();
  ASSERT_EQ(cube.size(), 255u);
  EXPECT_EQ(cube[0].red + cube[0].green + cube[0].blue, 0);
  EXPECT_EQ(cube[5].blue, 255);
  EXPECT_EQ(cube[6].green, 42);
  EXPECT_EQ(cube[6 * 6].green, 255);
  EXPECT_EQ(cube[42].red, 51);
  EXPECT_EQ(cube[42 * 5].red, 255);
  EXPECT_EQ(cube[252].red, 25);
  EXPECT_EQ(cube[252].green, 0);
  EXPECT_EQ(cube[252].blue, 25);
  EXPECT_EQ(cube[253].blue, 93);
  EXPECT_EQ(cube[254].green, 0);
  EXPECT_EQ(cube[254].blue, 161);
}

}  // namespace
