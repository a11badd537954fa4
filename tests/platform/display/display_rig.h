// A Wendax on a headless virtual card, and the cards the tests use.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/display/display.h"
#include "platform/headless/headless_display.h"
#include "platform/wendax.h"

// A card with these modes and 5-6-5 16-bit surfaces.
HeadlessConfig Card_With(std::vector<HardwareMode> modes);
// 640 x 480 enumerated at 15 and at 16 bits, 16-bit surfaces 5-5-5.
HeadlessConfig Card_555();
// Only 1280 x 960 x 16.
HeadlessConfig Card_Only_1280x960();
// Only 640 x 480 x 8.
HeadlessConfig Card_8_Bit();

struct DisplayRig {
  explicit DisplayRig(HeadlessConfig config);
  ~DisplayRig();

  // Wendax_Init, then a mode search for the size; the result of the set.
  int Open(int width = 640, int height = 480, int bits = 16, int kind = 0);
  // Fills the frame buffer with a pattern that differs in every pixel.
  void Draw_Pattern();

  HeadlessDisplay card;
  Wendax wx;
};

// The pattern's pixel at (x, y).
uint16_t Pattern_Pixel(int x, int y);
