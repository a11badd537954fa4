// Every fatal window and card failure: its message under the program path,
// then exit status -1.
#include <gtest/gtest.h>

#include <string>

#include "tests/platform/display/display_rig.h"
#include "platform/display/display_fatal.h"

namespace {

// The message as it reaches stderr: "<program path>: <text>".
std::string Message_Pattern(std::string_view text) {
  std::string pattern = "platform_tests: ";
  for (char c : text) {
    if (std::string_view("()!.[]*+?^$|\\{}").find(c) != std::string_view::npos) pattern += '\\';
    pattern += c;
  }
  return pattern;
}

HeadlessConfig Refusing(uint32_t refusals) {
  HeadlessConfig config = Card_With({{640, 480, 16, 0}});
  config.refusals = refusals;
  return config;
}

void Open_With(HeadlessConfig config) {
  DisplayRig rig(std::move(config));
  rig.Open();
}

class DisplayFatal : public ::testing::Test {
 protected:
  void SetUp() override { GTEST_FLAG_SET(death_test_style, "threadsafe"); }
};

TEST_F(DisplayFatal, WindowFailures) {
  EXPECT_EXIT(Open_With(Refusing(kRefuseRegisterClass)), ::testing::ExitedWithCode(255),
              Message_Pattern(kTextRegisterClass));
  EXPECT_EXIT(Open_With(Refusing(kRefuseCreateWindow)), ::testing::ExitedWithCode(255),
              Message_Pattern(kTextWindowsError));
}

TEST_F(DisplayFatal, CardStartFailures) {
  EXPECT_EXIT(Open_With(Refusing(kRefuseCreate)), ::testing::ExitedWithCode(255),
              Message_Pattern(kTextDirectDrawCreate));
  EXPECT_EXIT(Open_With(Refusing(kRefuseSetExclusive)), ::testing::ExitedWithCode(255),
              Message_Pattern(kTextCooperativeLevel));
}

TEST_F(DisplayFatal, ModeAndSurfaceFailures) {
  EXPECT_EXIT(Open_With(Refusing(kRefuseSetDisplayMode)), ::testing::ExitedWithCode(255),
              Message_Pattern(kTextSetDisplayMode));
  EXPECT_EXIT(Open_With(Refusing(kRefuseFlipChain | kRefuseCreatePrimary)), ::testing::ExitedWithCode(255),
              Message_Pattern(kTextCreateSurface));
  EXPECT_EXIT(Open_With(Refusing(kRefuseAttachBackBuffer)), ::testing::ExitedWithCode(255),
              Message_Pattern(kTextAttachedSurface));
  HeadlessConfig planar = Card_With({{640, 480, 16, 0}});
  planar.mode_x = true;
  EXPECT_EXIT(Open_With(planar), ::testing::ExitedWithCode(255), Message_Pattern(kTextModeX));
}

TEST_F(DisplayFatal, RestoreDisplayModeFailsOnlyWhenASurfaceExisted) {
  DisplayRig rig(Refusing(kRefuseRestoreDisplayMode));
  ASSERT_EQ(rig.Open(), 0);  // no primary surface before the first mode
  EXPECT_EXIT(
      {
        Wendax_Request_Mode(rig.wx, 640, 480, 16);
        Wendax_Set_Mode(rig.wx);
      },
      ::testing::ExitedWithCode(255), Message_Pattern(kTextRestoreDisplayMode));
}

TEST_F(DisplayFatal, AModeIdBeyondTheListIsAScreenError) {
  DisplayRig rig(Card_With({{640, 480, 16, 0}}));
  ASSERT_EQ(Wendax_Init(rig.wx), 0);
  rig.wx.display.mode.id = 3;  // two records are listed
  EXPECT_EXIT(Wendax_Set_Mode(rig.wx), ::testing::ExitedWithCode(255), Message_Pattern(kTextScreenError));
  rig.wx.display.mode.id = -1;
  EXPECT_EXIT(Wendax_Set_Mode(rig.wx), ::testing::ExitedWithCode(255), Message_Pattern(kTextScreenError));
  rig.wx.display.mode.id = 2;
  EXPECT_EQ(Wendax_Set_Mode(rig.wx), 0);
  EXPECT_EQ(rig.wx.display.mode.kind, 5);
}

}  // namespace
