#include "platform/files/folders.h"

#include <unistd.h>

#include <climits>

#include "host/path_resolve.h"

int Wendax_Set_Folder(std::string_view path) {
  if (path.empty()) return -1;
  return ::chdir(Path_Resolve(path).c_str()) == 0 ? 0 : -1;
}

std::string Wendax_Get_Folder() {
  char buffer[PATH_MAX];
  if (!::getcwd(buffer, sizeof buffer)) return {};
  std::string folder(buffer);
  if (folder.back() != '/') folder.push_back('/');
  return folder;
}

int Wendax_Set_Drive(std::string_view path) {
  if (path.empty()) return -1;
  char letter = path[0];
  bool is_letter = (letter >= 'A' && letter <= 'Z') || (letter >= 'a' && letter <= 'z');
  if (!is_letter) return -1;
  std::string drive{letter, ':'};
  if (Wendax_Set_Folder(drive) == 0) return 0;
  return Wendax_Set_Folder(drive + '\\');
}
