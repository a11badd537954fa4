// The headless display backend: a virtual card whose mode list, pixel
// masks and flip support a test chooses, a window without a screen whose
// input is a script of events, and a virtual clock advanced by a set step
// for every presented frame, so that runs are deterministic. Every
// presented picture can be read back and saved as PNG.
#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "platform/display/display_backend.h"
#include "platform/headless/null_audio.h"
#include "platform/input/pointer_state.h"

// Operations a test can make the virtual card or window refuse.
enum HeadlessRefusal : uint32_t {
  kRefuseRegisterClass = 1u << 0,
  kRefuseCreateWindow = 1u << 1,
  kRefuseCreate = 1u << 2,
  kRefuseSetExclusive = 1u << 3,
  kRefuseSetDisplayMode = 1u << 4,
  kRefuseRestoreDisplayMode = 1u << 5,
  kRefuseFlipChain = 1u << 6,
  kRefuseAttachBackBuffer = 1u << 7,
  kRefuseCreatePrimary = 1u << 8,
  kRefusePalette = 1u << 9,
};

struct HeadlessConfig {
  std::vector<HardwareMode> modes;  // a pitch of 0 means width x bytes per pixel
  // The masks a 16-bit surface reports (5-6-5 by default; 5-5-5 cards exist).
  uint32_t red_mask_16 = 0xF800;
  uint32_t green_mask_16 = 0x07E0;
  uint32_t blue_mask_16 = 0x001F;
  bool flip_chain = true;  // the card can make a primary with a back buffer
  bool mode_x = false;     // its surfaces are planar VGA
  uint32_t refusals = 0;   // HeadlessRefusal bits
  int desktop_width = 640;
  int desktop_height = 480;
  uint64_t clock_frequency = 1000;  // ticks per second
  int frame_step_ms = 20;           // virtual time per presented frame
  size_t frames_kept = 8;           // presented pictures kept for reading
};

struct Rgb {
  uint8_t red = 0;
  uint8_t green = 0;
  uint8_t blue = 0;
  bool operator==(const Rgb&) const = default;
};

// A picture as it was on the virtual screen.
struct PresentedFrame {
  int width = 0;
  int height = 0;
  int pitch = 0;
  SurfaceFormat format;
  std::array<PaletteEntry, 256> palette{};
  std::vector<uint8_t> bytes;  // height x pitch

  // The raw pixel (1 to 4 bytes, little-endian).
  uint32_t Value(int x, int y) const;
  // Its colour through the palette or the masks, 8 bits per channel.
  Rgb Colour(int x, int y) const;
};

class HeadlessDisplay : public DisplayBackend {
 public:
  explicit HeadlessDisplay(HeadlessConfig config);

  // --- Scripted input: each event becomes waiting once `at_frame` pictures
  // have been presented (0: at once). Mouse events move the pointer (held
  // inside the screen) or press buttons when the pump reaches them. While
  // the pump waits for the window to become active, the next scripted event
  // is due at once; with nothing scripted the window gets its focus back,
  // so a run never blocks.
  void Post(const WindowEvent& event, uint64_t at_frame = 0);
  void Key_Down(int virtual_key, int scan_code, bool extended = false, uint64_t at_frame = 0);
  void Key_Up(int virtual_key, int scan_code, bool extended = false, uint64_t at_frame = 0);
  void Character(int character, uint64_t at_frame = 0);
  void Focus(bool active, uint64_t at_frame = 0);
  void Mouse_Move(int dx, int dy, uint64_t at_frame = 0);
  void Mouse_Button(int virtual_key, bool down, uint64_t at_frame = 0);
  size_t Events_Waiting() const { return script_.size(); }

