#include "platform/sdl/sdl_scaling.h"

#include <algorithm>
#include <cstdint>

ScaledRect Scale_Into(int window_width, int window_height, int picture_width, int picture_height) {
  if (window_width <= 0 || window_height <= 0 || picture_width <= 0 || picture_height <= 0) return {};
  int whole = std::min(window_width / picture_width, window_height / picture_height);
  ScaledRect r;
  if (whole >= 1) {
    r.width = picture_width * whole;
    r.height = picture_height * whole;
  } else if (int64_t(window_width) * picture_height <= int64_t(window_height) * picture_width) {
    r.width = window_width;
    r.height = int(int64_t(picture_height) * window_width / picture_width);
  } else {
    r.height = window_height;
    r.width = int(int64_t(picture_width) * window_height / picture_height);
  }
  r.x = (window_width - r.width) / 2;
  r.y = (window_height - r.height) / 2;
  return r;
}
