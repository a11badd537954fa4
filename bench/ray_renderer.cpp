#include "bench/ray_renderer.h"

#include <cmath>

namespace {

// Per face (in tile order: z = -255, x = -255, z = +255, x = +255,
// y = +255, y = -255) the axis and sign of its screen-right and
// screen-down directions as seen from inside; the face's top-left corner
// lies at -255 along both.
struct Face {
  int right_axis, right_sign, down_axis, down_sign;
};
constexpr Face kFaces[6] = {
    {0, +1, 1, -1}, {1, +1, 2, -1}, {0, +1, 1, +1}, {1, -1, 2, -1}, {0, +1, 2, -1}, {0, -1, 2, -1},
};

// Face index by leaving axis and sign.
int Face_Of(int axis, bool positive) {
  static constexpr int kByAxis[3][2] = {{1, 3}, {5, 4}, {0, 2}};
  return kByAxis[axis][positive ? 1 : 0];
}

// Tile quarter (top-left, top-right, bottom-right, bottom-left) and texel
// along one face coordinate f in [0, 2) (units of 255).
int Texel(float f, int& half) {
  half = f >= 1.0f;
  const float local = f - static_cast<float>(half);
  const int t = static_cast<int>(0.5f + 254.0f * local);
  return t < 0 ? 0 : (t > 255 ? 255 : t);
}

}  // namespace

RayRenderer::RayRenderer(const uint16_t* tiles, int width, int height, int dest_width)
    : tiles_(tiles), width_(width), height_(height), dest_width_(dest_width) {}

void RayRenderer::Draw(uint16_t* dest, float yaw, float tilt, float roll, float fov) const {
  const float sa = std::sin(yaw), ca = std::cos(yaw);
  const float sb = std::sin(tilt), cb = std::cos(tilt);
  const float sc = std::sin(roll), cc = std::cos(roll);
  const float right[3] = {-sa * cc - ca * cb * sc, sa * cb * sc - ca * cc, -sb * sc};
  const float up[3] = {ca * cb * cc - sa * sc, -ca * sc - sa * cb * cc, sb * cc};
  const float forward[3] = {ca * sb, -sa * sb, -cb};
  const float t = std::tan(fov / 2);
  const float half_w = width_ / 2.0f, half_h = height_ / 2.0f;
  // Screen offsets to view directions: x'/z' = a, y'/z' = b.
  const float a_per_pixel = t / half_w;
  const float b_per_pixel = t * height_ / width_ / half_h;

  for (int y = 0; y < height_; ++y) {
    const float b = (half_h - (y + 0.5f)) * b_per_pixel;
    uint16_t* row = dest + static_cast<long>(y) * dest_width_;
    for (int x = 0; x < width_; ++x) {
      const float a = (x + 0.5f - half_w) * a_per_pixel;
      float d[3];
      for (int i = 0; i < 3; ++i) d[i] = forward[i] + a * right[i] + b * up[i];
      const float ax = std::fabs(d[0]), ay = std::fabs(d[1]), az = std::fabs(d[2]);
      const int axis = ax >= ay && ax >= az ? 0 : (ay >= az ? 1 : 2);
      // The hit point over 255 is d / |d[axis]|: the division per pixel.
      const float scale = 1.0f / std::fabs(d[axis]);
      const int f = Face_Of(axis, d[axis] > 0);
      const Face& face = kFaces[f];
      const float fs = face.right_sign * d[face.right_axis] * scale + 1.0f;
      const float ft = face.down_sign * d[face.down_axis] * scale + 1.0f;
      int right_half = 0, lower_half = 0;
      const int u = Texel(fs, right_half), v = Texel(ft, lower_half);
      const int quarter = lower_half ? (right_half ? 2 : 3) : right_half;
      const int tile = 4 * f + quarter;
      row[x] = tiles_[tile * 65536 + v * 256 + u];
    }
  }
}
