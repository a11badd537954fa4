// The renderer state behind one ORV_VR, and the per-frame entry point.
//
// All arithmetic is single-precision float, evaluated in the order written
// (the library is built with -ffp-contract=off), so every build draws the
// same pixels for the same view.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>

namespace orv_vr_internal {

inline constexpr int kTileSide = 256;
inline constexpr int kTilePixels = kTileSide * kTileSide;
inline constexpr int kTileCount = 24;
inline constexpr int kStorePixels = kTileCount * kTilePixels;
inline constexpr int kCornerCount = 26;
inline constexpr int kMaxPolygonVertices = 9;  // a quad clipped by five planes

// Largest right and bottom viewport edge. Keeps screen x, with the guard
// band below, inside the 16.16 fixed point of the edge walk.
inline constexpr float kMaxViewportEdge = 16384.0f;
// A clipped polygon reaching further than this outside the viewport (only
// from rounding where a clip decision and a coordinate disagree) is dropped.
inline constexpr float kGuardBand = 4096.0f;

// Clip flags: a bit is set when the point is inside that plane.
enum ClipFlag : int {
  kInsideNear = 1,     // z >= 1
  kInsideLeft = 2,     // x >= -z
  kInsideRight = 4,    // x <= z
  kInsideTop = 8,      // y <= z
  kInsideBottom = 16,  // y >= -z
  kInsideAll = 31,
};

struct Point3 {
  float x, y, z;
};

struct Quad {
  std::array<uint8_t, 4> corner;  // top-left, top-right, bottom-right, bottom-left
  const uint16_t* tile;
};

struct Viewport {
  float x0 = 0, y0 = 0, x1 = 0, y1 = 0;
  float width = 0, height = 0;
  float cx = 0, cy = 0, half_width = 0, half_height = 0;
  int dest_width = 0;
  int rows = 0;                      // scan-line table rows, trunc(height)
  int column_lo = 0, column_hi = 0;  // destination columns the viewport covers
};

// 3 x 3 rotation-and-scale part and translation (always 0).
struct ViewMatrix {
  float m[3][3];
  float translation[3];
};

// A corner in view space, with its projection of the current frame.
struct ViewCorner {
  float x, y, z;
  int flags;
  uint32_t stamp;  // frame of the projection below
  float sx, sy, iz;
};

struct Vertex {
  int flags;
  float sx, sy, iz;  // screen x, screen y, 1/z
  float x, y, z;     // view space (before projection)
  float u, v;        // texture coordinates in 1/256 texel; u/z, v/z once projected
};

struct Polygon {
  int count;
  int and_flags, or_flags;  // of the quad's four corners
  std::array<Vertex, kMaxPolygonVertices> v;
  const uint16_t* tile;
};

// One output row: the polygon's left and right edge.
struct ScanRow {
  int32_t left_x, right_x;
  float left_uz, right_uz;
  float left_vz, right_vz;
  float left_iz, right_iz;
};
static_assert(sizeof(ScanRow) == 32);

// The span drawer's working values: the span's start, its per-pixel
// gradients, the running 32-pixel target and the exact texture coordinates
// (8.8 fixed point) at the current and the next block boundary. Held per
// renderer, so renderers draw independently of each other.
struct SpanWork {
  float iz, uz, vz;         // start, then the running target
  float diz, duz, dvz;      // per-pixel gradients
  uint32_t u0, v0, u1, v1;  // exact (U, V) at this boundary and 32 pixels on
};

struct Renderer {
  std::atomic<int> references{1};  // ORV_VR objects sharing this renderer

  std::array<Point3, kCornerCount> corners;
  std::array<Quad, kTileCount> quads;
  std::unique_ptr<uint16_t[]> tiles;  // kStorePixels, null when not allocated

  Viewport viewport;
  std::unique_ptr<ScanRow[]> scan;  // viewport.rows rows; null until Init_Resolution
  ViewMatrix view;

  uint32_t frame = 0;
  std::array<ViewCorner, kCornerCount> view_corners;
  int polygon_count = 0;
  std::array<Polygon, kTileCount> polygons;
  SpanWork span;
};

// Allocates a renderer with its corner and quad tables and a zero-filled tile
// store (left null when it cannot be allocated). Null when the renderer
// itself cannot be allocated. Never throws.
Renderer* Create_Renderer();

// Validates the viewport and reallocates the scan-line table. Returns false,
// leaving no table, when the viewport is unsafe or the table cannot be had.
bool Set_Viewport(Renderer& r, float left, float top, float width, float height, int dest_width);

// True when Draw may run: a tile store and a scan-line table exist.
bool Ready(const Renderer& r);

// True for angles and field of view that Draw accepts.
bool View_Acceptable(float yaw, float tilt, float roll, float fov);

// Draws one frame. Requires Ready(r), View_Acceptable(...) and a dest of
// viewport.rows rows of viewport.dest_width pixels.
void Render(Renderer& r, uint16_t* dest, float yaw, float tilt, float roll, float fov);

}  // namespace orv_vr_internal
