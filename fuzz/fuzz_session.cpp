// The input as a headless session file: parsed events or one error naming
// its line, never both; every event's frame and names as the grammar
// allows.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "engine/run/headless_session.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  SessionParse parse = Session_Parse(text);
  if (!parse.ok() && (!parse.events.empty() || parse.error.rfind("line ", 0) != 0)) std::abort();
  for (const SessionEvent& e : parse.events) {
    const bool named = e.kind == SessionEvent::Kind::kKey || e.kind == SessionEvent::Kind::kShot;
    if (named == e.name.empty()) std::abort();
    if (e.kind == SessionEvent::Kind::kShot && e.name.find('/') != std::string::npos) std::abort();
  }
  return 0;
}
