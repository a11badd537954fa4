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

uint32_t Presented_Frame::Value(int x, int y) const {
  if (x < 0 || y < 0 || x >= width || y >= height) return 0;
  int size = Bytes_For(format.bits);
  size_t at = size_t(y) * size_t(pitch) + size_t(x) * size_t(size);
  if (at + size_t(size) > bytes.size()) return 0;
  uint32_t value = 0;
  for (int i = 0; i < size; ++i) value |= uint32_t(bytes[at + size_t(i)]) << (8 * i);
  return value;
}

Rgb Presented_Frame::Colour(int x, int y) const {
  uint32_t value = Value(x, y);
  if (format.bits == 8) {
    const Palette_Entry& e = palette[value & 0xFF];
    return {e.red, e.green, e.blue};
  }
  return {Channel(value, format.red_mask), Channel(value, format.green_mask), Channel(value, format.blue_mask)};
}

// ---------------------------------------------------------------- script

Headless_Display::Headless_Display(Headless_Config config) : config_(std::move(config)) {
  pointer_.Set_Screen(config_.desktop_width, config_.desktop_height);
  pointer_.Move_To(config_.desktop_width / 2, config_.desktop_height / 2);
}

void Headless_Display::Push(Scripted item) { script_.push_back(item); }

void Headless_Display::Post(const Window_Event& event, uint64_t at_frame) {
  Scripted item;
  item.event = event;
  item.at_frame = at_frame;
  Push(item);
}

void Headless_Display::Key_Down(int virtual_key, int scan_code, bool extended, uint64_t at_frame) {
  Window_Event e;
  e.type = Window_Event_Type::key_down;
  e.virtual_key = virtual_key;
  e.key_data = Key_Data(scan_code, extended);
  Post(e, at_frame);
}

void Headless_Display::Key_Up(int virtual_key, int scan_code, bool extended, uint64_t at_frame) {
  Window_Event e;
  e.type = Window_Event_Type::key_up;
  e.virtual_key = virtual_key;
  e.key_data = Key_Data(scan_code, extended) | 0xC0000000u;  // previous state down, released
  Post(e, at_frame);
}

void Headless_Display::Character(int character, uint64_t at_frame) {
  Window_Event e;
  e.type = Window_Event_Type::character;
  e.character = character;
  Post(e, at_frame);
}

void Headless_Display::Focus(bool active, uint64_t at_frame) {
  Window_Event e;
  e.type = Window_Event_Type::activate_app;
  e.active = active;
  Post(e, at_frame);
}

void Headless_Display::Mouse_Move(int dx, int dy, uint64_t at_frame) {
  Scripted item;
  item.kind = Script_Kind::mouse_move;
  item.dx = dx;
  item.dy = dy;
  item.at_frame = at_frame;
  Push(item);
}

void Headless_Display::Mouse_Button(int virtual_key, bool down, uint64_t at_frame) {
  Scripted item;
  item.kind = Script_Kind::mouse_button;
  item.button = virtual_key;
  item.down = down;
  item.at_frame = at_frame;
  Push(item);
}

bool Headless_Display::Peek_Event(Window_Event& event) {
  while (!script_.empty() && script_.front().at_frame <= presented_count_) {
    Scripted item = script_.front();
    script_.pop_front();
    switch (item.kind) {
      case Script_Kind::mouse_move: pointer_.Move_By(item.dx, item.dy); break;
      case Script_Kind::mouse_button: pointer_.Button(item.button, item.down); break;
      case Script_Kind::window_event: event = item.event; return true;
    }
  }
  return false;
}

// Nothing is presented while waiting, so the next scripted event is due
// now. With nothing scripted any more the window is given its focus back:
// a test run never blocks.
void Headless_Display::Wait_Event() {
  if (!script_.empty()) {
    script_.front().at_frame = std::min(script_.front().at_frame, presented_count_);
    return;
  }
  Focus(true);
}

// ---------------------------------------------------------------- window

bool Headless_Display::Register_Class() { return !Refuses(kRefuseRegisterClass); }

bool Headless_Display::Create_Window(std::string_view caption) {
  if (Refuses(kRefuseCreateWindow)) return false;
  window_ = true;
  title_ = caption;
  return true;
}

void Headless_Display::Destroy_Window() { window_ = false; }

void Headless_Display::Screen_Size(int& width, int& height) {
  width = hardware_.width ? hardware_.width : config_.desktop_width;
  height = hardware_.width ? hardware_.height : config_.desktop_height;
}

void Headless_Display::Cursor_Pos(int& x, int& y) {
  x = pointer_.X();
  y = pointer_.Y();
}

void Headless_Display::Show_Fatal(std::string_view text, std::string_view caption) {
  std::fprintf(stderr, "%.*s: %.*s\n", int(caption.size()), caption.data(), int(text.size()), text.data());
  std::fflush(stderr);
}

// ---------------------------------------------------------------- card

bool Headless_Display::Create() {
  if (Refuses(kRefuseCreate)) return false;
  open_ = true;
  ++creates_;
  return true;
}

