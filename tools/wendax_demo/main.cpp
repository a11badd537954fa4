// wendax_demo: the platform layer at work. Opens the display at
// 640 x 480 x 16, draws a moving test pattern with a cursor that follows
// the mouse (and the keypad digits and arrow keys), plays a tone panned by
// the cursor's position, and ends on Ctrl+Q.
//
//   wendax_demo
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <numbers>

#include "platform/display/display.h"
#include "platform/input/frame_clock.h"
#include "platform/input/input.h"
#include "platform/sdl/sdl_audio.h"
#include "platform/sdl/sdl_display.h"
#include "platform/sound/sound_output.h"
#include "platform/wendax.h"

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 480;

uint16_t Rgb565(int r, int g, int b) { return uint16_t(((r >> 3) << 11) | ((g >> 2) << 5) | (b >> 3)); }

// Colour bars scrolling sideways, a grey ramp below, a checker that moves down.
void Draw_Pattern(Wendax& wx, int32_t time_ms) {
  static const uint16_t kBars[8] = {Rgb565(255, 255, 255), Rgb565(255, 255, 0), Rgb565(0, 255, 255),
                                    Rgb565(0, 255, 0),     Rgb565(255, 0, 255), Rgb565(255, 0, 0),
                                    Rgb565(0, 0, 255),     Rgb565(0, 0, 0)};
  int shift = (time_ms / 8) % kWidth;
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      uint16_t value;
      if (y < 320) {
        value = kBars[((x + shift) % kWidth) / (kWidth / 8)];
      } else if (y < 400) {
        int grey = x * 255 / (kWidth - 1);
        value = Rgb565(grey, grey, grey);
      } else {
        bool dark = (((x / 20) + ((y + time_ms / 20) / 20)) % 2) != 0;
        value = dark ? Rgb565(32, 32, 64) : Rgb565(200, 200, 220);
      }
      Wendax_Put_Pixel(wx, x, y, value);
    }
  }
}

// A cross with a dark outline, so that it shows on every colour; orange
// while the left button is down.
void Draw_Cursor(Wendax& wx) {
  const CursorState& c = wx.input.cursor;
  uint16_t colour = wx.input.left ? Rgb565(255, 128, 0) : Rgb565(255, 255, 255);
  Wendax_Fill_Rect(wx, c.x - 11, c.y - 1, 23, 3, 0);
  Wendax_Fill_Rect(wx, c.x - 1, c.y - 11, 3, 23, 0);
  Wendax_Fill_Rect(wx, c.x - 10, c.y, 21, 1, colour);
  Wendax_Fill_Rect(wx, c.x, c.y - 10, 1, 21, colour);
}

// One second of a 440 Hz sine, 16-bit mono at 22050 Hz: loops seamlessly.
Sample Tone() {
  Sample s;
  s.name = "tone";
  s.rate = 22050;
  s.bits = 16;
  s.stereo = 0;
  s.data.resize(size_t(s.rate) * 2);
  for (int i = 0; i < s.rate; ++i) {
    double v = std::sin(2 * std::numbers::pi * 440.0 * i / s.rate) * 8000.0;
    int16_t sample = int16_t(std::lround(v));
    s.data[size_t(i) * 2] = uint8_t(sample & 0xFF);
    s.data[size_t(i) * 2 + 1] = uint8_t((sample >> 8) & 0xFF);
  }
  return s;
}

// Pan follows the cursor: -255 at the left edge, 255 at the right.
int Pan_For(const CursorState& c) { return (c.x - kWidth / 2) * 255 / (kWidth / 2); }

}  // namespace

int main() {
  SdlDisplay backend;
  Wendax wx(backend);
  Wendax_Init(wx);
  Wendax_Set_Title(wx, "wendax_demo: Ctrl+Q quits, Alt+Enter full screen");
  Wendax_Request_Mode(wx, kWidth, kHeight, 16);
  if (Wendax_Set_Mode(wx) != 0) {
    std::fprintf(stderr, "wendax_demo: no 640 x 480 x 16 mode\n");
    return 1;
  }
  Wendax_Reset_Cursor(wx);
  wx.input.cursor.x = kWidth / 2;
  wx.input.cursor.y = kHeight / 2;

  Sound_Use_Device(wx, Sdl_Audio_Device());
  Sample tone = Tone();
  int channel = Sound_Init(wx) == 0 ? Sound_Play(wx, &tone, 160, 0, kSoundFlagLoop) : -1;
  if (channel < 0) std::fprintf(stderr, "wendax_demo: no sound\n");

  Wendax_Clock_Start(wx);
  int32_t time_ms = 0;
  while (!Wendax_Quit_Requested(wx)) {
    Draw_Pattern(wx, time_ms);
    Draw_Cursor(wx);
    Wendax_Show(wx);
    Wendax_Input(wx);
    time_ms += wx.clock.delta;
    if (channel > 0) Sound_Set(wx, channel, 160, Pan_For(wx.input.cursor));
  }

  Sound_Close(wx);
  Wendax_Clock_Stop(wx);
  Wendax_Close_Screen(wx);
  Wendax_Close(wx);
  return 0;
}
