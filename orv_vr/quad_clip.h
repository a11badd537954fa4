// Quad set-up: flag rejection, projection, near-plane clipping in view space
// and the four screen-space clip stages (Sutherland-Hodgman).
//
// Every stage decides inside or outside from the vertex flags, never from
// the coordinates; the stages that run are chosen by the AND of the quad's
// four corner flags. New vertices are interpolated from the edge's first
// vertex A to its second vertex B: t = (plane - A) / (B - A), value
// A + t * (B - A).
#pragma once

#include "orv_vr/renderer.h"

namespace orv_vr_internal {

// Builds the frame's polygon for quad q from the transformed corners.
// Returns false when the quad is dropped: some plane has all four corners
// outside, fewer than 3 vertices survive a clip stage, or the clipped
// polygon is not drawable (Polygon_Drawable).
bool Setup_Quad(Renderer& r, const Quad& q, Polygon& p);

// Near plane z = 1 on view-space vertices (x, y, z, u, v). New vertices get
// z = 1 and the flags of x >= -1, x <= 1, y <= 1, y >= -1. False when fewer
// than 3 vertices remain or more than kMaxPolygonVertices would.
bool Clip_Near(Polygon& p);

// Projects a view-space vertex: 1/z, screen x and y, u/z and v/z.
void Project(Vertex& v, const Viewport& vp);

// The screen stages the polygon's AND lacks, in the order x = x1, x = x0,
// y = y1, y = y0. False when the polygon is dropped.
bool Clip_Screen(Polygon& p, const Viewport& vp);

// True when every value the fill reads is finite and every vertex lies
// within kGuardBand of the viewport. Anything else comes only from a clip
// decision that disagrees with the coordinates (0/0 where a face lies on a
// frustum plane, or rounding), and such a polygon draws nothing.
bool Polygon_Drawable(const Polygon& p, const Viewport& vp);

}  // namespace orv_vr_internal
