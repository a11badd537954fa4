// The key code a key-down pushes on the key queue, by virtual key.
#pragma once

#include <optional>

inline constexpr int kCodeLeft = 0x4B00;
inline constexpr int kCodeUp = 0x4800;
inline constexpr int kCodeRight = 0x4D00;
inline constexpr int kCodeDown = 0x5000;
inline constexpr int kCodeF1 = 128;        // F1 to F12 give 128 to 139
inline constexpr int kCodeEnter = 13;      // also a left click
inline constexpr int kCodeRightClick = 8;  // Backspace's second code, also a right click
inline constexpr int kCodeEscape = 27;

// The code pushed for the key, or nothing for a key that pushes none.
std::optional<int> Key_Code_For_Virtual_Key(int virtual_key);
