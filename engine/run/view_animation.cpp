#include "engine/run/view_animation.h"

#include <algorithm>
#include <cmath>

#include "engine/engine.h"
#include "engine/engine_services.h"
#include "engine/run/engine_run.h"
#include "engine/run/view.h"
#include "platform/display/display.h"
#include "platform/wendax.h"

namespace {

constexpr uint32_t kGuardBits = 0x10820;   // one bit above each channel
constexpr uint32_t kChannelMask = 0xF7DF;  // the pixel without each channel's top-right bit
constexpr int32_t kSteps = 4096;

// The step of one frame at this speed: (Frame_Ms x speed) >> 4, at least 1.
int32_t Step(Engine& engine, int32_t speed) {
  const int64_t step = (int64_t(engine.wx.clock.delta) * speed) >> 4;
  return int32_t(std::clamp<int64_t>(step, 1, kSteps));
}

// Sets every channel that carried into the bit above it to its maximum
// (red 0xF000, green 0x07C0, blue 0x001F: the bits below each carry).
uint16_t Saturate(uint32_t sum) {
  uint32_t v = sum;
  if (sum & 0x10000) v |= 0xF000;
  if (sum & 0x00800) v |= 0x07C0;
  if (sum & 0x00020) v |= 0x001F;
  return uint16_t(v & 0xFFFF);
}

uint32_t Grey(int32_t level) {
  const uint32_t k = uint32_t(level < 0 ? -int64_t(level) : int64_t(level)) & 255;
  return (((k & 0xF8) << 8) | ((k & 0xFC) << 3) | (k >> 3)) & kChannelMask;
}

// pitch and yaw through the eased curve at progress i, with the field of
// view `zoom_at(i)`.
template <class Zoom>
void Interpolate(Engine& engine, int32_t tp, int32_t ty, int32_t speed, Zoom zoom_at) {
  VIEW& v = engine.view;
  tp &= kAngleMask;
  ty &= kAngleMask;
  int32_t p = v.pitch & kAngleMask;
  int32_t y = v.yaw & kAngleMask;
  Shortest_Way(p, tp);
  Shortest_Way(y, ty);
  v.pitch = p;
  v.yaw = y;
  const std::vector<float> ease = Ease_Table();
  for (int32_t i = 0; i < kSteps && !engine.run.quit; i += Step(engine, speed)) {
    const int32_t pitch = (p + int32_t(std::trunc(float(tp - p) * ease[size_t(i)]))) & kAngleMask;
    const int32_t yaw = (y + int32_t(std::trunc(float(ty - y) * ease[size_t(i)]))) & kAngleMask;
    Draw_View_At(engine, pitch, yaw, zoom_at(i));
    Animation_Frame(engine);
  }
  v.pitch = ((tp & kAngleMask) ^ 4096) - 4096;  // a signed 13-bit number
  v.yaw = ty;
}

}  // namespace

uint16_t Brightness(uint16_t pixel, int32_t level) {
  const uint32_t g = Grey(level);
  if (level < 0) {
    const uint32_t d = (uint32_t(pixel) | kGuardBits) - g;
    uint32_t v = d;
    if (!(d & 0x10000)) v &= ~0xF800u;  // red borrowed its guard bit
    if (!(d & 0x00800)) v &= ~0x07E0u;
    if (!(d & 0x00020)) v &= ~0x001Fu;
    return uint16_t(v & kChannelMask);
  }
  return Saturate((uint32_t(pixel) & kChannelMask) + g);
}

uint16_t Saturating_Sum(uint16_t a, uint16_t b) {
  return Saturate((uint32_t(a) & kChannelMask) + (uint32_t(b) & kChannelMask));
}

void Brightness(std::span<const uint16_t> source, int32_t level, std::span<uint16_t> dest) {
  const size_t n = std::min(source.size(), dest.size());
  for (size_t i = 0; i < n; ++i) dest[i] = Brightness(source[i], level);
}

