#include "tools/kvrtool/arguments.h"

#include <algorithm>

namespace {

const OptionRule* Rule_Find(const std::vector<OptionRule>& rules, std::string_view name) {
  auto it = std::find_if(rules.begin(), rules.end(), [&](const OptionRule& s) { return s.name == name; });
  return it == rules.end() ? nullptr : &*it;
}

}  // namespace

const std::string* Arguments::Value(std::string_view name) const {
  auto it = options.find(name);
  return it == options.end() ? nullptr : &it->second;
}

bool Arguments_Parse(const std::vector<std::string>& args, const std::vector<OptionRule>& rules,
                     Arguments& out, std::string& error) {
  out = {};
  bool options_done = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (options_done || arg.size() < 2 || arg.compare(0, 2, "--") != 0) {
      out.operands.push_back(arg);
      continue;
    }
    if (arg == "--") {
      options_done = true;
      continue;
    }
    size_t equals = arg.find('=');
    std::string name = arg.substr(2, equals == std::string::npos ? std::string::npos : equals - 2);
    const OptionRule* rule = Rule_Find(rules, name);
    if (!rule) {
      error = "unknown option --" + name;
      return false;
    }
    if (out.Has(name)) {
      error = "option --" + name + " given twice";
      return false;
    }
    std::string value;
    if (equals != std::string::npos) {
      if (!rule->takes_value) {
        error = "option --" + name + " takes no value";
        return false;
      }
      value = arg.substr(equals + 1);
    } else if (rule->takes_value) {
      if (i + 1 >= args.size()) {
        error = "option --" + name + " needs a value";
        return false;
      }
      value = args[++i];
    }
    out.options.emplace(name, std::move(value));
  }
  return true;
}

bool Arguments_Ask_Help(const std::vector<std::string>& args) {
  for (const std::string& arg : args) {
    if (arg == "--") return false;
    if (arg == "--help" || arg == "-h") return true;
  }
  return false;
}
