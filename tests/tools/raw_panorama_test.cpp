// Raw panorama dumps: exact RGB555 words, little-endian, in strip order.
#include "tools/raw_panorama.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(RawPanorama, WordsKeepTheTopFiveBitsOfEachChannel) {
  EXPECT_EQ(Rgb555_Of(255, 255, 255), 0x7FFF);
  EXPECT_EQ(Rgb555_Of(255, 0, 0), 0x7C00);
  EXPECT_EQ(Rgb555_Of(0, 255, 0), 0x03E0);
  EXPECT_EQ(Rgb555_Of(0, 0, 255), 0x001F);
  EXPECT_EQ(Rgb555_Of(8, 16, 24), 0x0443);  // 1 << 10 | 2 << 5 | 3
  EXPECT_EQ(Rgb555_Of(7, 7, 7), 0x0000);
  EXPECT_EQ(Rgb555_Of(0x87, 0x4F, 0xF8), 0x413F);  // 16 << 10 | 9 << 5 | 31
}

TEST(RawPanorama, TheDumpIsTheStripInOrderLittleEndian) {
  std::vector<uint8_t> strip(size_t{256} * 6144 * 4, 0);
  auto set = [&](size_t index, uint8_t r, uint8_t g, uint8_t b) {
    strip[index * 4] = b;
    strip[index * 4 + 1] = g;
    strip[index * 4 + 2] = r;
    strip[index * 4 + 3] = 0xFF;  // not read
  };
  set(0, 255, 0, 0);
  set(256 * 300 + 17, 8, 16, 24);
  set(256 * 6144 - 1, 0x87, 0x4F, 0xF8);
  const std::vector<uint8_t> dump = Raw_Panorama_Bytes(strip.data());
  ASSERT_EQ(dump.size(), kRawPanoramaBytes);
  ASSERT_EQ(dump.size(), 3145728u);
  EXPECT_EQ(dump[0], 0x00);
  EXPECT_EQ(dump[1], 0x7C);
  EXPECT_EQ(dump[2 * (256 * 300 + 17)], 0x43);
  EXPECT_EQ(dump[2 * (256 * 300 + 17) + 1], 0x04);
  EXPECT_EQ(dump[dump.size() - 2], 0x3F);
  EXPECT_EQ(dump[dump.size() - 1], 0x41);
  size_t set_bytes = 0;
  for (uint8_t v : dump) set_bytes += v != 0;
  EXPECT_EQ(set_bytes, 5u);
}

}  // namespace
