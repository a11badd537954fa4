#include "tools/kvrtool/command.h"

#include <cstdio>

namespace {

void Write_Stderr(std::string_view text) {
  std::fwrite(text.data(), 1, text.size(), stderr);
  std::fflush(stderr);
}

std::string Prefix(const Command& command) { return "kvrtool " + std::string(command.name) + ": "; }

}  // namespace

int Command_Fail(const Command& command, std::string_view message) {
  Write_Stderr(Prefix(command) + std::string(message) + "\n");
  return 1;
}

int Command_Usage_Fail(const Command& command, std::string_view message) {
  Write_Stderr(Prefix(command) + std::string(message) + "\n" + std::string(command.usage) + "Run \"kvrtool " +
               std::string(command.name) + " --help\" for more.\n");
  return 1;
}

void Command_Warn(const Command& command, std::string_view message) {
  Write_Stderr(Prefix(command) + "warning: " + std::string(message) + "\n");
}

bool Command_Print(std::string_view text) {
  bool ok = std::fwrite(text.data(), 1, text.size(), stdout) == text.size();
  return std::fflush(stdout) == 0 && ok;
}
