// What the launcher's steps need from its user interface: messages, the
// install question, the licence agreement, the splash picture and the wait
// for a started program. The GTK program implements it; a run without a
// window hands it a null window.
#pragma once

#include <string>
#include <string_view>

#include "autorun/settings.h"
#include "autorun/splash_sound.h"
#include "host/process_start.h"

enum class MessageIcon { kStop, kInformation };

// The launcher's window, as the steps pass it back to the interface.
class LauncherWindow;

class LauncherUi {
 public:
  virtual ~LauncherUi() = default;
  // UTF-8 text, shown in a message box captioned with the program's name.
  virtual void Message(std::string_view text, MessageIcon icon) = 0;
  // The install question for the entry: true for OK, false for Skip,
  // Escape or the close box.
  virtual bool Install_Prompt(const CInstallItem& entry) = 0;
  // The agreement (UTF-8 text): true when the user accepted it.
  virtual bool License_Agreement(const std::string& text) = 0;
  // Shows the splash picture (a native path) until its timers end it, with
  // the sound file (a native path, or empty) by the splash's SoundOption.
  // False, with nothing shown or played, when the picture does not load.
  virtual bool Splash(const CSettingsSplash& splash, const std::string& picture, const std::string& sound,
                      SplashSound& player) = 0;
  // Waits for the program started from the window, keeping the window
  // painted and, when `disable` is set, insensitive; input made during the
  // wait is lost.
  virtual void Wait(LauncherWindow& window, ChildProcess& child, bool disable) = 0;
  // One line of the run's trace (programs started, dialogs, steps), for
  // tests and disc authors.
  virtual void Trace(std::string_view line) { (void)line; }
};
