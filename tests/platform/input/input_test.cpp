// The per-frame input step: key sequences, movement, clamping, buttons.
#include <gtest/gtest.h>

#include <vector>

#include "tests/platform/display/display_rig.h"
#include "platform/input/input.h"
#include "platform/input/key_codes.h"
#include "platform/input/virtual_keys.h"

namespace {

struct InputRig : DisplayRig {
  InputRig() : DisplayRig(Card_With({{640, 480, 16, 0}})) {
    EXPECT_EQ(Open(), 0);
    Wendax_Reset_Cursor(wx);
  }
  // A key as Windows delivers it: key-down, its character (if any), key-up.
  void Stroke(int virtual_key, int scan_code, int character) {
    card.Key_Down(virtual_key, scan_code);
    if (character) card.Character(character);
    card.Key_Up(virtual_key, scan_code);
  }
  std::vector<int> Codes(int frames) {
    std::vector<int> codes;
    for (int i = 0; i < frames; ++i) codes.push_back(Wendax_Input(wx));
    return codes;
  }
};

TEST(Input, BackspaceGivesNineThenEightAndTabEightThenNine) {
  InputRig rig;
  rig.Stroke(kVkBack, 0x0E, 8);
  EXPECT_EQ(Wendax_Input(rig.wx), 9);
  EXPECT_EQ(rig.wx.input.right, kButtonUp);
  EXPECT_EQ(rig.wx.input.keyboard_step, 7);
  EXPECT_EQ(Wendax_Input(rig.wx), 8);
  EXPECT_EQ(rig.wx.input.right, kButtonClicked);  // code 8 is a right click
  EXPECT_EQ(rig.wx.input.keyboard_step, 1);
  rig.Stroke(kVkTab, 0x0F, 9);
  EXPECT_EQ(Wendax_Input(rig.wx), 8);
  EXPECT_EQ(rig.wx.input.right, kButtonClicked);
  EXPECT_EQ(rig.wx.input.keyboard_step, 7);
  EXPECT_EQ(Wendax_Input(rig.wx), 9);
  EXPECT_EQ(rig.wx.input.right, kButtonUp);
  EXPECT_EQ(Wendax_Input(rig.wx), 0);
}

TEST(Input, TabTwiceTogglesTheStepTwiceWithARightClickEachTime) {
  InputRig rig;
  rig.Stroke(kVkTab, 0x0F, 9);
  rig.Stroke(kVkTab, 0x0F, 9);
  EXPECT_EQ(rig.Codes(4), (std::vector<int>{8, 9, 8, 9}));
  EXPECT_EQ(rig.wx.input.keyboard_step, 7);
  rig.Stroke(kVkTab, 0x0F, 9);
  Wendax_Input(rig.wx);
  EXPECT_EQ(rig.wx.input.right, kButtonClicked);
  EXPECT_EQ(rig.wx.input.keyboard_step, 1);
}

TEST(Input, ReturnIsALeftClickAndEscapeRaisesTheFlagForOneStep) {
  InputRig rig;
  rig.Stroke(kVkReturn, 0x1C, 13);
  EXPECT_EQ(Wendax_Input(rig.wx), 13);
  EXPECT_EQ(rig.wx.input.left, kButtonClicked);
  EXPECT_EQ(Wendax_Input(rig.wx), 0);
  EXPECT_EQ(rig.wx.input.left, kButtonUp);
  rig.card.Key_Down(kVkEscape, 0x01);
  EXPECT_EQ(Wendax_Input(rig.wx), 27);
  EXPECT_EQ(rig.wx.input.escape, 1);
  EXPECT_EQ(rig.wx.input.key_code, 27);
  Wendax_Input(rig.wx);
  EXPECT_EQ(rig.wx.input.escape, 0);
  EXPECT_EQ(rig.wx.input.key_code, 0);
}

TEST(Input, KeysAndCharactersKeepTheirOrder) {
  InputRig rig;
  rig.Stroke(kVkF1, 0x3B, 0);
  rig.Stroke(kVkA, 0x1E, 'a');
  rig.Stroke(kVkF12, 0x58, 0);
  rig.Stroke(kVkHome, 0x47, 0);  // pushes a 0 code
  rig.Stroke(kVkSpace, 0x39, ' ');
  EXPECT_EQ(rig.Codes(6), (std::vector<int>{128, 'a', 139, 0, ' ', 0}));
}

TEST(Input, KeyStateTableFollowsScanCodes) {
  InputRig rig;
  rig.card.Key_Down(kVkA, 0x1E);
  rig.card.Key_Down(kVkLeft, 0x4B, true);
  Wendax_Pump(rig.wx);
  EXPECT_EQ(rig.wx.input.key_state[0x1E], 255);
  EXPECT_EQ(rig.wx.input.key_state[0x4B], 255);  // the extended bit is not part of the index
  rig.card.Key_Up(kVkA, 0x1E);
  Wendax_Pump(rig.wx);
  EXPECT_EQ(rig.wx.input.key_state[0x1E], 0);
  EXPECT_EQ(rig.wx.input.key_state[0x4B], 255);
  // Bit 23 of the message is above the 7-bit scan code.
  EXPECT_EQ(Input_Key_Down(rig.wx, kVkSpace, Key_Data(0xB9)), 0);
  EXPECT_EQ(rig.wx.input.key_state[0x39], 255);
  EXPECT_EQ(Input_Key_Down(rig.wx, kVkEscape, Key_Data(0x01)), 1);  // no default processing
}

TEST(Input, QueueHoldsAtMost255Codes) {
  InputRig rig;
  for (int i = 1; i <= 300; ++i) Input_Character(rig.wx, i);
  EXPECT_EQ(Key_Queue_Count(rig.wx.input.queue), 255);
  for (int i = 1; i <= 255; ++i) {
    int code = Wendax_Get_Key(rig.wx);
    if (code != i) {
      ADD_FAILURE() << "code " << code << " at " << i;
      break;
    }
  }
  EXPECT_EQ(Wendax_Get_Key(rig.wx), 0);
  Input_Character(rig.wx, 77);  // the ring goes on across its end
  EXPECT_EQ(Wendax_Get_Key(rig.wx), 77);
}

TEST(Input, MovementIsHalvedWithAnArithmeticShift) {
  InputRig rig;
  const int moves[][2] = {{1, 0}, {-1, 0}, {3, 0}, {-3, 0}, {0, 1}, {0, -1}, {40, -41}};
  const int want[][2] = {{0, 0}, {-1, 0}, {1, 0}, {-2, 0}, {0, 0}, {0, -1}, {20, -21}};
  for (size_t i = 0; i < std::size(moves); ++i) {
    rig.card.Mouse_Move(moves[i][0], moves[i][1]);
    Wendax_Input(rig.wx);
    EXPECT_EQ(rig.wx.input.cursor.dx, want[i][0]) << i;
    EXPECT_EQ(rig.wx.input.cursor.dy, want[i][1]) << i;
    int px = 0, py = 0;
    rig.card.Cursor_Pos(px, py);
    EXPECT_EQ(px, 320);  // put back at the centre
    EXPECT_EQ(py, 240);
  }
  EXPECT_EQ(rig.wx.input.cursor.x, 20);  // 0, 0 (clamped), 1, 0 (clamped), 0, 0, 20
}

TEST(Input, CursorIsClampedToItsBox) {
  InputRig rig;
  EXPECT_EQ(rig.wx.input.cursor.xmax, 639);
  EXPECT_EQ(rig.wx.input.cursor.ymax, 479);
  rig.wx.input.cursor.x = 639;
  rig.wx.input.cursor.y = 479;
  rig.card.Mouse_Move(10, 10);
  Wendax_Input(rig.wx);
  EXPECT_EQ(rig.wx.input.cursor.dx, 5);
  EXPECT_EQ(rig.wx.input.cursor.x, 639);
  EXPECT_EQ(rig.wx.input.cursor.y, 479);
  // The pointer itself stops at the screen edge: at most 319 to the right.
  rig.card.Mouse_Move(5000, 0);
  Wendax_Input(rig.wx);
  EXPECT_EQ(rig.wx.input.cursor.dx, 159);
  rig.wx.input.cursor.x = 2;
  rig.card.Mouse_Move(-10, -1000);
  Wendax_Input(rig.wx);
  EXPECT_EQ(rig.wx.input.cursor.x, 0);
  EXPECT_EQ(rig.wx.input.cursor.y, 479 - 120);
  rig.wx.input.cursor = {100, 100, 0, 0, 50, 60, 150, 160};
  rig.card.Mouse_Move(-200, 200);
  Wendax_Input(rig.wx);
  EXPECT_EQ(rig.wx.input.cursor.x, 50);
  EXPECT_EQ(rig.wx.input.cursor.y, 160);
}

TEST(Input, KeyboardMovesTheCursorByTheStep) {
  InputRig rig;
  rig.wx.input.cursor.x = 100;
  rig.wx.input.cursor.y = 100;
  rig.card.Character('6');
  rig.card.Key_Down(kVkDown, 0x50, true);
  rig.card.Character('4');
  rig.card.Key_Down(kVkUp, 0x48, true);
  rig.card.Key_Down(kVkTab, 0x0F);  // step 1 from here on
  rig.card.Key_Down(kVkRight, 0x4D, true);
  rig.card.Character('2');
  rig.card.Key_Down(kVkLeft, 0x4B, true);
  rig.card.Character('8');
  const int want[][2] = {{107, 100}, {107, 107}, {100, 107}, {100, 100}, {100, 100},
                         {101, 100}, {101, 101}, {100, 101}, {100, 100}};
  for (size_t i = 0; i < std::size(want); ++i) {
    Wendax_Input(rig.wx);
    EXPECT_EQ(rig.wx.input.cursor.x, want[i][0]) << i;
    EXPECT_EQ(rig.wx.input.cursor.y, want[i][1]) << i;
  }
}

TEST(Input, ButtonsAreClickedHeldOrUp) {
  InputRig rig;
  rig.card.Mouse_Button(kVkRButton, true);
  Wendax_Input(rig.wx);
  EXPECT_EQ(rig.wx.input.right, kButtonClicked);
  EXPECT_EQ(rig.wx.input.left, kButtonUp);
  Wendax_Input(rig.wx);
  EXPECT_EQ(rig.wx.input.right, kButtonHeld);
  rig.card.Mouse_Button(kVkRButton, false);
  Wendax_Input(rig.wx);
  EXPECT_EQ(rig.wx.input.right, kButtonUp);
  // A press and release between two steps still counts as a click.
  rig.card.Mouse_Button(kVkLButton, true);
  rig.card.Mouse_Button(kVkLButton, false);
  Wendax_Input(rig.wx);
  EXPECT_EQ(rig.wx.input.left, kButtonClicked);
  Wendax_Input(rig.wx);
  EXPECT_EQ(rig.wx.input.left, kButtonUp);
  EXPECT_EQ(Button_From_Async(0x8001), kButtonClicked);
  EXPECT_EQ(Button_From_Async(0x8000), kButtonHeld);
  EXPECT_EQ(Button_From_Async(0x0001), kButtonClicked);
  EXPECT_EQ(Button_From_Async(0x0000), kButtonUp);
}

TEST(Input, ScriptedEventsWaitForTheirFrame) {
  InputRig rig;
  rig.card.Character('x', 2);
  Wendax_Show(rig.wx);
  EXPECT_EQ(Wendax_Input(rig.wx), 0);
  Wendax_Show(rig.wx);
  EXPECT_EQ(Wendax_Input(rig.wx), 'x');
}

}  // namespace
