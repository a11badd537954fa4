// Reference geometry for the renderer tests, in double precision and
// independent of the renderer: the cube's tiles, the view rotation and
// scale, the ray through a screen point and the tile and texel it hits.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace orv_test {

struct Vec3 {
  double x, y, z;
};

Vec3 operator+(Vec3 a, Vec3 b);
Vec3 operator-(Vec3 a, Vec3 b);
Vec3 operator*(double s, Vec3 a);
double Dot(Vec3 a, Vec3 b);
Vec3 Cross(Vec3 a, Vec3 b);

// Tile k's quad: top-left, top-right, bottom-right, bottom-left.
const std::array<Vec3, 4>& Tile_Corners(int k);

struct Viewport {
  double left, top, width, height;
};

struct View {
  double yaw, tilt, roll, fov;
};

// Rows of the rotation: screen right, screen up, view direction.
struct Basis {
  Vec3 right, up, forward;
};
Basis View_Basis(const View& v);

// The ray (world direction) through screen point (sx, sy): screen x = x'/z'
// * half width + centre x, screen y = centre y - y'/z' * half height, with
// x' scaled by 1 / tan(fov / 2) and y' by width / (height tan(fov / 2)).
Vec3 Ray(const View& v, const Viewport& vp, double sx, double sy);

struct Hit {
  int tile;
  double u, v;  // texels: 0.5 at the tile's top-left corner, 254.5 at the opposite one
};
// The tile the direction hits and the texture coordinates there.
Hit Cube_Hit(Vec3 direction);

// The tile seen through the whole square [sx0, sx1] x [sy0, sy1] of the
// screen, when its four corners see the same tile (a tile's screen image is
// convex), else none.
std::optional<int> Tile_Seen(const View& v, const Viewport& vp, double sx0, double sy0, double sx1,
                             double sy1);

// A tile store (24 tiles of 65536 pixels) filled by f(tile, u, v).
template <class F>
std::vector<uint16_t> Make_Store(F f) {
  std::vector<uint16_t> store(24 * 65536);
  for (int k = 0; k < 24; ++k) {
    for (int v = 0; v < 256; ++v) {
      for (int u = 0; u < 256; ++u) store[k * 65536 + v * 256 + u] = f(k, u, v);
    }
  }
  return store;
}

}  // namespace orv_test
