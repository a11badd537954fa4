#include "orv_vr/polygon_fill.h"

#include <cstddef>

#include "orv_vr/span_draw.h"

namespace orv_vr_internal {
namespace {

enum class Side { kLeft, kRight };

void Store(ScanRow& row, Side side, uint32_t x, float uz, float vz, float iz) {
  const int32_t column = static_cast<int32_t>(x) >> 16;  // rounds down
  if (side == Side::kRight) {
    row.right_x = column;
    row.right_uz = uz;
    row.right_vz = vz;
    row.right_iz = iz;
  } else {
    row.left_x = column;
    row.left_uz = uz;
    row.left_vz = vz;
    row.left_iz = iz;
  }
}

// Writes rows r0 .. r1 - 1 of one side for the edge a -> b going down. The
// fixed-point x runs unsigned: the same bits, no overflow.
void Walk_Edge(const Vertex& a, const Vertex& b, int r0, int r1, Side side, ScanRow* table, int rows) {
  if (r1 <= r0) return;
  const float dr = static_cast<float>(r1 - r0);
  uint32_t x = static_cast<uint32_t>(static_cast<int32_t>(a.sx * 65536.0f));
  const uint32_t dx = static_cast<uint32_t>(static_cast<int32_t>(((b.sx - a.sx) / dr) * 65536.0f));
  float uz = a.u, vz = a.v, iz = a.iz;
  const float duz = (b.u - a.u) / dr, dvz = (b.v - a.v) / dr, diz = (b.iz - a.iz) / dr;
  for (int r = r0; r < r1; ++r) {
    if (r >= 0 && r < rows) Store(table[r], side, x, uz, vz, iz);
    x += dx;
    uz += duz;
    vz += dvz;
    iz += diz;
  }
}

void Draw_Row(const ScanRow& s, int row, const Viewport& vp, SpanWork& w, uint16_t* dest,
              const uint16_t* tile) {
  const int width = s.right_x - s.left_x;
  if (width <= 0) return;
  const float fw = static_cast<float>(width);
  w.iz = s.left_iz;
  w.uz = s.left_uz;
  w.vz = s.left_vz;
  w.diz = (s.right_iz - s.left_iz) / fw;
  w.duz = (s.right_uz - s.left_uz) / fw;
  w.dvz = (s.right_vz - s.left_vz) / fw;
  uint16_t* line = dest + static_cast<ptrdiff_t>(row) * vp.dest_width;
  if (s.left_x >= vp.column_lo && s.right_x <= vp.column_hi) {
    Draw_Span(w, line + s.left_x, width, tile);
  } else {
    Draw_Span_Windowed(w, line, s.left_x, width, vp.column_lo, vp.column_hi, tile);
  }
}

}  // namespace

void Fill_Polygon(const Polygon& p, const Viewport& vp, ScanRow* table, SpanWork& work, uint16_t* dest) {
  const int n = p.count;
  int row[kMaxPolygonVertices];
  int top = 0, bottom = 0;
  for (int i = 0; i < n; ++i) {
    row[i] = static_cast<int>(p.v[i].sy);  // truncation towards zero
    if (row[i] < row[top]) top = i;
    if (row[i] > row[bottom]) bottom = i;
  }
  if (top == bottom) return;

  for (int i = top; i != bottom;) {
    const int j = i + 1 == n ? 0 : i + 1;
    Walk_Edge(p.v[i], p.v[j], row[i], row[j], Side::kRight, table, vp.rows);
    i = j;
  }
  for (int i = top; i != bottom;) {
    const int j = i == 0 ? n - 1 : i - 1;
    Walk_Edge(p.v[i], p.v[j], row[i], row[j], Side::kLeft, table, vp.rows);
    i = j;
  }

  const int first = row[top] > 0 ? row[top] : 0;
  const int end = row[bottom] < vp.rows ? row[bottom] : vp.rows;
  for (int r = first; r < end; ++r) Draw_Row(table[r], r, vp, work, dest, p.tile);
}

}  // namespace orv_vr_internal
