// The built-in statements of PLUGIN blocks: name(arguments).
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The texts between the '(' and each following ',' or ')', blanks kept:
// "f()" has one empty argument. Nothing when an argument has no separator
// after it, as when any character follows the closing ')': the statement is
// malformed, which stops its block.
std::optional<std::vector<std::string>> Block_Arguments(std::string_view statement);
