// Shows a test pattern through Wendax on the SDL2 backend, or checks a
// screenshot of it.
//
//   sdl_pattern_show show WIDTH HEIGHT READY_FILE STOP_FILE
//       opens the display at WIDTH x HEIGHT x 16, presents the pattern,
//       creates READY_FILE, and keeps presenting until STOP_FILE exists.
//   sdl_pattern_show check WIDTH HEIGHT SHOT.rgb SHOT_WIDTH SHOT_HEIGHT
//       compares a raw 8-bit RGB screenshot of a 640 x 480 window at the
//       screen's origin with the pattern scaled up to it.
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/display/display.h"
#include "platform/sdl/sdl_display.h"
#include "platform/wendax.h"

namespace {

uint16_t Pattern(int x, int y) {
  int r = (x * 31) / 639, g = (y * 63) / 479, b = ((x / 16 + y / 16) % 2) ? 31 : 0;
  return uint16_t((r << 11) | (g << 5) | b);
}

bool Exists(const char* path) { return ::access(path, F_OK) == 0; }

int Show(int width, int height, const char* ready, const char* stop) {
  SdlDisplay backend;
  Wendax wx(backend);
  Wendax_Init(wx);
  Wendax_Request_Mode(wx, width, height, 16);
  if (Wendax_Set_Mode(wx) != 0) return 2;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) Wendax_Put_Pixel(wx, x, y, Pattern(x * 640 / width, y * 480 / height));
  }
  Wendax_Show(wx);
  std::ofstream(ready).put('1');
  // Safety limit only: the test script stops the program.
  for (int i = 0; i < 1200 && !Exists(stop); ++i) {
    Wendax_Show(wx);
    std::this_thread::sleep_for(std::chrono::milliseconds(25));
  }
  Wendax_Close_Screen(wx);
  Wendax_Close(wx);
  return 0;
}

int Check(int width, int height, const char* shot, int shot_width, int shot_height) {
  std::ifstream in(shot, std::ios::binary);
  std::vector<unsigned char> rgb(size_t(shot_width) * size_t(shot_height) * 3);
  if (!in.read(reinterpret_cast<char*>(rgb.data()), std::streamsize(rgb.size()))) {
    std::fprintf(stderr, "cannot read %s\n", shot);
    return 1;
  }
  int wrong = 0;
  for (int y = 0; y < 480 && y < shot_height; ++y) {
    for (int x = 0; x < 640 && x < shot_width; ++x) {
      // The pixel of the scaled frame; 565 fields are the top bits of 888.
      uint16_t want = Pattern((x * width / 640) * 640 / width, (y * height / 480) * 480 / height);
      const unsigned char* p = rgb.data() + (size_t(y) * size_t(shot_width) + size_t(x)) * 3;
      uint16_t got = uint16_t(((p[0] >> 3) << 11) | ((p[1] >> 2) << 5) | (p[2] >> 3));
      if (got != want && wrong++ < 5) {
        std::fprintf(stderr, "(%d, %d): screen %04X, pattern %04X\n", x, y, got, want);
      }
    }
  }
  std::printf("%dx%d: %d of 307200 pixels differ\n", width, height, wrong);
  return wrong == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  std::string command = argc > 1 ? argv[1] : "";
  if (command == "show" && argc == 6) return Show(std::atoi(argv[2]), std::atoi(argv[3]), argv[4], argv[5]);
  if (command == "check" && argc == 7) {
    return Check(std::atoi(argv[2]), std::atoi(argv[3]), argv[4], std::atoi(argv[5]), std::atoi(argv[6]));
  }
  std::fprintf(stderr, "usage: %s show W H READY STOP | check W H SHOT.rgb SW SH\n", argv[0]);
  return 2;
}
