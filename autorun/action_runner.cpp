#include "autorun/action_runner.h"

#include <chrono>
#include <cstdlib>
#include <thread>

#include <sys/stat.h>

#include "autorun/install_versions.h"
#include "autorun/license_text.h"
#include "autorun/registry_util.h"
#include "autorun/profile_file.h"
#include "host/text_1252.h"

namespace {

bool Exists(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0;
}

bool Ends_With_Exe(const std::string& path) {
  return path.size() >= 3 && Profile_Equal(std::string_view(path).substr(path.size() - 3), "exe");
}

std::string Search_Path() {
  const char* path = std::getenv("PATH");
  return path ? path : "";
}

// A Windows program "X.exe" is there when the native program "X" beside it
// is, by the program-start rule.
bool Target_Exists(const std::string& path) {
  return Exists(path) || (Ends_With_Exe(path) && Program_Command(path, "", Search_Path()).has_value());
}

// The path up to its last separator; empty when there is none or it is the
// first character.
std::string Folder_Of(const std::string& path) {
  const size_t cut = path.find_last_of('/');
  return cut == std::string::npos || cut == 0 ? std::string() : path.substr(0, cut);
}

}  // namespace

CActionRunner::CActionRunner(CAutorunSettings* settings, std::string launcher_dir, LauncherUi& ui,
                             RegistryStore& registry, SplashSound& sound)
    : settings_(settings),
      launcher_dir_(std::move(launcher_dir)),
      ui_(ui),
      registry_(registry),
      sound_(sound) {}

StepRecords CActionRunner::Records() const {
  return StepRecords{registry_, settings_->CustomerID, settings_->CdID};
}

std::string CActionRunner::Program_Path(const std::string& value) const {
  return Native_Path(Resolve_Program_Path(launcher_dir_, value));
}

std::string CActionRunner::Media_Path(const std::string& value) const {
  return Native_Path(Resolve_Media_Path(launcher_dir_, value));
}

bool CActionRunner::RunSilent() {
  RunSplash(settings_->Splash);
  if (!RunLicense(settings_->License, "Silent")) return false;
  for (const CInstallItem& entry : settings_->Install.Items)
    RunInstall(entry, "Silent", nullptr, true, false, false);
  const auto& launches = settings_->Launch.Items;
  for (size_t i = 0; i < launches.size(); ++i)
    RunLaunch(launches[i], nullptr, true, i + 1 == launches.size());
  return true;
}

bool CActionRunner::RunButton(const CButtonData& button, LauncherWindow* window) {
  const std::string& name = button.Name;
  const auto& installs = button.Install.Items;
  if (button.ButtonType == 1 && !installs.empty()) {
    bool due = false;
    for (const CInstallItem& entry : installs)
      if ((due = RunInstall(entry, name, window, true, true, false))) break;
    if (!due) {
      ui_.Message(kAlreadyInstalled, MessageIcon::kInformation);
      return false;
    }
  }
  RunSplash(button.Splash);
  if (!RunLicense(button.License, name)) return false;
  if (button.ButtonType == 1) {
    for (size_t i = 0; i < installs.size(); ++i)
      RunInstall(installs[i], name, window, true, false, i + 1 == installs.size() && button.WindowClose);
  }
  if (button.ButtonType == 2) {
    const auto& launches = button.Launch.Items;
    for (size_t i = 0; i < launches.size(); ++i)
      RunLaunch(launches[i], window, true, i + 1 == launches.size() && button.WindowClose);
  }
  return true;
}

bool CActionRunner::RunLaunch(const CLaunchItem& entry, LauncherWindow* window, bool disable_while_waiting,
                              bool never_wait) {
  std::string path;
  if (entry.LaunchType == 1) {
    path = Program_Path(entry.File);
  } else if (entry.LaunchType == 2) {
    RegistryUtil reg(registry_);
    if (!reg.ReadRegString(entry.RegKey, entry.RegValue, path)) {
      ui_.Message(kNotInstalled, MessageIcon::kInformation);
      return false;
    }
    path = Native_Path(path);
  }
  if (path.empty() || !Target_Exists(path)) {
    if (entry.LaunchType == 2) ui_.Message(kNotInstalled, MessageIcon::kInformation);
    ui_.Trace("launch missing " + path);
    return false;
  }
  const std::string directory = Folder_Of(path);
  const bool wait = entry.LaunchAndWait && !never_wait;
  // Kiosk names a browser of the original platform, which never opens files
  // here: it is read and has no effect.
  if (Ends_With_Exe(path))
    StartWithCreateProcess(window, path, entry.Parameters, directory, wait, entry.Maximize,
                           disable_while_waiting);
  else
    StartWithShell(window, path, entry.Parameters, directory, wait, entry.Maximize, disable_while_waiting);
  return true;
}

