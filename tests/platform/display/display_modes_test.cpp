// The mode list and the choice of Wendax_Set_Mode on different cards.
#include <gtest/gtest.h>

#include "tests/platform/display/display_rig.h"
#include "platform/display/display_modes.h"
#include "platform/input/virtual_keys.h"

namespace {

void Expect_Record(const DisplayMode& m, int id, int kind, int bits, uint64_t colors, int w, int h,
                   int pitch) {
  EXPECT_EQ(m.id, id);
  EXPECT_EQ(m.kind, kind);
  EXPECT_EQ(m.bits, bits);
  EXPECT_EQ(m.colors, colors);
  EXPECT_EQ(m.width, w);
  EXPECT_EQ(m.height, h);
  EXPECT_EQ(m.pitch, pitch);
}

TEST(ModeList, EveryHardwareModeGivesNativeThenDoubledRecord) {
  DisplayRig rig(Card_With({{640, 480, 16, 1280}, {1280, 960, 32, 0}, {800, 600, 8, 832}}));
  ASSERT_EQ(Wendax_Init(rig.wx), 0);
  const auto& modes = rig.wx.display.modes;
  ASSERT_EQ(modes.size(), 6u);
  Expect_Record(modes[0], 1, 4, 16, 65536, 640, 480, 1280);
  Expect_Record(modes[1], 2, 5, 16, 65536, 320, 240, 1280);
  Expect_Record(modes[2], 3, 4, 32, uint64_t(1) << 32, 1280, 960, 5120);
  Expect_Record(modes[3], 4, 5, 32, uint64_t(1) << 32, 640, 480, 5120);
  Expect_Record(modes[4], 5, 4, 8, 256, 800, 600, 832);
  Expect_Record(modes[5], 6, 5, 8, 256, 400, 300, 832);
}

TEST(ModeList, SearchTakesNativeRecordsFirstThenDoubledInListOrder) {
  std::vector<DisplayMode> list;
  Mode_List_Add(list, {1280, 960, 16, 2560});  // ids 1 (native), 2 (640 x 480 doubled)
  Mode_List_Add(list, {640, 480, 16, 1280});   // ids 3 (native), 4
  Mode_List_Add(list, {640, 480, 16, 1280});   // listed already: nothing added
  ASSERT_EQ(list.size(), 4u);
  DisplayMode request;
  request.width = 640;
  request.height = 480;
  request.bits = 16;
  EXPECT_EQ(Mode_List_Find(list, request), 2);  // kind 0: the native record wins
  request.kind = 5;
  EXPECT_EQ(Mode_List_Find(list, request), 1);
  request.kind = 4;
  EXPECT_EQ(Mode_List_Find(list, request), 2);
  request.width = 320;
  request.height = 240;
  EXPECT_EQ(Mode_List_Find(list, request), -1);  // only a doubled record has that size
  request.kind = 0;
  EXPECT_EQ(Mode_List_Find(list, request), 3);
  request.bits = 15;
  EXPECT_EQ(Mode_List_Find(list, request), -1);  // bits must be equal
  request.kind = 3;
  request.bits = 16;
  EXPECT_EQ(Mode_List_Find(list, request), -1);  // no such kind
}

TEST(SetMode, FiveFiveFiveCardIsPresentedAtFifteenBits) {
  DisplayRig rig(Card_555());
  ASSERT_EQ(rig.Open(), 0);
  const DisplayMode& m = rig.wx.display.mode;
  EXPECT_EQ(m.id, 3);  // the mode enumerated at 15 bits is never chosen
  EXPECT_EQ(m.kind, kModeKindNative);
  EXPECT_EQ(m.bits, 15);
  EXPECT_EQ(rig.card.Display_Mode_Set().bits, 16);
  EXPECT_EQ(rig.wx.display.conversion.size(), 65536u);
  EXPECT_TRUE(rig.card.Has_Back_Buffer());
  Wendax_Put_Pixel(rig.wx, 0, 0, 0xFFFF);
  Wendax_Put_Pixel(rig.wx, 1, 0, 0xF800);
  Wendax_Put_Pixel(rig.wx, 2, 0, 0x07E0);
  Wendax_Put_Pixel(rig.wx, 3, 0, 0x0020);  // only the lowest green bit
  Wendax_Put_Pixel(rig.wx, 639, 479, 0x001F);
  Wendax_Show(rig.wx);
  ASSERT_EQ(rig.card.Presented_Count(), 1u);
  const PresentedFrame& f = rig.card.Last_Presented();
  EXPECT_EQ(f.Value(0, 0), 0x7FFFu);
  EXPECT_EQ(f.Value(1, 0), 0x7C00u);
  EXPECT_EQ(f.Value(2, 0), 0x03E0u);
  EXPECT_EQ(f.Value(3, 0), 0x0000u);
  EXPECT_EQ(f.Value(639, 479), 0x001Fu);
  EXPECT_EQ(f.Value(4, 0), 0u);
}

TEST(SetMode, CardWithOnly1280x960GetsTheDoubledKind) {
  DisplayRig rig(Card_Only_1280x960());
  ASSERT_EQ(rig.Open(), 0);
  EXPECT_EQ(rig.wx.display.mode.kind, kModeKindDoubled);
  EXPECT_EQ(rig.wx.display.mode.id, 2);
  EXPECT_EQ(rig.wx.display.mode.width, 640);
  EXPECT_EQ(rig.wx.display.mode.bits, 16);
  HardwareMode set = rig.card.Display_Mode_Set();
  EXPECT_EQ(set.width, 1280);
  EXPECT_EQ(set.height, 960);
  EXPECT_EQ(set.bits, 16);
  EXPECT_FALSE(rig.card.Has_Back_Buffer());  // a single primary surface
  EXPECT_FALSE(Wendax_Flip_Mode(rig.wx));
  EXPECT_EQ(rig.wx.input.centre_x, 640);
  EXPECT_EQ(rig.wx.input.centre_y, 480);
  EXPECT_EQ(rig.wx.display.frame_buffer.size(), 640u * 480u);

  rig.Draw_Pattern();
  Wendax_Show(rig.wx);
  ASSERT_EQ(rig.card.Presented_Count(), 1u);
  const PresentedFrame& f = rig.card.Last_Presented();
  ASSERT_EQ(f.width, 1280);
  ASSERT_EQ(f.height, 960);
  int wrong = 0;
  for (int y = 0; y < 960; ++y) {
    for (int x = 0; x < 1280; ++x) {
      uint32_t want = (y % 2) ? 0u : Pattern_Pixel(x / 2, y / 2);
      if (f.Value(x, y) != want) ++wrong;
    }
  }
  EXPECT_EQ(wrong, 0);
}

TEST(SetMode, EightBitCardGetsThePaletteCubeAndIndices) {
  DisplayRig rig(Card_8_Bit());
  ASSERT_EQ(rig.Open(640, 480, 8), 0);
  EXPECT_EQ(rig.wx.display.mode.bits, 8);
  const auto& palette = rig.card.Palette();
  EXPECT_EQ(palette[0].red, 0);
  EXPECT_EQ(palette[251].red, 255);
  EXPECT_EQ(palette[251].green, 255);
  EXPECT_EQ(palette[251].blue, 255);
  // entry = b + 6 x (g + 7 x r): r = 2, g = 3, b = 1
  EXPECT_EQ(palette[1 + 6 * (3 + 7 * 2)].red, 102);
  EXPECT_EQ(palette[1 + 6 * (3 + 7 * 2)].green, 127);
  EXPECT_EQ(palette[1 + 6 * (3 + 7 * 2)].blue, 51);
  EXPECT_EQ(palette[253].red, 93);
  EXPECT_EQ(palette[253].green, 0);
  EXPECT_EQ(palette[253].blue, 93);
  EXPECT_EQ(palette[254].red, 161);
  EXPECT_EQ(palette[255].red, 0);  // left as created

  Wendax_Put_Pixel(rig.wx, 0, 0, 0xFFFF);
  Wendax_Put_Pixel(rig.wx, 1, 0, 0xF800);
  Wendax_Put_Pixel(rig.wx, 2, 0, 0x07E0);
  Wendax_Put_Pixel(rig.wx, 3, 0, 0x001F);
  Wendax_Put_Pixel(rig.wx, 4, 0, (7 << 11) | (11 << 5) | 13);
  Wendax_Show(rig.wx);
  const PresentedFrame& f = rig.card.Last_Presented();
  EXPECT_EQ(f.Value(0, 0), 202u);  // 4 + 6 x (5 + 7 x 4): the top levels are not reached
  EXPECT_EQ(f.Value(1, 0), 168u);  // 6 x 7 x 4
  EXPECT_EQ(f.Value(2, 0), 30u);   // 6 x 5
  EXPECT_EQ(f.Value(3, 0), 4u);
  EXPECT_EQ(f.Value(4, 0), uint32_t(2 + 6 * (1 + 7 * 1)));  // 13*40/255, 11*24/255, 7*40/255
  EXPECT_EQ(f.Value(5, 0), 0u);
}

TEST(SetMode, NoMatchingModeKeepsTheModeInEffect) {
  DisplayRig rig(Card_With({{640, 480, 16, 0}}));
  ASSERT_EQ(rig.Open(), 0);
  Wendax_Put_Pixel(rig.wx, 5, 5, 0x1234);
  Wendax_Request_Mode(rig.wx, 800, 600, 16);
  EXPECT_EQ(Wendax_Set_Mode(rig.wx), -1);
  EXPECT_TRUE(rig.wx.display.screen_open);
  EXPECT_EQ(rig.wx.display.mode.width, 640);
  EXPECT_EQ(rig.wx.display.mode.id, 1);
  EXPECT_EQ(Wendax_Get_Pixel(rig.wx, 5, 5), 0x1234);
  Wendax_Show(rig.wx);
  EXPECT_EQ(rig.card.Last_Presented().Value(5, 5), 0x1234u);
}

TEST(SetMode, NoMatchAtStartLeavesTheScreenClosedAndSafe) {
  DisplayRig rig(Card_8_Bit());
  EXPECT_EQ(rig.Open(), -1);
  EXPECT_FALSE(rig.wx.display.screen_open);
  EXPECT_TRUE(rig.wx.display.frame_buffer.empty());
  Wendax_Put_Pixel(rig.wx, 0, 0, 1);
  Wendax_Fill_Rect(rig.wx, 0, 0, 640, 480, 1);
  EXPECT_EQ(Wendax_Get_Pixel(rig.wx, 0, 0), 0);
  Wendax_Show(rig.wx);
  EXPECT_EQ(rig.card.Presented_Count(), 0u);
}

TEST(SetMode, ChangingModesRestoresTheDesktopModeAndZeroesTheBuffer) {
  DisplayRig rig(Card_With({{640, 480, 16, 0}, {800, 600, 16, 0}}));
  ASSERT_EQ(rig.Open(), 0);
  EXPECT_EQ(rig.wx.input.centre_x, 320);
  EXPECT_EQ(rig.wx.input.centre_y, 240);
  Wendax_Put_Pixel(rig.wx, 1, 1, 0xAAAA);
  Wendax_Request_Mode(rig.wx, 800, 600, 16);
  ASSERT_EQ(Wendax_Set_Mode(rig.wx), 0);
  EXPECT_EQ(rig.card.Display_Mode_Set().width, 800);
  EXPECT_EQ(rig.wx.display.frame_buffer.size(), 800u * 600u);
  EXPECT_EQ(Wendax_Get_Pixel(rig.wx, 1, 1), 0);
  EXPECT_EQ(rig.wx.input.centre_x, 400);
  EXPECT_EQ(rig.wx.input.centre_y, 300);
  Wendax_Request_Mode(rig.wx, 640, 480, 16);
  ASSERT_EQ(Wendax_Set_Mode(rig.wx), 0);
  EXPECT_EQ(rig.card.Display_Mode_Set().width, 640);
  EXPECT_EQ(rig.wx.display.mode.id, 1);
}

TEST(SetMode, InitHidesThePointerAndCentresIt) {
  DisplayRig rig(Card_With({{640, 480, 16, 0}}));
  ASSERT_EQ(Wendax_Init(rig.wx), 0);
  EXPECT_FALSE(rig.card.Cursor_Visible());
  EXPECT_TRUE(rig.card.Window_Exists());
  EXPECT_EQ(rig.wx.input.centre_x, 320);
  EXPECT_EQ(rig.wx.input.centre_y, 240);
  EXPECT_EQ(rig.card.Title(), rig.wx.display.program_path);
  Wendax_Set_Title(rig.wx, "Varnokh II");
  EXPECT_EQ(rig.card.Title(), "Varnokh II");
  Wendax_Close_Screen(rig.wx);
  Wendax_Close(rig.wx);
  EXPECT_TRUE(rig.card.Cursor_Visible());
  EXPECT_FALSE(rig.card.Window_Exists());
  EXPECT_FALSE(rig.card.Card_Open());
  EXPECT_TRUE(rig.wx.display.modes.empty());
}

TEST(SetMode, WithoutBackendNothingOpens) {
  Wendax wx;
  EXPECT_EQ(Wendax_Init(wx), -1);
  EXPECT_EQ(Wendax_Set_Mode(wx), -1);
  EXPECT_EQ(Wendax_Pump(wx), 0);
}

}  // namespace
