// kvr_viewer: the game engine.
//
//   kvr_viewer [--trace] [SCRIPT]
//
// SCRIPT is the first script, with the folder it lies in ("script.lst" in the
// program's folder by default). --trace writes the engine's debug output to
// stderr.
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <string>

#include "engine/engine.h"
#include "engine/load_only_runner.h"
#include "engine/script_chain.h"
#include "host/cd_roots.h"
#include "platform/files/folders.h"
#include "platform/files/memory.h"
#include "platform/wendax.h"

namespace {

std::string Program_Folder() {
  char path[PATH_MAX];
  ssize_t length = ::readlink("/proc/self/exe", path, sizeof path - 1);
  if (length <= 0) return {};
  std::string folder(path, size_t(length));
  return folder.substr(0, folder.find_last_of('/') + 1);
}

// Out of memory anywhere in the process is the platform's fatal error.
void Out_Of_Memory() {
  std::string text = Fatal_Text(0);
  std::fprintf(stderr, "%.*s: %s\n", int(kFatalCaption.size()), kFatalCaption.data(), text.c_str());
  std::_Exit(kFatalExitStatus);
}

}  // namespace

int main(int argc, char** argv) {
  std::set_new_handler(Out_Of_Memory);
  bool trace = false;
  int first = 1;
  if (first < argc && std::string(argv[first]) == "--trace") {
    trace = true;
    ++first;
  }
  StartupInfo startup;
  for (int i = first; i < argc; ++i) {
    if (i > first) startup.command_line += ' ';
    startup.command_line += argv[i];
  }
  startup.program_token = argc > 0 ? argv[0] : "";
  startup.program_folder = Program_Folder();
  startup.cd_roots = Cd_Roots();
  std::string start_folder = Wendax_Get_Folder();
  startup.current_folder = start_folder;

  Wendax wx;
  Engine engine(wx);
  if (trace)
    engine.debug = [](std::string_view line) {
      std::fprintf(stderr, "%.*s\n", int(line.size()), line.data());
    };

  std::string first_script = Engine_Startup(engine, startup);
  LoadOnlyRunner runner;
  Run_Script_Chain(engine, runner, first_script);
  if (!start_folder.empty()) Wendax_Set_Folder(start_folder);
  return 0;
}
