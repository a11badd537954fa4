// Opening the scene loaders' files by the game's names.
#include "scene/scene_file.h"

#include <sys/stat.h>

#include "host/path_resolve.h"

std::string Scene_Path(const char* name) { return name ? Path_Resolve(name) : std::string(); }

SceneFile Scene_Open(const char* name) {
  if (!name || !*name) return nullptr;
  const std::string path = Scene_Path(name);
  struct stat info {};
  if (stat(path.c_str(), &info) != 0 || S_ISDIR(info.st_mode)) return nullptr;
  return SceneFile(std::fopen(path.c_str(), "rb"));
}
