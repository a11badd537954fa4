#include "platform/headless/headless_display.h"

#include <algorithm>
#include <bit>
#include <cstdio>
#include <utility>

namespace {

int Bytes_For(int bits) { return bits <= 8 ? 1 : (bits + 7) / 8; }

// The field of `mask` in the value, scaled to 0..255.
uint8_t Channel(uint32_t value, uint32_t mask) {
  if (mask == 0) return 0;
  int shift = std::countr_zero(mask);
  uint32_t top = mask >> shift;
  uint32_t field = (value & mask) >> shift;
  return uint8_t((uint64_t(field) * 255 + top / 2) / top);
}

}  // namespace

// ---------------------------------------------------------------- frames

uint32_t PresentedFrame::Value(int x, int y) const {
  if (x < 0 || y < 0 || x >= width || y >= height) return 0;
  int size = Bytes_For(format.bits);
  size_t at = size_t(y) * size_t(pitch) + size_t(x) * size_t(size);
  if (at + size_t(size) > bytes.size()) return 0;
  uint32_t value = 0;
  for (int i = 0; i < size; ++i) value |= uint32_t(bytes[at + size_t(i)]) << (8 * i);
  return value;
}

Rgb PresentedFrame::Colour(int x, int y) const {
  uint32_t value = Value(x, y);
  if (format.bits == 8) {
    const PaletteEntry& e = palette[value & 0xFF];
    return {e.red, e.green, e.blue};
  }
  return {Channel(value, format.red_mask), Channel(value, format.green_mask),
          Channel(value, format.blue_mask)};
}

// ---------------------------------------------------------------- script

HeadlessDisplay::HeadlessDisplay(HeadlessConfig config) : config_(std::move(config)) {
  pointer_.Set_Screen(config_.desktop_width, config_.desktop_height);
  pointer_.Move_To(config_.desktop_width / 2, config_.desktop_height / 2);
}

void HeadlessDisplay::Push(Scripted item) { script_.push_back(item); }

void HeadlessDisplay::Post(const WindowEvent& event, uint64_t at_frame) {
  Scripted item;
  item.event = event;
  item.at_frame = at_frame;
  Push(item);
}

void HeadlessDisplay::Key_Down(int virtual_key, int scan_code, bool extended, uint64_t at_frame) {
  WindowEvent e;
  e.type = WindowEventType::kKeyDown;
  e.virtual_key = virtual_key;
  e.key_data = Key_Data(scan_code, extended);
  Post(e, at_frame);
}

void HeadlessDisplay::Key_Up(int virtual_key, int scan_code, bool extended, uint64_t at_frame) {
  WindowEvent e;
  e.type = WindowEventType::kKeyUp;
  e.virtual_key = virtual_key;
  e.key_data = Key_Data(scan_code, extended) | 0xC0000000u;  // previous state down, released
  Post(e, at_frame);
}

void HeadlessDisplay::Character(int character, uint64_t at_frame) {
  WindowEvent e;
  e.type = WindowEventType::kCharacter;
  e.character = character;
  Post(e, at_frame);
}

void HeadlessDisplay::Focus(bool active, uint64_t at_frame) {
  WindowEvent e;
  e.type = WindowEventType::kActivateApp;
  e.active = active;
  Post(e, at_frame);
}

void HeadlessDisplay::Mouse_Move(int dx, int dy, uint64_t at_frame) {
  Scripted item;
  item.kind = ScriptKind::kMouseMove;
  item.dx = dx;
  item.dy = dy;
  item.at_frame = at_frame;
  Push(item);
}

void HeadlessDisplay::Mouse_Button(int virtual_key, bool down, uint64_t at_frame) {
  Scripted item;
  item.kind = ScriptKind::kMouseButton;
  item.button = virtual_key;
  item.down = down;
  item.at_frame = at_frame;
  Push(item);
}

