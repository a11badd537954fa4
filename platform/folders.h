// The process's current folder.
#pragma once

#include <string>
#include <string_view>

// Makes the folder current (its name resolved ignoring case). 0 or -1.
int Wendax_Set_Folder(std::string_view path);
// The current folder, ending with '/'; "" when it cannot be read.
std::string Wendax_Get_Folder();
