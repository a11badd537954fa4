// The view matrix and the move of the cube's corners into view space.
#pragma once

#include "orv_vr/renderer.h"

namespace orv_vr_internal {

// R from yaw, tilt and roll, then rows 0 and 1 scaled by 1 / tan(fov / 2)
// and width / (height * tan(fov / 2)); the translation is 0. The view looks
// along (cos yaw sin tilt, -sin yaw sin tilt, -cos tilt).
void Build_View_Matrix(ViewMatrix& m, float yaw, float tilt, float roll, float fov, float width,
                       float height);

// p in view space: ((m0 * x + m1 * y) + m2 * z) per row.
Point3 Transform(const ViewMatrix& m, const Point3& p);

// One bit per frustum plane the point is inside of (ClipFlag).
int Clip_Flags(float x, float y, float z);

// Transforms every corner, sets its flags and marks its projection stale
// for the frame that follows `frame`.
void Transform_Corners(Renderer& r);

}  // namespace orv_vr_internal
