#include "engine/script_chain.h"

#include <gtest/gtest.h>

#include <functional>

#include "tests/engine/engine_test_support.h"
#include "platform/files/folders.h"

namespace {

using Strings = std::vector<std::string>;

TEST(CommandLine, SplitsAfterTheLastSeparator) {
  CommandLineSplit s = Command_Line_Split("C:\\GAME\\LEVEL2.LST", "/opt/game/");
  EXPECT_EQ(s.start_folder, "C:\\GAME\\");
  EXPECT_EQ(s.script, "LEVEL2.LST");
  s = Command_Line_Split("", "/opt/game/");
  EXPECT_EQ(s.start_folder, "/opt/game/");
  EXPECT_EQ(s.script, "script.lst");
  s = Command_Line_Split("D:\\GAME\\", "/opt/game/");
  EXPECT_EQ(s.start_folder, "D:\\GAME\\");
  EXPECT_EQ(s.script, "script.lst");
  s = Command_Line_Split("/media/cd/sub/start.lst", "/x/");
  EXPECT_EQ(s.start_folder, "/media/cd/sub/");
  EXPECT_EQ(s.script, "start.lst");
  s = Command_Line_Split("level3.lst", "/x/");
  EXPECT_EQ(s.start_folder, "/x/");
  EXPECT_EQ(s.script, "level3.lst");
  s = Command_Line_Split("cd2:menu.lst", "/x/");
  EXPECT_EQ(s.start_folder, "cd2:");
  EXPECT_EQ(s.script, "menu.lst");

  EXPECT_EQ(Program_Token_Folder("/usr/games/kvr_viewer"), "/usr/games/");
  EXPECT_EQ(Program_Token_Folder("C:\\GAME\\GAME.EXE"), "C:\\GAME\\");
  EXPECT_EQ(Program_Token_Folder("kvr_viewer"), "");
}

TEST(CommandLine, SearchNameDropsADiscLabel) {
  EXPECT_EQ(Script_Search_Name("CD2:script.lst"), "script.lst");
  EXPECT_EQ(Script_Search_Name("CD2:sub/a:b.lst"), "sub/a:b.lst");
  EXPECT_EQ(Script_Search_Name("sub/cd2:script.lst"), "sub/cd2:script.lst");
  EXPECT_EQ(Script_Search_Name("sub\\x:y"), "sub\\x:y");
  EXPECT_EQ(Script_Search_Name("script.lst"), "script.lst");
  EXPECT_EQ(Script_Search_Name(""), "");
}

TEST(SearchPath, AddsEachFolderOnceInOrder) {
  SearchPath path;
  path.Add("E:\\");
  path.Add("e:/");
  path.Add("/media/CD");
  path.Add("/media/cd/");
  path.Add("/media/cd//");
  path.Add("");
  path.Add("/other\\");
  EXPECT_EQ(path.Folders(), (Strings{"E:\\", "/media/CD/", "/other\\"}));
  EXPECT_TRUE(SearchPath::Same_Folder("a/b/", "A\\B\\"));
  EXPECT_TRUE(SearchPath::Same_Folder("a/", "a//"));
  EXPECT_FALSE(SearchPath::Same_Folder("a/", "a///"));
  EXPECT_FALSE(SearchPath::Same_Folder("a/", "ab/"));
  // No size limit: a long list keeps every folder in order.
  SearchPath many;
  for (int i = 0; i < 40; ++i) many.Add("/very/long/path/to/a/mounted/disc/number/" + std::to_string(i));
  ASSERT_EQ(many.Folders().size(), 40u);
  EXPECT_EQ(many.Folders()[39], "/very/long/path/to/a/mounted/disc/number/39/");
}

TEST(Startup, DefaultsAndSearchPathOrder) {
  EngineFixture f;
  f.engine.defaults.global_volume = 3;
  StartupInfo startup;
  startup.command_line = "/games/vk/LEVEL2.LST";
  startup.program_token = "/usr/bin/kvr_viewer";
  startup.program_folder = "/usr/bin/";
  startup.cd_roots = {"/media/cdrom/", "/GAMES/VK/"};
  EXPECT_EQ(Engine_Startup(f.engine, startup), "LEVEL2.LST");
  EXPECT_EQ(f.engine.search_path.Folders(), (Strings{"/games/vk/", "/usr/bin/", "/media/cdrom/"}));
  EXPECT_EQ(f.engine.defaults.global_volume, 255);
  EXPECT_EQ(f.engine.defaults.facing_factor, 100);
  EXPECT_EQ(f.engine.defaults.panning_factor, 255);
  EXPECT_EQ(f.engine.defaults.thumb_width, 139);
  EXPECT_EQ(f.engine.defaults.thumb_height, 103);
}

// Restores the current folder at the end of a test.
struct KeepFolder {
  std::string folder = Wendax_Get_Folder();
  ~KeepFolder() { Wendax_Set_Folder(folder); }
};

TEST(FindScriptDir, FirstFolderHoldingTheScriptOrItsPackedForm) {
  TempFolder root;
  root.Make_Folder("one");
  root.Make_Folder("two");
  root.Make_Folder("three");
  root.Write("two/script.pak", "PAKF");
  root.Write("three/script.lst", "x");
  root.Make_Folder("one/folder.lst");  // a folder is not a script
  EngineFixture f;
  for (const char* sub : {"one", "two", "three"}) f.engine.search_path.Add(root.Path() + sub);
  EXPECT_EQ(Find_Script_Dir(f.engine, "script.lst"), root.Path() + "two/");
  EXPECT_EQ(Find_Script_Dir(f.engine, "SCRIPT.lst"), root.Path() + "two/");  // .lst in lower case
  // Upper-case ".LST" is not retried as packed; the plain file is found
  // ignoring case in "three".
  EXPECT_EQ(Find_Script_Dir(f.engine, "SCRIPT.LST"), root.Path() + "three/");
  EXPECT_EQ(Find_Script_Dir(f.engine, "folder.lst"), std::nullopt);
  EXPECT_EQ(Find_Script_Dir(f.engine, "none.lst"), std::nullopt);
}

TEST(FindScriptDir, PackedRetryLooksAtTheFileNameOnly) {
  TempFolder root;
  root.Make_Folder("disc.lst");
  root.Write("disc.lst/level.pak", "PAKF");
  EngineFixture f;
  f.engine.search_path.Add(root.Path() + "disc.lst");
  EXPECT_EQ(Find_Script_Dir(f.engine, "level.lst"), root.Path() + "disc.lst/");
  root.Make_Folder("disc.lst/sub.lst");
  root.Write("disc.lst/sub.lst/x.pak", "PAKF");
  EXPECT_EQ(Find_Script_Dir(f.engine, "sub.lst/x.lst"), root.Path() + "disc.lst/");
}

TEST(FindScriptDir, RefillsAnEmptySearchPath) {
  TempFolder root;
  root.Make_Folder("cd");
  root.Write("cd/game.lst", "x");
  EngineFixture f;
  f.engine.program_folder = root.Path() + "prog/";
  f.engine.cd_roots = {root.Path() + "cd/"};
  EXPECT_EQ(Find_Script_Dir(f.engine, "game.lst"), root.Path() + "cd/");
  EXPECT_EQ(f.engine.search_path.Folders(), (Strings{root.Path() + "prog/", root.Path() + "cd/"}));
}

// A run that records its arguments and the current folder, then does what
// the test asks (queue scripts like the multi-disc plug-ins do).
struct FakeRunner : ScriptRunner {
  Strings runs;
  std::function<void(Engine&, int)> on_run;
  void Engine_Run(Engine& engine, const std::string& file, const std::string& folder) override {
    runs.push_back(file + " @ " + folder + " cwd " + Wendax_Get_Folder());
    if (on_run) on_run(engine, int(runs.size()));
  }
};

TEST(ScriptChain, RunsQueuedScriptsAndKeepsTheNames) {
  KeepFolder keep;
  TempFolder root;
  root.Make_Folder("disc1/sub");
  root.Write("disc1/start.lst", "x");
  root.Write("disc1/sub/level.lst", "x");
  EngineFixture f;
  f.engine.search_path.Add(root.Path() + "disc1");
  FakeRunner runner;
  Strings seen;
  runner.on_run = [&](Engine& e, int n) {
    seen.push_back(e.chain.Previous_Script + "|" + e.chain.Current_Script + "|" + e.chain.Next_Script);
    if (n == 1) e.chain.Next_Script = "CD1:SUB\\LEVEL.LST";
  };
  Run_Script_Chain(f.engine, runner, "start.lst");
  std::string disc = root.Path() + "disc1/";
  EXPECT_EQ(runner.runs, (Strings{"start.lst @ " + disc + " cwd " + disc,
                                  "LEVEL.LST @ " + disc + "SUB cwd " + disc + "sub/"}));
  EXPECT_EQ(seen, (Strings{"|start.lst|", "start.lst|CD1:SUB\\LEVEL.LST|"}));
}

TEST(ScriptChain, TransitionScriptRunsWhileTheNextIsMissing) {
  KeepFolder keep;
  TempFolder root;
  root.Make_Folder("disc1");
  root.Make_Folder("disc2");
  root.Write("disc1/start.lst", "x");
  root.Write("disc1/insert.lst", "x");
  EngineFixture f;
  f.engine.search_path.Add(root.Path() + "disc1");
  f.engine.search_path.Add(root.Path() + "disc2");
  FakeRunner runner;
  runner.on_run = [&](Engine& e, int n) {
    if (n == 1) {
      e.chain.Next_Script = "CD2:script.lst";
      e.chain.Transition_Script = "insert.lst";
    }
    if (n == 3) root.Write("disc2/script.lst", "x");  // the player inserts disc 2
  };
  Run_Script_Chain(f.engine, runner, "start.lst");
  ASSERT_EQ(runner.runs.size(), 4u);
  EXPECT_EQ(runner.runs[1].substr(0, 10), "insert.lst");
  EXPECT_EQ(runner.runs[2].substr(0, 10), "insert.lst");
  EXPECT_EQ(runner.runs[3].substr(0, 10 + 3 + root.Path().size() + 6),
            "script.lst @ " + root.Path() + "disc2/");
  EXPECT_EQ(f.engine.chain.Current_Script, "CD2:script.lst");
  EXPECT_EQ(f.engine.chain.Previous_Script, "start.lst");
}

// Started as "./kvr_viewer game/first.lst" from the temporary folder: the
// first run changes the current folder to game/, and the second script,
// which lies beside the program, is still found.
TEST(ScriptChain, RelativeStartAndProgramFoldersSurviveTheFirstRun) {
  KeepFolder keep;
  TempFolder root;
  root.Write("game/first.lst", "x");
  root.Write("second.lst", "x");
  ASSERT_EQ(Wendax_Set_Folder(root.Path()), 0);
  EngineFixture f;
  StartupInfo startup;
  startup.command_line = "game/first.lst";
  startup.program_token = "./kvr_viewer";
  startup.current_folder = Wendax_Get_Folder();
  std::string first = Engine_Startup(f.engine, startup);
  EXPECT_EQ(f.engine.search_path.Folders(), (Strings{root.Path() + "game/", root.Path()}));
  FakeRunner runner;
  runner.on_run = [&](Engine& e, int n) {
    if (n == 1) e.chain.Next_Script = "second.lst";
  };
  Run_Script_Chain(f.engine, runner, first);
  EXPECT_EQ(runner.runs, (Strings{"first.lst @ " + root.Path() + "game/ cwd " + root.Path() + "game/",
                                  "second.lst @ " + root.Path() + " cwd " + root.Path()}));
  EXPECT_EQ(Folder_From("a\\b\\", "/c/"), "/c/a\\b\\");
  EXPECT_EQ(Folder_From("/abs/", "/c/"), "/abs/");
}

TEST(ScriptChain, EndsWhenNothingCanBeFound) {
  EngineFixture f;
  f.engine.search_path.Add("/nonexistent-kvr-folder");
  FakeRunner runner;
  Run_Script_Chain(f.engine, runner, "script.lst");
  EXPECT_TRUE(runner.runs.empty());

  KeepFolder keep;
  TempFolder root;
  root.Write("a.lst", "x");
  EngineFixture g;
  g.engine.search_path.Add(root.Path());
  runner.on_run = [](Engine& e, int) {
    e.chain.Next_Script = "missing.lst";
    e.chain.Transition_Script = "also-missing.lst";
  };
  Run_Script_Chain(g.engine, runner, "a.lst");
  EXPECT_EQ(runner.runs.size(), 1u);
  EXPECT_EQ(g.engine.chain.Next_Script, "missing.lst");
}

}  // namespace
