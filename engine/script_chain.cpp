#include "engine/script_chain.h"

#include <sys/stat.h>

#include <cstdio>

#include "engine/engine.h"
#include "platform/files/folders.h"
#include "host/path_resolve.h"

namespace {

constexpr std::string_view kSeparators = "/:\\";

// A readable file (not a folder) at folder + name.
bool Script_Present(const std::string& folder, std::string_view name) {
  std::string path = Path_Resolve(folder + std::string(name));
  struct stat st;
  if (::stat(path.c_str(), &st) != 0 || S_ISDIR(st.st_mode)) return false;
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return false;
  std::fclose(file);
  return true;
}

// The packed-form retry: the first ".lst" of the file name becomes ".pak".
std::optional<std::string> Packed_Retry_Name(std::string_view name) {
  size_t file_start = name.find_last_of("/\\");
  file_start = file_start == std::string_view::npos ? 0 : file_start + 1;
  size_t lst = name.find(".lst", file_start);
  if (lst == std::string_view::npos) return std::nullopt;
  std::string packed(name);
  packed.replace(lst, 4, ".pak");
  return packed;
}

void Search_Path_Fill(Engine& engine) {
  engine.search_path.Add(engine.program_folder);
  for (const std::string& root : engine.cd_roots) engine.search_path.Add(root);
}

// Runs `name` (a search name) found in `folder`.
void Run_Found(Engine& engine, ScriptRunner& runner, const std::string& folder, std::string_view name) {
  size_t cut = name.find_last_of(kSeparators);
  std::string run_folder = folder;
  std::string file(name);
  if (cut != std::string_view::npos) {
    run_folder += std::string(name.substr(0, cut));
    file = std::string(name.substr(cut + 1));
  }
  Wendax_Set_Folder(run_folder);
  runner.Engine_Run(engine, file, run_folder);
}

}  // namespace

CommandLineSplit Command_Line_Split(std::string_view command_line, std::string_view program_folder) {
  CommandLineSplit split;
  size_t cut = command_line.find_last_of(kSeparators);
  if (cut != std::string_view::npos) {
    split.start_folder = std::string(command_line.substr(0, cut + 1));
    split.script = std::string(command_line.substr(cut + 1));
  } else {
    split.start_folder = std::string(program_folder);
    split.script = std::string(command_line);
  }
  if (split.script.empty()) split.script = kDefaultScript;
  return split;
}

std::string Program_Token_Folder(std::string_view program_token) {
  size_t cut = program_token.find_last_of(kSeparators);
  return cut == std::string_view::npos ? std::string() : std::string(program_token.substr(0, cut + 1));
}

std::string Folder_From(std::string_view folder, std::string_view current) {
  if (folder.empty() || folder.front() == '/' || current.empty()) return std::string(folder);
  while (folder.starts_with("./")) folder.remove_prefix(2);
  std::string absolute(current);
  if (absolute.back() != '/') absolute.push_back('/');
  absolute += folder;
  return absolute;
}

std::string Engine_Startup(Engine& engine, const StartupInfo& startup) {
  engine.defaults = EngineDefaults{};
  CommandLineSplit split = Command_Line_Split(startup.command_line, startup.program_folder);
  engine.program_folder = Folder_From(Program_Token_Folder(startup.program_token), startup.current_folder);
  engine.cd_roots = startup.cd_roots;
  engine.start_folder = Folder_From(split.start_folder, startup.current_folder);
  if (engine.start_folder.empty() || engine.start_folder.back() != '/') engine.start_folder += '/';
  engine.search_path.Add(engine.start_folder);
  Search_Path_Fill(engine);
  return split.script;
}

std::string Script_Search_Name(std::string_view name) {
  size_t colon = name.find(':');
  size_t separator = name.find_first_of("/\\");
  if (colon != std::string_view::npos && (separator == std::string_view::npos || colon < separator))
    return std::string(name.substr(colon + 1));
  return std::string(name);
}

std::optional<std::string> Find_Script_Dir(Engine& engine, std::string_view name) {
  if (engine.search_path.Empty()) Search_Path_Fill(engine);
  std::optional<std::string> packed = Packed_Retry_Name(name);
  for (const std::string& folder : engine.search_path.Folders()) {
    if (Script_Present(folder, name)) return folder;
    if (packed && Script_Present(folder, *packed)) return folder;
  }
  return std::nullopt;
}

void Run_Script_Chain(Engine& engine, ScriptRunner& runner, std::string_view first_script) {
  ChainNames& chain = engine.chain;
  chain.Next_Script = std::string(first_script.substr(0, kScriptNameMax));
  do {
    std::string name = Script_Search_Name(chain.Next_Script);
    if (std::optional<std::string> folder = Find_Script_Dir(engine, name)) {
      chain.Previous_Script = chain.Current_Script;
      chain.Current_Script = chain.Next_Script;
      chain.Next_Script.clear();
      Run_Found(engine, runner, *folder, name);
      continue;
    }
    std::string transition = Script_Search_Name(chain.Transition_Script);
    std::optional<std::string> folder =
        transition.empty() ? std::nullopt : Find_Script_Dir(engine, transition);
    if (!folder) break;
    Run_Found(engine, runner, *folder, transition);
  } while (!chain.Next_Script.empty());
}
