// The licence agreement's text as the launcher shows it.
#pragma once

#include <optional>
#include <string>

// The file read in blocks of 1024 bytes; of each block the bytes before its
// first zero byte are kept (a zero byte cuts the rest of its block). Nothing
// when the file cannot be opened or read. The text stays Windows-1252.
std::optional<std::string> License_Text_Read(const std::string& path);
