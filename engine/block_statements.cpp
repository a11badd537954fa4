#include "engine/block_statements.h"

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
