// Maps a game's file name onto the Linux file system: '\' and '/' are both
// separators, and every component that does not exist as written is matched
// ignoring the case of A-Z against the names in its folder.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// The path to use for the name. When a component has no match the rest is
// kept as written (so opening it fails, or creating it makes that name).
// Among several case-insensitive matches the exact one wins, else the
// first in byte order, so the choice never depends on directory order.
std::string Path_Resolve(std::string_view name);

// Names of this many characters or more never compare equal, as the
// script texts of Text_Equal.
inline constexpr size_t kNameCompareMax = 256;

// True when the two names are the same ignoring the case of A-Z, with '\'
// and '/' counting as the same character. Texts of kNameCompareMax
// characters or more never match.
bool Name_Equal(std::string_view a, std::string_view b);
