// Panorama projection renderer.
//
// ORV_VR draws the view from inside a cube panorama into a 16-bit pixel
// buffer. The panorama is held in a tile store of 24 tiles of 256 x 256
// pixels (tile k at pixel k * 65536, rows of 256 pixels), which the caller
// fills through Buffer(). Pixels are copied unchanged, so the store holds
// pixels in the destination's format.
//
// Typical use:
//   ORV_VR vr;
//   vr.Init_Resolution(0, 0, 640, 480, 640, 1);
//   fill vr.Buffer() with the panorama strip (256 wide, 6144 tall);
//   vr.Draw(frame, yaw, tilt, 0, fov);   // every frame
//
// Copies share one renderer (reference counted); the last one frees it.
// Two objects with their own renderers may draw on two threads at once.
#pragma once

#define ORV_VR_EXPORT __attribute__((visibility("default")))

namespace orv_vr_internal {
struct Renderer;
}

class ORV_VR_EXPORT ORV_VR {
 public:
  // Allocates a renderer with a zero-filled tile store. When the renderer
  // cannot be allocated the object holds none: Init_Resolution returns 0,
  // Draw does nothing and Buffer returns null.
  ORV_VR();
  // Shares the renderer of `other`, as operator= does.
  ORV_VR(const ORV_VR& other);
  ~ORV_VR();
  // Shares the renderer of `other`; this object's previous renderer is freed
  // when no other object holds it.
  ORV_VR& operator=(const ORV_VR& other);

  // Sets the viewport [left, left + width) x [top, top + height) and the
  // destination row length in pixels, and allocates the scan-line table of
  // trunc(height) rows. Returns 1 on success. Returns 0, and Draw is refused
  // until a later successful call, when the table cannot be allocated or the
  // viewport is unsafe: a value not finite, top not 0, width or height below
  // 1, left below 0, left + width beyond dest_width, or right or bottom edge
  // beyond 16384. `spare` is not read.
  int Init_Resolution(float left, float top, float width, float height, int dest_width, float spare);

  // Draws the view into dest (rows of dest_width pixels). Angles in radians;
  // fov is the full horizontal field of view. Pixels outside the viewport are
  // never written. Refused, leaving dest untouched: no successful
  // Init_Resolution, no tile store, a null dest, an angle or fov not finite,
  // or fov not inside (0, pi).
  void Draw(unsigned short* dest, float yaw, float tilt, float roll, float fov);

  // The tile store, for the caller to fill; null when it could not be
  // allocated.
  unsigned short* Buffer();

 private:
  orv_vr_internal::Renderer* state_;
};
