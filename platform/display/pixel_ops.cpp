#include <algorithm>
#include <cstdint>

#include "platform/display/display.h"
#include "platform/wendax.h"

namespace {

bool Inside(const DisplayState& d, int x, int y) {
  return x >= 0 && x < d.frame_width && y >= 0 && y < d.frame_height;
}

}  // namespace

void Wendax_Put_Pixel(Wendax& wx, int x, int y, uint16_t value) {
  DisplayState& d = wx.display;
  if (Inside(d, x, y)) d.frame_buffer[size_t(y) * size_t(d.frame_width) + size_t(x)] = value;
}

uint16_t Wendax_Get_Pixel(const Wendax& wx, int x, int y) {
  const DisplayState& d = wx.display;
  if (!Inside(d, x, y)) return 0;
  return d.frame_buffer[size_t(y) * size_t(d.frame_width) + size_t(x)];
}

void Wendax_Fill_Rect(Wendax& wx, int x, int y, int width, int height, uint16_t value) {
  DisplayState& d = wx.display;
  // 64-bit edges: x + width never overflows.
  int64_t x0 = std::max<int64_t>(x, 0), x1 = std::min<int64_t>(int64_t(x) + width, d.frame_width);
  int64_t y0 = std::max<int64_t>(y, 0), y1 = std::min<int64_t>(int64_t(y) + height, d.frame_height);
  for (int64_t row = y0; row < y1; ++row) {
    uint16_t* line = d.frame_buffer.data() + size_t(row) * size_t(d.frame_width);
    std::fill(line + x0, line + std::max(x0, x1), value);
  }
}
