// The program's one window as Wendax sees it: its life, the events that
// reach the window procedure, the system mouse pointer and buttons, and
// the fatal message box.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

enum class WindowEventType {
  kPaint,  // part of the window must be redrawn
  kClose,  // the user asked to kClose the window
  kDestroy,
  kActivateApp,    // active: the program became (or stopped being) the active one
  kMouseActivate,  // a click on the inactive window
  kKeyDown,
  kSysKeyDown,  // key-down with Alt held (or F10)
  kKeyUp,
  kSysKeyUp,
  kCharacter,
  kSysCharacter,
  kImeCharacter,
  kQuitRequest,  // the deliberate quit key: the engine ends as after its last script
  kOther,
};

struct WindowEvent {
  WindowEventType type = WindowEventType::kOther;
  int virtual_key = 0;    // key events: Windows virtual-key number
  uint32_t key_data = 0;  // key events: bits 16-23 scan code, bit 24 extended key
  int character = 0;      // character events: the character code
  bool active = false;    // activate_app
};

// The key_data of a key event with this PC scan code.
constexpr uint32_t Key_Data(int scan_code, bool extended = false) {
  return 1u | (uint32_t(scan_code & 0xFF) << 16) | (extended ? 1u << 24 : 0u);
}

// Button bits in the manner of an asynchronous key-state query.
inline constexpr uint16_t kButtonPressedSinceQuery = 0x0001;
inline constexpr uint16_t kButtonDown = 0x8000;

class HostWindow {
 public:
  virtual ~HostWindow() = default;

  // Prepares the windowing system (false: "Unable to register class!").
  virtual bool Register_Class() = 0;
  // Makes the window with the caption (false: "Windows error").
  virtual bool Create_Window(std::string_view caption) = 0;
  virtual void Show_Window() = 0;
  virtual void Set_Title(std::string_view title) = 0;
  // The window's icon: width x height pixels 0xAARRGGBB, rows top to bottom.
  virtual void Set_Icon(int width, int height, std::span<const uint32_t> argb) = 0;
  // Makes the window cover the screen for a new mode.
  virtual void Fit_To_Screen() = 0;
  // Gives the screen back (minimised) and takes it again.
  virtual void Minimise() = 0;
  virtual void Restore() = 0;
  // Destroys the window and ends the use of the windowing system.
  virtual void Destroy_Window() = 0;
  // Redraws the window from the last presented picture.
  virtual void Paint() = 0;

  // Removes the next waiting event; false when none is waiting. Mouse
  // movement and buttons never come out here: they update the pointer.
  virtual bool Peek_Event(WindowEvent& event) = 0;
  // Blocks until an event is waiting (it is not removed).
  virtual void Wait_Event() = 0;

  virtual void Screen_Size(int& width, int& height) = 0;
  // The system pointer, in screen pixels.
  virtual void Cursor_Pos(int& x, int& y) = 0;
  virtual void Set_Cursor_Pos(int x, int y) = 0;
  virtual void Show_Cursor(bool show) = 0;
  // Left (virtual key 1) or right (2) button: kButtonDown while held,
  // kButtonPressedSinceQuery once after each press. Reading clears the latter.
  virtual uint16_t Async_Button(int virtual_key) = 0;

  // The fatal message box (also written to stderr).
  virtual void Show_Fatal(std::string_view text, std::string_view caption) = 0;
};
