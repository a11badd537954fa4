// How the scene loaders reach their files: by the game's name resolved
// ignoring case, through stdio (the loaders read disk files only).
#pragma once

#include <cstdio>
#include <memory>
#include <string>

// The name as the file system has it; empty for a null name.
std::string Scene_Path(const char* name);

struct Scene_File_Closer {
  void operator()(std::FILE* f) const { std::fclose(f); }
};
using Scene_File = std::unique_ptr<std::FILE, Scene_File_Closer>;

// Opens the named file "rb"; null when it cannot be opened or is a folder.
Scene_File Scene_Open(const char* name);
