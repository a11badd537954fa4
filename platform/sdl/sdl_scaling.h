// Where the picture goes in the window: its aspect ratio kept, centred,
// scaled by the largest whole multiple that fits, or shrunk to fit when the
// window is smaller than the picture.
#pragma once

struct Scaled_Rect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  bool operator==(const Scaled_Rect&) const = default;
};

Scaled_Rect Scale_Into(int window_width, int window_height, int picture_width, int picture_height);
