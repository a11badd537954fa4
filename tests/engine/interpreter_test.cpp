#include "engine/interpreter.h"

#include <gtest/gtest.h>

#include "engine/script/script_loader.h"
#include "tests/engine/engine_test_support.h"

namespace {

using Strings = std::vector<std::string>;

// A loaded script with recording services; warp 0 is current.
struct Interp : EngineFixture {
  RecordingServices services;

  explicit Interp(std::string_view text) {
    engine.services = &services;
    Add_File("script.lst", text);
    Script_Load(engine, "script.lst");
  }
  SCRIPT_DATA& S() { return *engine.script; }
  int32_t Var(std::string_view name) { return Get_Var(engine.script.get(), name); }
  TestResult Run(size_t warp, size_t test, bool entry = false) {
    return Run_Test(engine, S().warps.at(warp).tests.at(test), entry);
  }
};

TEST(Interpreter, ViewCommands) {
  Interp t(
      "[WARP] a.vr\n[TEST] 0 0\n"
      "SETANGLE 4097 8192\nANGLEXMAX 900\nANGLEYMAX 100 -1\nSETZOOM 60\nSETNORD -200\n");
  EXPECT_EQ(t.Run(0, 0), TestResult::kFinished);
  EXPECT_EQ(t.engine.view.pitch, -4095);     // the low 13 bits, signed
  EXPECT_EQ(t.engine.view.yaw, 8192 - 200);  // yaw is not reduced
  EXPECT_EQ(t.engine.view.pitch_limit, 900);
  EXPECT_EQ(t.engine.view.yaw_min, 100);
  EXPECT_EQ(t.engine.view.yaw_max, -1);
  EXPECT_EQ(t.engine.view.zoom, 60.0f);
  EXPECT_EQ(Angle_Pitch_13(-1), -1);
  EXPECT_EQ(Angle_Pitch_13(4095), 4095);
  EXPECT_EQ(Angle_Pitch_13(4096), -4096);
  EXPECT_EQ(Angle_Pitch_13(8192), 0);
}

TEST(Interpreter, SetNotAndNonZeroTruth) {
  Interp t(
      "[BOOL] a\n[WARP] a.vr\n[TEST] 0 0\nSET a 7\nIFAND a\nSET b 1\n[TEST] 1 0\nNOT a\n[TEST] 2 0\nSET "
      "missing 4\nNOT missing\n");
  t.Run(0, 0);
  EXPECT_EQ(t.Var("A"), 7);
  t.Run(0, 1);
  EXPECT_EQ(t.Var("A"), 0);
  t.Run(0, 1);
  EXPECT_EQ(t.Var("A"), 1);  // not 7
  t.Run(0, 2);
  EXPECT_EQ(t.Var("MISSING"), 0);
}

TEST(Interpreter, IfAndSkipsOnlyTheNextCommand) {
  const char* script =
      "[BOOL] a\n[BOOL] b\n[BOOL] c\n"
      "[WARP] a.vr\n[TEST] 0 0\nIFAND a b\nGOTOWARP b.vr\nSET c 1\n"
      "[WARP] b.vr\n[TEST] 0 0\n";
  Interp t(script);
  Set_Var(t.engine.script.get(), "a", 1);
  EXPECT_EQ(t.Run(0, 0), TestResult::kFinished);
  EXPECT_EQ(t.engine.state.Warp_Index, 0);
  EXPECT_EQ(t.Var("c"), 1);

  Interp both(script);
  Set_Var(both.engine.script.get(), "a", 1);
  Set_Var(both.engine.script.get(), "b", -3);
  EXPECT_EQ(both.Run(0, 0), TestResult::kWarpChange);
  EXPECT_EQ(both.engine.state.Warp_Index, 1);
  EXPECT_EQ(both.Var("c"), 0);  // the warp change ends the run
}

TEST(Interpreter, ConditionsIgnoreUnknownNames) {
  Interp t(
      "[BOOL] x\n[BOOL] hit\n[WARP] a.vr\n[TEST] 0 0\n"
      "IFAND nobody\nSET hit 1\n"             // only unknown names: runs
      "[TEST] 1 0\nIFOR nobody\nSET hit 2\n"  // only unknown names: skips
      "[TEST] 2 0\nIFOR nobody x\nSET hit 3\n"
      "[TEST] 3 0\nIFAND x nobody\nSET hit 4\n"
      "[TEST] 4 0\nSET hit 5\nIFAND x\n");  // an IF at the end has no effect
  t.Run(0, 0);
  EXPECT_EQ(t.Var("hit"), 1);
  t.Run(0, 1);
  EXPECT_EQ(t.Var("hit"), 1);
  t.Run(0, 2);
  EXPECT_EQ(t.Var("hit"), 1);  // x is 0
  Set_Var(t.engine.script.get(), "x", 1);
  t.Run(0, 2);
  EXPECT_EQ(t.Var("hit"), 3);
  t.Run(0, 3);
  EXPECT_EQ(t.Var("hit"), 4);
  EXPECT_EQ(t.Run(0, 4), TestResult::kFinished);
  EXPECT_EQ(t.Var("hit"), 5);
}

TEST(Interpreter, GosubGoesToTheFirstLabelAndReturnsAfterIt) {
  Interp t(
      "[BOOL] n\n[BOOL] order\n[WARP] a.vr\n[TEST] 0 0\n"
      "GOSUB sub\n"     // 0
      "SET order 2\n"   // 1
      "RETURN\n"        // 2: no GOSUB pending, no lock return: test ends
      "SET order 99\n"  // 3
      "LABEL sub\n"     // 4
      "SET n 1\n"       // 5
      "GOSUB sub\n"     // 6: ignored while one is pending
      "RETURN\n"        // 7
      "LABEL sub\n"     // 8
      "SET n 50\n");    // 9
  EXPECT_EQ(t.Run(0, 0), TestResult::kFinished);
  EXPECT_EQ(t.Var("n"), 1);
  EXPECT_EQ(t.Var("order"), 2);
  EXPECT_EQ(t.engine.state.Gosub_Return, -1);
}

TEST(Interpreter, GosubWithoutLabelDoesNothing) {
  Interp t("[BOOL] n\n[WARP] a.vr\n[TEST] 0 0\nGOSUB nowhere\nSET n 1\n");
  t.Run(0, 0);
  EXPECT_EQ(t.Var("n"), 1);
  EXPECT_EQ(t.engine.state.Gosub_Return, -1);
}

TEST(Interpreter, PendingGosubOutlivesItsTest) {
  // A test ending inside its subroutine leaves the GOSUB pending; the next
  // RETURN of another test continues after that index in its own list.
  Interp t(
      "[BOOL] n\n[WARP] a.vr\n[TEST] 0 0\n"
      "SET n 0\nGOSUB s\nSET n 5\nLABEL s\n"
      "[TEST] 1 0\nRETURN\nSET n 1\nSET n 2\nSET n 3\n");
  t.Run(0, 0);
  EXPECT_EQ(t.engine.state.Gosub_Return, 1);
  t.Run(0, 1);
  EXPECT_EQ(t.engine.state.Gosub_Return, -1);
  EXPECT_EQ(t.Var("n"), 3);  // continued at index 2 of test 1
}

TEST(Interpreter, ReturnUsesTheLockReturnWarp) {
  Interp t(
      "[BOOL] n\n[WARP] a.vr\n[TEST] 0 0\nRETURN\nSET n 1\n[TEST] 1 0\nRESETLOCKKEY\nRETURN\nSET n 2\n[WARP] "
      "b.vr\n[TEST] 0 0\n");
  t.engine.state.Warp_Index = 1;
  t.engine.state.Lock_Return = 0;
  EXPECT_EQ(t.Run(1, 0), TestResult::kFinished);  // warp b's empty test
  EXPECT_EQ(t.Run(0, 0), TestResult::kWarpChange);
  EXPECT_EQ(t.engine.state.Warp_Index, 0);
  EXPECT_EQ(t.engine.state.Lock_Return, -1);
  EXPECT_EQ(t.Var("n"), 0);
  t.engine.state.Lock_Return = 1;
  EXPECT_EQ(t.Run(0, 1), TestResult::kFinished);
  EXPECT_EQ(t.engine.state.Warp_Index, 0);
  EXPECT_EQ(t.Var("n"), 0);  // RETURN ended the test
}

TEST(Interpreter, GotoWarpSkipsTheCurrentWarp) {
  Interp t(
      "[WARP] a.vr\n[TEST] 0 0\nGOTOWARP a.vr\nGOTOWARP nowhere\nEND\n[WARP] b.vr\n[TEST] 0 0\n[WARP] "
      "A.VR\n[TEST] 0 0\n");
  t.engine.state.Lock_Return = 1;
  EXPECT_EQ(t.Run(0, 0), TestResult::kWarpChange);
  EXPECT_EQ(t.engine.state.Warp_Index, 2);   // the next warp of that name
  EXPECT_EQ(t.engine.state.Lock_Return, 1);  // untouched
  t.engine.state.Warp_Index = 2;
  t.S().warps[0].name = "OTHER.VR";
  EXPECT_EQ(t.Run(0, 0), TestResult::kScriptEnd);  // nothing to go to: on to END
}

TEST(Interpreter, LockSlots) {
  Interp t(
      "[WARP] a.vr\n[TEST] 0 0\n"
      "LOCKKEY 0 menu.tga\nLOCKKEY 12 map.vr\nLOCKKEY 13 bad.vr\nLOCKKEY -1 bad.vr\nUNLOCKKEY 0\nUNLOCKKEY "
      "40\n"
      "LOCKKEY 11 enter.vr\n");
  t.Run(0, 0);
  EXPECT_EQ(t.engine.state.Lock_Slots[0], "");
  EXPECT_EQ(t.engine.state.Lock_Slots[11], "ENTER.VR");
  EXPECT_EQ(t.engine.state.Lock_Slots[12], "MAP.VR");
  EXPECT_EQ(t.debug.size(), 3u);  // the three refused slots
}

TEST(Interpreter, PrintAndCursors) {
  Interp t(
      "[WARP] a.vr\n[TEST] 0 0\n"
      "PRINT game_saved minifon2.mtr\n"
      "SETCURSOR hand.pcx b.tga 1\nSETCURSOR bad.pcx b.tga 2\nSETCURSOR bad.pcx b.tga -1\n"
      "HIDECURSOR b.tga 0\nHIDECURSOR b.tga 5\n"
      "SETCURSORDEFAULT 0 arrow.pcx\nSETCURSORDEFAULT 1 active.pcx\nSETCURSORDEFAULT 00 other.pcx\n"
      "[TEST] 1 0\nPRINT\n"
      "[WARP] b.tga\n[TEST] 0 0\n[TEST] 1 0\n");
  t.Run(0, 0);
  EXPECT_EQ(t.engine.state.Print_Text, "GAME SAVED");
  EXPECT_EQ(t.engine.state.Print_Font, "MINIFON2.MTR");
  EXPECT_EQ(t.S().warps[1].tests[1].cursor, "HAND.PCX");
  EXPECT_EQ(t.S().warps[1].tests[0].cursor, "");
  EXPECT_EQ(t.S().warps[1].tests[0].hidden, 1);
  EXPECT_EQ(t.S().warps[1].tests[1].hidden, 0);
  EXPECT_EQ(t.services.calls,
            (Strings{"Set_Default_Cursor default ARROW.PCX", "Set_Default_Cursor active ACTIVE.PCX",
                     "Set_Default_Cursor active OTHER.PCX"}));
  t.Run(0, 1);
  EXPECT_EQ(t.engine.state.Print_Text, "");
  EXPECT_EQ(t.engine.state.Print_Font, "");
}

TEST(Interpreter, MediaAndAnimationCallsInOrder) {
  Interp t(
      "[WARP] a.vr\n[TEST] -1 0\n"
      "INTERPOLANGLE 10 20 30\nINTERPOLZOOM 45 8\nINTERPOLANGLEZOOM 1 2 3 4\nFADE 0 255 16\nTRANSFADE 9\n"
      "PLAYVIDEO intro.mtd\nPLAYMUSIQUE theme.wav 200\nSTOPMUSIQUE\nPLAYSOUND door.wav 180 2\n"
      "STOPSOUND door.wav\nPLAYSOUND3D bird.wav 100 2048 0\nSTOPSOUND3D bird.wav\n"
      "PLAYRNDSOUND wind.wav 200 10 50\nLABEL x\nENDPLUGIN\n"
      "[TEST] 0 0\nPLAYRNDSOUND wind.wav 200 10 50\n");
  t.Run(0, 0, true);
  t.Run(0, 1, false);
  EXPECT_EQ(t.services.calls,
            (Strings{"Interpolate_Angle 10 20 30", "Interpolate_Zoom 45 8", "Interpolate_Angle_Zoom 1 2 3 4",
                     "Fade 0 255 16", "Transfade 9", "Play_Video INTRO.MTD", "Play_Music THEME.WAV 200",
                     "Stop_Music", "Play_Sound DOOR.WAV 180 2", "Stop_Sound DOOR.WAV",
                     "Play_Sound_3D BIRD.WAV 100 2048 0", "Stop_Sound_3D BIRD.WAV",
                     "Add_Random_Sound WIND.WAV 200 10", "Add_Random_Sound WIND.WAV 200 50"}));
}

TEST(Interpreter, PluginBlocksAreSplitIntoStatements) {
  Interp t("[WARP] a.vr\n[TEST] 0 0\nPLUGIN\nLoadSave_Save(1)\r\n\r\nset(a,1) ; c\nENDPLUGIN\nEND\n");
  EXPECT_EQ(t.Run(0, 0), TestResult::kScriptEnd);
  ASSERT_EQ(t.services.blocks.size(), 1u);
  EXPECT_EQ(t.services.blocks[0], (Strings{"LoadSave_Save(1)", "", "set(a,1) "}));
  EXPECT_EQ(Plugin_Statements("PLUGIN,a;b;tail"), (Strings{"a", "b"}));
  EXPECT_EQ(Plugin_Statements("PLUGIN,"), Strings{});
  EXPECT_EQ(Plugin_Statements("PLUGIN"), Strings{});
  EXPECT_EQ(Plugin_Statements("PLUGIN,x,y;"), Strings{"x,y"});
}

TEST(Interpreter, RunsWithoutServicesOrScript) {
  Interp t(
      "[WARP] a.vr\n[TEST] 0 0\nPLAYSOUND x.wav 1 1\nPLUGIN\nf()\nendplugin\nSETCURSORDEFAULT 0 a.pcx\n");
  t.engine.services = nullptr;
  EXPECT_EQ(t.Run(0, 0), TestResult::kFinished);
  TEST lone;
  lone.commands = {"SET,A,1", "GOTOWARP,X", "IFOR,A", "NOT,A", "END"};
  EngineFixture f;
  EXPECT_EQ(Run_Test(f.engine, lone, false), TestResult::kScriptEnd);
}

}  // namespace
