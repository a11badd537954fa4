// The pump: deactivation, suspend and resume, and the window procedure.
#include <gtest/gtest.h>

#include "tests/platform/display/display_rig.h"
#include "platform/input/input.h"
#include "platform/input/virtual_keys.h"

namespace {

TEST(SuspendResume, SwitchingAwayAndBackKeepsTheFrameAndSkipsOneFrame) {
  DisplayRig rig(Card_With({{640, 480, 16, 0}}));
  ASSERT_EQ(rig.Open(), 0);
  rig.Draw_Pattern();
  Wendax_Show(rig.wx);
  ASSERT_EQ(rig.card.Presented_Count(), 1u);
  size_t modes = rig.wx.display.modes.size();

  rig.card.Focus(false);
  rig.card.Focus(true, 2);  // arrives while the pump waits
  Wendax_Show(rig.wx);
  EXPECT_EQ(rig.card.Presented_Count(), 1u);  // the first frame after the switch is not shown
  EXPECT_EQ(rig.card.Create_Count(), 2);      // the card was given back and taken again
  EXPECT_FALSE(rig.wx.display.suspended);
  EXPECT_FALSE(rig.card.Window_Minimised());
  EXPECT_FALSE(rig.card.Cursor_Visible());
  EXPECT_TRUE(rig.wx.display.screen_open);
  EXPECT_EQ(rig.wx.display.modes.size(), modes);  // no duplicate records
  EXPECT_EQ(rig.card.Display_Mode_Set().width, 640);

  Wendax_Show(rig.wx);
  ASSERT_EQ(rig.card.Presented_Count(), 2u);
  const PresentedFrame& f = rig.card.Last_Presented();
  int wrong = 0;
  for (int y = 0; y < 480; ++y) {
    for (int x = 0; x < 640; ++x) wrong += f.Value(x, y) != Pattern_Pixel(x, y);
  }
  EXPECT_EQ(wrong, 0);
}

TEST(SuspendResume, TheClickThatReactivatesIsSwallowed) {
  DisplayRig rig(Card_With({{640, 480, 16, 0}}));
  ASSERT_EQ(rig.Open(), 0);
  rig.card.Focus(false);
  rig.card.Mouse_Button(kVkLButton, true, 1);
  rig.card.Focus(true, 1);
  EXPECT_EQ(Wendax_Pump(rig.wx), -1);
  Wendax_Input(rig.wx);
  EXPECT_EQ(rig.wx.input.left, kButtonHeld);  // still held, but no click
  rig.card.Mouse_Button(kVkLButton, false);
  Wendax_Input(rig.wx);
  EXPECT_EQ(rig.wx.input.left, kButtonUp);

  // The same press while active is a click.
  rig.card.Mouse_Button(kVkLButton, true);
  EXPECT_EQ(Wendax_Pump(rig.wx), 0);
  Wendax_Input(rig.wx);
  EXPECT_EQ(rig.wx.input.left, kButtonClicked);
}

TEST(SuspendResume, SuspendAndResumeOnlyFromTheRightState) {
  DisplayRig rig(Card_With({{640, 480, 16, 0}}));
  ASSERT_EQ(Wendax_Init(rig.wx), 0);
  Wendax_Suspend(rig.wx);  // no mode set yet: nothing happens
  EXPECT_FALSE(rig.wx.display.suspended);
  EXPECT_TRUE(rig.card.Card_Open());
  Wendax_Request_Mode(rig.wx, 640, 480, 16);
  ASSERT_EQ(Wendax_Set_Mode(rig.wx), 0);
  Wendax_Resume(rig.wx);  // not suspended: nothing happens
  EXPECT_EQ(rig.card.Create_Count(), 1);
  Wendax_Put_Pixel(rig.wx, 3, 4, 0x5555);
  Wendax_Suspend(rig.wx);
  EXPECT_TRUE(rig.wx.display.suspended);
  EXPECT_FALSE(rig.card.Card_Open());
  EXPECT_TRUE(rig.card.Window_Minimised());
  EXPECT_TRUE(rig.wx.display.conversion.empty());
  Wendax_Suspend(rig.wx);
  EXPECT_EQ(rig.card.Create_Count(), 1);
  Wendax_Resume(rig.wx);
  EXPECT_FALSE(rig.wx.display.suspended);
  EXPECT_TRUE(rig.card.Card_Open());
  EXPECT_EQ(rig.card.Create_Count(), 2);
  EXPECT_EQ(Wendax_Get_Pixel(rig.wx, 3, 4), 0x5555);
}

TEST(SuspendResume, FifteenBitModeComesBackWithItsTable) {
  DisplayRig rig(Card_555());
  ASSERT_EQ(rig.Open(), 0);
  Wendax_Suspend(rig.wx);
  Wendax_Resume(rig.wx);
  EXPECT_EQ(rig.wx.display.mode.bits, 15);
  EXPECT_EQ(rig.wx.display.mode.id, 3);
  EXPECT_EQ(rig.wx.display.conversion.size(), 65536u);
}

TEST(WindowProc, CloseIsIgnoredAndTheQuitKeyRaisesTheFlag) {
  DisplayRig rig(Card_With({{640, 480, 16, 0}}));
  ASSERT_EQ(rig.Open(), 0);
  WindowEvent close;
  close.type = WindowEventType::kClose;
  EXPECT_EQ(Wendax_Window_Proc(rig.wx, close), 1);
  close.type = WindowEventType::kDestroy;
  EXPECT_EQ(Wendax_Window_Proc(rig.wx, close), 1);
  rig.card.Post(close);
  Wendax_Show(rig.wx);
  EXPECT_TRUE(rig.card.Window_Exists());
  EXPECT_TRUE(rig.wx.display.screen_open);
  EXPECT_FALSE(Wendax_Quit_Requested(rig.wx));
  WindowEvent quit;
  quit.type = WindowEventType::kQuitRequest;
  rig.card.Post(quit);
  Wendax_Pump(rig.wx);
  EXPECT_TRUE(Wendax_Quit_Requested(rig.wx));
}

TEST(WindowProc, PumpStopsAfterAPaintAndPaintsOnlyWhenActive) {
  DisplayRig rig(Card_With({{640, 480, 16, 0}}));
  ASSERT_EQ(rig.Open(), 0);
  WindowEvent paint;
  paint.type = WindowEventType::kPaint;
  rig.card.Post(paint);
  rig.card.Character('a');
  EXPECT_EQ(Wendax_Pump(rig.wx), 0);
  EXPECT_EQ(rig.card.Paint_Count(), 1);
  EXPECT_EQ(rig.card.Events_Waiting(), 1u);
  EXPECT_EQ(Wendax_Get_Key(rig.wx), 'a');
  EXPECT_EQ(rig.card.Events_Waiting(), 0u);

  rig.wx.display.inactive = true;
  EXPECT_EQ(Wendax_Window_Proc(rig.wx, paint), 1);
  EXPECT_EQ(rig.card.Paint_Count(), 1);
  WindowEvent activate;
  activate.type = WindowEventType::kMouseActivate;
  Wendax_Window_Proc(rig.wx, activate);
  EXPECT_FALSE(rig.wx.display.inactive);
  activate.type = WindowEventType::kActivateApp;
  activate.active = false;
  Wendax_Window_Proc(rig.wx, activate);
  EXPECT_TRUE(rig.wx.display.inactive);
}

}  // namespace
