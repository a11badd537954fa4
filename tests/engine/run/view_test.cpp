// The view's arithmetic: hit tests on the angle grid and in pixels, the
// speed decay and the limits, the 15-to-16-bit table.
#include "engine/run/view.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

ZONE Zone(float a, float b, float c, float d) {
  ZONE z;
  z.bounds[0] = a;
  z.bounds[1] = b;
  z.bounds[2] = c;
  z.bounds[3] = d;
  return z;
}

TEST(ZoneHitVr, WrapAroundAndBelowTheHorizon) {
  struct Case {
    ZONE zone;
    int32_t pitch, yaw;
    int inside;
  };
  std::vector<ZONE> zones = {Zone(6.0f, 0.5f, 1.2f, 1.9f), Zone(0.5f, 6.0f, 1.2f, 1.9f),
                             Zone(1.0f, 2.0f, 1.0f, 1.5f)};
  Zones_To_Grid(zones);
  // A pitch bound below the horizon lands one turn higher on the grid.
  EXPECT_NEAR(zones[2].bounds[2], float(7448) * kUnitsToRadians + kQuarterTurn, 1e-5);
  const Case cases[] = {
      {zones[0], 0, 0, 2},        // 6.0 -> 0.5 covers the arc through 0
      {zones[0], 0, 8191, 2},     // just left of 0
      {zones[0], 0, 3911, 1},     // 3 radians: the far side
      {zones[1], 0, 0, 2},        // the bounds in the other order: the same zone
      {zones[0], 800, 0, 1},      // above the zone
      {zones[2], -400, 1955, 2},  // looking down, inside the lowered zone
      {zones[2], 0, 1955, 1},     // at the horizon, above it
  };
  for (const Case& c : cases) {
    ZONE z = c.zone;
    EXPECT_EQ(Zone_Hit_Vr(z, c.pitch, c.yaw), c.inside) << c.pitch << " " << c.yaw;
    EXPECT_EQ(z.state, c.inside);
  }
}

TEST(ZoneHitPic, TruncatedBoundsInEitherOrderIncludeTheirEdges) {
  ZONE z = Zone(99.9f, 10.0f, 20.7f, 5.0f);
  EXPECT_EQ(Zone_Hit_Pic(z, 10, 5), 2);
  EXPECT_EQ(Zone_Hit_Pic(z, 99, 20), 2);
  EXPECT_EQ(Zone_Hit_Pic(z, 100, 20), 1);
  EXPECT_EQ(Zone_Hit_Pic(z, 50, 21), 1);
  EXPECT_EQ(Zone_Hit_Pic(z, 9, 10), 1);
  // Bounds beyond the 32-bit range, as a damaged zone file holds them,
  // truncate to INT32_MIN: an empty span, not undefined behaviour.
  ZONE huge = Zone(1e30f, -1e30f, 0.0f, 479.0f);
  EXPECT_EQ(Zone_Hit_Pic(huge, 0, 10), 1);
  std::vector<ZONE> grid = {Zone(1e30f, 0.5f, std::nanf(""), 2.0f)};
  Zones_To_Grid(grid);
  EXPECT_EQ(grid[0].bounds[0], 0.0f);
}

TEST(ViewMove, SpeedDecayAndClamps) {
  const std::pair<int32_t, int32_t> decay[] = {{100, 75}, {-100, -74}, {2, 0}, {-2, 0},
                                               {-5, -3},  {0, 0},      {6, 4}};
  for (auto [in, out] : decay) EXPECT_EQ(Speed_Decay(in), out) << in;

  VIEW v;
  View_Move(v, 255, 10, -4, 14, true);
  // yaw speed (255 x 10) >> 8 = 9, decayed to 6; pitch speed
  // -((255 x -4) >> 8) = 4 (the shift rounds down), decayed to 3.
  EXPECT_EQ(v.yaw_speed, 6);
  EXPECT_EQ(v.pitch_speed, 3);
  EXPECT_EQ(v.yaw, 5);    // (14 x 6) >> 4
  EXPECT_EQ(v.pitch, 2);  // (14 x 3) >> 4

  VIEW still;
  View_Move(still, 255, 10, -4, 14, false);
  EXPECT_EQ(still.yaw, 0);  // still pictures do not move

  VIEW limited;
  limited.pitch = 5000;
  limited.yaw = 3000;
  limited.yaw_min = 100;
  limited.yaw_max = -1;
  View_Move(limited, 255, 0, 0, 14, true);
  EXPECT_EQ(limited.pitch, 1536);
  EXPECT_EQ(limited.yaw, -1);  // either limit set: both apply
  limited.yaw_min = limited.yaw_max = -1;
  limited.yaw = 70000;
  View_Move(limited, 255, 0, 0, 14, true);
  EXPECT_EQ(limited.yaw, 70000);  // no limit: the yaw is not reduced
}

TEST(Table15To16, GreenGetsALowZeroBit) {
  const std::vector<uint16_t> t = Table_15_To_16();
  ASSERT_EQ(t.size(), 65536u);
  EXPECT_EQ(t[0x7FFF], 0xFFDF);
  EXPECT_EQ(t[0x7C00], 0xF800);
  EXPECT_EQ(t[0x03E0], 0x07C0);
  EXPECT_EQ(t[0x001F], 0x001F);
  EXPECT_EQ(t[0x8000], 0x0000);  // the top bit is not read
}

}  // namespace
