// Arbitrary views: each chosen pixel shows the tile, and the texel, that the
// ray through it really hits; nothing outside the viewport is written.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

#include "tests/orv_vr/test_views.h"

namespace orv_test {
namespace {

struct Screen {
  int left, width, height, stride, rows;
};

const Screen kScreens[] = {
    {0, 640, 480, 640, 480},
    {17, 333, 251, 400, 260},  // inside a wider, taller destination
    {0, 200, 300, 200, 300},   // taller than wide
};

std::vector<View> Test_Views(double max_fov = 2.6) {
  std::vector<View> views = {kHorizontal, kDiagonal, kSteep};
  std::mt19937 rng(20240611);
  std::uniform_real_distribution<double> yaw(-kPi, kPi), tilt(0.02, kPi - 0.02), roll(-0.6, 0.6),
      fov(0.4, max_fov);
  for (int i = 0; i < 24; ++i) {
    views.push_back({static_cast<float>(yaw(rng)), static_cast<float>(tilt(rng)),
                     static_cast<float>(roll(rng)), static_cast<float>(fov(rng))});
  }
  return views;
}

View As_Float(const View& v) {
  return {static_cast<float>(v.yaw), static_cast<float>(v.tilt), static_cast<float>(v.roll),
          static_cast<float>(v.fov)};
}

Viewport Of(const Screen& s) { return {double(s.left), 0, double(s.width), double(s.height)}; }

// Pixels whose whole 3 x 3 neighbourhood sees one tile: the renderer's edges
// are within a pixel of the true ones.
template <class F>
int For_Unambiguous_Pixels(const View& v, const Screen& s, int step, F check) {
  const Viewport vp = Of(s);
  int checked = 0;
  for (int y = 1; y + 1 < s.height; y += step) {
    for (int x = s.left + 1; x + 1 < s.left + s.width; x += step) {
      const auto tile = Tile_Seen(v, vp, x - 1.0, y - 1.0, x + 2.0, y + 2.0);
      if (!tile) continue;
      check(x, y, *tile);
      ++checked;
    }
  }
  return checked;
}

TEST(OrvVrTileHit, PixelsShowTheTileTheirRayHits) {
  for (const Screen& s : kScreens) {
    for (int offset : {0, 1}) {  // the destination 4-byte aligned, or not
      ORV_VR vr;
      Fill(vr, [](int k, int, int) { return static_cast<uint16_t>(k); });
      ASSERT_EQ(vr.Init_Resolution(float(s.left), 0, float(s.width), float(s.height), s.stride, 1), 1);
      for (const View& view : Test_Views()) {
        const View v = As_Float(view);
        Destination d(s.stride, s.rows, offset);
        Draw(vr, d.data(), v);
        int wrong = 0;
        const int checked = For_Unambiguous_Pixels(
            v, s, 7, [&](int x, int y, int tile) { wrong += d.at(x, y, s.stride) != tile; });
        EXPECT_EQ(wrong, 0) << v.yaw << " " << v.tilt << " " << v.roll << " " << v.fov;
        EXPECT_GT(checked, (s.width / 7) * (s.height / 7) / 2);

        int outside = 0;
        for (int y = 0; y < s.rows; ++y) {
          for (int x = 0; x < s.stride; ++x) {
            const bool in = x >= s.left && x < s.left + s.width && y < s.height;
            outside += !in && d.at(x, y, s.stride) != kUntouched;
          }
        }
        EXPECT_EQ(outside, 0);
        EXPECT_EQ(d.Changed_Outside(static_cast<size_t>(s.stride) * s.rows), 0);
      }
    }
  }
}

// The store holds (tile << 8) | u, then (tile << 8) | v: the sampled texel
// lies within a texel of what the ray hits somewhere in the pixel's 3 x 3
// neighbourhood. Between the exact values every 32 pixels the coordinates
// step linearly; up to the engine's 90 degrees (here 92) that stays inside
// the bound, wider views drift further from the true texel mid-block.
TEST(OrvVrTileHit, PixelsShowTheTexelTheirRayHits) {
  const Screen s = kScreens[0];
  for (int axis = 0; axis < 2; ++axis) {
    ORV_VR vr;
    Fill(vr, [axis](int k, int u, int v) { return static_cast<uint16_t>(k << 8 | (axis ? v : u)); });
    ASSERT_EQ(vr.Init_Resolution(0, 0, float(s.width), float(s.height), s.stride, 1), 1);
    for (const View& view : Test_Views(1.6)) {
      const View v = As_Float(view);
      Destination d(s.stride, s.rows);
      Draw(vr, d.data(), v);
      const Viewport vp = Of(s);
      int wrong = 0;
      For_Unambiguous_Pixels(v, s, 11, [&](int x, int y, int tile) {
        double lo = 1e9, hi = -1e9;
        for (double sy = y - 1.0; sy <= y + 2.0; sy += 1.5) {
          for (double sx = x - 1.0; sx <= x + 2.0; sx += 1.5) {
            const Hit h = Cube_Hit(Ray(v, vp, sx, sy));
            const double c = axis ? h.v : h.u;
            lo = std::min(lo, c);
            hi = std::max(hi, c);
          }
        }
        const uint16_t p = d.at(x, y, s.stride);
        const double texel = (p & 0xFF) + 0.5;
        wrong += (p >> 8) != tile || texel < lo - 1.0 || texel > hi + 1.0;
      });
      EXPECT_EQ(wrong, 0) << axis << ": " << v.yaw << " " << v.tilt << " " << v.roll << " " << v.fov;
    }
  }
}

}  // namespace
}  // namespace orv_test
