// Drawing pictures into 16-bit targets, clipped, and the
// engine's transparent centred draw for cursors.
#include <algorithm>
#include <cstring>

#include "pictures/picture.h"
#include "pictures/picture_bytes.h"
#include "platform/display/display.h"
#include "platform/wendax.h"

namespace {

bool Screen_Ok(const Screen16& screen) { return screen.pixels && screen.width > 0 && screen.height > 0; }

// The visible part of a width x height rectangle at (x, y): columns
// [x0, x1) and rows [y0, y1) in picture coordinates. False when nothing of
// it is on the screen.
struct Visible {
  int x0, x1, y0, y1;
};
bool Clip(const Screen16& screen, int x, int y, int width, int height, Visible& v) {
  const int64_t left = x, top = y;
  if (left >= screen.width || top >= screen.height) return false;
  if (left + width <= 0 || top + height <= 0) return false;
  v.x0 = int(std::max<int64_t>(0, -left));
  v.y0 = int(std::max<int64_t>(0, -top));
  v.x1 = int(std::min<int64_t>(width, screen.width - left));
  v.y1 = int(std::min<int64_t>(height, screen.height - top));
  return v.x0 < v.x1 && v.y0 < v.y1;
}

}  // namespace

void Picture_Draw(Picture* picture, Screen16 screen, int x, int y) {
  if (!picture || !Screen_Ok(screen)) return;
  Picture_Unpack(picture);
  if (!Picture_Is_Plain(*picture) || picture->depth == 32) return;
  Visible v;
  if (!Clip(screen, x, y, picture->width, picture->height, v)) return;

  const size_t w = size_t(picture->width);
  const uint8_t* pixels = picture->pixels.data();
  // Screen row of picture row `row`; picture column c goes to [x + c].
  auto screen_row = [&](int row) { return screen.pixels + size_t(int64_t(y) + row) * size_t(screen.width); };
  switch (picture->depth) {
    case 16:
      for (int row = v.y0; row < v.y1; ++row)
        std::memcpy(screen_row(row) + (int64_t(x) + v.x0), pixels + (size_t(row) * w + size_t(v.x0)) * 2,
                    size_t(v.x1 - v.x0) * 2);
      break;
    case 8: {
      Picture_Palette_565(picture);
      const uint8_t* table = picture->palette.data() + kPalette_Rgb_Bytes;
      for (int row = v.y0; row < v.y1; ++row) {
        const uint8_t* s = pixels + size_t(row) * w;
        uint16_t* d = screen_row(row);
        for (int column = v.x0; column < v.x1; ++column)
          d[int64_t(x) + column] = Le_U16(table + 2 * s[column]);
      }
      break;
    }
    case 24:
      for (int row = v.y0; row < v.y1; ++row) {
        const uint8_t* s = pixels + size_t(row) * w * 3;
        uint16_t* d = screen_row(row);
        for (int column = v.x0; column < v.x1; ++column) {
          const uint8_t* p = s + size_t(column) * 3;
          d[int64_t(x) + column] = Rgb_To_565(p[0], p[1], p[2]);
        }
      }
      break;
  }
}

namespace {

Screen16 Frame_Screen(Wendax& wx) {
  std::span<uint16_t> frame = Wendax_Frame_Buffer(wx);
  Screen16 screen{frame.data(), wx.display.frame_width, wx.display.frame_height};
  if (screen.width <= 0 || screen.height <= 0 || frame.size() < size_t(screen.width) * size_t(screen.height))
    return {};
  return screen;
}

}  // namespace

void Picture_Draw(Wendax& wx, Picture* picture, int x, int y) {
  Picture_Draw(picture, Frame_Screen(wx), x, y);
}

void Picture_Draw_Transparent(Picture* picture, Screen16 screen, int x, int y) {
  if (!picture || !Screen_Ok(screen) || picture->depth != 16) return;
  Picture_Unpack(picture);
  if (!Picture_Is_Plain(*picture)) return;
  Visible v;
  if (!Clip(screen, x, y, picture->width, picture->height, v)) return;
  const size_t w = size_t(picture->width);
  for (int row = v.y0; row < v.y1; ++row) {
    const uint8_t* s = picture->pixels.data() + size_t(row) * w * 2;
    uint16_t* d = screen.pixels + size_t(int64_t(y) + row) * size_t(screen.width);
    for (int column = v.x0; column < v.x1; ++column) {
      uint16_t value = Le_U16(s + size_t(column) * 2);
      if (value != 0) d[int64_t(x) + column] = value;
    }
  }
}

void Picture_Draw_Transparent_Centred(Screen16 screen, Picture* picture, int cx, int cy) {
  if (!picture) return;
  const int64_t x = int64_t(cx) - picture->width / 2;
  const int64_t y = int64_t(cy) - picture->height / 2;
  if (x < INT32_MIN || y < INT32_MIN) return;  // wholly off the screen
  Picture_Draw_Transparent(picture, screen, int(x), int(y));
}

void Picture_Draw_Transparent_Centred(Wendax& wx, Picture* picture, int cx, int cy) {
  Picture_Draw_Transparent_Centred(Frame_Screen(wx), picture, cx, cy);
}
