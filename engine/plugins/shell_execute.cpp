#include "engine/plugins/shell_execute.h"

#include <optional>

#include "engine/engine.h"
#include "host/path_resolve.h"
#include "host/process_start.h"
#include "platform/display/display.h"
#include "platform/files/folders.h"

bool Shell_Paths(const std::string& current_folder, const std::string& file, std::string& path,
                 std::string& folder) {
  if (file.find(':') != std::string::npos) {
    path = file;
  } else {
    path = current_folder;
    if (path.empty() || (path.back() != '/' && path.back() != '\\')) path += '/';
    path += file;
  }
  if (path.size() > kShellPathMax) return false;
  const size_t end = path.find_last_of("/:\\");
  folder = end == std::string::npos ? std::string() : path.substr(0, end + 1);
  return true;
}

int Shell_Execute(Engine& engine, int argc, char** argv) {
  if (argc < 2 || !argv[1]) return 0;
  std::string path, folder;
  if (!Shell_Paths(Wendax_Get_Folder(), argv[1], path, folder)) return 0;
  const bool verb = argc > 2 && argv[2];
  const std::string parameters = verb && argc > 3 && argv[3] ? argv[3] : "";
  Wendax_Suspend(engine.wx);
  const std::string resolved = Path_Resolve(path);
  if (path.find(".exe") == std::string::npos) {
    // Documents open with the desktop's application for their type (the
    // only verb it has); nothing is waited for.
    Document_Open(resolved);
    return 0;
  }
  std::optional<ChildProcess> child =
      Program_Start(resolved, parameters, folder.empty() ? std::string() : Path_Resolve(folder));
  if (!child) return 0;  // stays suspended until the player comes back
  child->Wait();
  Wendax_Resume(engine.wx);
  return 0;
}
