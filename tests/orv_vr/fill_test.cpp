// Polygon fill: rows by truncation, the edge walk into the scan-line table,
// clockwise polygons only, and nothing outside the table or the viewport.
#include <gtest/gtest.h>

#include <vector>

#include "orv_vr/polygon_fill.h"
#include "tests/orv_vr/internal_support.h"

namespace orv_test {
namespace {

using namespace orv_vr_internal;

constexpr uint16_t kSentinel = 0xBEEF;

struct Point {
  float x, y, u, v;  // screen position; texture in texels at 1/z = 1
};

Polygon Flat_Polygon(std::initializer_list<Point> points) {
  Polygon p{};
  for (const Point& q : points) {
    Vertex& v = p.v[p.count++];
    v.sx = q.x;
    v.sy = q.y;
    v.iz = 1;
    v.u = q.u * 256;
    v.v = q.v * 256;
  }
  return p;
}

class OrvVrFill : public ::testing::Test {
 protected:
  static constexpr int kWidth = 64, kHeight = 48;
  void SetUp() override {
    r_ = Make_Renderer(kWidth, kHeight);
    tile_.resize(65536);
    for (int i = 0; i < 65536; ++i) tile_[i] = static_cast<uint16_t>(i);
    dest_.assign(kWidth * kHeight, kSentinel);
  }
  void Fill(Polygon p) {
    p.tile = tile_.data();
    Fill_Polygon(p, r_->viewport, r_->scan.get(), r_->span, dest_.data());
  }
  uint16_t at(int x, int y) const { return dest_[y * kWidth + x]; }
  int Drawn() const {
    int n = 0;
    for (uint16_t p : dest_) n += p != kSentinel;
    return n;
  }

  RendererPtr r_;
  std::vector<uint16_t> tile_;
  std::vector<uint16_t> dest_;
};

TEST_F(OrvVrFill, PolygonOnOneRowDrawsNothing) {
  Fill(Flat_Polygon({{2, 10.1f, 0, 0}, {40, 10.9f, 0, 0}, {20, 10.5f, 0, 0}}));
  EXPECT_EQ(Drawn(), 0);
}

// Corners at whole pixels, u and v one texel per pixel from 0.5: pixel
// (x, y) covers rows 5..14 and columns 10..19 and reads texel (x-10, y-5).
TEST_F(OrvVrFill, RectangleCoversItsPixelsAndTexels) {
  Fill(Flat_Polygon(
      {{10, 5, 0.5f, 0.5f}, {20, 5, 10.5f, 0.5f}, {20, 15, 10.5f, 10.5f}, {10, 15, 0.5f, 10.5f}}));
  int wrong = 0;
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      const bool in = x >= 10 && x < 20 && y >= 5 && y < 15;
      wrong += at(x, y) != (in ? (y - 5) * 256 + (x - 10) : kSentinel);
    }
  }
  EXPECT_EQ(wrong, 0);
}

TEST_F(OrvVrFill, CounterClockwisePolygonDrawsNothing) {
  Fill(Flat_Polygon(
      {{10, 5, 0.5f, 0.5f}, {10, 15, 0.5f, 10.5f}, {20, 15, 10.5f, 10.5f}, {20, 5, 10.5f, 0.5f}}));
  EXPECT_EQ(Drawn(), 0);
}

// The slanted edge from (0, 0) to (30, 30) is at x = y on row y: rows 0..29
// cover columns 0 .. y - 1 (row 0 is empty); the bottom row 30 is not drawn.
TEST_F(OrvVrFill, SlantedEdgeEndsEachRowWhereItCrossesIt) {
  Fill(Flat_Polygon({{0, 0, 0, 0}, {30, 30, 0, 0}, {0, 30, 0, 0}}));
  int wrong = 0;
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) wrong += (at(x, y) != kSentinel) != (y < 30 && x < y);
  }
  EXPECT_EQ(wrong, 0);
}

// Rows are truncated screen y: a vertex at 4.99 starts on row 4, one at
// 9.99 ends before row 9.
TEST_F(OrvVrFill, RowsAreTruncatedScreenY) {
  Fill(Flat_Polygon({{8, 4.99f, 0, 0}, {16, 4.99f, 0, 0}, {16, 9.99f, 0, 0}, {8, 9.99f, 0, 0}}));
  for (int y = 0; y < kHeight; ++y) {
    int drawn = 0;
    for (int x = 0; x < kWidth; ++x) drawn += at(x, y) != kSentinel;
    EXPECT_EQ(drawn, y >= 4 && y < 9 ? 8 : 0) << y;
  }
}

// A polygon reaching past every side (as rounding in the clip stages may
// leave one): the pixels inside the viewport are those of the same polygon
// drawn into a larger viewport, and nothing else is written.
TEST_F(OrvVrFill, NothingIsWrittenOutsideTheViewport) {
  std::vector<uint16_t> tile(65536);
  for (int i = 0; i < 65536; ++i) tile[i] = static_cast<uint16_t>(i * 7);
  const int stride = 128, rows = 96;
  Polygon p{};
  const float xs[4] = {9.3f, 70.2f, 62.7f, 3.1f}, ys[4] = {-3.4f, 1.2f, 55.5f, 50.2f};
  for (int i = 0; i < 4; ++i) {
    p.v[i].sx = xs[i] + 20;
    p.v[i].sy = ys[i];
    p.v[i].iz = 1.0f / (1 + i);
    p.v[i].u = 5000.0f * i * p.v[i].iz;
    p.v[i].v = 3000.0f * (3 - i) * p.v[i].iz;
  }
  p.count = 4;
  p.tile = tile.data();

  RendererPtr small(Create_Renderer());
  ASSERT_TRUE(Set_Viewport(*small, 25, 0, 50, 40, stride));
  RendererPtr large(Create_Renderer());
  ASSERT_TRUE(Set_Viewport(*large, 0, 0, stride, rows, stride));
  std::vector<uint16_t> clipped(stride * rows, kSentinel), whole(stride * rows, kSentinel);
  Fill_Polygon(p, small->viewport, small->scan.get(), small->span, clipped.data());
  Fill_Polygon(p, large->viewport, large->scan.get(), large->span, whole.data());

  int outside = 0, differ = 0, inside = 0;
  for (int y = 0; y < rows; ++y) {
    for (int x = 0; x < stride; ++x) {
      const bool in = x >= 25 && x < 75 && y < 40;
      if (!in) {
        outside += clipped[y * stride + x] != kSentinel;
      } else {
        differ += clipped[y * stride + x] != whole[y * stride + x];
        inside += whole[y * stride + x] != kSentinel;
      }
    }
  }
  EXPECT_EQ(outside, 0);
  EXPECT_EQ(differ, 0);
  EXPECT_GT(inside, 40 * 40);
}

}  // namespace
}  // namespace orv_test
