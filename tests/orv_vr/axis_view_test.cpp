// Views straight along the cube's axes on square viewports at 90 degrees:
// the face looked at fills the screen, its four tiles in the four quarters.
#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <vector>

#include "tests/orv_vr/test_views.h"

namespace orv_test {
namespace {

struct Axis {
  const char* name;
  float yaw, tilt;
  int face;  // tiles 4 * face .. 4 * face + 3
};

// Screen right and up follow each face's own top-left to bottom-right
// layout: +y and -y with +z up, x faces likewise, the z faces with yaw -pi/2.
const Axis kAxes[] = {
    {"+y", -kPi / 2, kPi / 2, 4}, {"-y", kPi / 2, kPi / 2, 5}, {"+x", 0, kPi / 2, 3},
    {"-x", kPi, kPi / 2, 1},      {"+z", -kPi / 2, kPi, 2},    {"-z", -kPi / 2, 0, 0},
};

// The face's tile for the quarter holding pixel (x, y) of a w x w screen:
// top-left, top-right, bottom-right, bottom-left.
int Quarter_Tile(int face, int x, int y, int w) {
  const bool right = x >= w / 2, bottom = y >= w / 2;
  return 4 * face + (bottom ? (right ? 2 : 3) : (right ? 1 : 0));
}

std::vector<uint16_t> Draw_Axis(const Axis& a, int w) {
  ORV_VR vr;
  Fill(vr, [](int k, int, int) { return static_cast<uint16_t>(k); });
  EXPECT_EQ(vr.Init_Resolution(0, 0, static_cast<float>(w), static_cast<float>(w), w, 1), 1);
  std::vector<uint16_t> d(static_cast<size_t>(w) * w, kUntouched);
  vr.Draw(d.data(), a.yaw, a.tilt, 0, kPi / 2);
  return d;
}

TEST(OrvVrAxisView, AlongPlusYShowsExactlyOneFaceInItsQuarters) {
  for (int w : {64, 255, 256, 480}) {
    const std::vector<uint16_t> d = Draw_Axis(kAxes[0], w);
    int wrong = 0;
    for (int y = 0; y < w; ++y) {
      for (int x = 0; x < w; ++x) wrong += d[y * w + x] != Quarter_Tile(4, x, y, w);
    }
    EXPECT_EQ(wrong, 0) << w;
  }
}

// The float angles put each view a few 1e-8 radians off its axis, so an edge
// of the face may land a hair left of or above a pixel boundary, and the
// renderer starts rows and spans at the truncated edge: the pixels next to
// a quarter line or the screen border may belong to the neighbouring tile.
// Everything else is the quarter's tile, and every pixel is drawn.
TEST(OrvVrAxisView, EachAxisShowsItsFaceInItsQuarters) {
  for (const Axis& a : kAxes) {
    for (int w : {64, 256}) {
      const std::vector<uint16_t> d = Draw_Axis(a, w);
      const Viewport vp{0, 0, static_cast<double>(w), static_cast<double>(w)};
      const View view{a.yaw, a.tilt, 0, kPi / 2};
      int wrong_inside = 0, undrawn = 0, unseen = 0;
      for (int y = 0; y < w; ++y) {
        for (int x = 0; x < w; ++x) {
          const uint16_t p = d[y * w + x];
          const bool edge = x == 0 || x == w - 1 || y == 0 || y == w - 1 || x == w / 2 - 1 || x == w / 2 ||
                            y == w / 2 - 1 || y == w / 2;
          if (p == kUntouched) {
            ++undrawn;
          } else if (!edge) {
            wrong_inside += p != Quarter_Tile(a.face, x, y, w);
          } else {
            // A boundary pixel shows a tile seen within one pixel of it.
            std::set<int> seen;
            for (double sy = y - 1.0; sy <= y + 2.0; sy += 0.5) {
              for (double sx = x - 1.0; sx <= x + 2.0; sx += 0.5) {
                seen.insert(Cube_Hit(Ray(view, vp, sx, sy)).tile);
              }
            }
            unseen += seen.count(p) == 0;
          }
        }
      }
      EXPECT_EQ(undrawn, 0) << a.name << " " << w;
      EXPECT_EQ(wrong_inside, 0) << a.name << " " << w;
      EXPECT_EQ(unseen, 0) << a.name << " " << w;
    }
  }
}

// Texels run to the right and downwards on every tile: in the +y view each
// pixel samples the texel its centre sees, within a texel and a half.
TEST(OrvVrAxisView, TexelsFollowTheScreen) {
  const int w = 512;
  ORV_VR vr;
  Fill(vr, [](int, int u, int v) { return static_cast<uint16_t>(v * 256 + u); });
  ASSERT_EQ(vr.Init_Resolution(0, 0, w, w, w, 1), 1);
  std::vector<uint16_t> d(w * w, kUntouched);
  vr.Draw(d.data(), -kPi / 2, kPi / 2, 0, kPi / 2);
  const Viewport vp{0, 0, w, w};
  const View view{-kPi / 2, kPi / 2, 0, kPi / 2};
  int far_off = 0;
  for (int y = 0; y < w; y += 3) {
    for (int x = 0; x < w; x += 3) {
      const Hit h = Cube_Hit(Ray(view, vp, x + 0.5, y + 0.5));
      const int u = d[y * w + x] & 0xFF, v = d[y * w + x] >> 8;
      far_off += std::fabs(u + 0.5 - h.u) > 1.5 || std::fabs(v + 0.5 - h.v) > 1.5;
    }
  }
  EXPECT_EQ(far_off, 0);
}

}  // namespace
}  // namespace orv_test
