// Reading a script line by line, by file name and byte position, through the
// file layer (scripts are read from memory files).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

struct Wendax;

// Physical characters of one line taken at most (comments and blanks count).
inline constexpr int kLineMax = 255;
inline constexpr int kRawLineMax = 257;

// Reads the line starting at *position into `out`, normalised: a line ends at
// CR or LF, and one CR or LF right after it belongs to the same line end; ';'
// starts a comment; '=' is ','; a blank or TAB becomes ',' except at the start
// of the line and right after a ',', where it is dropped; one trailing ',' is
// removed; a-z become A-Z. A line longer than 255 characters is cut there and
// its rest is the next line (a line end right after the 255th character still
// ends this line). A NUL byte ends the line's text. Advances *position past
// the line. Returns 0 when a line was read (possibly empty), -1 at the end of
// the file or on a read error (then `out` is empty).
int Line_Read(Wendax& wx, std::string_view name, std::string& out, int32_t* position);

// The same with the raw rules: blanks and TABs are dropped only while the line
// is still empty, ';' starts a comment, nothing else changes; at most 257
// characters.
int Raw_Line_Read(Wendax& wx, std::string_view name, std::string& out, int32_t* position);
