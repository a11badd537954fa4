// Where the launcher's window goes on the work area of the primary monitor:
// its outer size from [Html] Width and Height (cut to the work area), its
// place by HorizOffset and VertOffset (LocationType 2) or by one of nine
// preset places. A PresetLocation outside 1 to 9 places as 1, the centre.
#pragma once

#include "autorun/settings.h"

struct WindowRect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  bool operator==(const WindowRect&) const = default;
};

// The work area is (left, top, width, height) in screen pixels.
WindowRect Window_Placement(const CSettingsHtml& html, int left, int top, int width, int height);
