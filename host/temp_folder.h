// The user's temporary folder, ending with '/': $TMPDIR when it is an
// absolute path, else /tmp.
#pragma once

#include <string>

std::string Temp_Folder_From(const char* tmpdir);
std::string Temp_Folder();
