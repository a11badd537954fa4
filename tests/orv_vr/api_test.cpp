// ORV_VR through the shared library: construction, refused calls, viewport
// sizes and sharing of one renderer between objects.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "orv_vr/orv_vr.h"
#include "tests/orv_vr/test_views.h"

namespace orv_test {
namespace {

constexpr float kInf = std::numeric_limits<float>::infinity();
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

int Count(const std::vector<uint16_t>& d, uint16_t value) {
  int n = 0;
  for (uint16_t p : d) n += p == value;
  return n;
}

TEST(OrvVrApi, NewStoreIsZeroAndDrawsBlack) {
  ORV_VR vr;
  ASSERT_NE(vr.Buffer(), nullptr);
  int nonzero = 0;
  for (int i = 0; i < 24 * 65536; ++i) nonzero += vr.Buffer()[i] != 0;
  EXPECT_EQ(nonzero, 0);

  ASSERT_EQ(vr.Init_Resolution(0, 0, 640, 480, 640, 1), 1);
  for (const View& v : {kHorizontal, kDiagonal, kSteep}) {
    std::vector<uint16_t> d(640 * 480, kUntouched);
    Draw(vr, d.data(), v);
    // Every pixel drawn is black; seams between clipped quads may leave a
    // rare pixel unwritten, never more than a few.
    EXPECT_EQ(Count(d, 0) + Count(d, kUntouched), 640 * 480);
    EXPECT_LE(Count(d, kUntouched), 64);
  }
}

TEST(OrvVrApi, DrawBeforeInitResolutionIsRefused) {
  ORV_VR vr;
  Fill(vr, [](int, int, int) { return uint16_t{7}; });
  std::vector<uint16_t> d(640 * 480, kUntouched);
  Draw(vr, d.data(), kHorizontal);
  EXPECT_EQ(Count(d, kUntouched), 640 * 480);
}

TEST(OrvVrApi, UnsafeViewsAreRefusedAndLeaveTheDestination) {
  ORV_VR vr;
  Fill(vr, [](int, int, int) { return uint16_t{7}; });
  ASSERT_EQ(vr.Init_Resolution(0, 0, 160, 120, 160, 1), 1);
  const float yaw = 0.4f, tilt = kPi / 2, fov = 1.4f;
  struct Case {
    float yaw, tilt, roll, fov;
  };
  const Case refused[] = {
      {kNaN, tilt, 0, fov},   {kInf, tilt, 0, fov},   {yaw, kNaN, 0, fov},   {yaw, -kInf, 0, fov},
      {yaw, tilt, kNaN, fov}, {yaw, tilt, kInf, fov}, {yaw, tilt, 0, kNaN},  {yaw, tilt, 0, kInf},
      {yaw, tilt, 0, 0.0f},   {yaw, tilt, 0, -0.0f},  {yaw, tilt, 0, -1.0f}, {yaw, tilt, 0, kPi},
      {yaw, tilt, 0, 4.0f},
  };
  for (const Case& c : refused) {
    std::vector<uint16_t> d(160 * 120, kUntouched);
    vr.Draw(d.data(), c.yaw, c.tilt, c.roll, c.fov);
    EXPECT_EQ(Count(d, kUntouched), 160 * 120) << c.yaw << " " << c.tilt << " " << c.roll << " " << c.fov;
  }
  vr.Draw(nullptr, yaw, tilt, 0, fov);  // refused, no crash

  // The same renderer still draws acceptable views. Near pi everything in
  // front of the near plane z' = 1 shrinks to the screen's centre.
  for (float f : {fov, 3.0f}) {
    std::vector<uint16_t> d(160 * 120, kUntouched);
    vr.Draw(d.data(), yaw, tilt, 0, f);
    EXPECT_GT(Count(d, 7), 160 * 120 - 16) << f;
  }
  std::vector<uint16_t> d(160 * 120, kUntouched);
  vr.Draw(d.data(), yaw, tilt, 0, std::nextafter(kPi, 0.0f));
  int near_centre = 0;
  for (int y = 58; y < 62; ++y) {
    for (int x = 78; x < 82; ++x) near_centre += d[y * 160 + x] == 7;
  }
  EXPECT_GE(near_centre, 1);
  EXPECT_EQ(Count(d, 7), near_centre);
}

TEST(OrvVrApi, UnsafeViewportsAreRefusedUntilALaterSuccess) {
  ORV_VR vr;
  Fill(vr, [](int, int, int) { return uint16_t{7}; });
  struct Case {
    float left, top, width, height;
    int dest_width;
  };
  const Case refused[] = {
      {0, 1, 64, 48, 64},      {0, -1, 64, 48, 64},   {0, 0, 0, 48, 64},       {0, 0, 64, 0, 64},
      {0, 0, 0.5f, 48, 64},    {0, 0, 64, 0.5f, 64},  {0, 0, -64, 48, 64},     {-1, 0, 64, 48, 64},
      {1, 0, 64, 48, 64},      {0, 0, 64, 48, 63},    {0, 0, 64, 48, 0},       {0, 0, 64, 48, -64},
      {kNaN, 0, 64, 48, 64},   {0, kNaN, 64, 48, 64}, {0, 0, kInf, 48, 64},    {0, 0, 64, kNaN, 64},
      {0, 0, 16385, 4, 20000}, {0, 0, 4, 16385, 4},   {16380, 0, 5, 4, 20000},
  };
  for (const Case& c : refused) {
    ASSERT_EQ(vr.Init_Resolution(0, 0, 64, 48, 64, 1), 1);
    EXPECT_EQ(vr.Init_Resolution(c.left, c.top, c.width, c.height, c.dest_width, 1), 0)
        << c.left << " " << c.top << " " << c.width << " " << c.height << " " << c.dest_width;
    // The refused call also ends the earlier viewport: nothing is drawn.
    std::vector<uint16_t> d(64 * 64, kUntouched);
    Draw(vr, d.data(), kHorizontal);
    EXPECT_EQ(Count(d, kUntouched), 64 * 64);
  }
  ASSERT_EQ(vr.Init_Resolution(0, 0, 64, 48, 64, 1), 1);
  std::vector<uint16_t> d(64 * 48, kUntouched);
  Draw(vr, d.data(), kHorizontal);
  EXPECT_EQ(Count(d, 7), 64 * 48);
}

TEST(OrvVrApi, AcceptsLargeAndEdgeViewports) {
  ORV_VR vr;
  Fill(vr, [](int, int, int) { return uint16_t{7}; });
  struct Case {
    int left, width, height, dest_width;
    bool covered;  // false where the near plane leaves only a central band
  } accepted[] = {{0, 640, 480, 640, true}, {0, 1920, 1080, 1920, true}, {0, 16384, 2, 16384, false},
                  {0, 2, 16384, 2, false},  {10, 1, 1, 11, true},        {3, 1000, 700, 1003, true}};
  for (const Case& c : accepted) {
    ASSERT_EQ(vr.Init_Resolution(float(c.left), 0, float(c.width), float(c.height), c.dest_width, 1), 1);
    std::vector<uint16_t> d(static_cast<size_t>(c.dest_width) * c.height, kUntouched);
    Draw(vr, d.data(), kDiagonal);
    int inside = 0, outside = 0;
    for (int y = 0; y < c.height; ++y) {
      for (int x = 0; x < c.dest_width; ++x) {
        const bool in = x >= c.left && x < c.left + c.width;
        const bool drawn = d[static_cast<size_t>(y) * c.dest_width + x] == 7;
        inside += in && drawn;
        outside += !in && d[static_cast<size_t>(y) * c.dest_width + x] != kUntouched;
      }
    }
    const int area = c.width * c.height;
    EXPECT_EQ(outside, 0) << c.width << "x" << c.height;
    EXPECT_EQ(d[static_cast<size_t>(c.height / 2) * c.dest_width + c.left + c.width / 2], 7);
    if (c.covered) {
      EXPECT_GE(inside, area - area / 1000) << c.width << "x" << c.height;
    }
  }
}

TEST(OrvVrApi, ViewportInsideAWiderDestination) {
  ORV_VR vr;
  Fill(vr, [](int k, int, int) { return static_cast<uint16_t>(k); });
  const int left = 100, width = 300, height = 200, stride = 512, rows = 230;
  ASSERT_EQ(vr.Init_Resolution(left, 0, width, height, stride, 1), 1);
  for (const View& v : {kHorizontal, kDiagonal, kSteep}) {
    std::vector<uint16_t> d(stride * rows, kUntouched);
    Draw(vr, d.data(), v);
    int inside = 0, outside = 0;
    for (int y = 0; y < rows; ++y) {
      for (int x = 0; x < stride; ++x) {
        const bool in = x >= left && x < left + width && y < height;
        const bool drawn = d[y * stride + x] != kUntouched;
        inside += in && drawn;
        outside += !in && drawn;
      }
    }
    EXPECT_EQ(outside, 0);
    EXPECT_GE(inside, width * height - 16);
  }
}

TEST(OrvVrApi, AssignmentAndCopiesShareOneRenderer) {
  ORV_VR a;
  ORV_VR b;
  ASSERT_NE(a.Buffer(), b.Buffer());
  a = b;  // a's own renderer is freed (the leak checker sees it otherwise)
  EXPECT_EQ(a.Buffer(), b.Buffer());
  a = a;
  EXPECT_EQ(a.Buffer(), b.Buffer());

  // One renderer: a viewport set through one object is used by the other.
  Fill(b, [](int, int, int) { return uint16_t{9}; });
  ASSERT_EQ(b.Init_Resolution(0, 0, 32, 24, 32, 1), 1);
  std::vector<uint16_t> d(32 * 24, kUntouched);
  Draw(a, d.data(), kHorizontal);
  EXPECT_EQ(Count(d, 9), 32 * 24);

  {
    ORV_VR c(a);
    EXPECT_EQ(c.Buffer(), b.Buffer());
    ORV_VR e;
    e = c;
    EXPECT_EQ(e.Buffer(), b.Buffer());
  }  // c and e gone; a and b still hold the renderer

  unsigned short* shared = b.Buffer();
  {
    ORV_VR f;
    b = f;  // b moves to f's renderer; a keeps the old one
    EXPECT_EQ(b.Buffer(), f.Buffer());
  }
  EXPECT_EQ(a.Buffer(), shared);
  std::vector<uint16_t> again(32 * 24, kUntouched);
  Draw(a, again.data(), kHorizontal);
  EXPECT_EQ(again, d);
}

}  // namespace
}  // namespace orv_test
