#include "orv_vr/quad_clip.h"

#include <cmath>

#include "orv_vr/cube.h"

namespace orv_vr_internal {
namespace {

float Lerp(float a, float b, float t) { return a + t * (b - a); }

// Where the edge's two ends have the same clipped coordinate (the edge runs
// along the clip line, its ends on either side only by their flags), the
// cut is A itself rather than 0/0, which would lose the whole polygon.
float Cut_Fraction(float plane, float a, float b) {
  const float span = b - a;
  return span == 0.0f ? 0.0f : (plane - a) / span;
}

Vertex Cut_Near(const Vertex& a, const Vertex& b) {
  const float t = (1.0f - a.z) / (b.z - a.z);
  Vertex n{};
  n.x = Lerp(a.x, b.x, t);
  n.y = Lerp(a.y, b.y, t);
  n.z = 1.0f;
  n.u = Lerp(a.u, b.u, t);
  n.v = Lerp(a.v, b.v, t);
  // The near bit itself is never read after this stage.
  n.flags = (n.x >= -1.0f ? kInsideLeft : 0) | (n.x <= 1.0f ? kInsideRight : 0) |
            (n.y <= 1.0f ? kInsideTop : 0) | (n.y >= -1.0f ? kInsideBottom : 0);
  return n;
}

// Cut on a vertical line x = plane; screen y, 1/z, u/z, v/z interpolated.
Vertex Cut_X(const Vertex& a, const Vertex& b, float plane) {
  const float t = Cut_Fraction(plane, a.sx, b.sx);
  Vertex n{};
  n.sx = plane;
  n.sy = Lerp(a.sy, b.sy, t);
  n.iz = Lerp(a.iz, b.iz, t);
  n.u = Lerp(a.u, b.u, t);
  n.v = Lerp(a.v, b.v, t);
  return n;
}

// Cut on a horizontal line y = plane.
Vertex Cut_Y(const Vertex& a, const Vertex& b, float plane) {
  const float t = Cut_Fraction(plane, a.sy, b.sy);
  Vertex n{};
  n.sx = Lerp(a.sx, b.sx, t);
  n.sy = plane;
  n.iz = Lerp(a.iz, b.iz, t);
  n.u = Lerp(a.u, b.u, t);
  n.v = Lerp(a.v, b.v, t);
  return n;
}

int Vertical_Flags(float y, const Viewport& vp) {
  return (y >= vp.y0 ? kInsideTop : 0) | (y <= vp.y1 ? kInsideBottom : 0);
}

// One Sutherland-Hodgman pass over the edges 0->1, ..., last->0: B when both
// ends are inside, the cut when only A is, the cut then B when only B is.
template <class Cut>
bool Clip_Stage(Polygon& p, int inside_bit, Cut cut) {
  std::array<Vertex, kMaxPolygonVertices> out;
  int n = 0;
  bool overflow = false;
  auto emit = [&](const Vertex& v) {
    if (n == kMaxPolygonVertices) {
      overflow = true;  // only from flags that disagree with a convex shape
      return;
    }
    out[n++] = v;
  };
  for (int i = 0; i < p.count; ++i) {
    const Vertex& a = p.v[i];
    const Vertex& b = p.v[i + 1 == p.count ? 0 : i + 1];
    const bool a_in = (a.flags & inside_bit) != 0;
    const bool b_in = (b.flags & inside_bit) != 0;
    if (a_in && b_in) {
      emit(b);
    } else if (a_in) {
      emit(cut(a, b));
    } else if (b_in) {
      emit(cut(a, b));
      emit(b);
    }
  }
  if (overflow || n < 3) return false;
  for (int i = 0; i < n; ++i) p.v[i] = out[i];
  p.count = n;
  return true;
}

void Project_Corner(ViewCorner& c, uint32_t frame, const Viewport& vp) {
  if (c.stamp == frame) return;
  c.iz = 1.0f / c.z;
  c.sx = ((c.x * c.iz) * vp.half_width) + vp.cx;
  c.sy = vp.cy - ((c.y * c.iz) * vp.half_height);
  c.stamp = frame;
}

// All corners in front of the near plane: each corner projected once per
// frame, however many quads share it.
void Take_Projected(Renderer& r, const Quad& q, Polygon& p) {
  for (int c = 0; c < 4; ++c) {
    ViewCorner& vc = r.view_corners[q.corner[c]];
    Project_Corner(vc, r.frame, r.viewport);
    Vertex& v = p.v[c];
    v.flags = vc.flags;
    v.sx = vc.sx;
    v.sy = vc.sy;
    v.iz = vc.iz;
    v.u = vc.iz * kCornerU[c];
    v.v = vc.iz * kCornerV[c];
  }
  p.count = 4;
}

void Take_View_Space(const Renderer& r, const Quad& q, Polygon& p) {
  for (int c = 0; c < 4; ++c) {
    const ViewCorner& vc = r.view_corners[q.corner[c]];
    Vertex& v = p.v[c];
    v.flags = vc.flags;
    v.x = vc.x;
    v.y = vc.y;
    v.z = vc.z;
    v.u = kCornerU[c];
    v.v = kCornerV[c];
  }
  p.count = 4;
}

}  // namespace

bool Clip_Near(Polygon& p) { return Clip_Stage(p, kInsideNear, Cut_Near); }

void Project(Vertex& v, const Viewport& vp) {
  const float iz = 1.0f / v.z;
  v.iz = iz;
  v.sx = ((v.x * iz) * vp.half_width) + vp.cx;
  v.sy = vp.cy - ((v.y * iz) * vp.half_height);
  v.u = v.u * iz;
  v.v = v.v * iz;
}

bool Clip_Screen(Polygon& p, const Viewport& vp) {
  const int all = p.and_flags;
  if (!(all & kInsideRight) && !Clip_Stage(p, kInsideRight, [&vp](const Vertex& a, const Vertex& b) {
        Vertex n = Cut_X(a, b, vp.x1);
        n.flags = kInsideLeft | Vertical_Flags(n.sy, vp);
        return n;
      })) {
    return false;
  }
  if (!(all & kInsideLeft) && !Clip_Stage(p, kInsideLeft, [&vp](const Vertex& a, const Vertex& b) {
        Vertex n = Cut_X(a, b, vp.x0);
        n.flags = Vertical_Flags(n.sy, vp);
        return n;
      })) {
    return false;
  }
  if (!(all & kInsideBottom) && !Clip_Stage(p, kInsideBottom, [&vp](const Vertex& a, const Vertex& b) {
        Vertex n = Cut_Y(a, b, vp.y1);
        n.flags = kInsideTop;
        return n;
      })) {
    return false;
  }
  if (!(all & kInsideTop) && !Clip_Stage(p, kInsideTop, [&vp](const Vertex& a, const Vertex& b) {
        Vertex n = Cut_Y(a, b, vp.y0);
        n.flags = 0;
        return n;
      })) {
    return false;
  }
  return true;
}

bool Polygon_Drawable(const Polygon& p, const Viewport& vp) {
  for (int i = 0; i < p.count; ++i) {
    const Vertex& v = p.v[i];
    // Written so that NaN fails every comparison.
    const bool near_viewport = v.sx >= vp.x0 - kGuardBand && v.sx <= vp.x1 + kGuardBand &&
                               v.sy >= vp.y0 - kGuardBand && v.sy <= vp.y1 + kGuardBand;
    if (!near_viewport || !std::isfinite(v.iz) || !std::isfinite(v.u) || !std::isfinite(v.v)) {
      return false;
    }
  }
  return true;
}

bool Setup_Quad(Renderer& r, const Quad& q, Polygon& p) {
  int all = kInsideAll, any = 0;
  for (int c = 0; c < 4; ++c) {
    const int f = r.view_corners[q.corner[c]].flags;
    all &= f;
    any |= f;
  }
  if (any != kInsideAll) return false;  // all four corners outside one plane
  p.and_flags = all;
  p.or_flags = any;
  if (all & kInsideNear) {
    Take_Projected(r, q, p);
  } else {
    Take_View_Space(r, q, p);
    if (!Clip_Near(p)) return false;
    for (int i = 0; i < p.count; ++i) Project(p.v[i], r.viewport);
  }
  if (!Clip_Screen(p, r.viewport) || !Polygon_Drawable(p, r.viewport)) return false;
  p.tile = q.tile;
  return true;
}

}  // namespace orv_vr_internal
