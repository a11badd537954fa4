// Typed text as the window's characters: UTF-8 from SDL becomes the
// single-byte Windows-1252 codes a Windows window receives.
#pragma once

#include <string_view>
#include <vector>

// Characters that have no Windows-1252 code, and malformed bytes, are left out.
std::vector<int> Window_Characters(std::string_view utf8);
