// The span drawer: texel addressing, rounding, the lone first pixel at an
// address that is not a multiple of 4, and the exact (U, V) every 32 pixels
// with linear 8.8 steps between them.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

#include "orv_vr/span_draw.h"

namespace orv_test {
namespace {

using orv_vr_internal::Draw_Span;
using orv_vr_internal::Draw_Span_Windowed;
using orv_vr_internal::SpanWork;

constexpr uint16_t kSentinel = 0xBEEF;

// A tile whose texel holds its own index v * 256 + u.
std::vector<uint16_t> Index_Tile() {
  std::vector<uint16_t> t(65536);
  for (int i = 0; i < 65536; ++i) t[i] = static_cast<uint16_t>(i);
  return t;
}

struct SpanValues {
  float iz, uz, vz, diz, duz, dvz;
};

SpanWork Work(const SpanValues& s) {
  SpanWork w{};
  w.iz = s.iz;
  w.uz = s.uz;
  w.vz = s.vz;
  w.diz = s.diz;
  w.duz = s.duz;
  w.dvz = s.dvz;
  return w;
}

// 8.8 texture coordinate rounded to nearest, and the texel index it reads.
int32_t Fixed(float a_z, float iz) { return static_cast<int32_t>(std::lrint(a_z / iz)); }
uint16_t Texel_Index(int32_t u, int32_t v) { return static_cast<uint16_t>((v & 0xFF00) | ((u >> 8) & 0xFF)); }

// The rule written out pixel by pixel.
std::vector<uint16_t> Expected(SpanValues s, int n, bool misaligned) {
  std::vector<uint16_t> out;
  if (misaligned) {
    out.push_back(Texel_Index(Fixed(s.uz, s.iz), Fixed(s.vz, s.iz)));
    if (--n == 0) return out;
    s.uz += s.duz;
    s.vz += s.dvz;
    s.iz += s.diz;
  }
  // Exact values at the block boundaries: the start, then 32 pixels on at a time.
  std::vector<int32_t> bu, bv;
  float tu = s.uz, tv = s.vz, ti = s.iz;
  for (int b = 0; b <= n / 32 + 1; ++b) {
    bu.push_back(Fixed(tu, ti));
    bv.push_back(Fixed(tv, ti));
    tu += 32.0f * s.duz;
    tv += 32.0f * s.dvz;
    ti += 32.0f * s.diz;
  }
  for (int i = 0; i < n; ++i) {
    const int b = i / 32, j = i % 32;
    const int32_t su = (bu[b + 1] - bu[b]) >> 5, sv = (bv[b + 1] - bv[b]) >> 5;
    out.push_back(Texel_Index(bu[b] + j * su, bv[b] + j * sv));
  }
  return out;
}

// A span between two texture points (texels) at two depths.
SpanValues Perspective(double u0, double v0, double z0, double u1, double v1, double z1, int n) {
  const float il = float(1 / z0), ir = float(1 / z1);
  const float ul = float(u0 * 256) * il, ur = float(u1 * 256) * ir;
  const float vl = float(v0 * 256) * il, vr = float(v1 * 256) * ir;
  const float w = float(n);
  return {il, ul, vl, (ir - il) / w, (ur - ul) / w, (vr - vl) / w};
}

// Draws into a 4-byte aligned row at `offset` pixels; returns the row.
std::vector<uint16_t> Draw_At(const SpanValues& s, int n, int offset, const uint16_t* tile) {
  std::vector<uint32_t> storage((offset + n + 8) / 2 + 1, 0xBEEFBEEFu);
  auto* row = reinterpret_cast<uint16_t*>(storage.data());
  SpanWork w = Work(s);
  Draw_Span(w, row + offset, n, tile);
  return std::vector<uint16_t>(row, row + offset + n + 8);
}

TEST(OrvVrSpan, OnePixelAtAnOddAddressDrawsOnePixel) {
  const std::vector<uint16_t> tile = Index_Tile();
  const SpanValues s = Perspective(10.2, 20.7, 3, 200, 40, 9, 1);
  const std::vector<uint16_t> row = Draw_At(s, 1, 1, tile.data());
  EXPECT_EQ(row[0], kSentinel);
  EXPECT_EQ(row[1], 20 * 256 + 10);
  for (size_t i = 2; i < row.size(); ++i) EXPECT_EQ(row[i], kSentinel) << i;
}

// U runs from 31 to 770 over the first 32 pixels: the step is 739 >> 5 = 23,
// so stepping on would reach 767 (column 2) at pixel 32, while the exact
// restart there gives 770 (column 3).
TEST(OrvVrSpan, ThirtyThreePixelsAtAnAlignedAddressAreABlockAndOnePixel) {
  const std::vector<uint16_t> tile = Index_Tile();
  const SpanValues s{1, 31, 5 * 256 + 128, 0, 739.0f / 32, 0};
  const std::vector<uint16_t> row = Draw_At(s, 33, 0, tile.data());
  for (int i = 0; i < 32; ++i) EXPECT_EQ(row[i], 5 * 256 + (31 + 23 * i) / 256) << i;
  EXPECT_EQ(row[32], 5 * 256 + 3);
  for (size_t i = 33; i < row.size(); ++i) EXPECT_EQ(row[i], kSentinel) << i;

  // The same span at an odd address: one pixel alone, then a block from
  // pixel 1 whose exact end lies 32 pixels further.
  const std::vector<uint16_t> odd = Draw_At(s, 33, 1, tile.data());
  EXPECT_EQ(odd[0], kSentinel);
  EXPECT_EQ(odd[1], 5 * 256 + 0);
  const int32_t u0 = static_cast<int32_t>(std::lrint(31 + 739.0f / 32));
  const int32_t u1 = static_cast<int32_t>(std::lrint(31 + 739.0f / 32 + 739.0f));
  for (int i = 0; i < 32; ++i) {
    EXPECT_EQ(odd[2 + i], 5 * 256 + (u0 + ((u1 - u0) >> 5) * i) / 256) << i;
  }
  EXPECT_EQ(odd[34], kSentinel);
}

TEST(OrvVrSpan, TexelAddressRoundsAndWrapsWithinTheTile) {
  const std::vector<uint16_t> tile = Index_Tile();
  struct Case {
    float u, v;  // in 1/256 texel, at 1/z = 1
    uint16_t texel;
  } cases[] = {
      {255.5f, 0, 1},                        // rounded up to 256: column 1, not truncated to 0
      {255.4f, 0, 0},                        // rounded down
      {-0.5f, 0, 0},                         // ties to even: 0, not -1 (column 255)
      {-1.0f, 0, 255},                       // column -1 wraps to 255
      {300 * 256.0f + 10, 0, 44},            // column 300 wraps to 44
      {0, 256 * 256.0f + 3, 0},              // row 256 wraps to 0
      {5 * 256.0f, -256.0f, 255 * 256 + 5},  // row -1 wraps to 255
  };
  for (const Case& c : cases) {
    const SpanValues s{1, c.u, c.v, 0, 0, 0};
    EXPECT_EQ(Draw_At(s, 1, 0, tile.data())[0], c.texel) << c.u << " " << c.v;
  }
}

TEST(OrvVrSpan, SpansFollowTheExactEvery32PixelsRule) {
  const std::vector<uint16_t> tile = Index_Tile();
  std::mt19937 rng(99);
  std::uniform_real_distribution<double> texel(-20, 300), depth(1, 300);
  std::uniform_int_distribution<int> length(1, 300), offset(0, 3);
  for (int round = 0; round < 2000; ++round) {
    const int n = length(rng), o = offset(rng);
    const SpanValues s =
        Perspective(texel(rng), texel(rng), depth(rng), texel(rng), texel(rng), depth(rng), n);
    const std::vector<uint16_t> row = Draw_At(s, n, o, tile.data());
    const std::vector<uint16_t> want = Expected(s, n, o % 2 == 1);
    int wrong = 0;
    for (int i = 0; i < o; ++i) wrong += row[i] != kSentinel;
    for (int i = 0; i < n; ++i) wrong += row[o + i] != want[i];
    for (size_t i = o + n; i < row.size(); ++i) wrong += row[i] != kSentinel;
    ASSERT_EQ(wrong, 0) << "n " << n << " offset " << o << " round " << round;
  }
}

// The windowed drawer keeps the whole span's alignment and coordinates and
// stores only inside the window.
TEST(OrvVrSpan, WindowedSpansStoreOnlyInsideTheWindow) {
  const std::vector<uint16_t> tile = Index_Tile();
  std::mt19937 rng(5);
  std::uniform_real_distribution<double> texel(0, 256), depth(1, 50);
  std::uniform_int_distribution<int> length(1, 120), column(-3, 60), edge(0, 64);
  for (int round = 0; round < 2000; ++round) {
    const int n = length(rng), c = column(rng);
    int lo = edge(rng), hi = edge(rng);
    if (lo > hi) std::swap(lo, hi);
    const SpanValues s =
        Perspective(texel(rng), texel(rng), depth(rng), texel(rng), texel(rng), depth(rng), n);
    // One row of 256 pixels, its column 0 at pixel 8 of 4-byte aligned storage.
    std::vector<uint32_t> storage(136, 0xBEEFBEEFu);
    uint16_t* row = reinterpret_cast<uint16_t*>(storage.data()) + 8;
    SpanWork w = Work(s);
    Draw_Span_Windowed(w, row, c, n, lo, hi, tile.data());
    const std::vector<uint16_t> want = Expected(s, n, (c % 2 + 2) % 2 == 1);
    int wrong = 0;
    for (int x = -8; x < 256; ++x) {
      const bool in_span = x >= c && x < c + n, in_window = x >= lo && x < hi;
      const uint16_t expect = in_span && in_window ? want[x - c] : kSentinel;
      wrong += row[x] != expect;
    }
    ASSERT_EQ(wrong, 0) << "n " << n << " column " << c << " window " << lo << " " << hi;
  }
}

}  // namespace
}  // namespace orv_test
