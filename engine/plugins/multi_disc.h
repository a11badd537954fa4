// The plug-ins that steer the script chain across discs: the next script,
// the script shown while the next one's disc is missing, a test of the next
// script's name, and an installed folder added to the script search path.
// They take effect when the current script ends.
#pragma once

#include <cstddef>

struct Engine;

// Script names longer than kScriptNameMax are refused: the chain keeps its
// name.
// Registry texts are read into a buffer of this size, the zero included.
inline constexpr size_t kRegistryTextBuffer = 260;

int MultiCD_Set_Next_Script(Engine& engine, int argc, char** argv);
int MultiCD_Set_Transition_Script(Engine& engine, int argc, char** argv);
int MultiCD_If_Next_Script(Engine& engine, int argc, char** argv);
int MultiCD_Use_Install_Path(Engine& engine, int argc, char** argv);
