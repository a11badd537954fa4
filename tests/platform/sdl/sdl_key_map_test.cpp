// SDL keys as Windows virtual keys and PC scan codes.
#include <gtest/gtest.h>

#include "platform/input/key_codes.h"
#include "platform/sdl/sdl_key_map.h"
#include "platform/input/virtual_keys.h"

namespace {

int Vk(SDL_Keycode key, SDL_Scancode scan = SDL_SCANCODE_UNKNOWN, bool num_lock = true) {
  return Virtual_Key_For_Sdl(key, scan, num_lock);
}

TEST(SdlKeyMap, KeysTheEngineReadsGiveTheirVirtualKeys) {
  EXPECT_EQ(Vk(SDLK_BACKSPACE, SDL_SCANCODE_BACKSPACE), 8);
  EXPECT_EQ(Vk(SDLK_TAB, SDL_SCANCODE_TAB), 9);
  EXPECT_EQ(Vk(SDLK_RETURN, SDL_SCANCODE_RETURN), 13);
  EXPECT_EQ(Vk(SDLK_ESCAPE, SDL_SCANCODE_ESCAPE), 27);
  EXPECT_EQ(Vk(SDLK_PAGEUP), 33);
  EXPECT_EQ(Vk(SDLK_PAGEDOWN), 34);
  EXPECT_EQ(Vk(SDLK_END), 35);
  EXPECT_EQ(Vk(SDLK_HOME), 36);
  EXPECT_EQ(Vk(SDLK_LEFT), 37);
  EXPECT_EQ(Vk(SDLK_UP), 38);
  EXPECT_EQ(Vk(SDLK_RIGHT), 39);
  EXPECT_EQ(Vk(SDLK_DOWN), 40);
  EXPECT_EQ(Vk(SDLK_INSERT), 45);
  EXPECT_EQ(Vk(SDLK_DELETE), 46);
  for (int f = 0; f < 12; ++f) {
    EXPECT_EQ(Vk(SDLK_F1 + f), 112 + f) << "F" << f + 1;
    EXPECT_EQ(*Key_Code_For_Virtual_Key(Vk(SDLK_F1 + f)), 128 + f);
  }
  EXPECT_EQ(Vk(SDLK_F13), 124);
  EXPECT_EQ(Vk(SDLK_F24), 135);
}

TEST(SdlKeyMap, LettersDigitsAndOthers) {
  EXPECT_EQ(Vk(SDLK_a, SDL_SCANCODE_A), 'A');
  EXPECT_EQ(Vk(SDLK_z, SDL_SCANCODE_Z), 'Z');
  EXPECT_EQ(Vk(SDLK_q, SDL_SCANCODE_A), 'Q');  // the layout's letter, wherever the key is
  EXPECT_EQ(Vk(SDLK_0, SDL_SCANCODE_0), '0');
  EXPECT_EQ(Vk(SDLK_9, SDL_SCANCODE_9), '9');
  EXPECT_EQ(Vk(SDLK_SPACE), 32);
  EXPECT_EQ(Vk(SDLK_LSHIFT), kVkShift);
  EXPECT_EQ(Vk(SDLK_RCTRL), kVkControl);
  EXPECT_EQ(Vk(SDLK_LALT), kVkMenu);
  EXPECT_EQ(Vk(SDLK_SEMICOLON), 0xBA);
  EXPECT_EQ(Vk(SDLK_QUOTE), 0xDE);
  EXPECT_EQ(Vk(SDLK_LESS, SDL_SCANCODE_NONUSBACKSLASH), 0xE2);
  EXPECT_EQ(Vk(SDLK_UNKNOWN), 0);
  EXPECT_EQ(Vk(0xE9), 0);  // a non-ASCII key has no virtual key
}

TEST(SdlKeyMap, KeypadFollowsNumLock) {
  EXPECT_EQ(Vk(SDLK_KP_2, SDL_SCANCODE_KP_2, true), 0x62);
  EXPECT_EQ(Vk(SDLK_KP_2, SDL_SCANCODE_KP_2, false), kVkDown);
  EXPECT_EQ(Vk(SDLK_KP_4, SDL_SCANCODE_KP_4, false), kVkLeft);
  EXPECT_EQ(Vk(SDLK_KP_5, SDL_SCANCODE_KP_5, false), kVkClear);
  EXPECT_EQ(Vk(SDLK_KP_6, SDL_SCANCODE_KP_6, false), kVkRight);
  EXPECT_EQ(Vk(SDLK_KP_7, SDL_SCANCODE_KP_7, false), kVkHome);
  EXPECT_EQ(Vk(SDLK_KP_8, SDL_SCANCODE_KP_8, false), kVkUp);
  EXPECT_EQ(Vk(SDLK_KP_9, SDL_SCANCODE_KP_9, false), kVkPrior);
  EXPECT_EQ(Vk(SDLK_KP_0, SDL_SCANCODE_KP_0, true), 0x60);
  EXPECT_EQ(Vk(SDLK_KP_0, SDL_SCANCODE_KP_0, false), kVkInsert);
  EXPECT_EQ(Vk(SDLK_KP_PERIOD, SDL_SCANCODE_KP_PERIOD, false), kVkDelete);
  EXPECT_EQ(Vk(SDLK_KP_ENTER, SDL_SCANCODE_KP_ENTER), kVkReturn);
  EXPECT_EQ(Vk(SDLK_KP_PLUS, SDL_SCANCODE_KP_PLUS), 0x6B);
}

TEST(SdlKeyMap, ScanCodesOfAPcKeyboard) {
  auto scan = [](SDL_Scancode s) { return Scan_Code_For_Sdl(s); };
  EXPECT_EQ(scan(SDL_SCANCODE_ESCAPE).code, 0x01);
  EXPECT_EQ(scan(SDL_SCANCODE_1).code, 0x02);
  EXPECT_EQ(scan(SDL_SCANCODE_0).code, 0x0B);
  EXPECT_EQ(scan(SDL_SCANCODE_BACKSPACE).code, 0x0E);
  EXPECT_EQ(scan(SDL_SCANCODE_TAB).code, 0x0F);
  EXPECT_EQ(scan(SDL_SCANCODE_Q).code, 0x10);
  EXPECT_EQ(scan(SDL_SCANCODE_P).code, 0x19);
  EXPECT_EQ(scan(SDL_SCANCODE_A).code, 0x1E);
  EXPECT_EQ(scan(SDL_SCANCODE_L).code, 0x26);
  EXPECT_EQ(scan(SDL_SCANCODE_Z).code, 0x2C);
  EXPECT_EQ(scan(SDL_SCANCODE_M).code, 0x32);
  EXPECT_EQ(scan(SDL_SCANCODE_SPACE).code, 0x39);
  EXPECT_EQ(scan(SDL_SCANCODE_F1).code, 0x3B);
  EXPECT_EQ(scan(SDL_SCANCODE_F10).code, 0x44);
  EXPECT_EQ(scan(SDL_SCANCODE_F11).code, 0x57);
  EXPECT_EQ(scan(SDL_SCANCODE_F12).code, 0x58);
  EXPECT_EQ(scan(SDL_SCANCODE_KP_4).code, 0x4B);
  EXPECT_FALSE(scan(SDL_SCANCODE_KP_4).extended);
  EXPECT_EQ(scan(SDL_SCANCODE_LEFT).code, 0x4B);
  EXPECT_TRUE(scan(SDL_SCANCODE_LEFT).extended);
  EXPECT_TRUE(scan(SDL_SCANCODE_RCTRL).extended);
  EXPECT_FALSE(scan(SDL_SCANCODE_LCTRL).extended);
  EXPECT_EQ(scan(SDL_SCANCODE_UNKNOWN).code, 0);
}

TEST(SdlKeyMap, ControlCharactersOfWindowsKeys) {
  EXPECT_EQ(Control_Character_For(kVkBack), 8);
  EXPECT_EQ(Control_Character_For(kVkTab), 9);
  EXPECT_EQ(Control_Character_For(kVkReturn), 13);
  EXPECT_EQ(Control_Character_For(kVkEscape), 27);
  EXPECT_EQ(Control_Character_For(kVkDelete), 0);
  EXPECT_EQ(Control_Character_For('A'), 0);
}

}  // namespace
