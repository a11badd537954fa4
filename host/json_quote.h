// JSON strings for the programs' machine-readable output (kvrtool's JSON,
// the engine's headless trace, the launcher's settings dump). '"' and '\'
// are escaped, \b \f \n \r \t keep their short forms, every other byte below
// 0x20 and 0x7F is written as \u00xx, so any bytes give valid JSON.
#pragma once

#include <string>
#include <string_view>

// 8-bit text read as Latin-1: bytes from 0x80 up are written as \u00xx too.
std::string Json_Quote(std::string_view bytes);
// UTF-8 text: bytes from 0x80 up are kept as they are.
std::string Json_Quote_Utf8(std::string_view text);
