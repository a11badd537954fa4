// The built-in statements of PLUGIN blocks: name(arguments).
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/script/script_data.h"

struct Engine;

// The texts between the '(' and each following ',' or ')', blanks kept:
// "f()" has one empty argument. Nothing when an argument has no separator
// after it, as when any character follows the closing ')': the statement is
// malformed, which stops its block.
std::optional<std::vector<std::string>> Block_Arguments(std::string_view statement);

// A numeric argument: the value of the variable it names when it starts with
// a letter, else a decimal integer read like atoi (empty text gives 0).
int32_t Arg_Value(const SCRIPT_DATA* script, const std::string& text);
// A decimal integer read like atoi and atol (no variable names), wrapping
// instead of overflowing; null reads as 0.
int32_t Arg_Number(const char* text);

// Runs the arithmetic statements "op", "add", "sub", "cmp" and "set" on the
// script's variables; false when `keyword` (lower case) is none of them.
// Missing arguments read as empty texts: an empty name finds no variable.
bool Block_Arithmetic(SCRIPT_DATA* script, std::string_view keyword,
                      const std::vector<std::string>& arguments);

// What a block goes on with after a statement.
enum class BlockStep {
  kNotBuiltIn,  // no built-in statement: the plug-in tables are next
  kNext,        // the next statement
  kStop,        // the block ends (a malformed statement, or the run quits)
};

// Runs a statement whose text before its first '(' is one of the sixteen
// built-in keywords in any letter case: the arithmetic above, the bloc
// statements, "waves" (never split), the movies, the global volume and
// panning factor, and the waits "until" (a variable) and "while" (seconds),
// which draw frames on the engine's stage update until done or until the
// run quits. A malformed argument list raises the script error marker and
// stops the block; the bloc starts run on the sound timer from before their
// arguments are split.
BlockStep Block_Statement_Run(Engine& engine, std::string_view statement);
