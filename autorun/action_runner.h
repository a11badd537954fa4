// The steps of a button, or of the run without a window: splash, licence
// agreement, install entries and launch entries.
#pragma once

#include <string>

#include "autorun/launcher_ui.h"
#include "autorun/remembered_steps.h"
#include "autorun/settings.h"

// String 105, 107.
inline constexpr const char* kAlreadyInstalled = "The product is already installed.";
inline constexpr const char* kNotInstalled =
    "The selected item is not yet installed on your computer. Please run the installation and then try "
    "again.";
// The agreement file exists but cannot be read; the agreement then counts as
// declined.
inline constexpr const char* kLicenseUnreadable = "The license agreement cannot be read: ";

class CActionRunner {
 public:
  CActionRunner(CAutorunSettings* settings, std::string launcher_dir, LauncherUi& ui, RegistryStore& registry,
                SplashSound& sound);

  // The global sections with the name "Silent"; the last launch entry is
  // never waited for. False when the agreement was declined.
  bool RunSilent();
  // The button's sections with its Name. False when the agreement was
  // declined or an install button has nothing left to install.
  bool RunButton(const CButtonData& button, LauncherWindow* window);

  // True when a start was attempted; false when the target is missing.
  bool RunLaunch(const CLaunchItem& entry, LauncherWindow* window, bool disable_while_waiting,
                 bool never_wait);
  // True when the entry is due (check only) or was run or skipped by the
  // user; false when it is not due.
  bool RunInstall(const CInstallItem& entry, const std::string& name, LauncherWindow* window,
                  bool disable_while_waiting, bool check_only, bool never_wait);
  // False when the user declined the agreement.
  bool RunLicense(const CSettingsLicense& license, const std::string& name);
  // The picture when Image is true, else the sound alone when Sound is.
  void RunSplash(const CSettingsSplash& splash);
  // The sound alone: options 1 and 2 play it once to its end, 3 repeats it
  // for SoundLength seconds.
  void PlaySplashSound(const CSettingsSplash& splash);

  // Programs: the native path, the Windows-style parameter text, the
  // working folder (empty: the launcher's own). Maximize has no effect on
  // the X11 desktop, where a program places its own windows.
  bool StartWithCreateProcess(LauncherWindow* window, const std::string& file, const std::string& parameters,
                              const std::string& directory, bool wait, bool maximize,
                              bool disable_while_waiting);
  // Documents open with the desktop's default application. The wait covers
  // the opener only: desktop openers return before the application ends.
  bool StartWithShell(LauncherWindow* window, const std::string& file, const std::string& parameters,
                      const std::string& directory, bool wait, bool maximize, bool disable_while_waiting);
  bool WaitForProgram(LauncherWindow* window, ChildProcess& process, bool disable_while_waiting);

 private:
  StepRecords Records() const;
  // LauncherDir joined with a value of the file, as the native path.
  std::string Program_Path(const std::string& value) const;
  std::string Media_Path(const std::string& value) const;

  CAutorunSettings* settings_;
  std::string launcher_dir_;
  LauncherUi& ui_;
  RegistryStore& registry_;
  SplashSound& sound_;
};
