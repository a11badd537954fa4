// The script run of kvr_viewer until the frame loop exists: loads each script
// of the chain exactly as a run does, reports what it holds on the debug
// output, and ends the run.
#pragma once

#include "engine/script_chain.h"

class LoadOnlyRunner : public ScriptRunner {
 public:
  void Engine_Run(Engine& engine, const std::string& file, const std::string& folder) override;
};
