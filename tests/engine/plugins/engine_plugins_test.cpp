// The engine plug-ins on a headless engine: the countdown's bar and expiry
// on the virtual clock, pausing and hiding it, the target game's windows,
// the overlay picture's target, and the small ones.
#include "engine/plugins/engine_plugins.h"

#include <gtest/gtest.h>

#include "engine/archive/data_archive.h"
#include "engine/plugins/plugin_block.h"
#include "engine/run/run_services.h"
#include "platform/display/display.h"
#include "scene/scene_table.h"
#include "tests/engine/engine_test_support.h"
#include "tools/archive_writer.h"

namespace {

constexpr uint16_t kFrameColour = 0x1111, kBarColour = 0x2222, kOverColour = 0x3333;

ArchivePicture Solid(const char* name, int32_t width, int32_t height, int32_t type, uint16_t colour) {
  ArchivePicture p;
  p.name = name;
  p.right = width;
  p.bottom = height;
  p.type = type;
  p.pixels.assign(size_t(width) * size_t(height), colour);
  if (type != 1) p.pixels.back() = 0;  // the key colour
  return p;
}

struct PluginGame {
  RunServices services;
  HeadlessEngine h{{"HIT", "MISS", "A", "B"}, &services};
  TempFolder folder;
  PicturePtr still = Picture_New("warpfix", 640, 480, 16);

