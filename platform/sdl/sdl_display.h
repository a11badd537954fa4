// The SDL2 display backend. The "card" is a resizable window (Alt+Enter
// toggles desktop full screen) that shows the presented picture with its
// aspect ratio kept, scaled by whole multiples where the window allows,
// nearest-neighbour unless SDL_RENDER_SCALE_QUALITY says otherwise. It
// offers 16-bit 5-6-5 modes of the sizes the engine and the movie player
// ask for. Focus loss is deactivation; the close button is ignored;
// Ctrl+Q asks the engine to quit. The pointer runs in relative mode and
// the keys arrive as Windows virtual keys with PC scan codes.
#pragma once

#include <SDL2/SDL.h>

#include <deque>
#include <vector>

#include "platform/display/display_backend.h"
#include "platform/input/pointer_state.h"

class SdlDisplay : public DisplayBackend {
 public:
  SdlDisplay();
  ~SdlDisplay() override;
  SdlDisplay(const SdlDisplay&) = delete;
  SdlDisplay& operator=(const SdlDisplay&) = delete;

  // --- DisplayDevice
  bool Create() override;
  bool Set_Exclusive() override { return renderer_ != nullptr; }
  std::vector<HardwareMode> Enumerate_Modes() override;
  bool Set_Display_Mode(int width, int height, int bits) override;
  bool Restore_Display_Mode() override;
  bool Create_Flip_Chain() override;
  bool Attach_Back_Buffer() override { return !back_.empty(); }
  bool Create_Primary() override;
  bool Is_Mode_X() override { return false; }
  SurfaceFormat Pixel_Format() override { return {16, 0xF800, 0x07E0, 0x001F}; }
  bool Set_Palette(std::span<const PaletteEntry>) override { return false; }  // no 8-bit modes
  void Release_Surfaces() override;
  void Release() override;
  bool Is_Lost() override { return lost_; }
  void Restore_Surfaces() override;
  bool Lock(SurfaceLock& lock) override;
  void Unlock() override;
  void Flip() override;

  // --- HostWindow
  bool Register_Class() override;
  bool Create_Window(std::string_view caption) override;
  void Show_Window() override;
  void Set_Title(std::string_view title) override;
  void Set_Icon(int width, int height, std::span<const uint32_t> argb) override;
  void Fit_To_Screen() override {}  // the picture is scaled to the window instead
  void Minimise() override;
  void Restore() override;
  void Destroy_Window() override;
  void Paint() override { Draw(); }
  bool Peek_Event(WindowEvent& event) override;
  void Wait_Event() override;
  void Screen_Size(int& width, int& height) override;
  void Cursor_Pos(int& x, int& y) override;
  void Set_Cursor_Pos(int x, int y) override { pointer_.Move_To(x, y); }
  void Show_Cursor(bool show) override;
  uint16_t Async_Button(int virtual_key) override { return pointer_.Query(virtual_key); }
  void Show_Fatal(std::string_view text, std::string_view caption) override;

  // --- ClockSource: std::chrono::steady_clock in nanoseconds.
  uint64_t Counter() override;
  uint64_t Frequency() override { return 1000000000u; }

 private:
  void Translate(const SDL_Event& event);
  void Translate_Window(const SDL_WindowEvent& event);
  void Translate_Key(const SDL_KeyboardEvent& event, bool down);
  void Translate_Text(const char* text);
  void Push(WindowEventType type);
  void Toggle_Full_Screen();
  bool Make_Texture();
  void Destroy_Texture();
  void Present(const std::vector<uint8_t>& surface);
  void Draw();

  bool video_ = false;
  SDL_Window* window_ = nullptr;
  SDL_Renderer* renderer_ = nullptr;
  SDL_Texture* texture_ = nullptr;
  int width_ = 0;  // the display mode set; 0 for none
  int height_ = 0;
  std::vector<uint8_t> primary_;
  std::vector<uint8_t> back_;
  bool lost_ = false;
  bool full_screen_ = false;
  bool cursor_shown_ = true;
  std::deque<WindowEvent> pending_;
  PointerState pointer_;
};
