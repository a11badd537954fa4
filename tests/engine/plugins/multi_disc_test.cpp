// The multi-disc plug-ins and Shell_Execute: chain names, the prefix test,
// an installed folder from the registry, the paths of a launch, and a
// program waited for while the display is given back.
#include "engine/plugins/multi_disc.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>

#include "engine/plugins/plugin_block.h"
#include "engine/plugins/shell_execute.h"
#include "engine/run/run_services.h"
#include "host/registry_store.h"
#include "platform/files/folders.h"
#include "tests/engine/engine_test_support.h"

namespace {

struct ChainGame {
  RunServices services;
  HeadlessEngine h{{"R"}, &services};
  void Run(const std::string& statement) { Plugin_Run_Block(h.engine, {statement}); }
};

TEST(MultiCD, ChainNamesAndThePrefixTest) {
  ChainGame g;
  g.Run("MultiCD_Set_Next_Script(cd2:intro.lst)");
  g.Run("MultiCD_Set_Transition_Script(insert2.lst)");
  EXPECT_EQ(g.h.engine.chain.Next_Script, "cd2:intro.lst");
  EXPECT_EQ(g.h.engine.chain.Transition_Script, "insert2.lst");
  struct Case {
    const char* prefix;
    int result;
  };
  for (const Case c :
       {Case{"CD2", 1}, Case{"cd2:INTRO.LST", 1}, Case{"cd1", 0}, Case{"cd2:intro.lst.x", 0}}) {
    g.Run(std::string("MultiCD_If_Next_Script(") + c.prefix + ",R)");
    EXPECT_EQ(g.h.Var("R"), c.result) << c.prefix;
  }
  g.Run("MultiCD_Set_Next_Script(" + std::string(260, 'a') + ")");  // too long: refused
  EXPECT_EQ(g.h.engine.chain.Next_Script, "cd2:intro.lst");
}

TEST(MultiCD, InstallPathFromTheRegistry) {
  TempFolder folder;
  setenv("KVR_REGISTRY", folder.Path("registry.txt").c_str(), 1);
  {
    RegistryStore store(folder.Path("registry.txt"));
    std::optional<RegistryKey> key = store.Create_Key(RegistryRoot::kLocalMachine, "SOFTWARE\\Game");
    ASSERT_TRUE(key);
    store.Write_Value(*key, "Path", "/opt/game");
    store.Write_Value(*key, "Empty", "");
    store.Write_Value(*key, "Long", std::string(260, 'x'));
  }
  ChainGame g;
  const size_t before = g.h.engine.search_path.Folders().size();
  for (const char* arg : {"SOFTWARE\\Game\\Empty", "SOFTWARE\\Game\\Long", "SOFTWARE\\Game\\None", "Nothing"})
    g.Run(std::string("MultiCD_Use_Install_Path(\"") + arg + "\")");
  EXPECT_EQ(g.h.engine.search_path.Folders().size(), before);
  g.Run("MultiCD_Use_Install_Path(\"SOFTWARE\\Game\\Path\")");
  g.Run("MultiCD_Use_Install_Path(\"SOFTWARE\\Game/Path\")");  // listed once
  ASSERT_EQ(g.h.engine.search_path.Folders().size(), before + 1);
  EXPECT_EQ(g.h.engine.search_path.Folders().back(), "/opt/game/");
  unsetenv("KVR_REGISTRY");
}

TEST(ShellExecute, PathsAndWorkingFolders) {
  struct Case {
    const char* folder;
    const char* file;
    const char* path;
    const char* working;
  };
  const Case cases[] = {
      {"/games/x", "readme.txt", "/games/x/readme.txt", "/games/x/"},
      {"/games/x/", "docs\\setup.exe", "/games/x/docs\\setup.exe", "/games/x/docs\\"},
      {"/games/x", "d:\\setup.exe", "d:\\setup.exe", "d:\\"},
      {"/games/x", "d:setup.exe", "d:setup.exe", "d:"},
  };
  for (const Case& c : cases) {
    std::string path, working;
    ASSERT_TRUE(Shell_Paths(c.folder, c.file, path, working)) << c.file;
    EXPECT_EQ(path, c.path);
    EXPECT_EQ(working, c.working);
  }
  std::string path, working;
  EXPECT_FALSE(Shell_Paths("/games", std::string(255, 'a'), path, working));
}

// setup.exe runs the native program "setup" beside it and is waited for;
// the display is taken back after it.
TEST(ShellExecute, ProgramsAreWaitedForAndTheDisplayComesBack) {
  TempFolder folder;
  folder.Write_Program("setup", "#!/bin/sh\nsleep 0.2\necho \"$1\" > \"$PWD/ran.txt\"\n");
  ChainGame g;  // its platform moves to the program's folder
  const std::string cwd = Wendax_Get_Folder();
  ASSERT_EQ(::chdir(folder.Path().c_str()), 0);
  g.Run("Shell_Execute(setup.exe,open,hello)");
  EXPECT_EQ(folder.Read("ran.txt").value_or(""), "hello\n");
  EXPECT_FALSE(g.h.wx.display.suspended);
  g.Run("Shell_Execute(missing.exe)");  // cannot start: stays suspended
  EXPECT_TRUE(g.h.wx.display.suspended);
  ASSERT_EQ(::chdir(cwd.c_str()), 0);
}

}  // namespace
