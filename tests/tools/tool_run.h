// Runs the built kvrtool program and collects what it did.
#pragma once

#include <string>
#include <vector>

struct ToolRun {
  int status = -1;  // the exit status; 128 + the signal number when killed
  std::string out;
  std::string err;
};

// Runs kvrtool with the arguments in the folder `cwd` ("" = the current one),
// with standard input from /dev/null.
ToolRun Run_Kvrtool(const std::vector<std::string>& args, const std::string& cwd = "");
