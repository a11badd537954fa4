// Bytes from files shown safely in messages: everything outside printable
// ASCII, and '\' itself, is written as \xNN (upper-case hexadecimal).
#pragma once

#include <string>
#include <string_view>

std::string Printable_Text(std::string_view bytes);
