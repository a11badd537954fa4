// kvrtool's help texts and its answers to wrong command lines.
#include <gtest/gtest.h>

#include "tests/tools/tool_run.h"

namespace {

bool Starts_With(const std::string& text, const std::string& head) { return text.rfind(head, 0) == 0; }

const std::vector<std::string> kCommands = {"unpak", "pak", "script", "zones", "picture", "vr",
                                            "scene", "raw", "mtrd",   "movie", "archive", "save"};

TEST(KvrtoolHelp, MainHelpListsEveryCommand) {
  for (const char* ask : {"--help", "-h", "help"}) {
    ToolRun run = Run_Kvrtool({ask});
    EXPECT_EQ(run.status, 0) << ask;
    EXPECT_EQ(run.err, "") << ask;
    EXPECT_TRUE(Starts_With(run.out, "Usage: kvrtool COMMAND [ARGUMENTS]\n")) << run.out;
    for (const std::string& command : kCommands)
      EXPECT_NE(run.out.find("\n  " + command + " "), std::string::npos) << command;
  }
}

TEST(KvrtoolHelp, EveryCommandHasItsHelp) {
  for (const std::string& command : kCommands) {
    for (const char* ask : {"--help", "-h"}) {
      ToolRun run = Run_Kvrtool({command, ask});
      EXPECT_EQ(run.status, 0) << command;
      EXPECT_EQ(run.err, "") << command;
      EXPECT_TRUE(Starts_With(run.out, "Usage: kvrtool " + command + " ")) << run.out;
      EXPECT_GT(run.out.size(), 300u) << command;
    }
    // Help wins over other arguments, but not after "--".
    ToolRun run = Run_Kvrtool({command, "some-file", "--help"});
    EXPECT_EQ(run.status, 0) << command;
    run = Run_Kvrtool({command, "--", "--help"});
    EXPECT_EQ(run.status, 1) << command;
  }
  EXPECT_NE(Run_Kvrtool({"pak", "--help"}).out.find("--method N"), std::string::npos);
  EXPECT_NE(Run_Kvrtool({"zones", "--help"}).out.find("--write OUT"), std::string::npos);
  EXPECT_NE(Run_Kvrtool({"picture", "--help"}).out.find("kvrtool picture make"), std::string::npos);
  EXPECT_NE(Run_Kvrtool({"vr", "--help"}).out.find("kvrtool vr build"), std::string::npos);
  EXPECT_NE(Run_Kvrtool({"scene", "--help"}).out.find("--raw OUT.bin"), std::string::npos);
}

TEST(KvrtoolHelp, WrongCommandLinesGiveUsageOnStderr) {
  ToolRun run = Run_Kvrtool({});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, "");
  EXPECT_TRUE(Starts_With(run.err, "kvrtool: no command given\nUsage: kvrtool COMMAND")) << run.err;

  run = Run_Kvrtool({"frob", "x"});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, "");
  EXPECT_TRUE(Starts_With(run.err, "kvrtool: unknown command \"frob\"\nUsage: kvrtool COMMAND")) << run.err;

  run = Run_Kvrtool({"fr\x1b[2Job"});
  EXPECT_TRUE(Starts_With(run.err, "kvrtool: unknown command \"fr\\x1B[2Job\"\n")) << run.err;

  struct Case {
    std::vector<std::string> args;
    std::string message;
  };
  const std::vector<Case> cases = {
      {{"unpak"}, "expects IN and OUT"},
      {{"unpak", "a"}, "expects IN and OUT"},
      {{"unpak", "a", "b", "c"}, "expects IN and OUT"},
      {{"unpak", "--fast", "a", "b"}, "unknown option --fast"},
      {{"script"}, "expects one FILE"},
      {{"script", "a", "b"}, "expects one FILE"},
      {{"zones"}, "expects one FILE"},
      {{"zones", "--write"}, "option --write needs a value"},
      {{"pak", "a", "b"}, "--method is required"},
      {{"pak", "--method", "1", "a"}, "expects IN and OUT"},
      {{"pak", "--method", "1", "--method", "2", "a", "b"}, "option --method given twice"},
      {{"pak", "--method", "6", "a", "b"}, "--method takes a number from 0 to 5, not \"6\""},
      {{"pak", "--method=-1", "a", "b"}, "--method takes a number from 0 to 5, not \"-1\""},
      {{"pak", "--method", "1x", "a", "b"}, "--method takes a number from 0 to 5, not \"1x\""},
      {{"pak", "--method", "", "a", "b"}, "--method takes a number from 0 to 5, not \"\""},
  };
  for (const Case& c : cases) {
    run = Run_Kvrtool(c.args);
    EXPECT_EQ(run.status, 1) << c.message;
    EXPECT_EQ(run.out, "") << c.message;
    std::string head = "kvrtool " + c.args[0] + ": " + c.message + "\nUsage: kvrtool " + c.args[0] + " ";
    EXPECT_TRUE(Starts_With(run.err, head)) << run.err;
    EXPECT_NE(run.err.find("Run \"kvrtool " + c.args[0] + " --help\" for more.\n"), std::string::npos);
  }
}

}  // namespace
