// Starting programs by the Windows-path rule, waiting for them, and opening
// documents through the desktop's opener.
#include <gtest/gtest.h>

#include <filesystem>

#include "host/process_start.h"
#include "tests/support/temp_folder.h"

namespace {

using Args = std::vector<std::string>;

TEST(CommandLine, SplitsLikeTheOriginalRunTime) {
  EXPECT_EQ(Command_Line_Split(""), Args{});
  EXPECT_EQ(Command_Line_Split("  \t "), Args{});
  EXPECT_EQ(Command_Line_Split("a b\tc"), (Args{"a", "b", "c"}));
  EXPECT_EQ(Command_Line_Split("\"a b\" c"), (Args{"a b", "c"}));
  EXPECT_EQ(Command_Line_Split("pre\"quoted part\"post"), (Args{"prequoted partpost"}));
  EXPECT_EQ(Command_Line_Split("\"\""), (Args{""}));
  EXPECT_EQ(Command_Line_Split("a \"\" b"), (Args{"a", "", "b"}));
  EXPECT_EQ(Command_Line_Split("\"say \"\"hi\"\"\""), (Args{"say \"hi\""}));
  EXPECT_EQ(Command_Line_Split("C:\\Games\\x.exe"), (Args{"C:\\Games\\x.exe"}));
  EXPECT_EQ(Command_Line_Split("a\\\\\"b c\""), (Args{"a\\b c"}));  // 2 backslashes, then a delimiting quote
  EXPECT_EQ(Command_Line_Split("a\\\"b c"), (Args{"a\"b", "c"}));   // 1 backslash: a literal quote
  EXPECT_EQ(Command_Line_Split("a\\\\\\\"b"), (Args{"a\\\"b"}));    // 3 backslashes
  EXPECT_EQ(Command_Line_Split("\"C:\\Program Files\\\\\" x"), (Args{"C:\\Program Files\\", "x"}));
  EXPECT_EQ(Command_Line_Split("\"open end"), (Args{"open end"}));
  EXPECT_EQ(Command_Line_Split("trailing\\"), (Args{"trailing\\"}));
}

class ProgramRule : public ::testing::Test {
 protected:
  std::string Wine_Path() const { return folder.Path("bin/wine"); }
  TempFolder folder;
};

TEST_F(ProgramRule, ExeRunsTheNativeProgramBesideIt) {
  folder.Write("disc/setup.exe", "MZ windows program");
  folder.Write_Program("disc/setup", "#!/bin/sh\n");
  EXPECT_EQ(Program_Command(folder.Path("disc/setup.exe"), "-q \"a b\"", ""),
            (Args{folder.Path("disc/setup"), "-q", "a b"}));
  // The extension's case and the native name's case do not matter.
  EXPECT_EQ(Program_Command(folder.Path("disc/SETUP.EXE"), "", ""), (Args{folder.Path("disc/setup")}));
  folder.Write_Program("disc2/Game",
                       "\x7f"
                       "ELF....");
  EXPECT_EQ(Program_Command(folder.Path("disc2/GAME.exe"), "", ""), (Args{folder.Path("disc2/Game")}));
}

TEST_F(ProgramRule, ExeThatIsNativeRunsItself) {
  folder.Write_Program("tool.exe", "#!/bin/sh\nexit 0\n");
  EXPECT_EQ(Program_Command(folder.Path("tool.exe"), "x", ""), (Args{folder.Path("tool.exe"), "x"}));
}

TEST_F(ProgramRule, WindowsProgramsRunThroughWineWhenInstalled) {
  folder.Write("disc/setup.exe", "MZ windows program");
  folder.Write("disc/setup", "not executable");  // no execute permission: not a native program
  EXPECT_FALSE(Program_Command(folder.Path("disc/setup.exe"), "", folder.Path("bin")).has_value());
  folder.Write_Program("bin/wine", "#!/bin/sh\n");
  std::string search = folder.Path("nothing") + "::" + folder.Path("bin");
  EXPECT_EQ(Program_Command(folder.Path("disc/setup.exe"), "/S", search),
            (Args{Wine_Path(), folder.Path("disc/setup.exe"), "/S"}));
}

TEST_F(ProgramRule, OtherFilesAreNotStarted) {
  folder.Write_Program("bin/wine", "#!/bin/sh\n");
  folder.Write("readme.txt", "text");
  folder.Write_Program("script.bat", "@echo off\n");  // executable, but not a native program
  EXPECT_FALSE(Program_Command(folder.Path("readme.txt"), "", folder.Path("bin")).has_value());
  EXPECT_FALSE(Program_Command(folder.Path("script.bat"), "", folder.Path("bin")).has_value());
  EXPECT_FALSE(Program_Command(folder.Path("missing.exe"), "", folder.Path("bin")).has_value());
  EXPECT_FALSE(Program_Command(folder.Path(""), "", folder.Path("bin")).has_value());
  std::filesystem::create_directory(folder.Path("dir.exe"));
  EXPECT_FALSE(Program_Command(folder.Path("dir.exe"), "", folder.Path("bin")).has_value());
}

TEST_F(ProgramRule, FindInPathTakesTheFirstExecutable) {
  folder.Write("a/tool", "not executable");
  folder.Write_Program("b/tool", "#!/bin/sh\n");
  folder.Write_Program("c/tool", "#!/bin/sh\n");
  std::string search = folder.Path("a") + ":" + folder.Path("b") + ":" + folder.Path("c");
  EXPECT_EQ(Find_In_Path("tool", search), folder.Path("b/tool"));
  EXPECT_EQ(Find_In_Path("none", search), "");
  EXPECT_EQ(Find_In_Path("b/tool", folder.Path("")), "");
  EXPECT_EQ(Find_In_Path("tool", ""), "");
}

TEST(ProcessStart, WaitGivesTheExitStatusOrTheSignal) {
  std::optional<ChildProcess> child = Program_Start("/bin/sh", "-c \"exit 3\"", "");
  ASSERT_TRUE(child.has_value());
  EXPECT_GT(child->Pid(), 0);
  EXPECT_EQ(child->Wait(), 3);
  EXPECT_EQ(child->Wait(), 3);  // asked again
  EXPECT_EQ(child->Exit_Code(), 3);

  std::optional<ChildProcess> killed = Program_Start("/bin/sh", "-c \"kill -9 $$\"", "");
  ASSERT_TRUE(killed.has_value());
  EXPECT_EQ(killed->Wait(), 128 + 9);

  std::optional<ChildProcess> ok = Program_Start("/bin/true", "", "");
  ASSERT_TRUE(ok.has_value());
  EXPECT_EQ(ok->Wait(), 0);
}

TEST(ProcessStart, RunsInTheGivenFolderWithTheSplitArguments) {
  TempFolder folder;
  folder.Write_Program("show.sh",
                       "#!/bin/sh\npwd > where.txt\nfor a in \"$@\"; do echo \"[$a]\"; done > args.txt\n");
  std::optional<ChildProcess> child =
      Program_Start(folder.Path("show.sh"), "one \"two three\" \"\"", folder.Path());
  ASSERT_TRUE(child.has_value());
  EXPECT_EQ(child->Wait(), 0);
  EXPECT_EQ(folder.Read("where.txt"), std::filesystem::canonical(folder.Path()).string() + "\n");
  EXPECT_EQ(folder.Read("args.txt"), "[one]\n[two three]\n[]\n");
}

TEST(ProcessStart, RunningChildHasNoExitCodeUntilItEnds) {
  TempFolder folder;
  // The child cannot end before the test creates "go".
  std::optional<ChildProcess> child =
      Program_Start("/bin/sh", "-c \"while [ ! -e go ]; do sleep 0.01; done; exit 5\"", folder.Path());
  ASSERT_TRUE(child.has_value());
  EXPECT_FALSE(child->Exit_Code().has_value());
  folder.Write("go", "");
  EXPECT_EQ(child->Wait(), 5);
  EXPECT_EQ(child->Exit_Code(), 5);
}

TEST(ProcessStart, FailedStartsGiveNothing) {
  TempFolder folder;
  EXPECT_FALSE(Program_Start(folder.Path("missing"), "", "").has_value());
  EXPECT_FALSE(Program_Start("/bin/true", "", folder.Path("no_such_folder")).has_value());
  EXPECT_FALSE(Process_Start({}, "").has_value());
  EXPECT_FALSE(Process_Start({folder.Path("missing")}, "").has_value());
}

TEST(DocumentOpen, HandsTheDocumentToTheDesktopOpener) {
  TempFolder folder;
  folder.Write_Program("bin/xdg-open",
                       "#!/bin/sh\nfor a in \"$@\"; do echo \"[$a]\"; done > \"$(dirname \"$0\")/opened\"\n");
  std::optional<ChildProcess> opener = Document_Open("/disc/Read Me.txt", folder.Path("bin"));
  ASSERT_TRUE(opener.has_value());
  EXPECT_EQ(opener->Wait(), 0);
  EXPECT_EQ(folder.Read("bin/opened"), "[/disc/Read Me.txt]\n");

  // A name that looks like an option is passed as a path.
  opener = Document_Open("-rf", folder.Path("bin"));
  ASSERT_TRUE(opener.has_value());
  EXPECT_EQ(opener->Wait(), 0);
  EXPECT_EQ(folder.Read("bin/opened"), "[./-rf]\n");
}

TEST(DocumentOpen, FallsBackToGioAndFailsWithoutAnOpener) {
  TempFolder folder;
  folder.Write_Program("bin/gio",
                       "#!/bin/sh\nfor a in \"$@\"; do echo \"[$a]\"; done > \"$(dirname \"$0\")/opened\"\n");
  std::optional<ChildProcess> opener = Document_Open("page.htm", folder.Path("bin"));
  ASSERT_TRUE(opener.has_value());
  EXPECT_EQ(opener->Wait(), 0);
  EXPECT_EQ(folder.Read("bin/opened"), "[open]\n[page.htm]\n");

  EXPECT_FALSE(Document_Open("page.htm", folder.Path("empty")).has_value());
  EXPECT_FALSE(Document_Open("", folder.Path("bin")).has_value());
}

}  // namespace
