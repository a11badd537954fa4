// The plug-in that opens a document or starts a program. The display goes
// back to the desktop first. A program (a path holding ".exe") is waited
// for, and the display is taken back when it ends; a document is opened
// with the desktop's default application and the engine stays suspended
// until the player comes back to it.
#pragma once

#include <cstddef>
#include <string>

struct Engine;

// Paths longer than this are refused: nothing is opened or started.
inline constexpr size_t kShellPathMax = 259;

// Shell_Execute(file [, verb [, parameters]]). A name without ':' is taken
// from the current folder; the working folder is the path's folder. Every
// name is resolved as the game's files are, ignoring case.
int Shell_Execute(Engine& engine, int argc, char** argv);

// The path and the working folder the call uses; false when the path is
// too long.
bool Shell_Paths(const std::string& current_folder, const std::string& file, std::string& path,
                 std::string& folder);
