// Small games made here (TGA stills, raw-dump panoramas, zone files,
// scripts) played headless: kvr_viewer's traces compared frame by frame
// with what the frame rules give, the cursor rules seen on presented
// pixels, and the sample game's walk played twice.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <sstream>

#include "engine/engine.h"
#include "engine/run/engine_run.h"
#include "engine/run/run_trace.h"
#include "platform/display/display.h"
#include "platform/headless/headless_display.h"
#include "platform/input/input.h"
#include "platform/wendax.h"
#include "tests/support/program_run.h"
#include "tests/support/temp_folder.h"
#include "tools/picture_writers.h"
#include "tools/zone_writer.h"

namespace {

struct Game {
  TempFolder folder;

  // A TGA of one colour, 24 bits: 640 x 480 for a warp, smaller for a cursor.
  void Still(const std::string& name, uint8_t r = 0x80, uint8_t g = 0x80, uint8_t b = 0x80,
             int size = 0) const {
    PicturePtr picture = Picture_New(name, size ? size : 640, size ? size : 480, 24);
    for (size_t i = 0; i < picture->pixels.size(); i += 3)
      std::copy_n(std::array<uint8_t, 3>{r, g, b}.begin(), 3, picture->pixels.begin() + ptrdiff_t(i));
    const std::vector<uint8_t> bytes = Tga_Write(*picture).bytes;
    folder.Write(name, std::string(bytes.begin(), bytes.end()));
  }
  void Panorama(const std::string& name) const { folder.Write(name, std::string(4096, '\x42')); }
  void Zone_File(const std::string& name, const std::vector<ZoneBounds>& zones) const {
    const std::vector<uint8_t> bytes = Zone_File_Bytes(zones);
    folder.Write(name, std::string(bytes.begin(), bytes.end()));
  }

