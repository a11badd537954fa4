// Wendax_Show per kind and depth, and its failure paths.
#include <gtest/gtest.h>

#include <vector>

#include "tests/platform/display/display_rig.h"
#include "platform/display/conversion_table.h"

namespace {

int Wrong_Pixels(const PresentedFrame& f, int width, int height, uint32_t (*want)(uint16_t)) {
  int wrong = 0;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      if (f.Value(x, y) != want(Pattern_Pixel(x, y))) ++wrong;
    }
  }
  return wrong;
}

uint32_t Same(uint16_t p) { return p; }

TEST(Show, NativeSixteenBitsIsAPlainCopyShownByFlipping) {
  DisplayRig rig(Card_With({{640, 480, 16, 1300}}));  // rows padded to 1300 bytes
  ASSERT_EQ(rig.Open(), 0);
  EXPECT_TRUE(Wendax_Flip_Mode(rig.wx));
  rig.Draw_Pattern();
  Wendax_Show(rig.wx);
  ASSERT_EQ(rig.card.Presented_Count(), 1u);
  const PresentedFrame& f = rig.card.Last_Presented();
  EXPECT_EQ(f.pitch, 1300);
  EXPECT_EQ(Wrong_Pixels(f, 640, 480, Same), 0);
  int touched = 0;  // the padding after each row is not written
  for (int y = 0; y < 480; ++y) {
    for (int i = 1280; i < 1300; ++i) touched += f.bytes[size_t(y) * 1300 + size_t(i)] != 0;
  }
  EXPECT_EQ(touched, 0);
}

TEST(Show, DoubledKindAtFifteenAndEightBits) {
  HeadlessConfig c15 = Card_With({{1280, 960, 16, 0}});
  c15.red_mask_16 = 0x7C00;
  c15.green_mask_16 = 0x03E0;
  DisplayRig rig15(c15);
  ASSERT_EQ(rig15.Open(), 0);
  EXPECT_EQ(rig15.wx.display.mode.bits, 15);
  DisplayRig rig8(Card_With({{1280, 960, 8, 0}}));
  ASSERT_EQ(rig8.Open(640, 480, 8), 0);
  for (DisplayRig* rig : {&rig15, &rig8}) {
    rig->Draw_Pattern();
    Wendax_Show(rig->wx);
    const PresentedFrame& f = rig->card.Last_Presented();
    const std::vector<uint32_t>& table = rig->wx.display.conversion;
    int wrong = 0;
    for (int y = 0; y < 960; ++y) {
      for (int x = 0; x < 1280; ++x) {
        uint32_t want = (y % 2) ? 0u : table[Pattern_Pixel(x / 2, y / 2)];
        if (f.Value(x, y) != want) ++wrong;
      }
    }
    EXPECT_EQ(wrong, 0) << "bits " << rig->wx.display.mode.bits;
  }
}

TEST(Show, ThirtyTwoAndTwentyFourBitSurfacesGetTheTableValues) {
  for (int bits : {24, 32}) {
    DisplayRig rig(Card_With({{640, 480, bits, 0}}));
    ASSERT_EQ(rig.Open(640, 480, bits), 0);
    rig.Draw_Pattern();
    Wendax_Show(rig.wx);
    EXPECT_EQ(Wrong_Pixels(rig.card.Last_Presented(), 640, 480, Convert_To_888), 0) << bits;
  }
}

TEST(Show, AFrameSmallerThanTheModeIsNotDrawn) {
  DisplayRig rig(Card_With({{640, 480, 16, 0}}));
  ASSERT_EQ(rig.Open(), 0);
  std::vector<uint16_t> small(640 * 479, 0xFFFF);
  Wendax_Show(rig.wx, small);
  ASSERT_EQ(rig.card.Presented_Count(), 1u);
  EXPECT_EQ(rig.card.Last_Presented().Value(0, 0), 0u);
  EXPECT_EQ(rig.wx.clock.delta, 30);
}

TEST(Show, AFailedLockIsRetriedAfterARestore) {
  DisplayRig rig(Card_With({{640, 480, 16, 0}}));
  ASSERT_EQ(rig.Open(), 0);
  rig.Draw_Pattern();
  rig.card.Fail_Next_Locks(1);
  Wendax_Show(rig.wx);
  ASSERT_EQ(rig.card.Presented_Count(), 1u);
  EXPECT_EQ(Wrong_Pixels(rig.card.Last_Presented(), 640, 480, Same), 0);
}

TEST(Show, TwoFailedLocksSkipTheFrameButTheClockStillRuns) {
  DisplayRig rig(Card_With({{640, 480, 16, 0}}));
  ASSERT_EQ(rig.Open(), 0);
  rig.card.Fail_Next_Locks(2);
  int32_t before = rig.wx.clock.now;
  Wendax_Show(rig.wx);
  EXPECT_EQ(rig.card.Presented_Count(), 0u);
  EXPECT_EQ(rig.wx.clock.now, before + 30);
  Wendax_Show(rig.wx);
  EXPECT_EQ(rig.card.Presented_Count(), 1u);
}

TEST(Show, ALostSurfaceMarksTheProgramInactiveWithoutAClockStep) {
  DisplayRig rig(Card_With({{640, 480, 16, 0}}));
  ASSERT_EQ(rig.Open(), 0);
  rig.card.Lose_Surfaces();
  int32_t before = rig.wx.clock.now;
  Wendax_Show(rig.wx);
  EXPECT_TRUE(rig.wx.display.inactive);
  EXPECT_EQ(rig.card.Presented_Count(), 0u);
  EXPECT_EQ(rig.wx.clock.now, before);
  // The next pump waits to be active again (the headless window gets its
  // focus back), resumes, and that frame is not shown either.
  Wendax_Show(rig.wx);
  EXPECT_FALSE(rig.wx.display.inactive);
  EXPECT_EQ(rig.card.Presented_Count(), 0u);
  Wendax_Show(rig.wx);
  EXPECT_EQ(rig.card.Presented_Count(), 1u);
}

}  // namespace
