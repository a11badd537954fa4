#include "platform/input/input.h"

#include "platform/display/display.h"
#include "platform/display/display_backend.h"
#include "platform/input/key_codes.h"
#include "platform/input/virtual_keys.h"
#include "platform/wendax.h"

namespace {

inline constexpr int kKeyboardStepToggle = 6;  // 7 and 1 alternate

size_t Scan_Code(uint32_t key_data) { return (key_data >> 16) & 0x7F; }

// The pointer goes back to the centre; the movement is half of what it
// moved, rounded down (arithmetic shift).
void Read_Movement(Wendax& wx) {
  InputState& in = wx.input;
  in.cursor.dx = in.cursor.dy = 0;
  DisplayBackend* backend = wx.display.backend;
  if (!backend) return;
  int x = 0, y = 0;
  backend->Cursor_Pos(x, y);
  backend->Set_Cursor_Pos(in.centre_x, in.centre_y);
  in.cursor.dx = (x - in.centre_x) >> 1;
  in.cursor.dy = (y - in.centre_y) >> 1;
}

void Keyboard_Movement(InputState& in) {
  int code = in.key_code;
  if (code == kCodeRightClick) in.keyboard_step ^= kKeyboardStepToggle;
  if (code == '2' || code == kCodeDown) in.cursor.dy += in.keyboard_step;
  if (code == '4' || code == kCodeLeft) in.cursor.dx -= in.keyboard_step;
  if (code == '6' || code == kCodeRight) in.cursor.dx += in.keyboard_step;
  if (code == '8' || code == kCodeUp) in.cursor.dy -= in.keyboard_step;
}

// Clamped to min first, then max, so a box with min > max gives max.
int Clamp(int value, int low, int high) {
  if (value < low) value = low;
  if (value > high) value = high;
  return value;
}

void Move_Cursor(CursorState& c) {
  c.x = Clamp(c.x + c.dx, c.xmin, c.xmax);
  c.y = Clamp(c.y + c.dy, c.ymin, c.ymax);
}

void Read_Buttons(Wendax& wx) {
  InputState& in = wx.input;
  DisplayBackend* backend = wx.display.backend;
  in.left = backend ? Button_From_Async(backend->Async_Button(kVkLButton)) : kButtonUp;
  in.right = backend ? Button_From_Async(backend->Async_Button(kVkRButton)) : kButtonUp;
}

void Key_Clicks(InputState& in) {
  if (in.key_code == kCodeEnter) in.left = kButtonClicked;
  if (in.key_code == kCodeRightClick) in.right = kButtonClicked;
  if (in.key_code == kCodeEscape) in.escape = 1;
}

}  // namespace

int Input_Key_Down(Wendax& wx, int virtual_key, uint32_t key_data) {
  wx.input.key_state[Scan_Code(key_data)] = 255;
  if (std::optional<int> code = Key_Code_For_Virtual_Key(virtual_key)) Key_Queue_Push(wx.input.queue, *code);
  return virtual_key == kVkEscape ? 1 : 0;
}

void Input_Key_Up(Wendax& wx, uint32_t key_data) { wx.input.key_state[Scan_Code(key_data)] = 0; }

void Input_Character(Wendax& wx, int character) { Key_Queue_Push(wx.input.queue, character); }

int Wendax_Get_Key(Wendax& wx) {
  Wendax_Pump(wx);
  return Key_Queue_Pop(wx.input.queue);
}

int Button_From_Async(uint16_t state) {
  if (state & kButtonPressedSinceQuery) return kButtonClicked;
  if (state & kButtonDown) return kButtonHeld;
  return kButtonUp;
}

int Wendax_Input(Wendax& wx) {
  InputState& in = wx.input;
  Wendax_Pump(wx);
  if (wx.display.inactive) {
    in.left = in.right = kButtonUp;
    in.escape = 0;
    in.key_code = 0;
    return 0;
  }
  in.escape = 0;
  in.key_code = Wendax_Get_Key(wx);
  Read_Movement(wx);
  Keyboard_Movement(in);
  Move_Cursor(in.cursor);
  Read_Buttons(wx);
  Key_Clicks(in);
  return in.key_code;
}

void Wendax_Reset_Cursor(Wendax& wx) {
  CursorState& c = wx.input.cursor;
  c = CursorState{};
  c.xmax = wx.display.mode.width - 1;
  c.ymax = wx.display.mode.height - 1;
}
