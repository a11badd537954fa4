// Runs the commands of one test, synchronously, from its first command to its
// last. Commands are stored as normalised text and split into fields each
// time they run; the dispatch is on field 0.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "engine/script/script_data.h"

struct Engine;

enum class TestResult {
  kFinished,    // the last command ran, or RETURN ended the test
  kWarpChange,  // Warp_Index holds the new warp
  kScriptEnd,   // END: the script run ends
};

// Runs `test`, a test of the current warp. `entry_test` selects the
// entry-test form of PLAYRNDSOUND (its frequency is field 3, not field 4).
TestResult Run_Test(Engine& engine, const TEST& test, bool entry_test);

// The statements of a stored PLUGIN command: the text after its first ','
// cut at every ';' (the text after the last ';' is not a statement).
std::vector<std::string> Plugin_Statements(std::string_view command);

// Pitch from SETANGLE: the low 13 bits read as a signed 13-bit number.
int32_t Angle_Pitch_13(int32_t value);
