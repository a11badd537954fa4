#include "platform/sdl/sdl_key_map.h"

#include "platform/input/virtual_keys.h"

namespace {

int Keypad_Key(SDL_Scancode scan, bool num_lock) {
  // Num Lock off: the keypad is a second set of cursor keys.
  static constexpr int kNavigation[10] = {kVkInsert, kVkEnd,   kVkDown, kVkNext, kVkLeft,
                                          kVkClear,  kVkRight, kVkHome, kVkUp,   kVkPrior};
  if (scan >= SDL_SCANCODE_KP_1 && scan <= SDL_SCANCODE_KP_9) {
    int digit = scan - SDL_SCANCODE_KP_1 + 1;
    return num_lock ? kVkNumpad0 + digit : kNavigation[digit];
  }
  switch (scan) {
    case SDL_SCANCODE_KP_0: return num_lock ? kVkNumpad0 : kNavigation[0];
    case SDL_SCANCODE_KP_PERIOD: return num_lock ? kVkDecimal : kVkDelete;
    case SDL_SCANCODE_KP_ENTER: return kVkReturn;
    case SDL_SCANCODE_KP_PLUS: return kVkAdd;
    case SDL_SCANCODE_KP_MINUS: return kVkSubtract;
    case SDL_SCANCODE_KP_MULTIPLY: return kVkMultiply;
    case SDL_SCANCODE_KP_DIVIDE: return kVkDivide;
    default: return -1;
  }
}

int Punctuation_Key(SDL_Keycode key) {
  switch (key) {
    case SDLK_SEMICOLON: return kVkOem1;
    case SDLK_EQUALS: return kVkOemPlus;
    case SDLK_COMMA: return kVkOemComma;
    case SDLK_MINUS: return kVkOemMinus;
    case SDLK_PERIOD: return kVkOemPeriod;
    case SDLK_SLASH: return kVkOem2;
    case SDLK_BACKQUOTE: return kVkOem3;
    case SDLK_LEFTBRACKET: return kVkOem4;
    case SDLK_BACKSLASH: return kVkOem5;
    case SDLK_RIGHTBRACKET: return kVkOem6;
    case SDLK_QUOTE: return kVkOem7;
    default: return 0;
  }
}

int Named_Key(SDL_Keycode key) {
  switch (key) {
    case SDLK_BACKSPACE: return kVkBack;
    case SDLK_TAB: return kVkTab;
    case SDLK_CLEAR: return kVkClear;
    case SDLK_RETURN: return kVkReturn;
    case SDLK_PAUSE: return kVkPause;
    case SDLK_CAPSLOCK: return kVkCapital;
    case SDLK_ESCAPE: return kVkEscape;
    case SDLK_SPACE: return kVkSpace;
    case SDLK_PAGEUP: return kVkPrior;
    case SDLK_PAGEDOWN: return kVkNext;
    case SDLK_END: return kVkEnd;
    case SDLK_HOME: return kVkHome;
    case SDLK_LEFT: return kVkLeft;
    case SDLK_UP: return kVkUp;
    case SDLK_RIGHT: return kVkRight;
    case SDLK_DOWN: return kVkDown;
    case SDLK_PRINTSCREEN: return kVkSnapshot;
    case SDLK_INSERT: return kVkInsert;
    case SDLK_DELETE: return kVkDelete;
    case SDLK_LSHIFT:
    case SDLK_RSHIFT: return kVkShift;
    case SDLK_LCTRL:
    case SDLK_RCTRL: return kVkControl;
    case SDLK_LALT:
    case SDLK_RALT: return kVkMenu;
    case SDLK_LGUI: return kVkLWin;
    case SDLK_RGUI: return kVkRWin;
    case SDLK_APPLICATION: return kVkApps;
    case SDLK_NUMLOCKCLEAR: return kVkNumLock;
    case SDLK_SCROLLLOCK: return kVkScroll;
    default: return 0;
  }
}

}  // namespace

int Virtual_Key_For_Sdl(SDL_Keycode key, SDL_Scancode scan, bool num_lock) {
  int keypad = Keypad_Key(scan, num_lock);
  if (keypad >= 0) return keypad;
  if (key >= SDLK_a && key <= SDLK_z) return kVkA + (key - SDLK_a);
  if (key >= SDLK_0 && key <= SDLK_9) return kVk0 + (key - SDLK_0);
  if (key >= SDLK_F1 && key <= SDLK_F12) return kVkF1 + (key - SDLK_F1);
  if (key >= SDLK_F13 && key <= SDLK_F24) return kVkF12 + 1 + (key - SDLK_F13);
  if (scan == SDL_SCANCODE_NONUSBACKSLASH) return kVkOem102;
  if (int named = Named_Key(key)) return named;
  return Punctuation_Key(key);
}

