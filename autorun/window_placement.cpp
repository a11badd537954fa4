#include "autorun/window_placement.h"

#include <cmath>

namespace {

// A difference of halves, computed in floating point and truncated.
int Half_Gap(float area, int size) { return int(std::trunc(area / 2.0f - float(size) / 2.0f)); }

}  // namespace

WindowRect Window_Placement(const CSettingsHtml& html, int left, int top, int width, int height) {
  const float W = float(width), H = float(height);
  const int w = float(html.Width) > W ? int(W) : html.Width;
  const int h = float(html.Height) > H ? int(H) : html.Height;
  int x = 0, y = 0;
  if (html.LocationType == 2) {
    x = int(std::trunc(float(int(W) - w) * float(html.HorizOffset) * 0.01f));
    y = int(std::trunc(float(int(H) - h) * float(html.VertOffset) * 0.01f));
  } else {
    const int right = int(W) - w, bottom = int(H) - h;
    switch (html.PresetLocation) {
      case 2: x = Half_Gap(W, w), y = 0; break;
      case 3: x = Half_Gap(W, w), y = bottom; break;
      case 4: x = 0, y = Half_Gap(H, h); break;
      case 5: x = right, y = Half_Gap(H, h); break;
      case 6: x = 1, y = 1; break;
      case 7: x = right, y = 0; break;
      case 8: x = 0, y = bottom; break;
      case 9: x = right, y = bottom; break;
      default: x = Half_Gap(W, w), y = Half_Gap(H, h); break;  // 1, and any place outside 1 to 9
    }
  }
  return {left + x, top + y, w, h};
}
