#include "engine/run/session_trace.h"

#include <algorithm>

#include "engine/engine.h"
#include "host/json_quote.h"
#include "platform/headless/headless_display.h"
#include "platform/headless/png_writer.h"

SessionTrace::SessionTrace(SessionSetup setup) : setup_(std::move(setup)) {
  using Kind = SessionEvent::Kind;
  std::erase_if(setup_.events,
                [](const SessionEvent& e) { return e.kind != Kind::kShot && e.kind != Kind::kQuit; });
  std::stable_sort(setup_.events.begin(), setup_.events.end(),
                   [](const SessionEvent& a, const SessionEvent& b) { return a.frame < b.frame; });
}

void SessionTrace::Line(Engine& engine, const std::string& fields) {
  if (!setup_.trace) return;
  std::fprintf(setup_.trace, "{\"frame\":%llu,%s}\n", static_cast<unsigned long long>(engine.run.frames),
               fields.c_str());
}

void SessionTrace::Warp(Engine& engine, int index, std::string_view name, int kind) {
  Line(engine, "\"event\":\"warp\",\"index\":" + std::to_string(index) + ",\"name\":" + Json_Quote(name) +
                   ",\"kind\":" + std::to_string(kind));
}

void SessionTrace::Test(Engine& engine, std::string_view warp, int position, int id, int kind,
                        TestCause cause) {
  Line(engine, "\"event\":\"test\",\"warp\":" + Json_Quote(warp) +
                   ",\"position\":" + std::to_string(position) + ",\"id\":" + std::to_string(id) +
                   ",\"kind\":" + std::to_string(kind) + ",\"cause\":\"" + Test_Cause_Name(cause) + "\"");
}

void SessionTrace::Plugin(Engine& engine, std::string_view statement) {
  Line(engine, "\"event\":\"plugin\",\"statement\":" + Json_Quote(statement));
}

void SessionTrace::Script(Engine& engine, std::string_view name) {
  Line(engine, "\"event\":\"script\",\"name\":" + Json_Quote(name));
}

void SessionTrace::Debug(Engine& engine, std::string_view text) {
  Line(engine, "\"event\":\"debug\",\"text\":" + Json_Quote(text));
}

// Shots and quits of frame 0 act after the first frame, with those of frame 1.
void SessionTrace::Frame(Engine& engine) {
  const uint64_t frame = engine.run.frames;
  while (next_ < setup_.events.size() && setup_.events[next_].frame <= frame) {
    const SessionEvent& e = setup_.events[next_++];
    if (e.kind == SessionEvent::Kind::kQuit) {
      engine.run.quit = true;
    } else if (!setup_.shots_dir.empty() && setup_.display && !setup_.display->Presented().empty()) {
      const std::string path = setup_.shots_dir + "/" + e.name + ".png";
      if (!Save_Png(setup_.display->Last_Presented(), path) && error_.empty())
        error_ = "cannot write the screenshot " + path;
    }
  }
  if (frame >= setup_.max_frames) engine.run.quit = true;
}

void SessionTrace::End(Engine& engine) {
  Line(engine, "\"event\":\"end\"");
  if (setup_.trace) std::fflush(setup_.trace);
}