  // --- Virtual card state for tests.
  void Lose_Surfaces() { lost_ = true; }
  void Fail_Next_Locks(int count) { failing_locks_ = count; }
  // Moves the virtual clock on; an attached null audio device mixes the
  // same span, so sound stays in step with the presented frames.
  void Advance_Clock(uint64_t milliseconds);
  void Attach_Audio(NullAudio* audio) { audio_ = audio; }
  void Set_Counter(uint64_t ticks) { counter_ = ticks; }
  uint64_t Presented_Count() const { return presented_count_; }
  const std::deque<PresentedFrame>& Presented() const { return presented_; }
  const PresentedFrame& Last_Presented() const { return presented_.back(); }
  HardwareMode Display_Mode_Set() const { return hardware_; }
  bool Card_Open() const { return open_; }
  bool Has_Back_Buffer() const { return !back_.empty(); }
  bool Window_Minimised() const { return minimised_; }
  bool Window_Exists() const { return window_; }
  bool Cursor_Visible() const { return cursor_visible_; }
  const std::string& Title() const { return title_; }
  int Icon_Width() const { return icon_width_; }
  const std::vector<uint32_t>& Icon() const { return icon_; }
  int Paint_Count() const { return paints_; }
  int Create_Count() const { return creates_; }
  const std::array<PaletteEntry, 256>& Palette() const { return palette_; }

  // --- DisplayDevice
  bool Create() override;
  bool Set_Exclusive() override;
  std::vector<HardwareMode> Enumerate_Modes() override;
  bool Set_Display_Mode(int width, int height, int bits) override;
  bool Restore_Display_Mode() override;
  bool Create_Flip_Chain() override;
  bool Attach_Back_Buffer() override;
  bool Create_Primary() override;
  bool Is_Mode_X() override { return config_.mode_x; }
  SurfaceFormat Pixel_Format() override;
  bool Set_Palette(std::span<const PaletteEntry> entries) override;
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
  void Show_Window() override { minimised_ = false; }
  void Set_Title(std::string_view title) override { title_ = title; }
  void Set_Icon(int width, int height, std::span<const uint32_t> argb) override {
    icon_width_ = width;
    icon_.assign(argb.begin(), argb.begin() + ptrdiff_t(width) * height);
  }
  void Fit_To_Screen() override {}
  void Minimise() override { minimised_ = true; }
  void Restore() override { minimised_ = false; }
  void Destroy_Window() override;
  void Paint() override { ++paints_; }
  bool Peek_Event(WindowEvent& event) override;
  void Wait_Event() override;
  void Screen_Size(int& width, int& height) override;
  void Cursor_Pos(int& x, int& y) override;
  void Set_Cursor_Pos(int x, int y) override { pointer_.Move_To(x, y); }
  void Show_Cursor(bool show) override { cursor_visible_ = show; }
  uint16_t Async_Button(int virtual_key) override { return pointer_.Query(virtual_key); }
  void Show_Fatal(std::string_view text, std::string_view caption) override;

  // --- ClockSource
  uint64_t Counter() override { return counter_; }
  uint64_t Frequency() override { return config_.clock_frequency; }
  // A wait moves the virtual clock (and the null sound card) on.
  void Sleep_Ms(uint32_t ms) override { Advance_Clock(ms); }

 private:
  enum class ScriptKind { kWindowEvent, kMouseMove, kMouseButton };
  struct Scripted {
    ScriptKind kind = ScriptKind::kWindowEvent;
    WindowEvent event;
    int dx = 0;
    int dy = 0;
    int button = 0;
    bool down = false;
    uint64_t at_frame = 0;
  };

  bool Refuses(uint32_t refusal) const { return (config_.refusals & refusal) != 0; }
  bool Knows_Mode(int width, int height, int bits) const;
  int Bytes_Per_Pixel() const;
  int Pitch() const;
  void Allocate(std::vector<uint8_t>& surface) const;
  void Record(std::vector<uint8_t>& surface, bool flipped);
  void Push(Scripted item);

  HeadlessConfig config_;
  bool window_ = false;
  bool minimised_ = false;
  bool cursor_visible_ = true;
  std::string title_;
  int icon_width_ = 0;
  std::vector<uint32_t> icon_;
  int paints_ = 0;

  bool open_ = false;
  int creates_ = 0;
  HardwareMode hardware_;  // the display mode set; width 0 for the desktop
  std::vector<uint8_t> primary_;
  std::vector<uint8_t> back_;
  std::array<PaletteEntry, 256> palette_{};
  bool lost_ = false;
  int failing_locks_ = 0;
  bool locked_ = false;

  uint64_t counter_ = 0;
  NullAudio* audio_ = nullptr;
  uint64_t presented_count_ = 0;
  std::deque<PresentedFrame> presented_;

  std::deque<Scripted> script_;
  PointerState pointer_;
};
