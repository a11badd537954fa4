#include "engine/script/zone_file.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>

#include "tests/engine/engine_test_support.h"

namespace {

std::string Zone_Bytes(int32_t count, std::initializer_list<float> values) {
  std::string out;
  auto put = [&](uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(char(v >> (8 * i)));
  };
  put(uint32_t(count));
  for (float v : values) put(std::bit_cast<uint32_t>(v));
  return out;
}

TEST(ZoneFile, ReadsLittleEndianFloats) {
  EngineFixture f;
  f.Add_File("w.tst", Zone_Bytes(2, {6.0f, 0.5f, 1.0f, 2.0f, 10, 20, 30, 40}));
  ZoneFileResult r = Zone_File_Read(f.wx, "W.TST");
  ASSERT_EQ(r.zones.size(), 2u);
  EXPECT_EQ(r.zones[0].bounds[0], 6.0f);
  EXPECT_EQ(r.zones[0].bounds[1], 0.5f);
  EXPECT_EQ(r.zones[1].bounds[3], 40.0f);
  EXPECT_EQ(r.zones[1].state, 1);
  EXPECT_FALSE(r.cut);
  // Exact bytes: 0x3F800000 is 1.0.
  f.Add_File("one.tst", std::string("\x01\0\0\0\0\0\x80\x3f\0\0\0\0\0\0\0\0\0\0\0\0", 20));
  EXPECT_EQ(Zone_File_Read(f.wx, "one.tst").zones.at(0).bounds[0], 1.0f);
}

TEST(ZoneFile, EmptyMissingNegativeAndTruncated) {
  EngineFixture f;
  EXPECT_TRUE(Zone_File_Read(f.wx, "missing.tst").zones.empty());
  f.Add_File("empty.tst", "");
  EXPECT_TRUE(Zone_File_Read(f.wx, "empty.tst").zones.empty());
  f.Add_File("short.tst", "\x02\0");
  EXPECT_TRUE(Zone_File_Read(f.wx, "short.tst").zones.empty());
  f.Add_File("zero.tst", Zone_Bytes(0, {1, 2, 3, 4}));
  EXPECT_TRUE(Zone_File_Read(f.wx, "zero.tst").zones.empty());
  f.Add_File("negative.tst", Zone_Bytes(-5, {1, 2, 3, 4}));
  EXPECT_TRUE(Zone_File_Read(f.wx, "negative.tst").zones.empty());
  // A count larger than the data: the whole zones present, and a last
  // partial record dropped.
  std::string cut = Zone_Bytes(1000000, {1, 2, 3, 4, 5, 6, 7});
  f.Add_File("cut.tst", cut);
  ZoneFileResult r = Zone_File_Read(f.wx, "cut.tst");
  ASSERT_EQ(r.zones.size(), 1u);
  EXPECT_TRUE(r.cut);
  EXPECT_EQ(r.declared, 1000000);
  // NaN bounds are kept as read; hit tests decide what they mean.
  f.Add_File("nan.tst", Zone_Bytes(1, {NAN, 0, 0, 0}));
  EXPECT_TRUE(std::isnan(Zone_File_Read(f.wx, "nan.tst").zones.at(0).bounds[0]));
}

}  // namespace
