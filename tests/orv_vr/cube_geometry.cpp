#include "tests/orv_vr/cube_geometry.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace orv_test {

Vec3 operator+(Vec3 a, Vec3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
Vec3 operator-(Vec3 a, Vec3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
Vec3 operator*(double s, Vec3 a) { return {s * a.x, s * a.y, s * a.z}; }
double Dot(Vec3 a, Vec3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
Vec3 Cross(Vec3 a, Vec3 b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }

namespace {

constexpr double P = 255, N = -255;

const std::array<std::array<Vec3, 4>, 24> kTiles = {{
    {{{N, P, N}, {0, P, N}, {0, 0, N}, {N, 0, N}}}, {{{0, P, N}, {P, P, N}, {P, 0, N}, {0, 0, N}}},
    {{{0, 0, N}, {P, 0, N}, {P, N, N}, {0, N, N}}}, {{{N, 0, N}, {0, 0, N}, {0, N, N}, {N, N, N}}},
    {{{N, N, P}, {N, 0, P}, {N, 0, 0}, {N, N, 0}}}, {{{N, 0, P}, {N, P, P}, {N, P, 0}, {N, 0, 0}}},
    {{{N, 0, 0}, {N, P, 0}, {N, P, N}, {N, 0, N}}}, {{{N, N, 0}, {N, 0, 0}, {N, 0, N}, {N, N, N}}},
    {{{N, N, P}, {0, N, P}, {0, 0, P}, {N, 0, P}}}, {{{0, N, P}, {P, N, P}, {P, 0, P}, {0, 0, P}}},
    {{{0, 0, P}, {P, 0, P}, {P, P, P}, {0, P, P}}}, {{{N, 0, P}, {0, 0, P}, {0, P, P}, {N, P, P}}},
    {{{P, P, P}, {P, 0, P}, {P, 0, 0}, {P, P, 0}}}, {{{P, 0, P}, {P, N, P}, {P, N, 0}, {P, 0, 0}}},
    {{{P, 0, 0}, {P, N, 0}, {P, N, N}, {P, 0, N}}}, {{{P, P, 0}, {P, 0, 0}, {P, 0, N}, {P, P, N}}},
    {{{N, P, P}, {0, P, P}, {0, P, 0}, {N, P, 0}}}, {{{0, P, P}, {P, P, P}, {P, P, 0}, {0, P, 0}}},
    {{{0, P, 0}, {P, P, 0}, {P, P, N}, {0, P, N}}}, {{{N, P, 0}, {0, P, 0}, {0, P, N}, {N, P, N}}},
    {{{P, N, P}, {0, N, P}, {0, N, 0}, {P, N, 0}}}, {{{0, N, P}, {N, N, P}, {N, N, 0}, {0, N, 0}}},
    {{{0, N, 0}, {N, N, 0}, {N, N, N}, {0, N, N}}}, {{{P, N, 0}, {0, N, 0}, {0, N, N}, {P, N, N}}},
}};

}  // namespace

const std::array<Vec3, 4>& Tile_Corners(int k) { return kTiles[k]; }

Basis View_Basis(const View& v) {
  const double sa = std::sin(v.yaw), ca = std::cos(v.yaw);
  const double sb = std::sin(v.tilt), cb = std::cos(v.tilt);
  const double sc = std::sin(v.roll), cc = std::cos(v.roll);
  return {{-sa * cc - ca * cb * sc, sa * cb * sc - ca * cc, -sb * sc},
          {ca * cb * cc - sa * sc, -ca * sc - sa * cb * cc, sb * cc},
          {ca * sb, -sa * sb, -cb}};
}

Vec3 Ray(const View& v, const Viewport& vp, double sx, double sy) {
  const Basis b = View_Basis(v);
  const double t = std::tan(v.fov / 2);
  const double cx = vp.left + vp.width / 2, cy = vp.top + vp.height / 2;
  // x'/z' and y'/z' of the scaled view space, back to the unscaled rotation.
  const double a = (sx - cx) / (vp.width / 2) * t;
  const double c = (cy - sy) / (vp.height / 2) * t * vp.height / vp.width;
  return a * b.right + c * b.up + b.forward;
}

Hit Cube_Hit(Vec3 d) {
  const double ax = std::fabs(d.x), ay = std::fabs(d.y), az = std::fabs(d.z);
  const double m = std::max(ax, std::max(ay, az));
  const Vec3 p = (255.0 / m) * d;
  Hit best{-1, 0, 0};
  double best_miss = 1e9;
  for (int k = 0; k < 24; ++k) {
    const auto& c = kTiles[k];
    const Vec3 n = Cross(c[1] - c[0], c[3] - c[0]);                    // length 255 * 255
    if (std::fabs(Dot(n, p - c[0])) > 1e-3 * 255.0 * 255.0) continue;  // not on its plane
    const double s = Dot(p - c[0], c[1] - c[0]) / (255.0 * 255.0);
    const double t = Dot(p - c[0], c[3] - c[0]) / (255.0 * 255.0);
    const double miss = std::max({-s, s - 1, -t, t - 1, 0.0});
    if (miss < best_miss) {
      best_miss = miss;
      best = {k, 0.5 + 254.0 * s, 0.5 + 254.0 * t};
    }
  }
  return best;
}

std::optional<int> Tile_Seen(const View& v, const Viewport& vp, double sx0, double sy0, double sx1,
                             double sy1) {
  const int a = Cube_Hit(Ray(v, vp, sx0, sy0)).tile;
  for (const auto& [sx, sy] : {std::pair{sx1, sy0}, std::pair{sx1, sy1}, std::pair{sx0, sy1}}) {
    if (Cube_Hit(Ray(v, vp, sx, sy)).tile != a) return std::nullopt;
  }
  return a;
}

}  // namespace orv_test
