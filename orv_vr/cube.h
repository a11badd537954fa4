// The cube around the viewer: 26 distinct corner points (8 cube corners, 12
// edge midpoints, 6 face centres) and 24 quads, quad k textured by tile k.
#pragma once

#include <array>
#include <cstdint>

#include "orv_vr/renderer.h"

namespace orv_vr_internal {

// Texture coordinates of a quad's corners in 1/256 texel, in corner order
// top-left, top-right, bottom-right, bottom-left: texel 0.5 or 254.5, the
// half-texel inset that keeps sampling inside the tile.
inline constexpr float kTexLow = 128.0f;
inline constexpr float kTexHigh = 65152.0f;
inline constexpr std::array<float, 4> kCornerU = {kTexLow, kTexHigh, kTexHigh, kTexLow};
inline constexpr std::array<float, 4> kCornerV = {kTexLow, kTexLow, kTexHigh, kTexHigh};

// Fills the corner table and the quads' corner indices; quad k's tile is
// tiles + k * kTilePixels (null tiles give null tile pointers).
void Build_Cube(std::array<Point3, kCornerCount>& corners, std::array<Quad, kTileCount>& quads,
                const uint16_t* tiles);

}  // namespace orv_vr_internal
