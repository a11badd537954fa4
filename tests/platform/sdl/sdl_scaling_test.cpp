// Placement of the picture in the window.
#include <gtest/gtest.h>

#include "platform/sdl/sdl_scaling.h"

namespace {

TEST(SdlScaling, WholeMultiplesWhereTheWindowAllows) {
  EXPECT_EQ(Scale_Into(640, 480, 640, 480), (ScaledRect{0, 0, 640, 480}));
  EXPECT_EQ(Scale_Into(1920, 1080, 640, 480), (ScaledRect{320, 60, 1280, 960}));
  EXPECT_EQ(Scale_Into(1279, 960, 640, 480), (ScaledRect{319, 240, 640, 480}));
  EXPECT_EQ(Scale_Into(2000, 500, 640, 480), (ScaledRect{680, 10, 640, 480}));
  EXPECT_EQ(Scale_Into(1280, 960, 320, 240), (ScaledRect{0, 0, 1280, 960}));
}

TEST(SdlScaling, SmallerWindowsShrinkWithTheAspectKept) {
  EXPECT_EQ(Scale_Into(320, 480, 640, 480), (ScaledRect{0, 120, 320, 240}));
  EXPECT_EQ(Scale_Into(640, 240, 640, 480), (ScaledRect{160, 0, 320, 240}));
  EXPECT_EQ(Scale_Into(639, 479, 640, 480), (ScaledRect{0, 0, 638, 479}));
  EXPECT_EQ(Scale_Into(0, 480, 640, 480), (ScaledRect{}));
  EXPECT_EQ(Scale_Into(640, 480, 0, 0), (ScaledRect{}));
}

}  // namespace
