#include "host/temp_folder.h"

#include <cstdlib>

std::string Temp_Folder_From(const char* tmpdir) {
  std::string folder = (tmpdir && *tmpdir == '/') ? tmpdir : "/tmp";
  if (folder.back() != '/') folder.push_back('/');
  return folder;
}

std::string Temp_Folder() { return Temp_Folder_From(std::getenv("TMPDIR")); }
