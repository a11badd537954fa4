#include "tests/platform/display/display_rig.h"

#include <utility>

HeadlessConfig Card_With(std::vector<HardwareMode> modes) {
  HeadlessConfig config;
  config.modes = std::move(modes);
  return config;
}

HeadlessConfig Card_555() {
  HeadlessConfig config = Card_With({{640, 480, 15, 0}, {640, 480, 16, 0}});
  config.red_mask_16 = 0x7C00;
  config.green_mask_16 = 0x03E0;
  config.blue_mask_16 = 0x001F;
  return config;
}

HeadlessConfig Card_Only_1280x960() { return Card_With({{1280, 960, 16, 0}}); }

HeadlessConfig Card_8_Bit() { return Card_With({{640, 480, 8, 0}}); }

DisplayRig::DisplayRig(HeadlessConfig config) : card(std::move(config)), wx(card) {}

DisplayRig::~DisplayRig() {
  Wendax_Close_Screen(wx);
  Wendax_Close(wx);
}

int DisplayRig::Open(int width, int height, int bits, int kind) {
  if (Wendax_Init(wx) != 0) return -2;
  Wendax_Request_Mode(wx, width, height, bits, kind);
  return Wendax_Set_Mode(wx);
}

uint16_t Pattern_Pixel(int x, int y) { return uint16_t(x * 37 + y * 1031 + (x ^ y) * 7); }

void DisplayRig::Draw_Pattern() {
  for (int y = 0; y < wx.display.frame_height; ++y) {
    for (int x = 0; x < wx.display.frame_width; ++x) Wendax_Put_Pixel(wx, x, y, Pattern_Pixel(x, y));
  }
}