void Saturating_Sum(std::span<const uint16_t> a, std::span<const uint16_t> b, std::span<uint16_t> dest) {
  const size_t n = std::min({a.size(), b.size(), dest.size()});
  for (size_t i = 0; i < n; ++i) dest[i] = Saturating_Sum(a[i], b[i]);
}

std::vector<float> Ease_Table() {
  std::vector<float> table(kSteps);
  for (int32_t i = 0; i < kSteps; ++i)
    table[size_t(kSteps - 1 - i)] = 1.0f - float(i) * float(i) / 16777216.0f;
  return table;
}

void Shortest_Way(int32_t& from, int32_t& to) {
  if (from - to > 4096) to += 8192;
  if (to - from > 4096) from += 8192;
}

void Interpolate_Angle(Engine& engine, int32_t pitch, int32_t yaw, int32_t speed) {
  const float zoom = engine.view.zoom;
  Interpolate(engine, pitch, yaw, speed, [zoom](int32_t) { return zoom; });
  Draw_View(engine);
  engine.services->Frame_Hooks(engine);
}

void Interpolate_Zoom(Engine& engine, int32_t degrees, int32_t speed) {
  const float z0 = engine.view.zoom;
  const float z = float(degrees);
  int32_t i = 0;
  do {
    Draw_View_At(engine, engine.view.pitch, engine.view.yaw, (z - z0) * float(i) / 4096.0f + z0);
    Animation_Frame(engine);
    i += Step(engine, speed);
  } while (i < kSteps && !engine.run.quit);
  engine.view.zoom = z;
  Draw_View(engine);
  engine.services->Frame_Hooks(engine);
}

void Interpolate_Angle_Zoom(Engine& engine, int32_t pitch, int32_t yaw, int32_t degrees, int32_t speed) {
  const float z0 = engine.view.zoom;
  const float z = float(degrees);
  Interpolate(engine, pitch, yaw, speed,
              [z0, z](int32_t i) { return (z - z0) * float(i) * 0.000244140625f + z0; });
  engine.view.zoom = z;
  Draw_View(engine);
  engine.services->Frame_Hooks(engine);
}

void Fade(Engine& engine, int32_t from, int32_t to, int32_t speed) {
  Draw_View(engine);
  engine.services->Frame_Hooks(engine);
  std::span<uint16_t> screen = Wendax_Frame_Buffer(engine.wx);
  const std::vector<uint16_t> frozen(screen.begin(), screen.end());
  // Levels and steps in 64 bits: from, to and speed are any numbers a
  // script writes.
  int64_t velocity = to < from ? -int64_t(speed) : int64_t(speed);
  int64_t level = from;
  // The level moves by the frame's step and one more, towards `to`.
  auto advance = [&] {
    level += (int64_t(engine.wx.clock.delta) * velocity) >> 4;
    level += velocity < 0 ? -1 : 1;
  };
  if (from > to) {
    do {
      Brightness(frozen, int32_t(level), screen);
      Animation_Frame(engine);
      advance();
    } while (level > to && !engine.run.quit);
  } else {
    while (level < to && !engine.run.quit) {
      Brightness(frozen, int32_t(level), screen);
      Animation_Frame(engine);
      advance();
    }
  }
}

void Transfade(Engine& engine, int32_t speed) {
  std::span<uint16_t> screen = Wendax_Frame_Buffer(engine.wx);
  const std::vector<uint16_t> old_frame(screen.begin(), screen.end());
  Draw_View(engine);
  engine.services->Frame_Hooks(engine);
  const std::vector<uint16_t> new_frame(screen.begin(), screen.end());
  std::vector<uint16_t> lit(screen.size());
  int32_t level = -255;
  do {
    Brightness(new_frame, level, lit);
    Saturating_Sum(old_frame, lit, screen);
    Animation_Frame(engine);
    level += Step(engine, speed);
  } while (level < 0 && !engine.run.quit);
  level = 0;
  while (level >= -255 && !engine.run.quit) {
    Brightness(old_frame, level, lit);
    Saturating_Sum(new_frame, lit, screen);
    Animation_Frame(engine);
    level -= Step(engine, speed);
  }
}
