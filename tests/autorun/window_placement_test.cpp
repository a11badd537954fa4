#include "autorun/window_placement.h"

#include <gtest/gtest.h>

namespace {

CSettingsHtml Html(int width, int height, int location, int preset, int horiz = 50, int vert = 50) {
  CSettingsHtml h;
  h.Width = width;
  h.Height = height;
  h.LocationType = location;
  h.PresetLocation = preset;
  h.HorizOffset = horiz;
  h.VertOffset = vert;
  return h;
}

TEST(WindowPlacement, PresetPlacesAndOffsets) {
  struct Case {
    CSettingsHtml html;
    WindowRect rect;
  };
  // Work area (10, 20) 1024 x 740.
  const Case cases[] = {
      {Html(401, 301, 1, 1), {10 + 311, 20 + 219, 401, 301}},  // 512 - 200.5 = 311.5 -> 311
      {Html(401, 301, 1, 2), {321, 20, 401, 301}},
      {Html(401, 301, 1, 3), {321, 20 + 439, 401, 301}},
      {Html(401, 301, 1, 4), {10, 239, 401, 301}},
      {Html(401, 301, 1, 5), {10 + 623, 239, 401, 301}},
      {Html(401, 301, 1, 6), {11, 21, 401, 301}},
      {Html(401, 301, 1, 7), {633, 20, 401, 301}},
      {Html(401, 301, 1, 8), {10, 459, 401, 301}},
      {Html(401, 301, 1, 9), {633, 459, 401, 301}},
      {Html(401, 301, 1, 0), {321, 239, 401, 301}},  // outside 1 to 9: the centre
      {Html(401, 301, 1, 12), {321, 239, 401, 301}},
      {Html(400, 300, 2, 9, 0, 100), {10, 20 + 440, 400, 300}},
      {Html(400, 300, 2, 9, 100, 0), {10 + 624, 20, 400, 300}},
      {Html(400, 300, 2, 9, 150, 33), {10 + 936, 20 + 145, 400, 300}},  // partly off the work area
      {Html(5000, 300, 1, 1), {10, 240, 1024, 300}},                    // cut to the work area, at x 0 ...
      {Html(5000, 300, 1, 6), {11, 21, 1024, 300}},                     // ... except preset 6, at x 1
      {Html(5000, 300, 1, 9), {10, 460, 1024, 300}},
  };
  for (const Case& c : cases) {
    const WindowRect r = Window_Placement(c.html, 10, 20, 1024, 740);
    EXPECT_EQ(r, c.rect) << c.html.LocationType << "/" << c.html.PresetLocation << ": " << r.x << "," << r.y
                         << " " << r.width << "x" << r.height;
  }
}

}  // namespace
