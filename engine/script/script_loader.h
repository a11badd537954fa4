// Loading a script file into the engine's SCRIPT_DATA.
//
// Layout: [BOOL] lines declare variables (all of them, wherever they are, in
// a first pass over the whole file); each [WARP],picture,zones line declares
// a warp, directly followed by its [TEST],id,kind lines, each followed by its
// command lines. A PLUGIN command opens a block of raw lines up to an
// "endplugin" line, stored as one command "PLUGIN," + every line + ";".
// Loading stops silently at a command whose keyword is unknown; what was read
// stays loaded.
#pragma once

#include <string>
#include <string_view>

struct Engine;

inline constexpr const char* kPluginUnterminated = "Syntax error in PLUGIN intruction, ENDPLUGIN not found!";

// The packed form of a script name: the name without its last three
// characters, followed by "pak" ("" for names shorter than three characters,
// which have no packed form).
std::string Script_Packed_Name(std::string_view name);

// Loads the script (its packed form when that exists) into engine.script,
// which stays absent when the file has no [BOOL] and no [WARP] line. A
// [WARP] line without a picture name is read but not kept, and said so on
// the debug output.
void Script_Load(Engine& engine, std::string_view name);
void Script_Free(Engine& engine);

// True when field 0 of the line is a command keyword accepted by the loader.
bool Script_Keyword_Known(std::string_view keyword);
