#include "orv_vr/view_matrix.h"

#include <cmath>

namespace orv_vr_internal {

void Build_View_Matrix(ViewMatrix& m, float yaw, float tilt, float roll, float fov, float width,
                       float height) {
  const float sa = std::sin(yaw), ca = std::cos(yaw);
  const float sb = std::sin(tilt), cb = std::cos(tilt);
  const float sc = std::sin(roll), cc = std::cos(roll);

  m.m[0][0] = (-sa * cc) - ((ca * cb) * sc);
  m.m[0][1] = ((sa * cb) * sc) - (ca * cc);
  m.m[0][2] = -sb * sc;
  m.m[1][0] = ((ca * cb) * cc) - (sa * sc);
  m.m[1][1] = (-ca * sc) - ((sa * cb) * cc);
  m.m[1][2] = sb * cc;
  m.m[2][0] = ca * sb;
  m.m[2][1] = -sa * sb;
  m.m[2][2] = -cb;

  const float t = std::tan(fov / 2.0f);
  const float scale_x = 1.0f / t;
  const float scale_y = width / (height * t);
  for (int c = 0; c < 3; ++c) {
    m.m[0][c] = m.m[0][c] * scale_x;
    m.m[1][c] = m.m[1][c] * scale_y;
  }
  m.translation[0] = m.translation[1] = m.translation[2] = 0.0f;
}

Point3 Transform(const ViewMatrix& m, const Point3& p) {
  // The translation is always 0 and is not added.
  return {(m.m[0][0] * p.x + m.m[0][1] * p.y) + m.m[0][2] * p.z,
          (m.m[1][0] * p.x + m.m[1][1] * p.y) + m.m[1][2] * p.z,
          (m.m[2][0] * p.x + m.m[2][1] * p.y) + m.m[2][2] * p.z};
}

int Clip_Flags(float x, float y, float z) {
  return (z >= 1.0f ? kInsideNear : 0) | (x >= -z ? kInsideLeft : 0) | (x <= z ? kInsideRight : 0) |
         (y <= z ? kInsideTop : 0) | (y >= -z ? kInsideBottom : 0);
}

void Transform_Corners(Renderer& r) {
  for (int i = 0; i < kCornerCount; ++i) {
    const Point3 p = Transform(r.view, r.corners[i]);
    ViewCorner& c = r.view_corners[i];
    c.x = p.x;
    c.y = p.y;
    c.z = p.z;
    c.flags = Clip_Flags(p.x, p.y, p.z);
    c.stamp = r.frame;  // the counter moves on next, so no corner counts as projected
  }
}

}  // namespace orv_vr_internal
