// Perspective-correct span drawing, exact every 32 pixels.
//
// Texture coordinates are 8.8 fixed point: U = round(u/z / 1/z), V likewise,
// rounded to nearest, ties to even. Texel (U, V) of a tile is
// tile[(V & 0xFF00) | ((U >> 8) & 0xFF)]: the integer parts wrap within the
// 256 x 256 tile. A first pixel at an address that is not a multiple of 4 is
// drawn alone from its exact (U, V); then the exact (U, V) at the start and
// 32 pixels on give per-pixel steps (difference >> 5). Each 32-pixel block
// steps linearly and restarts from the exact values at its end; the targets
// move on by 32 * gradient. The tail (fewer than 32 pixels) uses the steps of
// the last block boundary.
#pragma once

#include <cstdint>

#include "orv_vr/renderer.h"

namespace orv_vr_internal {

// Draws n > 0 pixels from p. w holds the start values and gradients; the
// drawer works in it.
void Draw_Span(SpanWork& w, uint16_t* p, int n, const uint16_t* tile);

// The same span with its first pixel at column `column` of `row`, writing
// only the columns in [lo, hi). Alignment and texture coordinates are those
// of the whole span; pixels outside the window are computed and not stored.
void Draw_Span_Windowed(SpanWork& w, uint16_t* row, int column, int n, int lo, int hi, const uint16_t* tile);

}  // namespace orv_vr_internal
