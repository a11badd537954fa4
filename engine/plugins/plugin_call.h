// Calls of plug-in functions from the statements of PLUGIN blocks: the
// statement is cut into tokens, its first token names the function in a
// table, the others are its arguments.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// A plug-in function, called with the context given to Plugin_Call (the
// engine the statement runs in): argv[0] is the name as written, argv[1..argc-1] the
// arguments, argv[argc] null. The strings live only for the call. The
// result is ignored.
using Plugin_Function = int (*)(void* context, int argc, char** argv);

struct Plugin_Entry {
  const char* name;  // null ends a table
  Plugin_Function function;
};

// Statements are copied into a working buffer of this size, so the longest
// is one less; longer statements are cut to that length.
inline constexpr size_t kEnginePluginBuffer = 256;
inline constexpr size_t kExtensionPluginBuffer = 776;
inline constexpr size_t kPluginTokenMax = 31;  // the name included

// The tokens of a statement cut to `buffer - 1` characters. Token characters
// are ASCII letters and digits and " ' . / : \ _; every other character
// separates tokens and is dropped. A token starting with '"' runs to the
// next '"' (or the end), separators included, without its quotes. At most
// kPluginTokenMax tokens; later ones are ignored.
std::vector<std::string> Plugin_Tokens(std::string_view statement, size_t buffer);

// Looks the statement's first token up in the table (names ignoring ASCII
// case, the first match wins) and calls the function with the tokens; false
// when no entry has that name (nothing is called then).
bool Plugin_Call(std::string_view statement, const Plugin_Entry* table, size_t buffer, void* context);