PcScanCode Scan_Code_For_Sdl(SDL_Scancode scan) {
  // Letters in SDL order A..Z, then digits 1..9, 0.
  static constexpr int kLetters[26] = {0x1E, 0x30, 0x2E, 0x20, 0x12, 0x21, 0x22, 0x23, 0x17,
                                       0x24, 0x25, 0x26, 0x32, 0x31, 0x18, 0x19, 0x10, 0x13,
                                       0x1F, 0x14, 0x16, 0x2F, 0x11, 0x2D, 0x15, 0x2C};
  if (scan >= SDL_SCANCODE_A && scan <= SDL_SCANCODE_Z) return {kLetters[scan - SDL_SCANCODE_A], false};
  if (scan >= SDL_SCANCODE_1 && scan <= SDL_SCANCODE_0) return {0x02 + (scan - SDL_SCANCODE_1), false};
  if (scan >= SDL_SCANCODE_F1 && scan <= SDL_SCANCODE_F10) return {0x3B + (scan - SDL_SCANCODE_F1), false};
  switch (scan) {
    case SDL_SCANCODE_RETURN: return {0x1C, false};
    case SDL_SCANCODE_ESCAPE: return {0x01, false};
    case SDL_SCANCODE_BACKSPACE: return {0x0E, false};
    case SDL_SCANCODE_TAB: return {0x0F, false};
    case SDL_SCANCODE_SPACE: return {0x39, false};
    case SDL_SCANCODE_MINUS: return {0x0C, false};
    case SDL_SCANCODE_EQUALS: return {0x0D, false};
    case SDL_SCANCODE_LEFTBRACKET: return {0x1A, false};
    case SDL_SCANCODE_RIGHTBRACKET: return {0x1B, false};
    case SDL_SCANCODE_BACKSLASH:
    case SDL_SCANCODE_NONUSHASH: return {0x2B, false};
    case SDL_SCANCODE_SEMICOLON: return {0x27, false};
    case SDL_SCANCODE_APOSTROPHE: return {0x28, false};
    case SDL_SCANCODE_GRAVE: return {0x29, false};
    case SDL_SCANCODE_COMMA: return {0x33, false};
    case SDL_SCANCODE_PERIOD: return {0x34, false};
    case SDL_SCANCODE_SLASH: return {0x35, false};
    case SDL_SCANCODE_CAPSLOCK: return {0x3A, false};
    case SDL_SCANCODE_F11: return {0x57, false};
    case SDL_SCANCODE_F12: return {0x58, false};
    case SDL_SCANCODE_PRINTSCREEN: return {0x37, true};
    case SDL_SCANCODE_SCROLLLOCK: return {0x46, false};
    case SDL_SCANCODE_PAUSE: return {0x45, false};
    case SDL_SCANCODE_INSERT: return {0x52, true};
    case SDL_SCANCODE_HOME: return {0x47, true};
    case SDL_SCANCODE_PAGEUP: return {0x49, true};
    case SDL_SCANCODE_DELETE: return {0x53, true};
    case SDL_SCANCODE_END: return {0x4F, true};
    case SDL_SCANCODE_PAGEDOWN: return {0x51, true};
    case SDL_SCANCODE_RIGHT: return {0x4D, true};
    case SDL_SCANCODE_LEFT: return {0x4B, true};
    case SDL_SCANCODE_DOWN: return {0x50, true};
    case SDL_SCANCODE_UP: return {0x48, true};
    case SDL_SCANCODE_NUMLOCKCLEAR: return {0x45, true};
    case SDL_SCANCODE_KP_DIVIDE: return {0x35, true};
    case SDL_SCANCODE_KP_MULTIPLY: return {0x37, false};
    case SDL_SCANCODE_KP_MINUS: return {0x4A, false};
    case SDL_SCANCODE_KP_PLUS: return {0x4E, false};
    case SDL_SCANCODE_KP_ENTER: return {0x1C, true};
    case SDL_SCANCODE_KP_1: return {0x4F, false};
    case SDL_SCANCODE_KP_2: return {0x50, false};
    case SDL_SCANCODE_KP_3: return {0x51, false};
    case SDL_SCANCODE_KP_4: return {0x4B, false};
    case SDL_SCANCODE_KP_5: return {0x4C, false};
    case SDL_SCANCODE_KP_6: return {0x4D, false};
    case SDL_SCANCODE_KP_7: return {0x47, false};
    case SDL_SCANCODE_KP_8: return {0x48, false};
    case SDL_SCANCODE_KP_9: return {0x49, false};
    case SDL_SCANCODE_KP_0: return {0x52, false};
    case SDL_SCANCODE_KP_PERIOD: return {0x53, false};
    case SDL_SCANCODE_NONUSBACKSLASH: return {0x56, false};
    case SDL_SCANCODE_APPLICATION: return {0x5D, true};
    case SDL_SCANCODE_LCTRL: return {0x1D, false};
    case SDL_SCANCODE_LSHIFT: return {0x2A, false};
    case SDL_SCANCODE_LALT: return {0x38, false};
    case SDL_SCANCODE_LGUI: return {0x5B, true};
    case SDL_SCANCODE_RCTRL: return {0x1D, true};
    case SDL_SCANCODE_RSHIFT: return {0x36, false};
    case SDL_SCANCODE_RALT: return {0x38, true};
    case SDL_SCANCODE_RGUI: return {0x5C, true};
    default: return {};
  }
}

int Control_Character_For(int virtual_key) {
  switch (virtual_key) {
    case kVkBack: return 8;
    case kVkTab: return 9;
    case kVkReturn: return 13;
    case kVkEscape: return 27;
    default: return 0;
  }
}
