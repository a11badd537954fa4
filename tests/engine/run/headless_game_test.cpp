// kvr_viewer --headless on small games made here: still pictures (TGA),
// panoramas (raw dumps), zone files and scripts; each run's trace is
// compared with what the frame rules give, frame by frame.
#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <cstring>
#include <sstream>

#include "packing/byte_order.h"
#include "tests/support/program_run.h"
#include "tests/support/temp_folder.h"

namespace {

using Zones = std::vector<std::array<float, 4>>;

struct Game {
  TempFolder folder;

  void Still(const std::string& name, uint8_t grey = 0x80) const {
    std::string tga(18, '\0');
    tga[2] = 2;
    tga[12] = char(640 & 0xFF), tga[13] = char(640 >> 8);
    tga[14] = char(480 & 0xFF), tga[15] = char(480 >> 8);
    tga[16] = 24;
    tga[17] = 0x20;
    tga += std::string(size_t(640) * 480 * 3, char(grey));
    folder.Write(name, tga);
  }
  void Panorama(const std::string& name) const { folder.Write(name, std::string(4096, '\x42')); }
  void Zone_File(const std::string& name, const Zones& zones) const {
    std::vector<uint8_t> bytes;
    Push_Le32(bytes, uint32_t(zones.size()));
    for (const auto& z : zones)
      for (float v : z) Push_Le32(bytes, std::bit_cast<uint32_t>(v));
    folder.Write(name, std::string(bytes.begin(), bytes.end()));
  }
  void Script(const std::string& text) const { folder.Write("script.lst", text); }

