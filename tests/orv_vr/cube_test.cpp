// The cube's corner and quad tables, checked against the cube's geometry:
// tiles of 255 x 255 on the six faces at +-255, corners clockwise as seen
// from inside, four tiles per face in the order top-left, top-right,
// bottom-right, bottom-left, faces in the order down, -x, up, +x, +y, -y.
#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <tuple>

#include "orv_vr/cube.h"
#include "tests/orv_vr/internal_support.h"

namespace orv_test {
namespace {

using orv_vr_internal::kCornerCount;
using orv_vr_internal::kTileCount;
using orv_vr_internal::kTilePixels;
using orv_vr_internal::Point3;

struct V {
  double x, y, z;
};
V Sub(Point3 a, Point3 b) { return {a.x - b.x, a.y - b.y, double(a.z) - b.z}; }
double Dot(V a, V b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
V Cross(V a, V b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }

TEST(OrvVrCube, CornersAreTheCubesCornersMidpointsAndCentres) {
  RendererPtr r = Make_Renderer(64, 64);
  std::set<std::tuple<float, float, float>> distinct;
  int zeros[4] = {};
  for (const Point3& p : r->corners) {
    distinct.insert({p.x, p.y, p.z});
    for (float c : {p.x, p.y, p.z}) EXPECT_TRUE(c == 0 || c == 255 || c == -255);
    zeros[(p.x == 0) + (p.y == 0) + (p.z == 0)]++;
  }
  EXPECT_EQ(distinct.size(), size_t{kCornerCount});
  EXPECT_EQ(zeros[0], 8);   // cube corners
  EXPECT_EQ(zeros[1], 12);  // edge midpoints
  EXPECT_EQ(zeros[2], 6);   // face centres
}

TEST(OrvVrCube, QuadsAreClockwiseTilesOfTheirFaces) {
  RendererPtr r = Make_Renderer(64, 64);
  const V face_normal[6] = {{0, 0, -1}, {-1, 0, 0}, {0, 0, 1}, {1, 0, 0}, {0, 1, 0}, {0, -1, 0}};
  for (int k = 0; k < kTileCount; ++k) {
    const auto& q = r->quads[k];
    EXPECT_EQ(q.tile, r->tiles.get() + k * kTilePixels);
    const Point3 tl = r->corners[q.corner[0]], tr = r->corners[q.corner[1]];
    const Point3 br = r->corners[q.corner[2]], bl = r->corners[q.corner[3]];
    const V right = Sub(tr, tl), down = Sub(bl, tl);
    EXPECT_EQ(Dot(right, right), 255.0 * 255.0) << k;
    EXPECT_EQ(Dot(down, down), 255.0 * 255.0) << k;
    EXPECT_EQ(Dot(right, down), 0.0) << k;
    const V diagonal = Sub(br, tl);
    EXPECT_EQ(diagonal.x, right.x + down.x);
    EXPECT_EQ(diagonal.y, right.y + down.y);
    EXPECT_EQ(diagonal.z, right.z + down.z);
    // Right x down points away from the viewer: clockwise seen from inside.
    const V n = Cross(right, down);
    const V outward = face_normal[k / 4];
    EXPECT_EQ(Dot(n, outward), 255.0 * 255.0) << k;
    for (const Point3& p : {tl, tr, br, bl}) {
      EXPECT_EQ(Dot({p.x, p.y, p.z}, outward), 255.0) << k;  // on the face's plane
    }
  }
}

TEST(OrvVrCube, EachFacesTilesRunTopLeftTopRightBottomRightBottomLeft) {
  RendererPtr r = Make_Renderer(64, 64);
  auto corner = [&](int k, int c) {
    const Point3 p = r->corners[r->quads[k].corner[c]];
    return std::tuple{p.x, p.y, p.z};
  };
  for (int f = 0; f < 6; ++f) {
    const int k = 4 * f;
    EXPECT_EQ(corner(k + 1, 0), corner(k, 1));  // top-right starts where top-left ends
    EXPECT_EQ(corner(k + 2, 0), corner(k, 2));  // bottom-right at the face centre
    EXPECT_EQ(corner(k + 3, 0), corner(k, 3));  // bottom-left below top-left
    EXPECT_EQ(corner(k + 3, 1), corner(k, 2));
    // The face centre is the one corner with two zero coordinates.
    const auto [x, y, z] = corner(k, 2);
    EXPECT_EQ((x == 0) + (y == 0) + (z == 0), 2) << f;
  }
}

}  // namespace
}  // namespace orv_test
