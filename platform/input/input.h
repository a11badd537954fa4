// Keyboard and mouse: the key queue fed by the window procedure, and the
// per-frame input step with its virtual cursor and buttons.
#pragma once

#include <cstdint>

struct Wendax;

// Window procedure input. A key-down marks the key in the state table (by
// the scan code in bits 16-22 of key_data) and pushes its code; returns 1
// for Escape, which is handled without the default processing.
int Input_Key_Down(Wendax& wx, int virtual_key, uint32_t key_data);
void Input_Key_Up(Wendax& wx, uint32_t key_data);
// A character pushes its code.
void Input_Character(Wendax& wx, int character);

// Runs the pump, then the next code from the queue, or 0.
int Wendax_Get_Key(Wendax& wx);

// The per-frame input step: key code, mouse movement (half the pointer's
// movement), cursor clamped to its box, buttons. Returns the key code.
int Wendax_Input(Wendax& wx);

// The start-up cursor: at (0, 0), no movement, box 0..width-1 x
// 0..height-1 of the screen mode.
void Wendax_Reset_Cursor(Wendax& wx);

// 1 (clicked) when the press bit is set, else 2 (held) when the key is
// down, else 0.
int Button_From_Async(uint16_t state);
