// The built-in statements of PLUGIN blocks: name(arguments).
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/script/script_data.h"

// The texts between the '(' and each following ',' or ')', blanks kept:
// "f()" has one empty argument. Nothing when an argument has no separator
// after it, as when any character follows the closing ')': the statement is
// malformed, which stops its block.
std::optional<std::vector<std::string>> Block_Arguments(std::string_view statement);

// A numeric argument: the value of the variable it names when it starts with
// a letter, else a decimal integer read like atoi (empty text gives 0).
int32_t Arg_Value(const SCRIPT_DATA* script, const std::string& text);

// Runs the arithmetic statements "op", "add", "sub", "cmp" and "set" on the
// script's variables; false when `keyword` (lower case) is none of them.
// Missing arguments read as empty texts: an empty name finds no variable.
bool Block_Arithmetic(SCRIPT_DATA* script, std::string_view keyword,
                      const std::vector<std::string>& arguments);
