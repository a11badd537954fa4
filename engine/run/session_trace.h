// The trace of a headless session, one JSON object per line:
//   {"frame":F,"event":"warp","index":I,"name":"..","kind":K}
//   {"frame":F,"event":"test","warp":"..","position":P,"id":I,"kind":K,"cause":".."}
//   {"frame":F,"event":"plugin","statement":".."}
//   {"frame":F,"event":"debug","text":".."}
//   {"frame":F,"event":"script","name":".."}
//   {"frame":F,"event":"end"}
// F is the number of frames presented so far; texts are the game's bytes,
// written by Json_Quote (host/json_quote.h). It also carries out the
// session's screenshots and its quit, and ends the program after the
// largest frame count.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "engine/run/headless_session.h"
#include "engine/run/run_trace.h"

class HeadlessDisplay;

struct SessionSetup {
  std::FILE* trace = nullptr;  // null: no trace written
  const HeadlessDisplay* display = nullptr;
  std::vector<SessionEvent> events;  // the shots and quits are used
  std::string shots_dir;             // where shots go; empty: shots are not written
  uint64_t max_frames = 100000;
};

class SessionTrace : public RunTrace {
 public:
  explicit SessionTrace(SessionSetup setup);

  void Warp(Engine& engine, int index, std::string_view name, int kind) override;
  void Test(Engine& engine, std::string_view warp, int position, int id, int kind, TestCause cause) override;
  void Plugin(Engine& engine, std::string_view statement) override;
  void Script(Engine& engine, std::string_view name) override;
  void Debug(Engine& engine, std::string_view text) override;
  void Frame(Engine& engine) override;
  void End(Engine& engine) override;

  // The first screenshot that could not be written ("" when none).
  const std::string& Error() const { return error_; }

 private:
  void Line(Engine& engine, const std::string& fields);

  SessionSetup setup_;
  size_t next_ = 0;  // the next shot or quit, events sorted by frame
  std::string error_;
};
