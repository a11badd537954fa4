// Runs the built kvrtool program and collects what it did.
#pragma once

#include <string>
#include <vector>

#include "tests/support/program_run.h"

using ToolRun = ProgramRun;

// Runs kvrtool with the arguments in the folder `cwd` ("" = the current one),
// with standard input from /dev/null.
inline ToolRun Run_Kvrtool(const std::vector<std::string>& args, const std::string& cwd = "") {
  return Run_Program(KVRTOOL_PATH, args, cwd);
}
