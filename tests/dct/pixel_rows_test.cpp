// The row passes behind the 15-bit and 4-byte formats, on every value.
#include <gtest/gtest.h>

#include <vector>

#include "dct/pixel_rows.h"

namespace dct_test {
namespace {

using namespace dct_internal;

TEST(PixelRows, Rgb565To555KeepsTheTopFiveBitsOfEachChannel) {
  std::vector<uint16_t> p(65536);
  for (int v = 0; v < 65536; ++v) p[v] = static_cast<uint16_t>(v);
  Rgb565_To_555(p.data(), p.size());
  for (int v = 0; v < 65536; ++v) {
    const int r = v >> 11, g6 = v >> 5 & 0x3F, b = v & 0x1F;
    ASSERT_EQ(p[v], (r << 10 | (g6 >> 1) << 5 | b)) << v;
  }
}

TEST(PixelRows, FourthBytesBecomeZeroAndNothingElseChanges) {
  std::vector<unsigned char> p(4 * 5 + 1);
  for (size_t i = 0; i < p.size(); ++i) p[i] = static_cast<unsigned char>(0x80 + i);
  Finish_Row(Pixels::kBgr0, p.data(), 5);
  for (size_t i = 0; i < p.size(); ++i) {
    EXPECT_EQ(p[i], i % 4 == 3 && i < 20 ? 0 : 0x80 + i) << i;
  }
  std::vector<unsigned char> q(8, 0x77);
  Finish_Row(Pixels::kRgb565, q.data(), 4);
  EXPECT_EQ(q, std::vector<unsigned char>(8, 0x77));
}

}  // namespace
}  // namespace dct_test
