// Baseline for the projection benchmark: a straightforward renderer that
// casts the ray through each pixel's centre, finds the cube face it leaves
// through with one division per pixel, and reads the texel it hits. Same
// view conventions and tile layout as ORV_VR; no clipping, no spans.
#pragma once

#include <cstdint>

class RayRenderer {
 public:
  RayRenderer(const uint16_t* tiles, int width, int height, int dest_width);
  void Draw(uint16_t* dest, float yaw, float tilt, float roll, float fov) const;

 private:
  const uint16_t* tiles_;
  int width_, height_, dest_width_;
};
