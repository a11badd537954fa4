#include "engine/block_statements.h"

#include <cctype>

#include "platform/files/text.h"

std::optional<std::vector<std::string>> Block_Arguments(std::string_view statement) {
  const size_t open = statement.find('(');
  if (open == std::string_view::npos) return std::nullopt;
  std::vector<std::string> arguments;
  for (size_t p = open + 1; p < statement.size();) {
    const size_t separator = statement.find_first_of(",)", p);
    if (separator == std::string_view::npos) return std::nullopt;
    arguments.emplace_back(statement.substr(p, separator - p));
    p = separator + 1;
  }
  return arguments;
}

int32_t Arg_Value(const SCRIPT_DATA* script, const std::string& text) {
  if (!text.empty() && std::isalpha(static_cast<unsigned char>(text[0]))) return Get_Var(script, text);
  // atoi's reading, wrapping instead of overflowing.
  size_t i = 0;
  while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
  if (i < text.size() && text[i] == '+') ++i;
  return Text_To_Int(std::string_view(text).substr(i));
}

bool Block_Arithmetic(SCRIPT_DATA* script, std::string_view keyword,
                      const std::vector<std::string>& arguments) {
  static const std::string kEmpty;
  auto arg = [&](size_t i) -> const std::string& { return i < arguments.size() ? arguments[i] : kEmpty; };
  auto var = [&](size_t i) { return Get_Var(script, arg(i)); };
  if (keyword == "op") {
    int32_t w = var(2);
    for (size_t i = 3; i < arguments.size(); i += 2) {
      if (arg(i) == "or") w |= var(i + 1);
      if (arg(i) == "and") w &= var(i + 1);
    }
    Set_Var(script, arg(0), w);
    Set_Var(script, arg(1), w == 0);
  } else if (keyword == "add" || keyword == "sub") {
    // Wrapping 32-bit sums, as the engine's integers overflow.
    const uint32_t a = uint32_t(var(1)), b = uint32_t(Arg_Value(script, arg(2)));
    Set_Var(script, arg(0), int32_t(keyword == "add" ? a + b : a - b));
  } else if (keyword == "cmp") {
    const int32_t x = Arg_Value(script, arg(2)), y = Arg_Value(script, arg(4));
    const std::string& op = arg(3);
    int holds;
    if (op == "<")
      holds = x < y;
    else if (op == ">")
      holds = x > y;
    else if (op == "<=")
      holds = x <= y;
    else if (op == ">=")
      holds = x >= y;
    else if (op == "==")
      holds = x == y;
    else if (op == "!=")
      holds = x != y;
    else
      return true;  // any other operator sets nothing
    Set_Var(script, arg(0), holds);
    Set_Var(script, arg(1), !holds);
  } else if (keyword == "set") {
    Set_Var(script, arg(0), Arg_Value(script, arg(1)));
  } else {
    return false;
  }
  return true;
}
