// Windows-1252 text, as the launcher's settings and licence files hold it,
// converted to UTF-8 for GTK and for printing.
#pragma once

#include <string>
#include <string_view>

// Every byte as its Windows-1252 character; the five bytes that code no
// character (0x81, 0x8D, 0x8F, 0x90, 0x9D) become U+FFFD.
std::string Text_1252_To_Utf8(std::string_view text);
// The character of one byte, U+FFFD for the five that code none.
char32_t Char_1252(unsigned char byte);

// UTF-8 text in Windows-1252: a character without a code, and a byte that
// is not part of a valid sequence, become '?'.
std::string Utf8_To_1252(std::string_view text);
