// Start-up of kvr_viewer and the script chain: the first script, then every
// script that the multi-disc plug-ins queue, each run to its END.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct Engine;

// Runs one script in the current folder until its END (the main loop).
class ScriptRunner {
 public:
  virtual ~ScriptRunner() = default;
  virtual void Engine_Run(Engine& engine, const std::string& file, const std::string& folder) = 0;
};

// What the process was started with.
struct StartupInfo {
  std::string command_line;    // everything after the program name
  std::string program_token;   // the program as it was started (argv[0])
  std::string program_folder;  // folder of the program file, ending with '/'
  std::vector<std::string> cd_roots;
  // The process's current folder at start, ending with '/'. Relative start
  // and program folders are taken from it, so that they still name the same
  // folders once a script run has changed the current folder.
  std::string current_folder;
};

struct CommandLineSplit {
  std::string start_folder;  // ends with its separator
  std::string script;        // "script.lst" when the command line names none
};

// Splits the command line after its last '/', ':' or '\'. Without one, the
// start folder is the program's folder and the script the whole text.
CommandLineSplit Command_Line_Split(std::string_view command_line, std::string_view program_folder);

// The program token cut after its last '\', ':' or '/' ("" without one).
std::string Program_Token_Folder(std::string_view program_token);

// `folder` taken from `current` when it is relative (does not begin with
// '/'); unchanged when absolute, empty, or when `current` is empty.
std::string Folder_From(std::string_view folder, std::string_view current);

// Start-up steps before the display opens: engine defaults, the command-line
// split and the search path (start folder, program folder, CD roots), both
// folders made absolute. Returns the first script's name.
std::string Engine_Startup(Engine& engine, const StartupInfo& startup);

// The name looked for: the part after the first ':' when a ':' comes before
// any '/' or '\' (a disc label), else the whole name.
std::string Script_Search_Name(std::string_view name);

// The first search-path folder that holds the script, or its packed form
// (".lst" replaced by ".pak", case-sensitively, in the file name). Refills an
// empty search path from the program folder and the CD roots first.
std::optional<std::string> Find_Script_Dir(Engine& engine, std::string_view name);

// Runs the chain from the first script until no further script is queued,
// or neither the queued script nor the transition script can be found.
void Run_Script_Chain(Engine& engine, ScriptRunner& runner, std::string_view first_script);