bool Headless_Display::Set_Exclusive() { return open_ && !Refuses(kRefuseSetExclusive); }

std::vector<Hardware_Mode> Headless_Display::Enumerate_Modes() {
  std::vector<Hardware_Mode> modes = config_.modes;
  for (Hardware_Mode& m : modes) {
    if (m.pitch == 0) m.pitch = m.width * Bytes_For(m.bits);
  }
  return open_ ? modes : std::vector<Hardware_Mode>{};
}

bool Headless_Display::Knows_Mode(int width, int height, int bits) const {
  return std::any_of(config_.modes.begin(), config_.modes.end(), [&](const Hardware_Mode& m) {
    return m.width == width && m.height == height && m.bits == bits;
  });
}

bool Headless_Display::Set_Display_Mode(int width, int height, int bits) {
  if (!open_ || Refuses(kRefuseSetDisplayMode) || !Knows_Mode(width, height, bits)) return false;
  for (const Hardware_Mode& m : Enumerate_Modes()) {
    if (m.width == width && m.height == height && m.bits == bits) hardware_ = m;
  }
  pointer_.Set_Screen(width, height);
  return true;
}

bool Headless_Display::Restore_Display_Mode() {
  if (Refuses(kRefuseRestoreDisplayMode)) return false;
  hardware_ = Hardware_Mode{};
  pointer_.Set_Screen(config_.desktop_width, config_.desktop_height);
  return true;
}

int Headless_Display::Bytes_Per_Pixel() const { return Bytes_For(hardware_.bits); }

int Headless_Display::Pitch() const { return hardware_.pitch; }

void Headless_Display::Allocate(std::vector<uint8_t>& surface) const {
  surface.assign(size_t(Pitch()) * size_t(hardware_.height), 0);
}

bool Headless_Display::Create_Flip_Chain() {
  if (!open_ || !hardware_.width || !config_.flip_chain || Refuses(kRefuseFlipChain)) return false;
  Allocate(primary_);
  return true;
}

bool Headless_Display::Attach_Back_Buffer() {
  if (primary_.empty() || Refuses(kRefuseAttachBackBuffer)) return false;
  Allocate(back_);
  return true;
}

bool Headless_Display::Create_Primary() {
  if (!open_ || !hardware_.width || Refuses(kRefuseCreatePrimary)) return false;
  Allocate(primary_);
  back_.clear();
  return true;
}

Surface_Format Headless_Display::Pixel_Format() {
  switch (hardware_.bits) {
    case 8: return {8, 0, 0, 0};
    case 15: return {16, 0x7C00, 0x03E0, 0x001F};
    case 16: return {16, config_.red_mask_16, config_.green_mask_16, config_.blue_mask_16};
    case 24: return {24, 0xFF0000, 0x00FF00, 0x0000FF};
    case 32: return {32, 0xFF0000, 0x00FF00, 0x0000FF};
    default: return {hardware_.bits, 0, 0, 0};
  }
}

bool Headless_Display::Set_Palette(std::span<const Palette_Entry> entries) {
  if (primary_.empty() || Refuses(kRefusePalette)) return false;
  palette_ = {};
  std::copy_n(entries.begin(), std::min<size_t>(entries.size(), palette_.size()), palette_.begin());
  return true;
}

void Headless_Display::Release_Surfaces() {
  primary_.clear();
  back_.clear();
  palette_ = {};
  lost_ = false;
}

void Headless_Display::Release() {
  Release_Surfaces();
  hardware_ = Hardware_Mode{};
  pointer_.Set_Screen(config_.desktop_width, config_.desktop_height);
  open_ = false;
}

void Headless_Display::Restore_Surfaces() {
  if (!lost_) return;
  lost_ = false;
  // A restored surface has lost its contents.
  std::fill(primary_.begin(), primary_.end(), 0);
  std::fill(back_.begin(), back_.end(), 0);
}

bool Headless_Display::Lock(Surface_Lock& lock) {
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

void Headless_Display::Unlock() {
  if (!locked_) return;
  locked_ = false;
  if (back_.empty()) Record(primary_);  // drawn straight onto the screen
}

void Headless_Display::Flip() {
  if (back_.empty() || primary_.empty()) return;
  std::swap(primary_, back_);
  Record(primary_);
}

void Headless_Display::Record(const std::vector<uint8_t>& surface) {
  Presented_Frame frame;
  frame.width = hardware_.width;
  frame.height = hardware_.height;
  frame.pitch = Pitch();
  frame.format = Pixel_Format();
  if (hardware_.bits == 15) frame.format.bits = 16;
  frame.palette = palette_;
  frame.bytes = surface;
  presented_.push_back(std::move(frame));
  while (presented_.size() > std::max<size_t>(config_.frames_kept, 1)) presented_.pop_front();
  ++presented_count_;
  Advance_Clock(uint64_t(std::max(config_.frame_step_ms, 0)));
}

void Headless_Display::Advance_Clock(uint64_t milliseconds) {
  counter_ += milliseconds * config_.clock_frequency / 1000;
  if (audio_) audio_->Advance_Ms(int64_t(milliseconds));
}