  PluginGame() {
    std::string error;
    std::vector<ArchivePicture> pictures = {Solid("Cadre.tga", 309, 33, 1, kFrameColour),
                                            Solid("CadreB.tga", 284, 33, 1, kBarColour),
                                            Solid("over.tga", 20, 10, 2, kOverColour)};
    EXPECT_TRUE(Archive_Write_Folder(folder.Path(), pictures, 1, error)) << error;
    h.engine.archive = std::make_unique<DataArchive>(folder.Path());
    EXPECT_EQ(h.engine.archive->Archive_Load_Index(), 0);
    h.engine.run.scene.still = still.get();
    h.engine.run.scene.picture_kind = kSceneKindTga;
  }
  void Run(const std::string& statement) { Plugin_Run_Block(h.engine, {statement}); }
  uint16_t At(int x, int y) { return Scene_Still_Pixels(h.engine.run.scene)[y * 640 + x]; }
  void Frame() { Overlay_Countdown_Frame(h.engine); }
  void Wait(uint32_t ms) { h.card.Advance_Clock(ms); }
};

TEST(Countdown, BarShrinksThenTest99IsQueued) {
  PluginGame g;
  g.Run("StartTimer(60,1)");
  g.Frame();
  EXPECT_EQ(g.At(165, 15), kFrameColour);
  EXPECT_EQ(g.At(177, 20), kBarColour);
  EXPECT_EQ(g.At(460, 47), kBarColour);
  EXPECT_EQ(g.At(461, 20), kFrameColour);  // 284 pixels of bar
  g.Wait(30000);
  g.Frame();
  EXPECT_EQ(g.At(318, 20), kBarColour);  // half as wide
  EXPECT_EQ(g.At(319, 20), kFrameColour);
  g.Wait(29999);
  g.Frame();
  EXPECT_EQ(g.h.engine.state.Pending_Test, -1);
  g.Wait(2);
  g.Frame();
  EXPECT_EQ(g.h.engine.state.Pending_Test, 99);
  EXPECT_EQ(g.h.engine.plugins.countdown.flags, 0u);
}

TEST(Countdown, PausedTimeDoesNotCountAndHiddenOnesExpireWhenShown) {
  PluginGame g;
  g.Run("StartTimer(10,0)");
  g.Wait(4000);
  g.Frame();
  g.Run("PauseTimer(1,0)");
  g.Wait(10000);
  g.Frame();
  g.Run("PauseTimer(0,0)");
  g.Frame();
  EXPECT_EQ(g.h.engine.plugins.countdown.remaining, 6000);
  g.Run("PauseTimer(0,1)");  // hidden: it runs on, but cannot expire
  g.Wait(7000);
  g.Frame();
  EXPECT_EQ(g.h.engine.plugins.countdown.remaining, -1000);
  EXPECT_EQ(g.h.engine.state.Pending_Test, -1);
  g.Run("PauseTimer(0,0)");
  g.Frame();
  EXPECT_EQ(g.h.engine.state.Pending_Test, 99);
  // A countdown of no time runs out at its first shown frame.
  g.h.engine.state.Pending_Test = -1;
  g.Run("StartTimer(0,1)");
  g.Frame();
  EXPECT_EQ(g.h.engine.state.Pending_Test, 99);
  g.Run("PauseTimer(1,0)");  // no countdown: nothing
  EXPECT_EQ(g.h.engine.plugins.countdown.flags, 0u);
}

TEST(Cible, WindowsOfThePeriod) {
  struct Case {
    const char* start;
    uint32_t at_ms;
    int hit;
  };
  const Case cases[] = {
      {"StartCible(door,4,1,2,3,4)", 500, 0},  {"StartCible(door,4,1,2,3,4)", 1500, 1},
      {"StartCible(door,4,1,2,3,4)", 2000, 0}, {"StartCible(door,4,1,2,3,4)", 2500, 0},
      {"StartCible(door,4,1,2,3,4)", 5500, 1}, {"StartCible(door,4,1,2,3,4)", 9500, 1},
      {"StartCible(door,4,1,2,3,4)", 3500, 1}, {"StartCible(door,4,0,1,2,3)", 1500, 0},
      {"StartCible(door,0,1,2)", 1500, 0},
  };
  for (const Case& c : cases) {
    PluginGame g;
    g.Run(c.start);
    g.Wait(c.at_ms);
    g.Run("TestCible(HIT,MISS)");
    EXPECT_EQ(g.h.Var("HIT"), c.hit) << c.start << " at " << c.at_ms;
    EXPECT_EQ(g.h.Var("MISS"), 1 - c.hit) << c.start << " at " << c.at_ms;
  }
  PluginGame g;
  g.Run("StartCible(door,4,1,2)");
  g.Run("StopCible()");
  g.h.Set("HIT", 7);
  g.Run("TestCible(HIT,MISS)");  // off: nothing set
  EXPECT_EQ(g.h.Var("HIT"), 7);
}

TEST(OverlayPicture, DrawnIntoTheStillPictureOrTheScreen) {
  PluginGame g;
  g.Run("AfficheImage(over,630,475)");
  g.Frame();
  EXPECT_EQ(g.At(630, 475), kOverColour);
  EXPECT_EQ(g.At(639, 479), kOverColour);  // clipped at the edges
  EXPECT_EQ(g.At(629, 475), 0);
  g.h.engine.run.scene.picture_kind = kSceneKindVr;
  g.Run("AfficheImage(over,10,20)");
  g.Frame();
  EXPECT_EQ(Wendax_Frame_Buffer(g.h.wx)[20 * 640 + 10], kOverColour);
  EXPECT_EQ(g.At(10, 20), 0);
  EXPECT_GT(g.h.engine.archive->Cached_Bytes(), 0);
  g.Run("StopAffiche()");
  EXPECT_EQ(g.h.engine.archive->Cached_Bytes(), 0);
  Wendax_Frame_Buffer(g.h.wx)[20 * 640 + 10] = 0;
  g.Frame();
  EXPECT_EQ(Wendax_Frame_Buffer(g.h.wx)[20 * 640 + 10], 0);
}

TEST(EnginePlugins, VariablesAndTheQueuedTest) {
  PluginGame g;
  g.h.Set("A", 42);
  g.Run("CopyVar(A,B)");
  EXPECT_EQ(g.h.Var("B"), 42);
  g.Run("CopyVar(NOSUCH,B)");
  EXPECT_EQ(g.h.Var("B"), 0);
  g.Run("ExeDemo(A)");
  EXPECT_EQ(g.h.Var("A"), 1);
  g.Run("ChangeCurseur(A)");  // no variable names: atol("A") is 0
  EXPECT_EQ(g.h.engine.state.Pending_Test, 0);
  g.Run("ChangeCurseur(3)");
  EXPECT_EQ(g.h.engine.state.Pending_Test, 3);
}

}  // namespace
