// The process's current folder.
#pragma once

#include <string>
#include <string_view>

// Makes the folder current (its name resolved ignoring case). 0 or -1.
int Wendax_Set_Folder(std::string_view path);
// The current folder, ending with '/'; "" when it cannot be read.
std::string Wendax_Get_Folder();
// Makes the drive named by the path's first letter current: the folder
// "X:", else "X:\" (on Linux a folder of that name in the current folder).
// -1 when the path does not start with a letter or neither exists.
int Wendax_Set_Drive(std::string_view path);
