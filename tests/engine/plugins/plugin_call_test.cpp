// Plug-in statements cut into tokens and dispatched by name; the argument
// lists of built-in statements.
#include "engine/plugins/plugin_call.h"

#include "engine/plugins/block_statements.h"

#include <gtest/gtest.h>

namespace {

using Tokens = std::vector<std::string>;

TEST(PluginTokens, SeparatorsQuotesAndLimits) {
  struct Case {
    std::string statement;
    Tokens tokens;
  };
  const Case cases[] = {
      {"LoadSave_Save(1)", {"LoadSave_Save", "1"}},
      {"LoadSave_Save(,,1,)", {"LoadSave_Save", "1"}},
      {"LoadSave_Save(-2)", {"LoadSave_Save", "2"}},  // '-' separates: no negative numbers
      {"Shell_Execute(\"My Doc.txt\", open)", {"Shell_Execute", "My Doc.txt", "open"}},
      {"Shell_Execute(\"a b", {"Shell_Execute", "a b"}},  // no closing quote: to the end
      {"x(\"\",'q',C:\\d/e.f)", {"x", "", "'q'", "C:\\d/e.f"}},
      {"x(a\"b c\")", {"x", "a\"b", "c\""}},  // a quote inside a token is a token character
      {"x(caf\xE9)", {"x", "caf"}},           // bytes above ASCII separate
      {"(", {}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(Plugin_Tokens(c.statement, kExtensionPluginBuffer), c.tokens) << c.statement;

  std::string many = "f(";
  for (int i = 0; i < 40; ++i) many += std::to_string(i) + ",";
  const Tokens tokens = Plugin_Tokens(many, kExtensionPluginBuffer);
  ASSERT_EQ(tokens.size(), kPluginTokenMax);
  EXPECT_EQ(tokens.back(), "29");

  // Cut to the working buffer: 255 characters for the engine table.
  const std::string long_call = "f(" + std::string(251, ' ') + "abcdef)";
  EXPECT_EQ(Plugin_Tokens(long_call, kEnginePluginBuffer), (Tokens{"f", "ab"}));
  EXPECT_EQ(Plugin_Tokens(long_call, kExtensionPluginBuffer), (Tokens{"f", "abcdef"}));
}

struct Call {
  int function;
  Tokens argv;
  bool ends_with_null;
};

template <int N>
int Record(void* context, int argc, char** argv) {
  static_cast<std::vector<Call>*>(context)->push_back({N, Tokens(argv, argv + argc), argv[argc] == nullptr});
  return 0;
}

TEST(PluginCall, FirstNameIgnoringCaseWins) {
  const Plugin_Entry table[] = {
      {"Print_Screen", Record<1>}, {"print_screen", Record<2>}, {"Other", Record<3>}, {}};
  std::vector<Call> calls;
  EXPECT_TRUE(Plugin_Call("PRINT_SCREEN( x )", table, kExtensionPluginBuffer, &calls));
  EXPECT_TRUE(Plugin_Call("other()", table, kExtensionPluginBuffer, &calls));
  EXPECT_FALSE(Plugin_Call("set (a, 1)", table, kExtensionPluginBuffer, &calls));
  EXPECT_FALSE(Plugin_Call("()", table, kExtensionPluginBuffer, &calls));
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_EQ(calls[0].function, 1);
  EXPECT_EQ(calls[0].argv, (Tokens{"PRINT_SCREEN", "x"}));  // the name as written
  EXPECT_TRUE(calls[0].ends_with_null);
  EXPECT_EQ(calls[1].function, 3);
}

TEST(BlockArguments, SplitAtCommasAndTheClosingParenthesis) {
  using Split = std::optional<Tokens>;
  struct Case {
    const char* statement;
    Split arguments;
  };
  const Case cases[] = {
      {"set(a,1)", Tokens{"a", "1"}},
      {"set( a , 1 )", Tokens{" a ", " 1 "}},
      {"set()", Tokens{""}},
      {"cmp(t,f,x,=<,y)", Tokens{"t", "f", "x", "=<", "y"}},
      {"set(a,1) ", std::nullopt},  // text after ')'
      {"set(a,1", std::nullopt},
      {"set(", Tokens{}},  // nothing after '(': no argument, no error
      {"set(a)(b)", Tokens{"a", "(b"}},
  };
  for (const Case& c : cases) EXPECT_EQ(Block_Arguments(c.statement), c.arguments) << c.statement;
}

TEST(BlockArithmetic, VariablesSetAndCompared) {
  SCRIPT_DATA script;
  for (const char* name : {"a", "b", "t", "f", "n"}) script.vars.push_back({std::string(name), 0});
  Set_Var(&script, "a", 6);
  Set_Var(&script, "b", 3);
  struct Case {
    const char* statement;
    int32_t t, f;  // the two result variables afterwards
  };
  const Case cases[] = {
      {"op(t,f,a,and,b)", 2, 0},
      {"op(t,f,a,or,b,and,n)", 0, 1},
      {"op(t,f,a,AND,n)", 6, 0},
      {"cmp(t,f,a,>,b)", 1, 0},
      {"cmp(t,f,3,==,b)", 1, 0},
      {"cmp(t,f,a,<=, 5)", 0, 1},
      {"cmp(t,f,a,=<,b)", 0, 1},  // not an operator: both keep their values
      {"add(t,a,b)", 9, 1},
      {"sub(f,a, 10)", 9, -4},
      {"set(t,-7x)", -7, -4},
      {"set(t)", 0, -4},  // a missing value reads as empty: 0
      {"add(t,a,2147483647)", int32_t(0x80000005u), -4},
  };
  for (const Case& c : cases) {
    std::optional<Tokens> arguments = Block_Arguments(c.statement);
    ASSERT_TRUE(arguments);
    const std::string_view name(c.statement, std::string_view(c.statement).find('('));
    EXPECT_TRUE(Block_Arithmetic(&script, name, *arguments)) << c.statement;
    EXPECT_EQ(Get_Var(&script, "t"), c.t) << c.statement;
    EXPECT_EQ(Get_Var(&script, "f"), c.f) << c.statement;
  }
  EXPECT_FALSE(Block_Arithmetic(&script, "waves", {}));
}

}  // namespace