bool HeadlessDisplay::Peek_Event(WindowEvent& event) {
  while (!script_.empty() && script_.front().at_frame <= presented_count_) {
    Scripted item = script_.front();
    script_.pop_front();
    switch (item.kind) {
      case ScriptKind::kMouseMove: pointer_.Move_By(item.dx, item.dy); break;
      case ScriptKind::kMouseButton: pointer_.Button(item.button, item.down); break;
      case ScriptKind::kWindowEvent: event = item.event; return true;
    }
  }
  return false;
}

// Nothing is presented while waiting, so the next scripted event is due
// now. With nothing scripted any more the window is given its focus back:
// a test run never blocks.
void HeadlessDisplay::Wait_Event() {
  if (!script_.empty()) {
    script_.front().at_frame = std::min(script_.front().at_frame, presented_count_);
    return;
  }
  Focus(true);
}

// ---------------------------------------------------------------- window

bool HeadlessDisplay::Register_Class() { return !Refuses(kRefuseRegisterClass); }

bool HeadlessDisplay::Create_Window(std::string_view caption) {
  if (Refuses(kRefuseCreateWindow)) return false;
  window_ = true;
  title_ = caption;
  return true;
}

void HeadlessDisplay::Destroy_Window() { window_ = false; }

void HeadlessDisplay::Screen_Size(int& width, int& height) {
  width = hardware_.width ? hardware_.width : config_.desktop_width;
  height = hardware_.width ? hardware_.height : config_.desktop_height;
}

void HeadlessDisplay::Cursor_Pos(int& x, int& y) {
  x = pointer_.X();
  y = pointer_.Y();
}

void HeadlessDisplay::Show_Fatal(std::string_view text, std::string_view caption) {
  std::fprintf(stderr, "%.*s: %.*s\n", int(caption.size()), caption.data(), int(text.size()), text.data());
  std::fflush(stderr);
}

// ---------------------------------------------------------------- card

bool HeadlessDisplay::Create() {
  if (Refuses(kRefuseCreate)) return false;
  open_ = true;
  ++creates_;
  return true;
}

bool HeadlessDisplay::Set_Exclusive() { return open_ && !Refuses(kRefuseSetExclusive); }

std::vector<HardwareMode> HeadlessDisplay::Enumerate_Modes() {
  std::vector<HardwareMode> modes = config_.modes;
  for (HardwareMode& m : modes) {
    if (m.pitch == 0) m.pitch = m.width * Bytes_For(m.bits);
  }
  return open_ ? modes : std::vector<HardwareMode>{};
}

bool HeadlessDisplay::Knows_Mode(int width, int height, int bits) const {
  return std::any_of(config_.modes.begin(), config_.modes.end(), [&](const HardwareMode& m) {
    return m.width == width && m.height == height && m.bits == bits;
  });
}

bool HeadlessDisplay::Set_Display_Mode(int width, int height, int bits) {
  if (!open_ || Refuses(kRefuseSetDisplayMode) || !Knows_Mode(width, height, bits)) return false;
  for (const HardwareMode& m : Enumerate_Modes()) {
    if (m.width == width && m.height == height && m.bits == bits) hardware_ = m;
  }
  pointer_.Set_Screen(width, height);
  return true;
}

bool HeadlessDisplay::Restore_Display_Mode() {
  if (Refuses(kRefuseRestoreDisplayMode)) return false;
  hardware_ = HardwareMode{};
  pointer_.Set_Screen(config_.desktop_width, config_.desktop_height);
  return true;
}

int HeadlessDisplay::Bytes_Per_Pixel() const { return Bytes_For(hardware_.bits); }

int HeadlessDisplay::Pitch() const { return hardware_.pitch; }

void HeadlessDisplay::Allocate(std::vector<uint8_t>& surface) const {
  surface.assign(size_t(Pitch()) * size_t(hardware_.height), 0);
}

bool HeadlessDisplay::Create_Flip_Chain() {
  if (!open_ || !hardware_.width || !config_.flip_chain || Refuses(kRefuseFlipChain)) return false;
  Allocate(primary_);
  return true;
}

bool HeadlessDisplay::Attach_Back_Buffer() {
  if (primary_.empty() || Refuses(kRefuseAttachBackBuffer)) return false;
  Allocate(back_);
  return true;
}

