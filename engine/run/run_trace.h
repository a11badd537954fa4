// What a run reports as it goes: warp entries, test runs with their cause,
// plug-in statements, scripts of the chain, every presented frame, the end.
// Headless sessions write it as JSON lines; a run without one reports
// nothing.
#pragma once

#include <string_view>

#include "engine/run/run_state.h"

struct Engine;

class RunTrace {
 public:
  virtual ~RunTrace() = default;
  virtual void Warp(Engine& engine, int index, std::string_view name, int kind) = 0;
  virtual void Test(Engine& engine, std::string_view warp, int position, int id, int kind,
                    TestCause cause) = 0;
  virtual void Plugin(Engine& engine, std::string_view statement) = 0;
  virtual void Script(Engine& engine, std::string_view name) = 0;
  virtual void Debug(Engine& engine, std::string_view text) = 0;
  // After every presented frame; may set engine.run.quit.
  virtual void Frame(Engine& engine) = 0;
  virtual void End(Engine& engine) = 0;
};
