// Runs a built program and collects what it did.
#pragma once

#include <string>
#include <vector>

struct ProgramRun {
  int status = -1;  // the exit status; 128 + the signal number when killed
  std::string out;
  std::string err;
};

// Runs `program` with the arguments in the folder `cwd` ("" = the current
// one), with standard input from /dev/null.
ProgramRun Run_Program(const std::string& program, const std::vector<std::string>& args,
                       const std::string& cwd = "");
