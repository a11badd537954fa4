// SDL keys as Windows keys: virtual-key numbers, PC scan codes, and the
// control characters that Windows makes from some keys.
#pragma once

#include <SDL2/SDL_keyboard.h>

struct PcScanCode {
  int code = 0;  // set-1 make code, 0 when the key has none
  bool extended = false;
};

// The virtual key of an SDL key; 0 for keys Windows has no number for.
// The numeric keypad follows Num Lock as on Windows: digits when it is on,
// cursor keys when it is off.
int Virtual_Key_For_Sdl(SDL_Keycode key, SDL_Scancode scan, bool num_lock);

PcScanCode Scan_Code_For_Sdl(SDL_Scancode scan);

// The character a key-down of this virtual key also sends (Backspace 8,
// Tab 9, Return 13, Escape 27), or 0.
int Control_Character_For(int virtual_key);
