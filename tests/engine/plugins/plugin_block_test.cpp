// PLUGIN blocks run statement by statement: built-ins, the two tables, the
// debug output for unknown names, the error marker, and the waits on the
// virtual clock.
#include "engine/plugins/plugin_block.h"

#include <gtest/gtest.h>

#include "engine/plugins/frame_hooks.h"
#include "engine/plugins/plugin_tables.h"
#include "engine/run/run_services.h"
#include "engine/run/run_trace.h"
#include "platform/display/display.h"
#include "tests/engine/engine_test_support.h"

namespace {

using Lines = std::vector<std::string>;

// The engine's services, recording the calls that leave the engine.
class Recorder : public RunServices {
 public:
  Lines calls;
  void Plugin_Function(Engine&, PluginId id, int argc, char** argv) override {
    std::string line(Plugin_Name(id));
    for (int i = 0; i < argc; ++i) line += std::string(i ? "|" : " ") + argv[i];
    if (argv[argc] != nullptr) line += " (argv not ended)";
    calls.push_back(line);
  }
  int Movie_Play(Engine&, const std::string& file, int loops) override {
    calls.push_back("Movie_Play " + file + " " + std::to_string(loops));
    return 1;
  }
  bool Movie_Add_Overlay(Engine&, const std::string& file, int x, int y, int loops) override {
    calls.push_back("Movie_Add_Overlay " + file + " " + std::to_string(x) + " " + std::to_string(y) + " " +
                    std::to_string(loops));
    return true;
  }
};

struct Rig {
  Recorder services;
  HeadlessEngine h{{"A", "B", "N"}, &services};
  Rig() { h.Set("A", 5); }
  Engine& engine() { return h.engine; }
};

bool Marked(Wendax& wx) {
  std::span<uint16_t> frame = Wendax_Frame_Buffer(wx);
  const bool top =
      std::all_of(frame.begin(), frame.begin() + 640 * 240, [](uint16_t p) { return p == 0x1F1F; });
  return top && frame[640 * 240] != 0x1F1F;
}

TEST(PluginBlock, StatementsGoToBuiltInsTablesOrTheDebugOutput) {
  struct Case {
    Lines block;
    Lines calls, debug;
    bool marker;
    int32_t a, b;  // the variables afterwards (A starts at 5)
  };
  const Case cases[] = {
      {{}, {}, {}, false, 5, 0},
      {{"print_screen()"}, {"Print_Screen print_screen"}, {}, false, 5, 0},
      {{"LoadSave_Save(-2)", "PAUSETIMER(1,x)"},
       {"LoadSave_Save LoadSave_Save|2", "PauseTimer PAUSETIMER|1|x"},
       {},
       false,
       5,
       0},
      {{"Shell_Execute(\"My Doc.txt\", open)"},
       {"Shell_Execute Shell_Execute|My Doc.txt|open"},
       {},
       false,
       5,
       0},
      {{"LoadSave_Save", "set(B,1)"}, {}, {}, true, 5, 0},  // no '(': marker, block stopped
      {{"set(B,1) ", "set(A,1)"}, {}, {}, true, 5, 0},      // text after ')'
      {{"set (B,1)", "set(A,1)"}, {}, {"set (B,1)"}, false, 1, 0},
      {{"No_Such(1)", "set(B, A)", "set(A,B)"}, {}, {"No_Such(1)"}, false, 0, 0},
      {{"set(B,A)", "waves(never split", "add(B,B,1)"}, {}, {}, false, 5, 6},
      {{"play_movie(intro.zqm,-5)", "play_movie(intro.avi)", "PLAY_MOVIE(x.Zqm)"},
       {"Movie_Play intro.zqm -1", "Movie_Play x.Zqm 0"},
       {},
       false,
       5,
       0},
      {{"add_zqm_movie_bloc(a.ZQM,10,20,0)", "add_zqm_movie_bloc(b.zqm, 1,2)",
        "add_zqm_movie_bloc(c.zqm,1,2,-7)", "add_zqm_movie_bloc(d.zqm,1,2,5)"},
       {"Movie_Add_Overlay a.ZQM 10 20 1", "Movie_Add_Overlay b.zqm 1 2 1", "Movie_Add_Overlay c.zqm 1 2 -1",
        "Movie_Add_Overlay d.zqm 1 2 5"},
       {},
       false,
       5,
       0},
  };
  for (const Case& c : cases) {
    Rig rig;
    Plugin_Run_Block(rig.engine(), c.block);
    const std::string what = c.block.empty() ? "(empty)" : c.block[0];
    EXPECT_EQ(rig.services.calls, c.calls) << what;
    EXPECT_EQ(rig.h.debug, c.debug) << what;
    EXPECT_EQ(rig.engine().plugins.script_error, c.marker) << what;
    if (c.marker) {
      EXPECT_TRUE(Marked(rig.h.wx)) << what;
    }
    EXPECT_EQ(rig.h.Var("A"), c.a) << what;
    EXPECT_EQ(rig.h.Var("B"), c.b) << what;
  }
}

TEST(PluginBlock, GlobalVolumeAndPanningFactorTakeAnyValue) {
  Rig rig;
  Plugin_Run_Block(rig.engine(), {"set_global_volume(A)", "set_global_pan(-300)"});
  EXPECT_EQ(rig.engine().defaults.global_volume, 5);
  EXPECT_EQ(rig.engine().defaults.panning_factor, -300);
}

TEST(PluginBlock, TheMarkerStaysUntilAWarpPictureLoads) {
  Rig rig;
  Engine& engine = rig.engine();
  Plugin_Run_Block(engine, {"waves()", "x"});
  ASSERT_TRUE(engine.plugins.script_error);
  EXPECT_TRUE(engine.plugins.waves.on);
  std::span<uint16_t> frame = Wendax_Frame_Buffer(rig.h.wx);
  std::fill(frame.begin(), frame.end(), 0x0000);
  Frame_Hooks(engine);
  EXPECT_TRUE(Marked(rig.h.wx));  // painted again after every frame

  engine.run.scene.hooks = &engine.scene_hooks;
  EXPECT_EQ(Load_Scene_Picture(engine.run.scene, "NO_SUCH.PIC"), -1);
  EXPECT_FALSE(engine.plugins.script_error);
  EXPECT_FALSE(engine.plugins.waves.on);
  std::fill(frame.begin(), frame.end(), 0x0000);
  Frame_Hooks(engine);
  EXPECT_EQ(frame[0], 0x0000);
}

// The hooks after every frame, in order: blocs and waves, the overlay
// picture and countdown, the movie overlays, the error mark over it all.
TEST(FrameHooks, OrderOfTheHooks) {
  class Hooks : public RunServices {
   public:
    std::vector<std::pair<std::string, uint16_t>> seen;  // with the first pixel of row 40
    void Overlay_Countdown_Frame(Engine& engine) override {
      seen.emplace_back("overlay", Wendax_Frame_Buffer(engine.wx)[640 * 40]);
      Wendax_Frame_Buffer(engine.wx)[0] = 0x1234;
    }
    void Movie_Draw_Overlays(Engine& engine) override {
      seen.emplace_back("movies", Wendax_Frame_Buffer(engine.wx)[0]);
    }
  } hooks;
  HeadlessEngine h({}, &hooks);
  std::span<uint16_t> frame = Wendax_Frame_Buffer(h.wx);
  for (size_t row = 0; row < 480; ++row)
    std::fill_n(frame.begin() + std::ptrdiff_t(row * 640), 640, uint16_t(row));
  Waves_On(h.engine);
  Frame_Hooks(h.engine);
  EXPECT_EQ(hooks.seen, (std::vector<std::pair<std::string, uint16_t>>{{"overlay", 42}, {"movies", 0x1234}}));
  Script_Error_Set(h.engine);
  Frame_Hooks(h.engine);
  EXPECT_EQ(frame[0], 0x1F1F);
}

// Row i shows row i + trunc(3 sin(i x 0.03926991 + phase x 0.4)) of the
// frame, clamped to it.
TEST(FrameHooks, WavesSwayRowsByUpToThree) {
  struct Case {
    float phase;
    std::vector<std::pair<int, int>> rows;  // row, the row it shows
  };
  const Case cases[] = {
      {0.0f, {{0, 0}, {10, 11}, {40, 42}, {120, 118}, {479, 479}}},
      {-3.92699f, {{0, 0}, {1, 0}, {40, 40}, {477, 475}, {479, 477}}},  // clamped at the top
      {4.0252f, {{0, 2}, {478, 479}, {479, 479}}},                      // and at the bottom
  };
  for (const Case& c : cases) {
    HeadlessEngine h;
    std::span<uint16_t> frame = Wendax_Frame_Buffer(h.wx);
    for (size_t row = 0; row < 480; ++row)
      std::fill_n(frame.begin() + std::ptrdiff_t(row * 640), 640, uint16_t(row));
    Waves_On(h.engine);
    h.engine.plugins.waves.phase = c.phase;
    Waves_Step(h.engine);  // no time has passed: the phase stays
    for (auto [row, shows] : c.rows) {
      EXPECT_EQ(frame[size_t(row) * 640], shows) << c.phase << " row " << row;
      EXPECT_EQ(frame[size_t(row) * 640 + 639], shows) << c.phase << " row " << row;
    }
  }
}

// Ends the run once the engine has presented `last` frames.
class QuitAt : public RunTrace {
 public:
  explicit QuitAt(uint64_t last) : last_(last) {}
  void Warp(Engine&, int, std::string_view, int) override {}
  void Test(Engine&, std::string_view, int, int, int, TestCause) override {}
  void Plugin(Engine&, std::string_view) override {}
  void Script(Engine&, std::string_view) override {}
  void Debug(Engine&, std::string_view) override {}
  void Frame(Engine& engine) override {
    if (engine.run.frames >= last_) engine.run.quit = true;
  }
  void End(Engine&) override {}

 private:
  uint64_t last_;
};

// Every frame is 20 ms of the virtual clock.
TEST(PluginBlock, WaitsDrawFramesOnTheVirtualClock) {
  struct Case {
    const char* wait;
    uint64_t frames;
    int32_t b;  // set to 1 by the statement after the wait, when it runs
  };
  const Case cases[] = {
      {"while(0)", 1, 1},    {"while(0.01)", 2, 1}, {"while(0.5)", 26, 1}, {"while(0.5s)", 26, 1},
      {"while()", 1, 1},     {"until(A,5)", 1, 1},  // read before the frame: one frame at least
      {"until(A,6)", 40, 0},                        // never: the run's quit ends it and the block
      {"until(A, 5)", 1, 1},                        // atoi skips the blank
      {"while(1e9)", 40, 0},
  };
  for (const Case& c : cases) {
    Rig rig;
    QuitAt quit(40);
    rig.engine().trace = &quit;
    Plugin_Run_Block(rig.engine(), {c.wait, "set(B,1)"});
    EXPECT_EQ(rig.engine().run.frames, c.frames) << c.wait;
    EXPECT_EQ(rig.h.Var("B"), c.b) << c.wait;
    rig.engine().trace = nullptr;
  }
}

}  // namespace
