// A script that drives the launcher the way a user would, for tests and
// disc authors: actions on the window once its page has loaded, and the
// answers that dialogs get when they are shown. One action per line:
//
//   click HREF      clicks, through the page, the first link whose href is HREF
//   key NAME        sends the key (a GDK key name, e.g. Escape) to the window
//   about           opens the About box from the window's menu
//   shot FILE       writes a PNG picture of the window
//   wait MS         waits that many milliseconds
//   close           closes the window as its close box does
//   answer WORD     the next dialog shown is answered: ok, skip, accept,
//                   decline, cancel or next
//
// Blank lines and lines starting with '#' are skipped. Each window action
// starts when the one before has finished (a click: once the button it ran
// has ended); when they run out, the window closes. Dialogs take the
// answers in order; a dialog that finds none is closed as with Escape.
#pragma once

#include <deque>
#include <optional>
#include <string>

struct HookAction {
  std::string verb;
  std::string argument;
};

class TestHook {
 public:
  // Nothing, with a message in `error`, when the file cannot be read or a
  // line is not an action.
  static std::optional<TestHook> Load(const std::string& path, std::string& error);
  static std::optional<TestHook> Parse(const std::string& text, std::string& error);

  std::optional<HookAction> Next_Action();
  std::optional<std::string> Next_Answer();

 private:
  std::deque<HookAction> actions_;
  std::deque<std::string> answers_;
};
