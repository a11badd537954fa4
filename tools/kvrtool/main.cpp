// kvrtool: inspect, convert and write game files. Dispatches to one command.
#include <array>
#include <cstdio>
#include <string>
#include <vector>

#include "tools/kvrtool/arguments.h"
#include "tools/kvrtool/command.h"
#include "tools/printable_text.h"

namespace {

constexpr std::array<const Command*, 12> kCommands = {
    &kUnpakCommand, &kPakCommand, &kScriptCommand, &kZonesCommand, &kPictureCommand, &kVrCommand,
    &kSceneCommand, &kRawCommand, &kMtrdCommand,   &kMovieCommand, &kArchiveCommand, &kSaveCommand};

std::string Main_Help() {
  std::string text =
      "Usage: kvrtool COMMAND [ARGUMENTS]\n"
      "\n"
      "Inspects, converts and writes game files.\n"
      "\n"
      "Commands:\n";
  for (const Command* command : kCommands) {
    std::string name(command->name);
    name.resize(9, ' ');
    text += "  " + name + std::string(command->summary) + "\n";
  }
  text +=
      "\n"
      "Run \"kvrtool COMMAND --help\" for the details of a command.\n"
      "Exit status: 0 on success, 1 on wrong arguments or bad input. Errors and\n"
      "warnings go to standard error.\n";
  return text;
}

std::string Command_Help(const Command& command) {
  return std::string(command.usage) + "\n" + std::string(command.help);
}

int Main_Usage_Fail(const std::string& message) {
  std::string text = "kvrtool: " + message + "\n" + Main_Help();
  std::fwrite(text.data(), 1, text.size(), stderr);
  return 1;
}

const Command* Command_Find(const std::string& name) {
  for (const Command* command : kCommands)
    if (command->name == name) return command;
  return nullptr;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
  if (args.empty()) return Main_Usage_Fail("no command given");
  if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") return Command_Print(Main_Help()) ? 0 : 1;

  const Command* command = Command_Find(args[0]);
  if (!command) return Main_Usage_Fail("unknown command \"" + Printable_Text(args[0]) + "\"");
  args.erase(args.begin());
  if (Arguments_Ask_Help(args)) return Command_Print(Command_Help(*command)) ? 0 : 1;
  return command->run(*command, args);
}
