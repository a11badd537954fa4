// The system mouse pointer as a backend keeps it: a position held inside
// the screen, and the two buttons with their press-since-last-query bit.
#pragma once

#include <cstdint>

class PointerState {
 public:
  void Set_Screen(int width, int height);
  void Move_By(int dx, int dy);
  void Move_To(int x, int y);
  int X() const { return x_; }
  int Y() const { return y_; }

  // Button 1 = left, 2 = right (the virtual-key numbers).
  void Button(int virtual_key, bool down);
  // The button's async bits; reading clears the press bit.
  uint16_t Query(int virtual_key);

 private:
  struct ButtonBits {
    bool down = false;
    bool pressed = false;
  };
  ButtonBits* Find(int virtual_key);

  int width_ = 640;
  int height_ = 480;
  int x_ = 320;
  int y_ = 240;
  ButtonBits left_;
  ButtonBits right_;
};
