// The view of a warp: angle conversions, drawing the current warp into the
// frame buffer, the mouse's turning of a panorama, and the hit tests of hot
// zones. Angles are integers on a circle of 8192 units, so every wrap is an
// AND with 8191; the conversion factors are single precision, as written.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "engine/script/script_data.h"

struct Engine;

inline constexpr float kUnitsToRadians = 0.0007669898f;
inline constexpr float kRadiansToUnits = 1303.7983f;
inline constexpr float kQuarterTurn = 1.570795f;
inline constexpr float kDegreesToRadians = 0.01745328f;
inline constexpr int32_t kAngleMask = 8191;

// Draws the current warp: "warpfix" at (0, 0) for a still picture, else the
// panorama at the view's angles and zoom.
void Draw_View(Engine& engine);
// The same at explicit angles (units) and field of view (degrees), as the
// view animations draw before the view changes.
void Draw_View_At(Engine& engine, int32_t pitch, int32_t yaw, float zoom_degrees);

// Frame steps 12 and 13: the mouse movement into the speeds, their decay,
// the move of a panorama by Frame_Ms, the pitch clamp and the yaw limits.
void View_Move(VIEW& view, int panning_factor, int dx, int dy, int32_t frame_ms, bool panorama);
// One speed's decay: one unit towards 0, less a quarter, 0 within 1.
int32_t Speed_Decay(int32_t speed);

// Puts panorama zone bounds on the angle grid (yaw, then pitch around the
// horizon).
void Zones_To_Grid(std::vector<ZONE>& zones);
// Stores 2 (inside) or 1 (outside) in the zone's state and returns it.
int Zone_Hit_Vr(ZONE& zone, int32_t pitch, int32_t yaw);
int Zone_Hit_Pic(ZONE& zone, int x, int y);
// The hit test the current warp uses: by the view for a panorama, by the
// cursor position for a still picture.
int Zone_Hit(Engine& engine, ZONE& zone);

// The 15-to-16-bit table: 0RRRRRGGGGGBBBBB to RRRRRGGGGG0BBBBB.
std::vector<uint16_t> Table_15_To_16();
