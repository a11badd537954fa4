#include "engine/run/view.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include "engine/engine.h"
#include "platform/display/display.h"
#include "platform/wendax.h"

namespace {

// a in [lo, hi] on the circle, the bounds in either order, the wider arc
// taken the other way round (a zone across 0).
bool Arc_Holds(float first, float second, float a) {
  float lo = std::min(first, second);
  float hi = std::max(first, second);
  if (hi - lo > 3.14159265f) {
    const float old_lo = lo;
    lo = hi;
    hi = old_lo + 6.2831855f;
  }
  return (lo <= a && a <= hi) || (lo <= a + 6.2831853f && a + 6.2831853f <= hi);
}

// Truncation toward zero. Zone bounds come from files: a value outside the
// 32-bit range (or not a number) gives INT32_MIN, as the processor's own
// conversion does, instead of undefined behaviour.
int32_t Truncate(float value) {
  if (!(value >= -2147483648.0f && value < 2147483648.0f)) return INT32_MIN;
  return int32_t(value);
}

int32_t Grid(float radians) { return Truncate(radians * kRadiansToUnits) & kAngleMask; }

}  // namespace

void Draw_View(Engine& engine) { Draw_View_At(engine, engine.view.pitch, engine.view.yaw, engine.view.zoom); }

void Draw_View_At(Engine& engine, int32_t pitch, int32_t yaw, float zoom_degrees) {
  std::span<uint16_t> frame = Wendax_Frame_Buffer(engine.wx);
  if (frame.size() < size_t(kScreenWidth) * kScreenHeight) return;
  RunState& run = engine.run;
  if (engine.Warp_Is_Still()) {
    if (run.warpfix)
      Picture_Draw(run.warpfix.get(), Screen16{frame.data(), kScreenWidth, kScreenHeight}, 0, 0);
    return;
  }
  if (!run.vr) return;
  const float a = float(yaw & kAngleMask) * kUnitsToRadians - kQuarterTurn;
  const float b = float(pitch & kAngleMask) * kUnitsToRadians + kQuarterTurn;
  run.vr->Draw(frame.data(), a, b, 0.0f, zoom_degrees * kDegreesToRadians);
}

int32_t Speed_Decay(int32_t s) {
  s = s > 0 ? s - 1 : s + 1;
  s -= s >> 2;
  return s >= -1 && s <= 1 ? 0 : s;
}

void View_Move(VIEW& v, int panning_factor, int dx, int dy, int32_t frame_ms, bool panorama) {
  v.yaw_speed += (panning_factor * dx) >> 8;
  v.pitch_speed -= (panning_factor * dy) >> 8;
  v.yaw_speed = Speed_Decay(v.yaw_speed);
  v.pitch_speed = Speed_Decay(v.pitch_speed);
  if (panorama) {
    v.pitch += (frame_ms * v.pitch_speed) >> 4;
    v.yaw += (frame_ms * v.yaw_speed) >> 4;
  }
  const int64_t limit = v.pitch_limit;
  v.pitch = int32_t(std::min<int64_t>(std::max<int64_t>(v.pitch, -limit), limit));
  if (v.yaw_min != -1 || v.yaw_max != -1) {
    v.yaw = std::max(v.yaw, v.yaw_min);
    v.yaw = std::min(v.yaw, v.yaw_max);
  }
}

void Zones_To_Grid(std::vector<ZONE>& zones) {
  for (ZONE& z : zones) {
    for (int k = 0; k < 2; ++k) z.bounds[k] = float(Grid(z.bounds[k])) * kUnitsToRadians;
    for (int k = 2; k < 4; ++k)
      z.bounds[k] = float(Grid(z.bounds[k] - kQuarterTurn)) * kUnitsToRadians + kQuarterTurn;
  }
}

int Zone_Hit_Vr(ZONE& zone, int32_t pitch, int32_t yaw) {
  const float a = float(yaw & kAngleMask) * kUnitsToRadians;
  const float b = float(pitch & kAngleMask) * kUnitsToRadians + kQuarterTurn;
  const bool inside =
      Arc_Holds(zone.bounds[0], zone.bounds[1], a) && Arc_Holds(zone.bounds[2], zone.bounds[3], b);
  zone.state = inside ? 2 : 1;
  return zone.state;
}

int Zone_Hit_Pic(ZONE& zone, int x, int y) {
  const int32_t x1 = Truncate(zone.bounds[0]), x2 = Truncate(zone.bounds[1]);
  const int32_t y1 = Truncate(zone.bounds[2]), y2 = Truncate(zone.bounds[3]);
  const bool inside =
      std::min(x1, x2) <= x && x <= std::max(x1, x2) && std::min(y1, y2) <= y && y <= std::max(y1, y2);
  zone.state = inside ? 2 : 1;
  return zone.state;
}

int Zone_Hit(Engine& engine, ZONE& zone) {
  if (engine.Warp_Is_Still()) return Zone_Hit_Pic(zone, engine.wx.input.cursor.x, engine.wx.input.cursor.y);
  return Zone_Hit_Vr(zone, engine.view.pitch, engine.view.yaw);
}

std::vector<uint16_t> Table_15_To_16() {
  std::vector<uint16_t> table(65536);
  for (uint32_t p = 0; p < table.size(); ++p)
    table[p] = uint16_t(((p & 0x7C00) << 1) | ((p & 0x03E0) << 1) | (p & 0x001F));
  return table;
}
