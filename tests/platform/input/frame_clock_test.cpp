// The frame clock and its delta rules on the virtual clock.
#include <gtest/gtest.h>

#include <vector>

#include "tests/platform/display/display_rig.h"
#include "platform/input/frame_clock.h"

namespace {

struct ClockRig : DisplayRig {
  explicit ClockRig(HeadlessConfig config = Card_With({{640, 480, 16, 0}})) : DisplayRig(config) {
    EXPECT_EQ(Open(), 0);
  }
  // Presents frames and returns the delta after each.
  std::vector<int> Deltas(int frames) {
    std::vector<int> deltas;
    for (int i = 0; i < frames; ++i) {
      Wendax_Show(wx);
      deltas.push_back(wx.clock.delta);
    }
    return deltas;
  }
};

TEST(FrameClock, BeforeTheStartEveryFrameIs30Ms) {
  ClockRig rig;
  EXPECT_EQ(rig.wx.clock.now, 30);
  EXPECT_EQ(rig.Deltas(3), (std::vector<int>{30, 30, 30}));
  EXPECT_EQ(rig.wx.clock.now, 120);
  EXPECT_EQ(rig.wx.clock.previous, 90);
}

TEST(FrameClock, AStallAfter20MsFramesGives26ThenRealTimesAgain) {
  ClockRig rig;
  rig.card.Advance_Clock(5000);
  Wendax_Clock_Start(rig.wx);
  EXPECT_TRUE(rig.wx.clock.started);
  EXPECT_EQ(rig.wx.clock.delta, 14);
  EXPECT_EQ(rig.wx.clock.now, 5000);
  // The first step adds the +1 of the step once: 21.
  EXPECT_EQ(rig.Deltas(3), (std::vector<int>{21, 20, 20}));
  rig.card.Advance_Clock(1980);  // this frame takes 2 s in all
  EXPECT_EQ(rig.Deltas(3), (std::vector<int>{26, 20, 20}));
}

TEST(FrameClock, FourTimesTheDeltaIsTheLimit) {
  EXPECT_EQ(Clock_Next_Delta(20, 79), 79);
  EXPECT_EQ(Clock_Next_Delta(20, 80), 26);
  EXPECT_EQ(Clock_Next_Delta(26, 2000), 33);
  EXPECT_EQ(Clock_Next_Delta(3, 12), 4);
  EXPECT_EQ(Clock_Next_Delta(1, 0), 0);
  EXPECT_EQ(Clock_Next_Delta(0, 0), 1);  // a delta of 0 grows again
}

TEST(FrameClock, RepeatedStallsGrowTheDeltaByAQuarter) {
  ClockRig rig;
  Wendax_Clock_Start(rig.wx);
  rig.Deltas(2);
  std::vector<int> deltas;
  for (int i = 0; i < 4; ++i) {
    rig.card.Advance_Clock(3000);
    Wendax_Show(rig.wx);
    deltas.push_back(rig.wx.clock.delta);
  }
  EXPECT_EQ(deltas, (std::vector<int>{26, 33, 42, 53}));
}

TEST(FrameClock, ElapsedTimeIsTakenModulo65536) {
  ClockRig rig;
  Wendax_Clock_Start(rig.wx);
  rig.Deltas(2);
  rig.card.Advance_Clock(65536);
  EXPECT_EQ(rig.Deltas(1), (std::vector<int>{20}));
}

TEST(FrameClock, ANanosecondCounterCrossing32BitsMakesNoFalseStall) {
  HeadlessConfig config = Card_With({{640, 480, 16, 0}});
  config.clock_frequency = 1000000000;
  ClockRig rig(config);
  rig.card.Set_Counter((uint64_t(1) << 32) - 50000000);  // 50 ms before the low 32 bits wrap
  Wendax_Clock_Start(rig.wx);
  EXPECT_EQ(rig.Deltas(6), (std::vector<int>{21, 20, 20, 20, 20, 20}));
  rig.card.Set_Counter(uint64_t(1) << 40);
  Wendax_Show(rig.wx);
  EXPECT_EQ(rig.wx.clock.delta, 26);  // a real jump is a stall
}

TEST(FrameClock, StopGoesBackTo30MsAndStartTwiceDoesNothing) {
  ClockRig rig;
  Wendax_Clock_Start(rig.wx);
  rig.Deltas(2);
  int32_t now = rig.wx.clock.now;
  rig.card.Advance_Clock(500);
  Wendax_Clock_Start(rig.wx);  // runs already
  EXPECT_EQ(rig.wx.clock.now, now);
  EXPECT_EQ(rig.wx.clock.delta, 20);
  Wendax_Clock_Stop(rig.wx);
  EXPECT_FALSE(rig.wx.clock.started);
  EXPECT_EQ(rig.wx.clock.ticks_per_second, 0u);
  EXPECT_EQ(rig.Deltas(2), (std::vector<int>{30, 30}));
  EXPECT_EQ(rig.wx.clock.now, now + 60);
}

TEST(FrameClock, ASourceWithoutFrequencyLeavesTheClockUnstarted) {
  HeadlessConfig config = Card_With({{640, 480, 16, 0}});
  config.clock_frequency = 0;
  ClockRig rig(config);
  Wendax_Clock_Start(rig.wx);
  EXPECT_FALSE(rig.wx.clock.started);
  EXPECT_EQ(rig.Deltas(1), (std::vector<int>{30}));
}

}  // namespace
