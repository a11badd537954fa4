// Pixel operations clipped to the frame buffer.
#include <gtest/gtest.h>

#include <climits>

#include "tests/platform/display/display_rig.h"

namespace {

int Count(Wendax& wx, uint16_t value) {
  int n = 0;
  for (uint16_t p : Wendax_Frame_Buffer(wx)) n += p == value;
  return n;
}

TEST(PixelOps, PutAndGetStopAtTheEdges) {
  DisplayRig rig(Card_With({{640, 480, 16, 0}}));
  ASSERT_EQ(rig.Open(), 0);
  Wendax_Put_Pixel(rig.wx, -1, 0, 7);
  Wendax_Put_Pixel(rig.wx, 0, -1, 7);
  Wendax_Put_Pixel(rig.wx, 640, 0, 7);
  Wendax_Put_Pixel(rig.wx, 0, 480, 7);
  EXPECT_EQ(Count(rig.wx, 7), 0);
  Wendax_Put_Pixel(rig.wx, 639, 479, 7);
  Wendax_Put_Pixel(rig.wx, 0, 0, 8);
  EXPECT_EQ(Wendax_Frame_Buffer(rig.wx).back(), 7);
  EXPECT_EQ(Wendax_Get_Pixel(rig.wx, 639, 479), 7);
  EXPECT_EQ(Wendax_Get_Pixel(rig.wx, 0, 0), 8);
  EXPECT_EQ(Wendax_Get_Pixel(rig.wx, 640, 479), 0);
  EXPECT_EQ(Wendax_Get_Pixel(rig.wx, -1, 0), 0);
  EXPECT_EQ(Wendax_Get_Pixel(rig.wx, 0, INT_MIN), 0);
}

TEST(PixelOps, FillRectIsClipped) {
  DisplayRig rig(Card_With({{640, 480, 16, 0}}));
  ASSERT_EQ(rig.Open(), 0);
  Wendax_Fill_Rect(rig.wx, -5, -5, 10, 10, 1);
  EXPECT_EQ(Count(rig.wx, 1), 25);
  EXPECT_EQ(Wendax_Get_Pixel(rig.wx, 4, 4), 1);
  EXPECT_EQ(Wendax_Get_Pixel(rig.wx, 5, 4), 0);
  Wendax_Fill_Rect(rig.wx, 638, 478, INT_MAX, INT_MAX, 2);
  EXPECT_EQ(Count(rig.wx, 2), 4);
  Wendax_Fill_Rect(rig.wx, 640, 0, 10, 10, 3);
  Wendax_Fill_Rect(rig.wx, -20, 0, 10, 10, 3);
  Wendax_Fill_Rect(rig.wx, 10, 10, -5, 5, 3);
  Wendax_Fill_Rect(rig.wx, 10, 10, 5, 0, 3);
  EXPECT_EQ(Count(rig.wx, 3), 0);
  Wendax_Fill_Rect(rig.wx, 100, 200, 3, 2, 4);
  EXPECT_EQ(Count(rig.wx, 4), 6);
  EXPECT_EQ(Wendax_Get_Pixel(rig.wx, 102, 201), 4);
  EXPECT_EQ(Wendax_Get_Pixel(rig.wx, 103, 201), 0);
  EXPECT_EQ(Wendax_Get_Pixel(rig.wx, 102, 202), 0);
}

TEST(PixelOps, TheFrameBufferStartsZeroed) {
  DisplayRig rig(Card_With({{640, 480, 16, 0}}));
  ASSERT_EQ(rig.Open(), 0);
  EXPECT_EQ(Wendax_Frame_Buffer(rig.wx).size(), 307200u);
  EXPECT_EQ(Count(rig.wx, 0), 307200);
}

}  // namespace
