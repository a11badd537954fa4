// The engine's text functions for script words, names and numbers. All ASCII:
// only A-Z and a-z fold; bytes above 127 compare exactly.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// Texts of this many characters or more never compare equal.
inline constexpr size_t kTextCompareMax = 256;
// Fields that start at or beyond this character of a line do not exist.
inline constexpr size_t kLineFieldMax = 255;
// Path_File_Name looks at this many characters of a path.
inline constexpr size_t kPathTextMax = 255;

// 0 when a and b are equal ignoring the case of A-Z, -1 otherwise. At most
// 256 characters are compared, so texts of 256 characters or more give -1,
// and a null text gives -1.
int Text_Equal(const char* a, const char* b);
int Text_Equal(std::string_view a, std::string_view b);

// Optional leading "-", then decimal digits up to the first other character;
// null, empty or digitless text gives 0. Wraps modulo 2^32 like a 32-bit
// accumulator.
int32_t Text_To_Int(const char* text);
int32_t Text_To_Int(std::string_view text);

// Hexadecimal digits 0-9, A-F, a-f up to the first other character.
int32_t Hex_To_Int(std::string_view text);

// Decimal, with "-" for negative values.
std::string Int_To_Text(int32_t value);
// Exactly 8 upper-case hexadecimal digits, most significant first.
std::string Int_To_Hex8(uint32_t value);

void Text_Upper(std::string& text);

// count characters from the 1-based position start, fewer when the text ends
// first; a start of 0 or less gives an empty text.
std::string Text_Mid(std::string_view text, int start, int count);

// The part after the last '/', ':' or '\' (the whole path when there is none),
// looking at the first 255 characters of the path only.
std::string Path_File_Name(std::string_view path);

void Bytes_Reverse(void* buffer, size_t length);

// The n-th comma-separated field of a line (fields numbered from 0). Returns
// 0 with the field in `out`, or -1 with `out` empty when the line is empty or
// has fewer fields. Only the first 255 characters of the line count.
int Field_Get(std::string_view line, std::string& out, int n);

// True for A-Z/a-z folded equality of single bytes.
inline char Text_Fold(char c) { return (c >= 'A' && c <= 'Z') ? char(c + 32) : c; }