  // Plays the game with the session; the trace without its debug lines.
  ProgramRun Play(const std::string& session, std::vector<std::string>& trace) const {
    folder.Write("session.txt", session);
    ProgramRun run = Run_Program(KVR_VIEWER_PATH, {"--headless", "--session", folder.Path("session.txt"),
                                                   "--trace", folder.Path("trace.json"), folder.Path()});
    std::istringstream lines(folder.Read("trace.json").value_or(""));
    trace.clear();
    for (std::string line; std::getline(lines, line);)
      if (line.find("\"event\":\"debug\"") == std::string::npos) trace.push_back(line);
    return run;
  }
};

std::string At(int frame) { return "{\"frame\":" + std::to_string(frame) + ","; }
std::string Warp(int frame, int index, const std::string& name, int kind) {
  return At(frame) + "\"event\":\"warp\",\"index\":" + std::to_string(index) + ",\"name\":\"" + name +
         "\",\"kind\":" + std::to_string(kind) + "}";
}
std::string Ran(int frame, const std::string& warp, int position, int id, int kind,
                const std::string& cause) {
  return At(frame) + "\"event\":\"test\",\"warp\":\"" + warp + "\",\"position\":" + std::to_string(position) +
         ",\"id\":" + std::to_string(id) + ",\"kind\":" + std::to_string(kind) + ",\"cause\":\"" + cause +
         "\"}";
}
std::string End(int frame) { return At(frame) + "\"event\":\"end\"}"; }
const std::string kScript = At(0) + "\"event\":\"script\",\"name\":\"script.lst\"}";

// Warp entry shows two frames; the entry test runs after them. A session
// event of frame F is read with the input that follows the F-th frame, and
// what it causes runs in the next frame, before that frame is shown. The
// cursor moves half the mouse's movement.
TEST(HeadlessGame, TracesFollowTheFrameRules) {
  struct Case {
    const char* what;
    std::vector<std::string> stills, panoramas;
    std::vector<std::pair<std::string, std::vector<ZoneBounds>>> zone_files;
    std::string script, session;
    std::vector<std::string> trace;
  };
  const ZoneBounds corner = {0, 99, 0, 99};
  const Case cases[] = {
      {"a click runs the last test of the zone and changes warp",
       {"MENU.TGA", "ROOM.TGA"},
       {},
       {{"MENU.ZON", {corner}}},
       "[WARP] MENU.TGA MENU.ZON\n[TEST] 0 0\nGOTOWARP NOWHERE.TGA\n[TEST] 0 0\nGOTOWARP ROOM.TGA\n[TEST] -1 "
       "0\n"
       "[WARP] ROOM.TGA\n[TEST] -1 0\nEND\n",
       "5 click\n",
       {kScript, Warp(0, 0, "MENU.TGA", 1), Ran(2, "MENU.TGA", 2, -1, 0, "entry"),
        Ran(5, "MENU.TGA", 1, 0, 0, "click"), Warp(5, 1, "ROOM.TGA", 1),
        Ran(7, "ROOM.TGA", 0, -1, 0, "entry"), End(7)}},
      {"leave zones, one straight into another, and an enter zone entered twice",
       {"A.TGA"},
       {},
       {{"A.ZON", {{0, 99, 0, 479}, {100, 199, 0, 479}, {300, 399, 0, 479}}}},
       "[WARP] A.TGA A.ZON\n[TEST] 0 2\n[TEST] 1 2\n[TEST] 2 1\n",
       // x 150, 250, 350, 360, 260, 360
       "3 move 300 0\n5 move 200 0\n7 move 200 0\n9 move 20 0\n11 move -200 0\n13 move 200 0\n15 quit\n",
       {kScript, Warp(0, 0, "A.TGA", 1), Ran(3, "A.TGA", 0, 0, 2, "leave"), Ran(5, "A.TGA", 1, 1, 2, "leave"),
        Ran(7, "A.TGA", 2, 2, 1, "enter"), Ran(13, "A.TGA", 2, 2, 1, "enter"), End(15)}},
      {"Escape locks to the menu and RETURN comes back",
       {"MENU.TGA"},
       {"HALL.VR"},
       {{"MENU.ZON", {corner}}},
       "[WARP] HALL.VR\n[TEST] -1 0\nLOCKKEY 0 MENU.TGA\n[WARP] MENU.TGA MENU.ZON\n[TEST] 0 0\nRETURN\n",
       "4 key Escape\n8 click\n12 quit\n",
       {kScript, Warp(0, 0, "HALL.VR", 0), Ran(2, "HALL.VR", 0, -1, 0, "entry"), Warp(4, 1, "MENU.TGA", 1),
        Ran(8, "MENU.TGA", 0, 0, 0, "click"), Warp(8, 0, "HALL.VR", 0),
        Ran(10, "HALL.VR", 0, -1, 0, "return"), End(12)}},
      {"Enter clicks when its slot is empty; GOTOWARP to the current warp stays",
       {"A.TGA"},
       {},
       {{"A.ZON", {corner}}},
       "[WARP] A.TGA A.ZON\n[TEST] 0 0\nGOTOWARP A.TGA\n[TEST] -1 0\n",
       "4 key Enter\n6 quit\n",
       {kScript, Warp(0, 0, "A.TGA", 1), Ran(2, "A.TGA", 1, -1, 0, "entry"),
        Ran(4, "A.TGA", 0, 0, 0, "click"), End(6)}},
      // Steps of (Frame_Ms x 64) >> 4: 56 at the 14 ms after the load, then
      // 80 at 20 ms: -255, -199, -119, -39 up to 0, then 0, -80, -160, -240.
      {"TRANSFADE in the entry test shows eight frames",
       {"A.TGA"},
       {},
       {},
       "[WARP] A.TGA\n[TEST] -1 0\nTRANSFADE 64\nEND\n",
       "",
       {kScript, Warp(0, 0, "A.TGA", 1), Ran(2, "A.TGA", 0, -1, 0, "entry"), End(10)}},
  };
  for (const Case& c : cases) {
    Game g;
    for (const std::string& name : c.stills) g.Still(name);
    for (const std::string& name : c.panoramas) g.Panorama(name);
    for (const auto& [name, zones] : c.zone_files) g.Zone_File(name, zones);
    g.folder.Write("script.lst", c.script);
    std::vector<std::string> trace;
    ProgramRun run = g.Play(c.session, trace);
    EXPECT_EQ(run.status, 0) << c.what << ": " << run.err;
    EXPECT_EQ(trace, c.trace) << c.what;
  }
}

// Keeps the pixel under the cursor of the frames asked for; quits after the
// last of them.
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

// The zone cursor from the test at the zone's position, the default active
// cursor over a click zone without one, the default cursor over a hidden
// zone and outside every zone.
TEST(HeadlessGame, CursorRules) {
  Game g;
  g.Still("A.TGA");
  g.Still("cursor1.tga", 0xF8, 0, 0, 8);  // found for cursor1.pcx by the extension fallback
  g.Still("cursor2.tga", 0, 0xFC, 0, 8);
  g.Still("ZC.TGA", 0, 0, 0xF8, 8);
  g.Zone_File("A.ZON", {{0, 99, 0, 479}, {200, 299, 0, 479}, {400, 499, 0, 479}});
  g.folder.Write("script.lst",
                 "[WARP] A.TGA A.ZON\n[TEST] 0 0\n[TEST] 1 0\n[TEST] 2 0\n[TEST] -1 0\n"
                 "SETCURSOR ZC.TGA A.TGA 0\nHIDECURSOR A.TGA 2\n");
  HeadlessConfig config;
  config.modes = {{640, 480, 16, 0}};
  HeadlessDisplay display(config);
  // The cursor is at x 250 by frame 6, 450 by frame 10, 600 by frame 14.
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
  engine.search_path.Add(g.folder.Path());
  MainRunner runner;
  Run_Script_Chain(engine, runner, "script.lst");
  Wendax_Close_Screen(wx);
  Wendax_Close(wx);
  EXPECT_EQ(trace.pixels,
            (std::map<uint64_t, uint16_t>{{4, 0x001F}, {8, 0x07E0}, {12, 0xF800}, {16, 0xF800}}));
}

// The sample game, as the build makes it: its walk plays the same trace and
// the same screenshots, byte for byte, twice over.
TEST(HeadlessGame, TheSampleGamePlaysTheSameEveryTime) {
  Game g;
  std::string traces[2], shots[2];
  for (int i = 0; i < 2; ++i) {
    const std::string n = std::to_string(i);
    g.folder.Make_Folder("shots" + n);
    ProgramRun run = Run_Program(
        KVR_VIEWER_PATH, {"--headless", "--session", KVR_SOURCE_DIR "/demo/session.txt", "--trace",
                          g.folder.Path("trace" + n), "--shots", g.folder.Path("shots" + n), KVR_DEMO_DISC});
    ASSERT_EQ(run.status, 0) << run.err;
    traces[i] = g.folder.Read("trace" + n).value_or("");
    for (const std::string& name : g.folder.Entries("shots" + n))
      shots[i] += name + g.folder.Read("shots" + n + "/" + name).value_or("");
  }
  EXPECT_EQ(traces[0], traces[1]);
  EXPECT_EQ(shots[0], shots[1]);
  EXPECT_EQ(g.folder.Entries("shots0").size(), 5u);
  EXPECT_NE(traces[0].find(Ran(8, "HALL.VR", 2, -1, 0, "entry")), std::string::npos);
  EXPECT_NE(traces[0].find("\"cause\":\"return\""), std::string::npos);
}

TEST(HeadlessGame, WrongGamesAndSessionsFailWithAMessage) {
  Game g;
  std::vector<std::string> trace;
  ProgramRun run = g.Play("", trace);
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("holds no script.lst"), std::string::npos) << run.err;

  g.Still("A.TGA");
  g.folder.Write("script.lst", "[WARP] A.TGA\n");
  run = g.Play("1 click\n2 jump\n", trace);
  EXPECT_EQ(run.status, 2);
  EXPECT_NE(run.err.find("line 2: unknown event \"jump\""), std::string::npos) << run.err;

  run = Run_Program(KVR_VIEWER_PATH, {"--headless", g.folder.Path("missing.lst")});
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("cannot find the script"), std::string::npos) << run.err;
  EXPECT_EQ(Run_Program(KVR_VIEWER_PATH, {"--frame-ms", "0", "--headless", g.folder.Path()}).status, 2);
  run = Run_Program(KVR_VIEWER_PATH, {"--help"});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out.rfind("Usage: kvr_viewer", 0), 0u);
}

}  // namespace
