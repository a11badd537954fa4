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
  // LauncherDir + ".\Game.exe", appended directly: Game.exe in the folder.
  const std::string game = Native_Path(launcher_dir + ".\\Game.exe");
  const std::string native = Native_Path(launcher_dir + ".\\Game");
  return Is_File(game) || Is_Native_Executable(native);
}
