// How the scene loaders reach their files: by the game's name resolved
// ignoring case, through stdio (the loaders read disk files only).
#pragma once

#include <cstdio>
#include <memory>
#include <string>

// The name as the file system has it; empty for a null name.
std::string Scene_Path(const char* name);

struct SceneFileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};
using SceneFile = std::unique_ptr<std::FILE, SceneFileCloser>;

// Opens the named file "rb"; null when it cannot be opened or is a folder.
SceneFile Scene_Open(const char* name);
