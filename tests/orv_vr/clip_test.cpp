// Quad set-up and clipping: rejection by flags, the near plane z' = 1, the
// screen stages and their vertex bound, and the drop of polygons that are
// not drawable.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

#include "orv_vr/cube.h"
#include "orv_vr/quad_clip.h"
#include "orv_vr/view_matrix.h"
#include "tests/orv_vr/cube_geometry.h"
#include "tests/orv_vr/internal_support.h"
#include "tests/orv_vr/test_views.h"

namespace orv_test {
namespace {

using namespace orv_vr_internal;

void Begin_Frame(Renderer& r, const View& v) {
  Build_View_Matrix(r.view, float(v.yaw), float(v.tilt), float(v.roll), float(v.fov), r.viewport.width,
                    r.viewport.height);
  Transform_Corners(r);
  ++r.frame;
}

// The quad's corners in view space, as a polygon before clipping.
Polygon View_Space_Polygon(const Renderer& r, int k) {
  Polygon p{};
  p.and_flags = kInsideAll;
  for (int c = 0; c < 4; ++c) {
    const ViewCorner& vc = r.view_corners[r.quads[k].corner[c]];
    p.v[c].flags = vc.flags;
    p.v[c].x = vc.x;
    p.v[c].y = vc.y;
    p.v[c].z = vc.z;
    p.v[c].u = kCornerU[c];
    p.v[c].v = kCornerV[c];
    p.and_flags &= vc.flags;
    p.or_flags |= vc.flags;
  }
  p.count = 4;
  return p;
}

Polygon From_Points(const float (&pts)[4][3]) {
  Polygon p{};
  p.and_flags = kInsideAll;
  for (int i = 0; i < 4; ++i) {
    Vertex& v = p.v[i];
    v.x = pts[i][0];
    v.y = pts[i][1];
    v.z = pts[i][2];
    v.u = kCornerU[i];
    v.v = kCornerV[i];
    v.flags = Clip_Flags(v.x, v.y, v.z);
    p.and_flags &= v.flags;
    p.or_flags |= v.flags;
  }
  p.count = 4;
  return p;
}

std::vector<View> Random_Views(int n, unsigned seed) {
  std::mt19937 rng(seed);
  std::uniform_real_distribution<double> yaw(-kPi, kPi), tilt(0, kPi), roll(-kPi, kPi), fov(0.2, 3.0);
  std::vector<View> views;
  for (int i = 0; i < n; ++i) views.push_back({yaw(rng), tilt(rng), roll(rng), fov(rng)});
  return views;
}

TEST(OrvVrClip, FlagsMarkTheInsideOfEachPlane) {
  EXPECT_EQ(Clip_Flags(0, 0, 1), kInsideAll);
  EXPECT_EQ(Clip_Flags(0, 0, 0.5f), kInsideAll & ~kInsideNear);
  EXPECT_EQ(Clip_Flags(2, 0, 2), kInsideAll);  // on the right plane is inside
  EXPECT_EQ(Clip_Flags(2.5f, 0, 2), kInsideAll & ~kInsideRight);
  EXPECT_EQ(Clip_Flags(-2.5f, 0, 2), kInsideAll & ~kInsideLeft);
  EXPECT_EQ(Clip_Flags(0, 2.5f, 2), kInsideAll & ~kInsideTop);
  EXPECT_EQ(Clip_Flags(0, -2.5f, 2), kInsideAll & ~kInsideBottom);
  EXPECT_EQ(Clip_Flags(0, 0, -3), 0);  // behind: outside every plane
}

// A corner shared by several quads in front of the near plane is projected
// once in the frame: every such quad takes the same stamped projection, and
// the next frame's transform makes it stale again.
TEST(OrvVrClip, SharedCornersAreProjectedOncePerFrame) {
  RendererPtr r = Make_Renderer(640, 480);
  const View wide{-kPi / 2, kPi / 2, 0, 2.2};  // the +y face wholly on screen
  Begin_Frame(*r, wide);
  int shared_uses = 0;
  for (int k = 0; k < kTileCount; ++k) {
    const Quad& q = r->quads[k];
    Polygon p;
    const bool kept = Setup_Quad(*r, q, p);
    if (!kept || !(p.and_flags & kInsideNear) || p.and_flags != kInsideAll) continue;
    for (int c = 0; c < 4; ++c) {
      const ViewCorner& vc = r->view_corners[q.corner[c]];
      EXPECT_EQ(vc.stamp, r->frame);
      EXPECT_EQ(p.v[c].sx, vc.sx);
      EXPECT_EQ(p.v[c].sy, vc.sy);
      EXPECT_EQ(p.v[c].iz, vc.iz);
      ++shared_uses;
    }
  }
  EXPECT_GE(shared_uses, 16);
  Begin_Frame(*r, wide);
  for (const ViewCorner& vc : r->view_corners) EXPECT_NE(vc.stamp, r->frame);
}

TEST(OrvVrClip, QuadsBehindTheViewerAreDropped) {
  RendererPtr r = Make_Renderer(640, 480);
  int behind = 0;
  for (const View& v : Random_Views(200, 7)) {
    Begin_Frame(*r, v);
    const Basis b = View_Basis(v);
    for (int k = 0; k < kTileCount; ++k) {
      bool all_behind = true;
      for (const Vec3& c : Tile_Corners(k)) all_behind = all_behind && Dot(c, b.forward) < 0.9;
      if (!all_behind) continue;
      ++behind;
      const Polygon p = View_Space_Polygon(*r, k);
      EXPECT_EQ(p.or_flags & kInsideNear, 0);  // rejected by flags, before any clipping
      Polygon out;
      EXPECT_FALSE(Setup_Quad(*r, r->quads[k], out));
    }
  }
  EXPECT_GT(behind, 200);
}

// Looking along +y, the floor tile 1 (y from 0 to 255 at z = -255) runs
// from the viewer's side of the near plane to depth 255.
TEST(OrvVrClip, QuadStraddlingTheNearPlaneIsCutOnIt) {
  RendererPtr r = Make_Renderer(640, 480);
  const View v{-kPi / 2, kPi / 2, 0, kPi / 2};
  Begin_Frame(*r, v);
  Polygon p = View_Space_Polygon(*r, 1);
  ASSERT_EQ(p.and_flags & kInsideNear, 0);
  ASSERT_NE(p.or_flags & kInsideNear, 0);
  ASSERT_TRUE(Clip_Near(p));
  ASSERT_EQ(p.count, 4);  // two corners in front, two cuts

  const Basis b = View_Basis(v);
  const double sx = 1 / std::tan(v.fov / 2), sy = 640.0 / (480.0 * std::tan(v.fov / 2));
  int cuts = 0;
  for (int i = 0; i < p.count; ++i) {
    Vertex vert = p.v[i];
    if (vert.z != 1.0f) {
      EXPECT_GE(vert.z, 1.0f);
      continue;
    }
    ++cuts;
    // On the tile's side edge (x = 0 or 255) where its depth is 1: world y = 1.
    const double world_x = vert.u < 1000 ? 0.0 : 255.0;
    const Vec3 world{world_x, 1.0, -255.0};
    EXPECT_NEAR(vert.x, sx * Dot(world, b.right), 1e-3);
    EXPECT_NEAR(vert.y, sy * Dot(world, b.up), 1e-3);
    EXPECT_NEAR(vert.v, 65152.0 - (65152.0 - 128.0) / 255.0, 0.05);
    EXPECT_EQ(vert.flags & (kInsideLeft | kInsideRight | kInsideTop | kInsideBottom),
              Clip_Flags(vert.x, vert.y, 1.0f) & ~kInsideNear);
    Project(vert, r->viewport);
    EXPECT_EQ(vert.iz, 1.0f);
    EXPECT_EQ(vert.sx, p.v[i].x * r->viewport.half_width + r->viewport.cx);
  }
  EXPECT_EQ(cuts, 2);
}

TEST(OrvVrClip, NearCutInterpolatesAlongTheEdge) {
  // Depth 3 to -1 along each side edge: the cut lies half-way.
  const float pts[4][3] = {{-0.2f, 0.4f, 3}, {0.6f, 0.4f, 3}, {0.6f, -0.4f, -1}, {-0.2f, -0.4f, -1}};
  Polygon p = From_Points(pts);
  ASSERT_TRUE(Clip_Near(p));
  ASSERT_EQ(p.count, 4);
  // Edges 0->1 (both in: 1), 1->2 (cut), 2->3 (out), 3->0 (cut, then 0).
  EXPECT_EQ(p.v[0].z, 3.0f);
  EXPECT_EQ(p.v[1].z, 1.0f);
  EXPECT_FLOAT_EQ(p.v[1].x, 0.6f);
  EXPECT_FLOAT_EQ(p.v[1].y, 0.0f);
  EXPECT_FLOAT_EQ(p.v[1].u, 65152.0f);
  EXPECT_FLOAT_EQ(p.v[1].v, (128.0f + 65152.0f) / 2);
  EXPECT_EQ(p.v[1].flags, kInsideLeft | kInsideRight | kInsideTop | kInsideBottom);
  EXPECT_EQ(p.v[2].z, 1.0f);
  EXPECT_FLOAT_EQ(p.v[2].x, -0.2f);
  EXPECT_EQ(p.v[3].z, 3.0f);

  // A cut outside the side planes gets flags from its own position.
  const float wide[4][3] = {{-3, 0, 3}, {3, 0, 3}, {3, 0, -1}, {-3, 0, -1}};
  Polygon q = From_Points(wide);
  ASSERT_TRUE(Clip_Near(q));
  EXPECT_EQ(q.v[1].flags, kInsideLeft | kInsideTop | kInsideBottom);   // x = 3 at z = 1
  EXPECT_EQ(q.v[2].flags, kInsideRight | kInsideTop | kInsideBottom);  // x = -3
}

// The part in front of the near plane lies wholly right of the frustum,
// though the corners behind it are inside the right plane: no vertex is
// left after the right stage.
TEST(OrvVrClip, NothingLeftAfterAStageDropsTheQuad) {
  RendererPtr r = Make_Renderer(64, 64);
  const float pts[4][3] = {{3, -0.5f, 2}, {3, 0.5f, 2}, {0.5f, 0.5f, 0.5f}, {0.5f, -0.5f, 0.5f}};
  Polygon p = From_Points(pts);
  ASSERT_EQ(p.or_flags, kInsideAll);
  ASSERT_TRUE(Clip_Near(p));
  ASSERT_EQ(p.count, 4);
  for (int i = 0; i < p.count; ++i) {
    EXPECT_EQ(p.v[i].flags & kInsideRight, 0);
    Project(p.v[i], r->viewport);
  }
  EXPECT_FALSE(Clip_Screen(p, r->viewport));
}

TEST(OrvVrClip, ScreenStagesRunOnlyForPlanesSomeCornerViolates) {
  RendererPtr r = Make_Renderer(64, 64);
  // Corners flagged inside everywhere keep their coordinates, even a hair
  // outside the viewport: the decision is the flags'.
  Polygon p{};
  p.count = 4;
  p.and_flags = p.or_flags = kInsideAll;
  const float xs[4] = {-0.001f, 64.001f, 64.001f, -0.001f}, ys[4] = {0, 0, 64, 64};
  for (int i = 0; i < 4; ++i) {
    p.v[i].flags = kInsideAll;
    p.v[i].sx = xs[i];
    p.v[i].sy = ys[i];
    p.v[i].iz = 1;
  }
  Polygon q = p;
  ASSERT_TRUE(Clip_Screen(q, r->viewport));
  ASSERT_EQ(q.count, 4);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(q.v[i].sx, xs[i]);

  // Corner 1 outside the right plane only: the right stage alone runs and
  // cuts the edges 0->1 and 1->2 at x = 64.
  Polygon s{};
  s.count = 4;
  const float sx[4] = {10, 80, 50, 10}, sy[4] = {10, 20, 50, 50};
  s.and_flags = kInsideAll & ~kInsideRight;
  s.or_flags = kInsideAll;
  for (int i = 0; i < 4; ++i) {
    s.v[i].flags = i == 1 ? kInsideAll & ~kInsideRight : kInsideAll;
    s.v[i].sx = sx[i];
    s.v[i].sy = sy[i];
    s.v[i].iz = 1;
  }
  ASSERT_TRUE(Clip_Screen(s, r->viewport));
  ASSERT_EQ(s.count, 5);
  // 0->1: the cut; 1->2: the cut, then 2; 2->3: 3; 3->0: 0.
  EXPECT_EQ(s.v[0].sx, 64.0f);
  EXPECT_FLOAT_EQ(s.v[0].sy, 10 + 10 * (54.0f / 70.0f));
  EXPECT_EQ(s.v[0].flags, kInsideLeft | kInsideTop | kInsideBottom);
  EXPECT_EQ(s.v[1].sx, 64.0f);
  EXPECT_FLOAT_EQ(s.v[1].sy, 20 + 30 * (16.0f / 30.0f));
  EXPECT_EQ(s.v[2].sx, 50.0f);
  EXPECT_EQ(s.v[3].sx, 10.0f);
  EXPECT_EQ(s.v[4].sx, 10.0f);
  EXPECT_EQ(s.v[4].sy, 10.0f);
}

TEST(OrvVrClip, ClippingByAllFivePlanesGivesAtMostNineVertices) {
  RendererPtr r = Make_Renderer(64, 64);
  // One corner behind the near plane and the quad wider than the screen on
  // every side, without covering a screen corner: every plane adds a vertex.
  const float pts[4][3] = {
      {2.16f, -1.84f, 1.61f}, {-2.81f, 3.58f, 0.07f}, {-5.16f, -1.26f, 5.35f}, {-0.19f, -6.67f, 6.89f}};
  Polygon p = From_Points(pts);
  ASSERT_TRUE(Clip_Near(p));
  EXPECT_EQ(p.count, 5);
  for (int i = 0; i < p.count; ++i) Project(p.v[i], r->viewport);
  ASSERT_TRUE(Clip_Screen(p, r->viewport));
  EXPECT_EQ(p.count, 9);
  int on[4] = {};
  for (int i = 0; i < p.count; ++i) {
    EXPECT_GE(p.v[i].sx, -1e-3f);
    EXPECT_LE(p.v[i].sx, 64 + 1e-3f);
    EXPECT_GE(p.v[i].sy, -1e-3f);
    EXPECT_LE(p.v[i].sy, 64 + 1e-3f);
    on[0] += p.v[i].sx == 0.0f;
    on[1] += p.v[i].sx == 64.0f;
    on[2] += p.v[i].sy == 0.0f;
    on[3] += p.v[i].sy == 64.0f;
  }
  for (int side = 0; side < 4; ++side) EXPECT_EQ(on[side], 2) << side;

  // Whatever the view, no polygon of the cube has more.
  for (const View& v : Random_Views(3000, 11)) {
    Begin_Frame(*r, v);
    for (const Quad& q : r->quads) {
      Polygon out;
      if (Setup_Quad(*r, q, out)) {
        EXPECT_GE(out.count, 3);
        EXPECT_LE(out.count, kMaxPolygonVertices);
      }
    }
  }
}

// An edge running along the clip line whose far end is flagged outside only
// by rounding: the cut is the edge's first end, not 0/0, and the polygon
// stays.
TEST(OrvVrClip, EdgeAlongTheClipLineIsCutAtItsFirstEnd) {
  RendererPtr r = Make_Renderer(64, 64);
  Polygon p{};
  p.count = 4;
  const float sx[4] = {32, 64, 64, 32}, sy[4] = {32, 32, 64, 64};
  const int flags[4] = {kInsideAll, kInsideAll, kInsideAll & ~kInsideRight & ~kInsideBottom,
                        kInsideAll & ~kInsideBottom};
  p.and_flags = flags[2];
  p.or_flags = kInsideAll;
  for (int i = 0; i < 4; ++i) {
    p.v[i].flags = flags[i];
    p.v[i].sx = sx[i];
    p.v[i].sy = sy[i];
    p.v[i].iz = 0.5f;
    p.v[i].u = 64 * (i == 1 || i == 2);
    p.v[i].v = 64 * (i >= 2);
  }
  ASSERT_TRUE(Clip_Screen(p, r->viewport));
  ASSERT_TRUE(Polygon_Drawable(p, r->viewport));
  float min_x = 99, max_x = -1, min_y = 99, max_y = -1;
  for (int i = 0; i < p.count; ++i) {
    min_x = std::min(min_x, p.v[i].sx);
    max_x = std::max(max_x, p.v[i].sx);
    min_y = std::min(min_y, p.v[i].sy);
    max_y = std::max(max_y, p.v[i].sy);
  }
  EXPECT_EQ(min_x, 32.0f);
  EXPECT_EQ(max_x, 64.0f);
  EXPECT_EQ(min_y, 32.0f);
  EXPECT_EQ(max_y, 64.0f);
}

TEST(OrvVrClip, PolygonsNotFiniteOrFarOutsideAreNotDrawable) {
  RendererPtr r = Make_Renderer(64, 64);
  Polygon p{};
  p.count = 3;
  const float sx[3] = {0, 60, 10}, sy[3] = {0, 10, 60};
  for (int i = 0; i < 3; ++i) {
    p.v[i].sx = sx[i];
    p.v[i].sy = sy[i];
    p.v[i].iz = 1;
  }
  EXPECT_TRUE(Polygon_Drawable(p, r->viewport));
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float inf = std::numeric_limits<float>::infinity();
  for (float bad : {nan, inf, -inf}) {
    for (int field = 0; field < 5; ++field) {
      Polygon q = p;
      float* values[5] = {&q.v[1].sx, &q.v[1].sy, &q.v[1].iz, &q.v[1].u, &q.v[1].v};
      *values[field] = bad;
      EXPECT_FALSE(Polygon_Drawable(q, r->viewport)) << field;
    }
  }
  Polygon far = p;
  far.v[2].sy = 64 + kGuardBand + 1;
  EXPECT_FALSE(Polygon_Drawable(far, r->viewport));
  far.v[2].sy = 64 + kGuardBand - 1;
  EXPECT_TRUE(Polygon_Drawable(far, r->viewport));
}

// A field of view so small that the scale overflows to infinity: the
// polygons that pass the flags are not finite, and nothing is drawn.
TEST(OrvVrClip, OverflowingScaleDrawsNothing) {
  ORV_VR vr;
  Fill(vr, [](int, int, int) { return uint16_t{3}; });
  ASSERT_EQ(vr.Init_Resolution(0, 0, 64, 64, 64, 1), 1);
  std::vector<uint16_t> d(64 * 64, kUntouched);
  vr.Draw(d.data(), 0.3f, 1.5f, 0, 1e-38f);
  int drawn = 0;
  for (uint16_t px : d) drawn += px != kUntouched;
  EXPECT_EQ(drawn, 0);
}

}  // namespace
}  // namespace orv_test
