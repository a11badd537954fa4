// Splitting a command's arguments into options and operands.
//
// An argument "--name" is an option (a value option takes the next argument,
// or the text after "--name="); "--" ends the options; everything else,
// "-" and negative numbers included, is an operand.
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

struct OptionRule {
  std::string_view name;  // without the leading "--"
  bool takes_value;
};

struct Arguments {
  std::vector<std::string> operands;
  std::map<std::string, std::string, std::less<>> options;  // flags map to ""

  bool Has(std::string_view name) const { return options.find(name) != options.end(); }
  const std::string* Value(std::string_view name) const;
};

// False with a message in `error` for an unknown option, a missing value, a
// value given to a flag, or an option given twice.
bool Arguments_Parse(const std::vector<std::string>& args, const std::vector<OptionRule>& rules,
                     Arguments& out, std::string& error);

// True when the arguments ask for help ("--help" or "-h" before any "--").
bool Arguments_Ask_Help(const std::vector<std::string>& args);
