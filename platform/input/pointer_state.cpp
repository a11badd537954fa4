#include "platform/input/pointer_state.h"

#include <algorithm>

#include "platform/display/host_window.h"
#include "platform/input/virtual_keys.h"

void PointerState::Set_Screen(int width, int height) {
  width_ = std::max(width, 1);
  height_ = std::max(height, 1);
  Move_To(x_, y_);
}

void PointerState::Move_By(int dx, int dy) {
  Move_To(int(std::clamp<int64_t>(int64_t(x_) + dx, 0, width_ - 1)),
          int(std::clamp<int64_t>(int64_t(y_) + dy, 0, height_ - 1)));
}

void PointerState::Move_To(int x, int y) {
  x_ = std::clamp(x, 0, width_ - 1);
  y_ = std::clamp(y, 0, height_ - 1);
}

PointerState::ButtonBits* PointerState::Find(int virtual_key) {
  if (virtual_key == kVkLButton) return &left_;
  if (virtual_key == kVkRButton) return &right_;
  return nullptr;
}

void PointerState::Button(int virtual_key, bool down) {
  ButtonBits* b = Find(virtual_key);
  if (!b) return;
  if (down) b->pressed = true;
  b->down = down;
}

uint16_t PointerState::Query(int virtual_key) {
  ButtonBits* b = Find(virtual_key);
  if (!b) return 0;
  uint16_t bits = uint16_t((b->down ? kButtonDown : 0) | (b->pressed ? kButtonPressedSinceQuery : 0));
  b->pressed = false;
  return bits;
}
