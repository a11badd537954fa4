// Where the picture goes in the window: its aspect ratio kept, centred,
// scaled by the largest whole multiple that fits, or shrunk to fit when the
// window is smaller than the picture.
#pragma once

struct ScaledRect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  bool operator==(const ScaledRect&) const = default;
};

ScaledRect Scale_Into(int window_width, int window_height, int picture_width, int picture_height);