bool CActionRunner::StartWithCreateProcess(LauncherWindow* window, const std::string& file,
                                           const std::string& parameters, const std::string& directory,
                                           bool wait, bool maximize, bool disable_while_waiting) {
  (void)maximize;
  std::optional<ChildProcess> child = Program_Start(file, parameters, directory);
  ui_.Trace((child ? "start " : "start failed ") + file + (parameters.empty() ? "" : " " + parameters));
  if (!child) return false;
  if (wait) WaitForProgram(window, *child, disable_while_waiting);
  return true;
}

bool CActionRunner::StartWithShell(LauncherWindow* window, const std::string& file,
                                   const std::string& parameters, const std::string& directory, bool wait,
                                   bool maximize, bool disable_while_waiting) {
  (void)parameters, (void)directory, (void)maximize;
  std::optional<ChildProcess> opener = Document_Open(file);
  ui_.Trace((opener ? "open " : "open failed ") + file);
  if (!opener) return false;
  if (wait) WaitForProgram(window, *opener, disable_while_waiting);
  return true;
}

bool CActionRunner::WaitForProgram(LauncherWindow* window, ChildProcess& process,
                                   bool disable_while_waiting) {
  ui_.Trace("wait " + std::to_string(process.Pid()));
  if (window)
    ui_.Wait(*window, process, disable_while_waiting);
  else
    process.Wait();
  ui_.Trace("waited " + std::to_string(process.Pid()));
  return true;
}

bool CActionRunner::RunInstall(const CInstallItem& entry, const std::string& name, LauncherWindow* window,
                               bool disable_while_waiting, bool check_only, bool never_wait) {
  const std::string entry_key = Install_Entry_Key(entry.File);
  if (entry.When == 1 && IsMarked(Records(), StepKind::kInstall, name, entry_key)) return false;
  if (entry.When == 3) {
    std::string viewer, version;
    if (FindViewer(entry.FileExtension, viewer)) {
      if (entry.WhenViewer == 1 || entry.Version.empty()) return false;
      if (GetFileVersionText(viewer, true, version) && CompareVersions(version, entry.Version) != 2)
        return false;
    }
  }
  if (check_only) return true;
  if (entry.Prompt && !ui_.Install_Prompt(entry)) {
    ui_.Trace("install skipped " + entry.File);
    return true;
  }
  const std::string path = Program_Path(entry.File);
  const bool wait = entry.LaunchAndWait && !never_wait;
  if (Ends_With_Exe(path))
    StartWithCreateProcess(window, path, entry.Parameters, Folder_Of(path), wait, false,
                           disable_while_waiting);
  else
    StartWithShell(window, path, entry.Parameters, Folder_Of(path), wait, false, disable_while_waiting);
  Mark(Records(), StepKind::kInstall, name, entry_key);
  return true;
}

bool CActionRunner::RunLicense(const CSettingsLicense& license, const std::string& name) {
  if (!license.Active) return true;
  if (license.Display == 1 && IsMarked(Records(), StepKind::kLicense, name)) return true;
  if (license.File.empty()) return true;
  const std::string path = Media_Path(license.File);
  if (!Exists(path)) return true;
  std::optional<std::string> text = License_Text_Read(path);
  if (!text) {
    ui_.Message(kLicenseUnreadable + Text_1252_To_Utf8(license.File), MessageIcon::kStop);
    return false;
  }
  const bool accepted = ui_.License_Agreement(Text_1252_To_Utf8(*text));
  ui_.Trace(accepted ? "license accepted" : "license declined");
  if (!accepted) return false;
  if (license.Display == 1) Mark(Records(), StepKind::kLicense, name);
  return true;
}

void CActionRunner::RunSplash(const CSettingsSplash& splash) {
  if (splash.Image) {
    const std::string sound = splash.Sound ? Media_Path(splash.SoundFile) : std::string();
    const bool shown = ui_.Splash(splash, Media_Path(splash.ImageFile), Exists(sound) ? sound : "", sound_);
    ui_.Trace(shown ? "splash ended" : "splash not shown");
  } else if (splash.Sound) {
    PlaySplashSound(splash);
  }
}

void CActionRunner::PlaySplashSound(const CSettingsSplash& splash) {
  const std::string path = Media_Path(splash.SoundFile);
  if (!Exists(path)) return;
  ui_.Trace("splash sound " + std::to_string(splash.SoundOption));
  if (splash.SoundOption == 1 || splash.SoundOption == 2) {
    sound_.Play_To_End(path);
  } else if (splash.SoundOption == 3) {
    sound_.Play(path, true);
    std::this_thread::sleep_for(std::chrono::seconds(std::max(0, splash.SoundLength)));
    sound_.Stop();
  }
  ui_.Trace("splash sound ended");
}
