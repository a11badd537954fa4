// A kvrtool command, and the way commands report failures.
#pragma once

#include <string>
#include <string_view>
#include <vector>

struct Command {
  std::string_view name;
  std::string_view summary;  // one line for the command list
  std::string_view usage;    // the "Usage:" lines
  std::string_view help;     // the text after the usage
  int (*run)(const Command& self, const std::vector<std::string>& args);
};

extern const Command kUnpakCommand;
extern const Command kPakCommand;
extern const Command kScriptCommand;
extern const Command kZonesCommand;
extern const Command kPictureCommand;
extern const Command kVrCommand;
extern const Command kSceneCommand;
extern const Command kRawCommand;
extern const Command kMtrdCommand;
extern const Command kMovieCommand;
extern const Command kArchiveCommand;
extern const Command kSaveCommand;

// Writes "kvrtool NAME: message" to stderr and returns 1.
int Command_Fail(const Command& command, std::string_view message);
// The same, followed by the command's usage and a pointer to its help.
int Command_Usage_Fail(const Command& command, std::string_view message);
// Writes "kvrtool NAME: warning: message" to stderr.
void Command_Warn(const Command& command, std::string_view message);
// Writes the bytes to stdout; false when they could not all be written.
bool Command_Print(std::string_view text);
