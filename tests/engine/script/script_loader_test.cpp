#include "engine/script/script_loader.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include "tests/engine/engine_test_support.h"
#include "platform/files/folders.h"

namespace {

using Strings = std::vector<std::string>;

struct Loaded : EngineFixture {
  explicit Loaded(std::string_view text, std::string_view name = "script.lst") {
    Add_File(name, text);
    Script_Load(engine, name);
  }
  SCRIPT_DATA& S() { return *engine.script; }
};

TEST(ScriptLoader, VariablesWarpsTestsAndCommands) {
  Loaded l(
      "; a small game\r\n"
      "[BOOL] door_open\r\n"
      "[BOOL]=Key\r\n"
      "[BOOL]\r\n"
      "[WARP]=w01.vr,w01.tst\r\n"
      "[TEST] -1 0\r\n"
      "SETANGLE 0 100\r\n"
      "\r\n"
      "; between commands\r\n"
      "[TEST] 0 0\r\n"
      "ifand key\r\n"
      "gotowarp hall.tga\r\n"
      "[WARP] hall.tga\r\n"
      "[TEST],3,2\r\n"
      "END\r\n");
  ASSERT_TRUE(l.engine.script);
  ASSERT_EQ(l.S().vars.size(), 3u);
  EXPECT_EQ(l.S().vars[0].name, "DOOR_OPEN");
  EXPECT_EQ(l.S().vars[1].name, "KEY");
  EXPECT_FALSE(l.S().vars[2].name.has_value());
  ASSERT_EQ(l.S().warps.size(), 2u);

  const WARP& w1 = l.S().warps[0];
  EXPECT_EQ(w1.name, "W01.VR");
  EXPECT_EQ(w1.zone_file, "W01.TST");
  EXPECT_EQ(w1.kind, kWarpPanorama);
  ASSERT_EQ(w1.tests.size(), 2u);
  EXPECT_EQ(w1.tests[0].id, -1);
  EXPECT_EQ(w1.tests[0].commands, Strings{"SETANGLE,0,100"});
  EXPECT_EQ(w1.tests[1].id, 0);
  EXPECT_EQ(w1.tests[1].commands, (Strings{"IFAND,KEY", "GOTOWARP,HALL.TGA"}));
  EXPECT_EQ(w1.tests[1].cursor, "");
  EXPECT_EQ(w1.tests[1].hidden, 0);

  const WARP& w2 = l.S().warps[1];
  EXPECT_EQ(w2.name, "HALL.TGA");
  EXPECT_FALSE(w2.zone_file.has_value());
  EXPECT_EQ(w2.kind, kWarpStill);  // ends in A
  ASSERT_EQ(w2.tests.size(), 1u);
  EXPECT_EQ(w2.tests[0].id, 3);
  EXPECT_EQ(w2.tests[0].kind, 2);
  EXPECT_EQ(w2.tests[0].commands, Strings{"END"});
  // The memory copy of the script is gone after loading.
  EXPECT_EQ(File_Size(l.wx, "script.lst"), 0);
}

TEST(ScriptLoader, WarpKindFromTheLastCharacter) {
  Loaded l(
      "[WARP] a.tga\n[TEST] 0 0\n"
      "[WARP] b.mtd\n[TEST] 0 0\n"
      "[WARP] c.vr\n[TEST] 0 0\n"
      "[WARP] d.pcx\n[TEST] 0 0\n");
  ASSERT_EQ(l.S().warps.size(), 4u);
  EXPECT_EQ(l.S().warps[0].kind, kWarpStill);
  EXPECT_EQ(l.S().warps[1].kind, kWarpStill);
  EXPECT_EQ(l.S().warps[2].kind, kWarpPanorama);
  EXPECT_EQ(l.S().warps[3].kind, kWarpPanorama);
}

TEST(ScriptLoader, WarpPassStopsAtAMissingTestLine) {
  // A comment line between [WARP] and [TEST] ends the warp pass there.
  Loaded comment("[WARP] a.vr\n; note\n[TEST] 0 0\nEND\n[WARP] b.vr\n[TEST] 0 0\n");
  ASSERT_EQ(comment.S().warps.size(), 1u);
  EXPECT_TRUE(comment.S().warps[0].tests.empty());
  // So does an empty line in a CR LF file.
  Loaded crlf("[WARP] a.vr\r\n\r\n[TEST] 0 0\r\n");
  ASSERT_EQ(crlf.S().warps.size(), 1u);
  EXPECT_TRUE(crlf.S().warps[0].tests.empty());
  // In an LF file the doubled LF is one line end, so the [TEST] is seen.
  Loaded lf("[WARP] a.vr\n\n[TEST] 0 0\nEND\n");
  ASSERT_EQ(lf.S().warps[0].tests.size(), 1u);
}

TEST(ScriptLoader, UnknownKeywordStopsTheLoadKeepingWhatWasRead) {
  Loaded l(
      "[BOOL] a\n"
      "[WARP] a.vr\n[TEST] 0 0\nSET a 1\nJUMP x\nSET a 2\n"
      "[WARP] b.vr\n[TEST] 0 0\n"
      "[BOOL] late\n");
  ASSERT_EQ(l.S().warps.size(), 1u);
  EXPECT_EQ(l.S().warps[0].tests[0].commands, Strings{"SET,A,1"});
  // The variable pass reads the whole file.
  ASSERT_EQ(l.S().vars.size(), 2u);
  EXPECT_EQ(l.S().vars[1].name, "LATE");
}

TEST(ScriptLoader, BoolAfterATestIsACommandOutsideTheTable) {
  Loaded l("[WARP] a.vr\n[TEST] 0 0\nSET X 1\n[BOOL] x\nSET X 2\n[WARP] b.vr\n[TEST] 0 0\n");
  ASSERT_EQ(l.S().vars.size(), 1u);
  ASSERT_EQ(l.S().warps.size(), 1u);
  EXPECT_EQ(l.S().warps[0].tests[0].commands, Strings{"SET,X,1"});
}

TEST(ScriptLoader, CommandsBeforeTheFirstWarpAreIgnored) {
  Loaded l("SET a 1\nEND\n[WARP] a.vr\n[TEST] 0 0\nEND\n");
  ASSERT_EQ(l.S().warps.size(), 1u);
  EXPECT_EQ(l.S().warps[0].tests[0].commands, Strings{"END"});
}

TEST(ScriptLoader, EveryKeywordOfTheTableIsAccepted) {
  const char* keywords[] = {"ANGLEXMAX",     "ANGLEYMAX",
                            "SETANGLE",      "SETNORD",
                            "INTERPOLANGLE", "SETZOOM",
                            "INTERPOLZOOM",  "INTERPOLANGLEZOOM",
                            "FADE",          "TRANSFADE",
                            "IFOR",          "IFAND",
                            "SET",           "NOT",
                            "GOSUB",         "LABEL",
                            "RETURN",        "END",
                            "GOTOWARP",      "LOCKKEY",
                            "UNLOCKKEY",     "RESETLOCKKEY",
                            "PRINT",         "SETCURSOR",
                            "HIDECURSOR",    "SETCURSORDEFAULT",
                            "PLAYVIDEO",     "PLAYMUSIQUE",
                            "STOPMUSIQUE",   "PLAYSOUND",
                            "STOPSOUND",     "PLAYSOUND3D",
                            "STOPSOUND3D",   "PLAYRNDSOUND",
                            "ENDPLUGIN"};
  std::string text = "[WARP] a.vr\n[TEST] 0 0\n";
  for (const char* k : keywords) text += std::string(k) + " 1\n";
  Loaded l(text);
  ASSERT_EQ(l.S().warps[0].tests[0].commands.size(), std::size(keywords));
  EXPECT_EQ(l.S().warps[0].tests[0].commands.back(), "ENDPLUGIN,1");
  EXPECT_FALSE(Script_Keyword_Known("GOTO"));
  EXPECT_FALSE(Script_Keyword_Known("[BOOL]"));
}

TEST(ScriptLoader, PluginBlocks) {
  Loaded l(
      "[WARP] a.vr\n[TEST] 0 0\n"
      "PLUGIN ignored rest\n"
      "  LoadSave_Save(1) ; save\n"
      "\n"
      "\tset(A, = 1)\n"
      "EndPlugin;done\n"
      "PLUGIN\n"
      "x()\n"
      "endplugin,anything\n"
      "END\n");
  EXPECT_EQ(l.S().warps[0].tests[0].commands,
            (Strings{"PLUGIN,LoadSave_Save(1) ;set(A, = 1);", "PLUGIN,x();", "END"}));
  EXPECT_TRUE(l.debug.empty());
}

TEST(ScriptLoader, PluginBlockLinesMayHoldWarpText) {
  // Block lines are raw: a [WARP] inside a block is a statement. The next
  // warp is then found by scanning normalised lines again from the warp's
  // own line, which does see the block's [WARP] line.
  Loaded l(
      "[WARP] a.vr\n[TEST] 0 0\nPLUGIN\n[WARP] inner.vr\nendplugin\n"
      "[WARP] b.vr\n[TEST] 0 0\nEND\n");
  ASSERT_EQ(l.S().warps.size(), 2u);
  EXPECT_EQ(l.S().warps[0].tests[0].commands, Strings{"PLUGIN,[WARP] inner.vr;"});
  // The scan from a.vr's line meets "[WARP],INNER.VR" first: that becomes the
  // next warp, and its next line (endplugin) is no [TEST]: the pass ends.
  EXPECT_EQ(l.S().warps[1].name, "INNER.VR");
  EXPECT_TRUE(l.S().warps[1].tests.empty());
}

TEST(ScriptLoader, UnterminatedPluginBlockReportsAndKeepsWhatWasRead) {
  std::string text = "[WARP] a.vr\n[TEST] 0 0\nSET a 1\nPLUGIN\nfirst()\nENDPLUGIN \nsecond()";
  Loaded l(text);
  EXPECT_EQ(l.S().warps[0].tests[0].commands, (Strings{"SET,A,1", "PLUGIN,first();ENDPLUGIN ;second();"}));
  ASSERT_EQ(l.debug.size(), 2u);
  EXPECT_EQ(l.debug[0], "Syntax error in PLUGIN intruction, ENDPLUGIN not found!");
  EXPECT_EQ(l.debug[1], "Offset: " + std::to_string(text.size()));
}

TEST(ScriptLoader, NamelessWarpIsReadButNotKept) {
  Loaded l("[WARP]\n[TEST] 0 0\nEND\n[WARP] b.vr\n[TEST] 0 0\nSET x 1\n");
  ASSERT_EQ(l.S().warps.size(), 1u);
  EXPECT_EQ(l.S().warps[0].name, "B.VR");
  EXPECT_EQ(l.S().warps[0].tests[0].commands, Strings{"SET,X,1"});
  ASSERT_EQ(l.debug.size(), 1u);
  EXPECT_NE(l.debug[0].find("without a picture name"), std::string::npos);
  // A file whose only warp is nameless still makes a script, with no warp.
  Loaded only("[WARP] ,zones.tst\n[TEST] 0 0\n");
  ASSERT_TRUE(only.engine.script);
  EXPECT_TRUE(only.S().warps.empty());
}

TEST(ScriptLoader, NothingLoadable) {
  Loaded empty("; nothing\nSET a 1\n");
  EXPECT_FALSE(empty.engine.script);
  EngineFixture missing;
  Script_Load(missing.engine, "none.lst");
  EXPECT_FALSE(missing.engine.script);
  Loaded bools("[BOOL] a\n[BOOL] b\n");
  ASSERT_TRUE(bools.engine.script);
  EXPECT_EQ(bools.S().vars.size(), 2u);
  EXPECT_TRUE(bools.S().warps.empty());
  Script_Free(bools.engine);
  EXPECT_FALSE(bools.engine.script);
}

// Restores the current folder at the end of a test.
struct KeepFolder {
  std::string folder = Wendax_Get_Folder();
  ~KeepFolder() { Wendax_Set_Folder(folder); }
};

TEST(ScriptLoader, PackedFormIsPreferred) {
  KeepFolder keep;
  TempFolder folder;
  folder.Write("script.lst", "[WARP] plain.vr\n[TEST] 0 0\nEND\n");
  ASSERT_EQ(Wendax_Set_Folder(folder.Path()), 0);
  for (int method = 0; method <= 5; ++method) {
    folder.Write("script.pak", Pak_File("other.lst", method, "[WARP] packed.vr\n[TEST] 0 0\nEND\n"));
    EngineFixture f;
    Script_Load(f.engine, "script.lst");
    ASSERT_TRUE(f.engine.script) << method;
    EXPECT_EQ(f.engine.script->warps.at(0).name, "PACKED.VR") << method;
    // The unpacked copy was registered under the plain name and dropped
    // again: the plain name now reads the disk file.
    EXPECT_EQ(File_Size(f.wx, "other.lst"), 0);
    EXPECT_EQ(File_Size(f.wx, "script.lst"), 31);
  }
}

TEST(ScriptLoader, DamagedPackedFormLoadsNothing) {
  EngineFixture f;
  std::string pak = Pak_File("script.lst", 3, "[WARP] packed.vr\n[TEST] 0 0\nEND\n");
  f.Add_File("script.pak", pak.substr(0, pak.size() - 4));
  f.Add_File("script.lst", "[WARP] plain.vr\n[TEST] 0 0\nEND\n");
  Script_Load(f.engine, "script.lst");
  EXPECT_FALSE(f.engine.script);
  ASSERT_EQ(f.debug.size(), 1u);
  EXPECT_NE(f.debug[0].find("script.pak"), std::string::npos);
}

TEST(ScriptLoader, PackedNames) {
  EXPECT_EQ(Script_Packed_Name("script.lst"), "script.pak");
  EXPECT_EQ(Script_Packed_Name("LEVEL2.LST"), "LEVEL2.pak");
  EXPECT_EQ(Script_Packed_Name("abc"), "pak");
  EXPECT_EQ(Script_Packed_Name("ab"), "");
}

TEST(ScriptLoader, ReadsFromDiskIgnoringCase) {
  KeepFolder keep;
  TempFolder folder;
  folder.Write("script.lst", "[WARP] disk.vr\n[TEST] 0 0\nEND\n");
  ASSERT_EQ(Wendax_Set_Folder(folder.Path()), 0);
  EngineFixture f;
  Script_Load(f.engine, "SCRIPT.LST");
  ASSERT_TRUE(f.engine.script);
  EXPECT_EQ(f.engine.script->warps[0].name, "DISK.VR");
}

TEST(ScriptData, VariablesByName) {
  Loaded l("[BOOL] a\n[BOOL] A\n[BOOL]\n[BOOL] b\n");
  SCRIPT_DATA* s = l.engine.script.get();
  Set_Var(s, "a", 7);
  EXPECT_EQ(s->vars[0].value, 7);
  EXPECT_EQ(s->vars[1].value, 0);  // only the first of the same name
  EXPECT_EQ(Get_Var(s, "A"), 7);
  Set_Var(s, "missing", 3);
  EXPECT_EQ(Get_Var(s, "missing"), 0);
  EXPECT_EQ(Get_Var(s, ""), 0);  // a nameless variable cannot be reached
  EXPECT_EQ(Get_Var(nullptr, "a"), 0);
  Set_Var(nullptr, "a", 1);
}

TEST(ScriptData, WarpAndTestLookup) {
  Loaded l(
      "[WARP] a.vr\n[TEST] 3 1\n[TEST] 5 0\n[TEST] 3 0\n[WARP] b.vr\n[TEST] 0 0\n[WARP] A.VR\n[TEST] 0 0\n");
  SCRIPT_DATA* s = l.engine.script.get();
  EXPECT_EQ(Warp_Find(s, "a.vr"), 0);
  EXPECT_EQ(Warp_Find(s, "a.vr", 0), 2);
  EXPECT_EQ(Warp_Find(s, "c.vr"), -1);
  EXPECT_EQ(Test_Find_First(s->warps[0], 3), 0);
  EXPECT_EQ(Test_Find_Last(s->warps[0], 3), 2);
  EXPECT_EQ(Test_Find_Last(s->warps[0], 4), -1);
}

}  // namespace
