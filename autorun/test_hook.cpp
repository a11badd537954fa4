#include "autorun/test_hook.h"

#include <fstream>
#include <sstream>

std::optional<TestHook> TestHook::Load(const std::string& path, std::string& error) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    error = "cannot read the test hook " + path;
    return std::nullopt;
  }
  std::ostringstream text;
  text << in.rdbuf();
  return Parse(text.str(), error);
}

std::optional<TestHook> TestHook::Parse(const std::string& text, std::string& error) {
  TestHook hook;
  std::istringstream lines(text);
  int number = 0;
  for (std::string line; std::getline(lines, line);) {
    ++number;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const size_t start = line.find_first_not_of(" \t");
    if (start == std::string::npos || line[start] == '#') continue;
    const size_t end = line.find_first_of(" \t", start);
    HookAction action{line.substr(start, end - start), ""};
    if (end != std::string::npos) {
      const size_t arg = line.find_first_not_of(" \t", end);
      if (arg != std::string::npos) action.argument = line.substr(arg);
    }
    const std::string& verb = action.verb;
    const bool needs_argument =
        verb == "click" || verb == "key" || verb == "shot" || verb == "wait" || verb == "answer";
    const bool known = needs_argument || verb == "about" || verb == "close";
    if (!known || needs_argument == action.argument.empty()) {
      error = "test hook line " + std::to_string(number) + ": not an action: " + line;
      return std::nullopt;
    }
    if (verb == "answer")
      hook.answers_.push_back(action.argument);
    else
      hook.actions_.push_back(std::move(action));
  }
  return hook;
}

std::optional<HookAction> TestHook::Next_Action() {
  if (actions_.empty()) return std::nullopt;
  HookAction action = std::move(actions_.front());
  actions_.pop_front();
  return action;
}

std::optional<std::string> TestHook::Next_Answer() {
  if (answers_.empty()) return std::nullopt;
  std::string answer = std::move(answers_.front());
  answers_.pop_front();
  return answer;
}