bool HeadlessDisplay::Create_Primary() {
  if (!open_ || !hardware_.width || Refuses(kRefuseCreatePrimary)) return false;
  Allocate(primary_);
  back_.clear();
  return true;
}

SurfaceFormat HeadlessDisplay::Pixel_Format() {
  switch (hardware_.bits) {
    case 8: return {8, 0, 0, 0};
    case 15: return {16, 0x7C00, 0x03E0, 0x001F};
    case 16: return {16, config_.red_mask_16, config_.green_mask_16, config_.blue_mask_16};
    case 24: return {24, 0xFF0000, 0x00FF00, 0x0000FF};
    case 32: return {32, 0xFF0000, 0x00FF00, 0x0000FF};
    default: return {hardware_.bits, 0, 0, 0};
  }
}

bool HeadlessDisplay::Set_Palette(std::span<const PaletteEntry> entries) {
  if (primary_.empty() || Refuses(kRefusePalette)) return false;
  palette_ = {};
  std::copy_n(entries.begin(), std::min<size_t>(entries.size(), palette_.size()), palette_.begin());
  return true;
}

void HeadlessDisplay::Release_Surfaces() {
  primary_.clear();
  back_.clear();
  palette_ = {};
  lost_ = false;
}

void HeadlessDisplay::Release() {
  Release_Surfaces();
  hardware_ = HardwareMode{};
  pointer_.Set_Screen(config_.desktop_width, config_.desktop_height);
  open_ = false;
}

void HeadlessDisplay::Restore_Surfaces() {
  if (!lost_) return;
  lost_ = false;
  // A restored surface has lost its contents.
  std::fill(primary_.begin(), primary_.end(), 0);
  std::fill(back_.begin(), back_.end(), 0);
}

bool HeadlessDisplay::Lock(SurfaceLock& lock) {
  std::vector<uint8_t>& surface = back_.empty() ? primary_ : back_;
  if (surface.empty() || lost_ || locked_) return false;
  if (failing_locks_ > 0) {
    --failing_locks_;
    return false;
  }
  lock = {surface.data(), Pitch(), hardware_.width, hardware_.height};
  locked_ = true;
  return true;
}

void HeadlessDisplay::Unlock() {
  if (!locked_) return;
  locked_ = false;
  if (back_.empty()) Record(primary_, false);  // drawn straight onto the screen
}

void HeadlessDisplay::Flip() {
  if (back_.empty() || primary_.empty()) return;
  std::swap(primary_, back_);
  Record(primary_, true);
}

// The oldest kept picture's buffer is reused, so presenting allocates
// nothing once the queue is full. A flipped primary surface is only shown,
// never read, until the next frame is drawn into the back buffer: its bytes
// are taken rather than copied, and the surface gets the reused buffer.
void HeadlessDisplay::Record(std::vector<uint8_t>& surface, bool flipped) {
  PresentedFrame frame;
  if (presented_.size() >= std::max<size_t>(config_.frames_kept, 1)) {
    frame = std::move(presented_.front());
    presented_.pop_front();
  }
  frame.width = hardware_.width;
  frame.height = hardware_.height;
  frame.pitch = Pitch();
  frame.format = Pixel_Format();
  if (hardware_.bits == 15) frame.format.bits = 16;
  frame.palette = palette_;
  if (flipped && frame.bytes.size() == surface.size())
    frame.bytes.swap(surface);
  else
    frame.bytes.assign(surface.begin(), surface.end());
  presented_.push_back(std::move(frame));
  while (presented_.size() > std::max<size_t>(config_.frames_kept, 1)) presented_.pop_front();
  ++presented_count_;
  Advance_Clock(uint64_t(std::max(config_.frame_step_ms, 0)));
}

void HeadlessDisplay::Advance_Clock(uint64_t milliseconds) {
  counter_ += milliseconds * config_.clock_frequency / 1000;
  if (audio_) audio_->Advance_Ms(int64_t(milliseconds));
}