  // Plays the game with the session; the trace without its debug lines.
  ProgramRun Play(const std::string& session, std::vector<std::string>& trace,
                  std::vector<std::string> extra = {}) const {
    folder.Write("session.txt", session);
    std::vector<std::string> args = {"--headless", "--session", folder.Path("session.txt"), "--trace",
                                     folder.Path("trace.json")};
    args.insert(args.end(), extra.begin(), extra.end());
    args.push_back(folder.Path());
    ProgramRun run = Run_Program(KVR_VIEWER_PATH, args);
    std::istringstream lines(folder.Read("trace.json").value_or(""));
    trace.clear();
    for (std::string line; std::getline(lines, line);)
      if (line.find("\"event\":\"debug\"") == std::string::npos) trace.push_back(line);
    return run;
  }
};

std::string Warp(int frame, int index, const std::string& name, int kind) {
  return "{\"frame\":" + std::to_string(frame) + ",\"event\":\"warp\",\"index\":" + std::to_string(index) +
         ",\"name\":\"" + name + "\",\"kind\":" + std::to_string(kind) + "}";
}
std::string Ran(int frame, const std::string& warp, int position, int id, int kind,
                const std::string& cause) {
  return "{\"frame\":" + std::to_string(frame) + ",\"event\":\"test\",\"warp\":\"" + warp +
         "\",\"position\":" + std::to_string(position) + ",\"id\":" + std::to_string(id) +
         ",\"kind\":" + std::to_string(kind) + ",\"cause\":\"" + cause + "\"}";
}
std::string Script(int frame) {
  return "{\"frame\":" + std::to_string(frame) + ",\"event\":\"script\",\"name\":\"script.lst\"}";
}
std::string End(int frame) { return "{\"frame\":" + std::to_string(frame) + ",\"event\":\"end\"}"; }

// Warp entry shows two frames; the entry test runs after them. A session
// event of frame F is read with the input that follows the F-th frame, and
// what it causes runs in the next frame, before that frame is shown.
TEST(HeadlessGame, ClickRunsTheLastTestOfTheZoneAndChangesWarp) {
  Game g;
  g.Still("MENU.TGA");
  g.Still("ROOM.TGA", 0x20);
  g.Zone_File("MENU.ZON", {{0, 99, 0, 99}});
  g.Script(
      "[WARP] MENU.TGA MENU.ZON\n[TEST] 0 0\nGOTOWARP NOWHERE.TGA\n[TEST] 0 0\nGOTOWARP ROOM.TGA\n"
      "[TEST] -1 0\n[WARP] ROOM.TGA\n[TEST] -1 0\nEND\n");
  std::vector<std::string> trace;
  ProgramRun run = g.Play("5 click\n", trace);
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(trace, (std::vector<std::string>{Script(0), Warp(0, 0, "MENU.TGA", 1),
                                             Ran(2, "MENU.TGA", 2, -1, 0, "entry"),
                                             Ran(5, "MENU.TGA", 1, 0, 0, "click"), Warp(5, 1, "ROOM.TGA", 1),
                                             Ran(7, "ROOM.TGA", 0, -1, 0, "entry"), End(7)}));
}

TEST(HeadlessGame, LeaveAndEnterZones) {
  Game g;
  g.Still("A.TGA");
  g.Zone_File("A.ZON", {{0, 99, 0, 479}, {100, 199, 0, 479}, {300, 399, 0, 479}});
  g.Script("[WARP] A.TGA A.ZON\n[TEST] 0 2\n[TEST] 1 2\n[TEST] 2 1\n");
  std::vector<std::string> trace;
  // The cursor moves half the mouse's movement: x 150, 250, 350, 360, 260, 360.
  ProgramRun run = g.Play(
      "3 move 300 0\n5 move 200 0\n7 move 200 0\n9 move 20 0\n11 move -200 0\n13 move 200 0\n15 quit\n",
      trace);
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(trace, (std::vector<std::string>{
                       Script(0), Warp(0, 0, "A.TGA", 1),
                       Ran(3, "A.TGA", 0, 0, 2, "leave"),  // straight into the second leave zone
                       Ran(5, "A.TGA", 1, 1, 2, "leave"),  // out of every leave zone
                       Ran(7, "A.TGA", 2, 2, 1, "enter"),  // once, until the zone is left
                       Ran(13, "A.TGA", 2, 2, 1, "enter"), End(15)}));
}

TEST(HeadlessGame, EscapeLocksToTheMenuAndReturnComesBack) {
  Game g;
  g.Panorama("HALL.VR");
  g.Still("MENU.TGA");
  g.Zone_File("MENU.ZON", {{0, 99, 0, 99}});
  g.Script("[WARP] HALL.VR\n[TEST] -1 0\nLOCKKEY 0 MENU.TGA\n[WARP] MENU.TGA MENU.ZON\n[TEST] 0 0\nRETURN\n");
  std::vector<std::string> trace;
  ProgramRun run = g.Play("4 key Escape\n8 click\n12 quit\n", trace);
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(trace, (std::vector<std::string>{Script(0), Warp(0, 0, "HALL.VR", 0),
                                             Ran(2, "HALL.VR", 0, -1, 0, "entry"), Warp(4, 1, "MENU.TGA", 1),
                                             Ran(8, "MENU.TGA", 0, 0, 0, "click"), Warp(8, 0, "HALL.VR", 0),
                                             Ran(10, "HALL.VR", 0, -1, 0, "return"), End(12)}));
}

TEST(HeadlessGame, EnterClicksWhenItsSlotIsEmptyAndGotowarpToTheCurrentWarpStays) {
  Game g;
  g.Still("A.TGA");
  g.Zone_File("A.ZON", {{0, 99, 0, 99}});
  g.Script("[WARP] A.TGA A.ZON\n[TEST] 0 0\nGOTOWARP A.TGA\n[TEST] -1 0\n");
  std::vector<std::string> trace;
  ProgramRun run = g.Play("4 key Enter\n6 quit\n", trace);
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(trace,
            (std::vector<std::string>{Script(0), Warp(0, 0, "A.TGA", 1), Ran(2, "A.TGA", 1, -1, 0, "entry"),
                                      Ran(4, "A.TGA", 0, 0, 0, "click"), End(6)}));
}

TEST(HeadlessGame, TransfadeInTheEntryTestShowsItsFrames) {
  Game g;
  g.Still("A.TGA");
  g.Script("[WARP] A.TGA\n[TEST] -1 0\nTRANSFADE 64\nEND\n");
  std::vector<std::string> trace;
  ProgramRun run = g.Play("", trace, {"--frame-ms", "20"});
  EXPECT_EQ(run.status, 0) << run.err;
  // Steps of (Frame_Ms x 64) >> 4: 56 at the 14 ms after the load, then 80:
  // -255, -199, -119, -39 up to 0, then 0, -80, -160, -240 down.
  EXPECT_EQ(trace.back(), End(10));
}

// The sample game, as the build makes it: its walk through plays the same
// trace and the same screenshots, byte for byte, twice over.
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
  EXPECT_NE(traces[0].find("{\"frame\":8,\"event\":\"test\",\"warp\":\"HALL.VR\",\"position\":2"),
            std::string::npos);
  EXPECT_NE(traces[0].find("\"cause\":\"return\""), std::string::npos);
}

TEST(HeadlessGame, WrongGamesAndSessionsFailWithAMessage) {
  Game g;
  std::vector<std::string> trace;
  ProgramRun run = g.Play("", trace);
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("holds no script.lst"), std::string::npos) << run.err;

  g.Still("A.TGA");
  g.Script("[WARP] A.TGA\n");
  run = g.Play("1 click\n2 jump\n", trace);
  EXPECT_EQ(run.status, 2);
  EXPECT_NE(run.err.find("line 2: unknown event \"jump\""), std::string::npos) << run.err;

  run = Run_Program(KVR_VIEWER_PATH, {"--headless", g.folder.Path("missing.lst")});
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("cannot find the script"), std::string::npos) << run.err;

  run = Run_Program(KVR_VIEWER_PATH, {"--frame-ms", "0", "--headless", g.folder.Path()});
  EXPECT_EQ(run.status, 2);
  run = Run_Program(KVR_VIEWER_PATH, {"--help"});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out.rfind("Usage: kvr_viewer", 0), 0u);
}

}  // namespace
