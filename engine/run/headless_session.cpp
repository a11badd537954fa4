#include "engine/run/headless_session.h"

#include <charconv>

#include "platform/headless/headless_display.h"
#include "platform/input/virtual_keys.h"

namespace {

struct KeyStroke {
  std::string_view name;
  int virtual_key;
  int scan_code;
  bool extended;
  int character;  // 0: none
};

// As the keyboard delivers them: key-down, the character, key-up. Escape
// and the function and arrow keys give no character.
constexpr KeyStroke kKeys[] = {
    {"Escape", kVkEscape, 0x01, false, 0}, {"Enter", kVkReturn, 0x1C, false, 13},
    {"Space", kVkSpace, 0x39, false, ' '}, {"Backspace", kVkBack, 0x0E, false, 8},
    {"Tab", kVkTab, 0x0F, false, 9},       {"Left", kVkLeft, 0x4B, true, 0},
    {"Right", kVkRight, 0x4D, true, 0},    {"Up", kVkUp, 0x48, true, 0},
    {"Down", kVkDown, 0x50, true, 0},
};

std::optional<KeyStroke> Key_Named(std::string_view name) {
  for (const KeyStroke& key : kKeys)
    if (key.name == name) return key;
  if (name.size() >= 2 && name[0] == 'F') {
    int n = 0;
    auto [end, ec] = std::from_chars(name.data() + 1, name.data() + name.size(), n);
    if (ec == std::errc() && end == name.data() + name.size() && n >= 1 && n <= 12)
      return KeyStroke{name, kVkF1 + n - 1, n <= 10 ? 0x3B + n - 1 : 0x57 + n - 11, false, 0};
    return std::nullopt;
  }
  if (name.size() == 1 && name[0] > ' ' && name[0] < 127) {
    const char c = name[0];
    int vk = 0;
    if (c >= 'a' && c <= 'z') vk = kVkA + (c - 'a');
    if (c >= 'A' && c <= 'Z') vk = kVkA + (c - 'A');
    if (c >= '0' && c <= '9') vk = kVk0 + (c - '0');
    return KeyStroke{name, vk, 0, false, c};
  }
  return std::nullopt;
}

std::vector<std::string_view> Words(std::string_view line) {
  std::vector<std::string_view> words;
  size_t at = 0;
  while (at < line.size()) {
    while (at < line.size() && (line[at] == ' ' || line[at] == '\t' || line[at] == '\r')) ++at;
    size_t end = at;
    while (end < line.size() && line[end] != ' ' && line[end] != '\t' && line[end] != '\r') ++end;
    if (end > at) words.push_back(line.substr(at, end - at));
    at = end;
  }
  return words;
}

template <class T>
bool Number(std::string_view word, T& value) {
  auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), value);
  return ec == std::errc() && end == word.data() + word.size();
}

// One line's event, or an error text.
std::string Parse_Line(const std::vector<std::string_view>& w, SessionEvent& e) {
  using Kind = SessionEvent::Kind;
  if (w.size() < 2) return "expected FRAME EVENT";
  if (!Number(w[0], e.frame)) return "\"" + std::string(w[0]) + "\" is not a frame number";
  const std::string_view event = w[1];
  const size_t args = w.size() - 2;
  if (event == "move") {
    if (args != 2 || !Number(w[2], e.dx) || !Number(w[3], e.dy)) return "move takes DX DY";
    e.kind = Kind::kMove;
  } else if (event == "click" || event == "rclick" || event == "quit") {
    if (args != 0) return std::string(event) + " takes nothing";
    e.kind = event == "click" ? Kind::kClick : event == "rclick" ? Kind::kRightClick : Kind::kQuit;
  } else if (event == "key") {
    if (args != 1 || !Key_Named(w[2]))
      return "key takes one NAME (Escape, Enter, Space, Backspace, Tab, F1..F12, "
             "Left, Right, Up, Down or one printable character)";
    e.kind = Kind::kKey;
    e.name = std::string(w[2]);
  } else if (event == "shot") {
    if (args != 1 || w[2].find('/') != std::string_view::npos || w[2] == "." || w[2] == "..")
      return "shot takes one NAME without '/'";
    e.kind = Kind::kShot;
    e.name = std::string(w[2]);
  } else {
    return "unknown event \"" + std::string(event) + "\"";
  }
  return {};
}

}  // namespace

SessionParse Session_Parse(std::string_view text) {
  SessionParse parse;
  size_t number = 0;
  while (!text.empty()) {
    ++number;
    const size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    const std::vector<std::string_view> words = Words(line);
    if (words.empty() || words[0][0] == '#') continue;
    SessionEvent event;
    if (std::string error = Parse_Line(words, event); !error.empty()) {
      parse.error = "line " + std::to_string(number) + ": " + error;
      parse.events.clear();
      return parse;
    }
    parse.events.push_back(std::move(event));
  }
  return parse;
}

void Session_Post_Input(const std::vector<SessionEvent>& events, HeadlessDisplay& display) {
  using Kind = SessionEvent::Kind;
  for (const SessionEvent& e : events) {
    switch (e.kind) {
      case Kind::kMove: display.Mouse_Move(e.dx, e.dy, e.frame); break;
      case Kind::kClick:
      case Kind::kRightClick: {
        const int button = e.kind == Kind::kClick ? kVkLButton : kVkRButton;
        display.Mouse_Button(button, true, e.frame);
        display.Mouse_Button(button, false, e.frame);
        break;
      }
      case Kind::kKey: {
        const KeyStroke key = *Key_Named(e.name);
        display.Key_Down(key.virtual_key, key.scan_code, key.extended, e.frame);
        if (key.character) display.Character(key.character, e.frame);
        display.Key_Up(key.virtual_key, key.scan_code, key.extended, e.frame);
        break;
      }
      case Kind::kShot:
      case Kind::kQuit: break;
    }
  }
}
