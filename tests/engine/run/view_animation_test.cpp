// The pixel operations of the fades, the ease table, and where the view
// animations end.
#include "engine/run/view_animation.h"

#include <gtest/gtest.h>

#include "engine/engine.h"
#include "engine/run/engine_run.h"
#include "platform/display/display.h"
#include "platform/headless/headless_display.h"
#include "platform/wendax.h"

namespace {

TEST(Brightness, GuardBitsPerChannel) {
  struct Case {
    uint16_t pixel;
    int32_t level;
    uint16_t out;
  };
  const Case cases[] = {
      {0xFFFF, -255, 0x0000}, {0x0000, -255, 0x0000}, {0xFFFF, 0, 0xF7DF},         {0x1234, 0, 0x1214},
      {0x0000, 255, 0xF7DF},  {0xFFFF, 255, 0xFFFF},  {0xFFFF, INT32_MIN, 0xF7DF}, {0xF800, 16, 0xF082},
      {0x07E0, 16, 0x1FC2},   {0x001F, 16, 0x10BF},   {0xF800, -16, 0xE000},       {0x001F, -16, 0x001D},
      {0x0841, -8, 0x0000},
  };
  for (const Case& c : cases)
    EXPECT_EQ(Brightness(c.pixel, c.level), c.out) << std::hex << c.pixel << " " << c.level;
  EXPECT_EQ(Brightness(0x4208, 256), Brightness(0x4208, 0));  // |level| AND 255
}

TEST(SaturatingSum, EachChannelCarriesToItsMaximum) {
  EXPECT_EQ(Saturating_Sum(0xF000, 0x1000), 0xF000);
  EXPECT_EQ(Saturating_Sum(0x07C0, 0x0040), 0x0FC0);  // green carried into bit 11
  EXPECT_EQ(Saturating_Sum(0x001F, 0x0001), 0x003F);
  EXPECT_EQ(Saturating_Sum(0x0000, 0x1234), 0x1214);
}

TEST(EaseTable, EndValues) {
  const std::vector<float> t = Ease_Table();
  ASSERT_EQ(t.size(), 4096u);
  EXPECT_EQ(t[4095], 1.0f);
  EXPECT_FLOAT_EQ(t[0], 1.0f - 4095.0f * 4095.0f / 16777216.0f);
  EXPECT_LT(t[2048], t[2049]);
}

TEST(ViewAnimation, InterpolationsEndAtTheirTargets) {
  Wendax wx;
  Engine engine(wx);
  engine.view.yaw = 8000;
  Interpolate_Angle(engine, 5000, 100, 64);
  EXPECT_EQ(engine.view.yaw, 8292);  // forward through 0, not 7900 units back
  EXPECT_EQ(engine.view.pitch, -3192);
  Interpolate_Angle_Zoom(engine, 0, 8292, 45, 0);  // speed 0 still ends
  EXPECT_EQ(engine.view.zoom, 45.0f);
  Interpolate_Zoom(engine, 120, -5);
  EXPECT_EQ(engine.view.zoom, 120.0f);
}

// FADE 0 -> -255 at speed 16 with 14 ms frames shows 0, -15, ..., -240.
TEST(ViewAnimation, FadeShowsTheLevelsOfItsSteps) {
  HeadlessConfig config;
  config.modes = {{640, 480, 16, 0}};
  config.frame_step_ms = 14;
  HeadlessDisplay card(config);
  Wendax wx(card);
  ASSERT_EQ(Wendax_Init(wx), 0);
  Wendax_Request_Mode(wx, 640, 480, 16);
  ASSERT_EQ(Wendax_Set_Mode(wx), 0);
  Engine engine(wx);
  std::span<uint16_t> frame = Wendax_Frame_Buffer(wx);
  std::fill(frame.begin(), frame.end(), 0xFFFF);
  wx.clock.delta = 14;
  Wendax_Clock_Start(wx);
  const uint64_t before = card.Presented_Count();
  Fade(engine, 0, -255, 16);
  EXPECT_EQ(card.Presented_Count() - before, 17u);
  EXPECT_EQ(card.Last_Presented().Value(3, 3), Brightness(0xFFFF, -240));
  Fade(engine, 5, 5, 16);
  EXPECT_EQ(card.Presented_Count() - before, 17u);  // from = to shows nothing
  Wendax_Close_Screen(wx);
  Wendax_Close(wx);
}

}  // namespace
