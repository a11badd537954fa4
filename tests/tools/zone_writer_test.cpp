#include "tools/zone_writer.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

TEST(ZoneFileBytes, ExactLittleEndianLayout) {
  std::vector<uint8_t> bytes = Zone_File_Bytes({{1.0f, -2.0f, 0.5f, 640.0f}});
  std::vector<uint8_t> expected = {1,    0,    0,    0,      // count
                                   0x00, 0x00, 0x80, 0x3F,   // 1.0
                                   0x00, 0x00, 0x00, 0xC0,   // -2.0
                                   0x00, 0x00, 0x00, 0x3F,   // 0.5
                                   0x00, 0x00, 0x20, 0x44};  // 640.0
  EXPECT_EQ(bytes, expected);
  EXPECT_EQ(Zone_File_Bytes({}), (std::vector<uint8_t>{0, 0, 0, 0}));
  EXPECT_EQ(Zone_File_Bytes(std::vector<ZoneBounds>(300)).size(), 4u + 300u * 16u);
  EXPECT_EQ(Zone_File_Bytes(std::vector<ZoneBounds>(300))[1], 1);  // 300 = 0x012C
}

TEST(ZoneBoundsParse, FourFiniteNumbers) {
  EXPECT_EQ(Zone_Bounds_Parse("0.5,1.25,-3,1e2"), (ZoneBounds{0.5f, 1.25f, -3.0f, 100.0f}));
  EXPECT_EQ(Zone_Bounds_Parse("0,0,640,480"), (ZoneBounds{0, 0, 640, 480}));
  for (const char* bad : {"", "1,2,3", "1,2,3,4,", "1,2,3,4,5", ",1,2,3", "1,,2,3", "a,b,c,d", "1,2,3,inf",
                          "1,2,3,nan", "1,2,3,1e40", " 1,2,3,4", "1,2,3,4 ", "1;2;3;4"})
    EXPECT_FALSE(Zone_Bounds_Parse(bad).has_value()) << bad;
}

}  // namespace
