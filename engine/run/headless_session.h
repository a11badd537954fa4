// Headless sessions: a game played without a screen on the virtual clock,
// from a session file of input events, writing a JSON trace and the
// screenshots the session asks for.
//
// A session file has one event per line, "FRAME EVENT ARGS", applied once
// FRAME frames have been presented, before that frame's input is read:
//   move DX DY    mouse movement in pixels
//   click, rclick the left or right button pressed and released
//   key NAME      Escape, Enter, Space, Backspace, Tab, F1..F12, Left,
//                 Right, Up, Down, or one printable character
//   shot NAME     the frame presented at FRAME, written as DIR/NAME.png
//   quit          the program ends through its normal shutdown
// Blank lines and lines starting with '#' are comments.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class HeadlessDisplay;

struct SessionEvent {
  enum class Kind { kMove, kClick, kRightClick, kKey, kShot, kQuit };
  uint64_t frame = 0;
  Kind kind = Kind::kQuit;
  int dx = 0;
  int dy = 0;
  std::string name;  // the key name, or the screenshot name
};

struct SessionParse {
  std::vector<SessionEvent> events;  // in file order
  std::string error;                 // "line N: ..." when the file is malformed
  bool ok() const { return error.empty(); }
};

// Parses a session file's text.
SessionParse Session_Parse(std::string_view text);

// Posts the input events to the virtual window, each due at its frame.
void Session_Post_Input(const std::vector<SessionEvent>& events, HeadlessDisplay& display);
