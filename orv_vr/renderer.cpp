#include "orv_vr/renderer.h"

#include <cmath>
#include <new>
#include <numbers>

#include "orv_vr/cube.h"
#include "orv_vr/polygon_fill.h"
#include "orv_vr/quad_clip.h"
#include "orv_vr/view_matrix.h"

namespace orv_vr_internal {

Renderer* Create_Renderer() {
  Renderer* r = new (std::nothrow) Renderer;
  if (!r) return nullptr;
  r->tiles.reset(new (std::nothrow) uint16_t[kStorePixels]());
  Build_Cube(r->corners, r->quads, r->tiles.get());
  return r;
}

bool Set_Viewport(Renderer& r, float left, float top, float width, float height, int dest_width) {
  r.scan.reset();
  r.viewport = Viewport{};
  const bool finite =
      std::isfinite(left) && std::isfinite(top) && std::isfinite(width) && std::isfinite(height);
  if (!finite || top != 0.0f || width < 1.0f || height < 1.0f || left < 0.0f) return false;
  const float right = left + width;
  // Every drawn column lies below ceil(right), so a row never runs into the
  // next one and the last row never past the destination.
  if (right > kMaxViewportEdge || height > kMaxViewportEdge ||
      static_cast<double>(right) > static_cast<double>(dest_width)) {
    return false;
  }
  const int rows = static_cast<int>(height);
  ScanRow* table = new (std::nothrow) ScanRow[rows];
  if (!table) return false;
  r.scan.reset(table);

  Viewport& vp = r.viewport;
  vp.x0 = left;
  vp.y0 = top;
  vp.x1 = right;
  vp.y1 = top + height;
  vp.width = width;
  vp.height = height;
  vp.cx = (vp.x0 + vp.x1) / 2.0f;
  vp.cy = (vp.y0 + vp.y1) / 2.0f;
  vp.half_width = width / 2.0f;
  vp.half_height = height / 2.0f;
  vp.dest_width = dest_width;
  vp.rows = rows;
  vp.column_lo = static_cast<int>(std::floor(vp.x0));
  vp.column_hi = static_cast<int>(std::ceil(vp.x1));
  return true;
}

bool Ready(const Renderer& r) { return r.tiles && r.scan; }

bool View_Acceptable(float yaw, float tilt, float roll, float fov) {
  return std::isfinite(yaw) && std::isfinite(tilt) && std::isfinite(roll) && std::isfinite(fov) &&
         fov > 0.0f && fov < std::numbers::pi_v<float>;
}

void Render(Renderer& r, uint16_t* dest, float yaw, float tilt, float roll, float fov) {
  Build_View_Matrix(r.view, yaw, tilt, roll, fov, r.viewport.width, r.viewport.height);
  Transform_Corners(r);
  r.polygon_count = 0;
  ++r.frame;
  for (const Quad& q : r.quads) {
    if (Setup_Quad(r, q, r.polygons[r.polygon_count])) ++r.polygon_count;
  }
  // No depth test: the cube's quads never overlap on screen.
  for (int i = 0; i < r.polygon_count; ++i) {
    Fill_Polygon(r.polygons[i], r.viewport, r.scan.get(), r.span, dest);
  }
}

}  // namespace orv_vr_internal
