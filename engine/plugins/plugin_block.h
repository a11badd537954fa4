// PLUGIN blocks: each statement is a built-in block statement or a call of
// a plug-in from the extension table, then from the engine table; a name
// found in neither goes to the debug output. A statement without '(' or
// with a malformed argument list raises the script error marker and ends
// the block.
#pragma once

#include <string>
#include <vector>

struct Engine;

void Plugin_Run_Block(Engine& engine, const std::vector<std::string>& statements);

// Raises the script error marker and paints its mark at once: the first
// 307200 bytes of the frame buffer (rows 0 to 239 at 640 x 480) set to 31.
void Script_Error_Set(Engine& engine);
// The mark again, while the marker is raised.
void Script_Error_Fill(Engine& engine);
