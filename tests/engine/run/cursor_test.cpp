// The cursor rules, seen on the presented frames of a headless run: the
// zone cursor from the test at the zone's position, the default active
// cursor over a click zone without one, the default cursor over a hidden
// zone and outside every zone.
#include <gtest/gtest.h>

#include <map>

#include "engine/engine.h"
#include "engine/run/engine_run.h"
#include "engine/run/run_trace.h"
#include "engine/script_chain.h"
#include "packing/byte_order.h"
#include "platform/display/display.h"
#include "platform/headless/headless_display.h"
#include "platform/input/input.h"
#include "platform/wendax.h"
#include "tests/support/temp_folder.h"

namespace {

// A TGA of one colour, 24 bits, rows top to bottom.
std::string Tga(int width, int height, uint8_t r, uint8_t g, uint8_t b) {
  std::vector<uint8_t> t(18, 0);
  t[2] = 2;
  Put_Le16(t.data() + 12, uint32_t(width));
  Put_Le16(t.data() + 14, uint32_t(height));
  t[16] = 24;
  t[17] = 0x20;
  for (int i = 0; i < width * height; ++i) t.insert(t.end(), {b, g, r});
  return std::string(t.begin(), t.end());
}

// Keeps the pixel at the cursor of the frames asked for, and quits after
// the last of them.
class PixelTrace : public RunTrace {
 public:
  PixelTrace(const HeadlessDisplay& display, std::vector<uint64_t> frames)
      : display_(display), frames_(frames) {}
  void Warp(Engine&, int, std::string_view, int) override {}
  void Test(Engine&, std::string_view, int, int, int, TestCause) override {}
  void Plugin(Engine&, std::string_view) override {}
  void Script(Engine&, std::string_view) override {}
  void Debug(Engine&, std::string_view) override {}
  void End(Engine&) override {}
  void Frame(Engine& engine) override {
    const uint64_t f = engine.run.frames;
    if (std::find(frames_.begin(), frames_.end(), f) != frames_.end())
      pixels[f] =
          uint16_t(display_.Last_Presented().Value(engine.wx.input.cursor.x, engine.wx.input.cursor.y));
    if (f >= frames_.back()) engine.run.quit = true;
  }
  std::map<uint64_t, uint16_t> pixels;

 private:
  const HeadlessDisplay& display_;
  std::vector<uint64_t> frames_;
};

TEST(Cursor, ZoneCursorActiveDefaultAndDefault) {
  TempFolder game;
  game.Write("A.TGA", Tga(640, 480, 0x80, 0x80, 0x80));
  game.Write("cursor1.tga", Tga(8, 8, 0xF8, 0, 0));  // found for cursor1.pcx by the extension fallback
  game.Write("cursor2.tga", Tga(8, 8, 0, 0xFC, 0));
  game.Write("ZC.TGA", Tga(8, 8, 0, 0, 0xF8));
  std::vector<uint8_t> zones;
  Push_Le32(zones, 3);
  for (float v : {0.f, 99.f, 0.f, 479.f, 200.f, 299.f, 0.f, 479.f, 400.f, 499.f, 0.f, 479.f})
    Push_Le32(zones, std::bit_cast<uint32_t>(v));
  game.Write("A.ZON", std::string(zones.begin(), zones.end()));
  game.Write("script.lst",
             "[WARP] A.TGA A.ZON\n[TEST] 0 0\n[TEST] 1 0\n[TEST] 2 0\n[TEST] -1 0\n"
             "SETCURSOR ZC.TGA A.TGA 0\nHIDECURSOR A.TGA 2\n");

  HeadlessConfig config;
  config.modes = {{640, 480, 16, 0}};
  config.frames_kept = 1;
  HeadlessDisplay display(config);
  // The cursor moves half the mouse's movement: x 250 by frame 6, 450 by
  // frame 10, 600 by frame 14.
  for (uint64_t f : {5, 6}) display.Mouse_Move(250, 0, f);
  for (uint64_t f : {9, 10}) display.Mouse_Move(200, 0, f);
  display.Mouse_Move(300, 0, 14);
  Wendax wx(display);
  ASSERT_EQ(Wendax_Init(wx), 0);
  Wendax_Request_Mode(wx, 640, 480, 16);
  ASSERT_EQ(Wendax_Set_Mode(wx), 0);
  Wendax_Reset_Cursor(wx);
  Engine engine(wx);
  PixelTrace trace(display, {4, 8, 12, 16});
  engine.trace = &trace;
  engine.search_path.Add(game.Path());
  MainRunner runner;
  Run_Script_Chain(engine, runner, "script.lst");
  Wendax_Close_Screen(wx);
  Wendax_Close(wx);

  EXPECT_EQ(trace.pixels[4], 0x001F);   // zone 0: its test's cursor
  EXPECT_EQ(trace.pixels[8], 0x07E0);   // zone 1: no cursor of its own, the active one
  EXPECT_EQ(trace.pixels[12], 0xF800);  // zone 2 is hidden: the default cursor
  EXPECT_EQ(trace.pixels[16], 0xF800);  // outside every zone
}

}  // namespace
