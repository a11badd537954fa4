#include "autorun/startup_check.h"

#include <sys/stat.h>

#include "autorun/settings.h"
#include "host/process_start.h"

namespace {

bool Is_File(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

}  // namespace

bool Startup_Files_Present(const std::string& launcher_dir) {
  if (!Is_File(Native_Path(Settings_Path(launcher_dir)))) return false;
  // LauncherDir + ".\Game.exe", appended directly: Windows drops the dot that
  // ends "DIR.", so this is Game.exe in the folder (the current one when
  // LauncherDir is empty).
  const bool bare = launcher_dir.empty() || launcher_dir.back() == '\\' || launcher_dir.back() == '/';
  const std::string folder = bare ? launcher_dir + ".\\" : launcher_dir + "\\";
  const std::string game = Native_Path(folder + "Game.exe");
  const std::string native = Native_Path(folder + "Game");
  return Is_File(game) || Is_Native_Executable(native);
}
