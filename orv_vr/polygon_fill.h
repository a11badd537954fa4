// Polygon fill through the scan-line table.
//
// Rows are screen y truncated towards zero. From the top vertex (first with
// the smallest row) to the bottom vertex (first with the largest), the right
// side is walked forwards and the left side backwards; each edge going down
// writes its rows r0 .. r1 - 1 with x in 16.16 fixed point (start
// trunc(x * 65536), step trunc((dx / dr) * 65536)) and u/z, v/z, 1/z stepped
// by difference / dr, row after row. Then every row with right x > left x
// is drawn as one span; clockwise polygons (y down) draw, others do not.
#pragma once

#include <cstdint>

#include "orv_vr/renderer.h"

namespace orv_vr_internal {

// Fills one clipped, drawable polygon into dest. Only table rows
// [0, vp.rows) are written and drawn, and only destination columns
// [vp.column_lo, vp.column_hi).
void Fill_Polygon(const Polygon& p, const Viewport& vp, ScanRow* table, SpanWork& work, uint16_t* dest);

}  // namespace orv_vr_internal
