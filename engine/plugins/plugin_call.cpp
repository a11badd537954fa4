#include "engine/plugins/plugin_call.h"

#include "platform/files/text.h"

namespace {

bool Token_Char(char c) {
  const bool alnum = (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
  return alnum || c == '"' || c == '\'' || c == '.' || c == '/' || c == ':' || c == '\\' || c == '_';
}

}  // namespace

std::vector<std::string> Plugin_Tokens(std::string_view statement, size_t buffer) {
  const std::string_view text = statement.substr(0, buffer == 0 ? 0 : buffer - 1);
  std::vector<std::string> tokens;
  size_t i = 0;
  while (tokens.size() < kPluginTokenMax) {
    while (i < text.size() && !Token_Char(text[i])) ++i;
    if (i == text.size()) break;
    size_t end;
    if (text[i] == '"') {
      end = text.find('"', i + 1);
      if (end == std::string_view::npos) end = text.size();
      tokens.emplace_back(text.substr(i + 1, end - i - 1));
      i = end == text.size() ? end : end + 1;
    } else {
      end = i;
      while (end < text.size() && Token_Char(text[end])) ++end;
      tokens.emplace_back(text.substr(i, end - i));
      i = end;
    }
  }
  return tokens;
}

bool Plugin_Call(std::string_view statement, const Plugin_Entry* table, size_t buffer, void* context) {
  std::vector<std::string> tokens = Plugin_Tokens(statement, buffer);
  if (tokens.empty()) return false;
  const Plugin_Entry* entry = table;
  while (entry->name && Text_Equal(entry->name, tokens[0]) != 0) ++entry;
  if (!entry->name) return false;
  std::vector<char*> argv;
  for (std::string& token : tokens) argv.push_back(token.data());
  argv.push_back(nullptr);
  entry->function(context, int(tokens.size()), argv.data());
  return true;
}
