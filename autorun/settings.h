// The launcher's settings: Launch/Settings.ini beside the launcher, read
// into the class model the launcher works from. Every section and key has
// its type and default; absent or empty keys keep the default, integers
// read by the C atoi rules, booleans are true exactly for "true" (case
// ignored). The Save side writes the same key layout, for tools that make
// the file; the launcher itself never saves.
//
// Strings are kept as the file's bytes (Windows-1252); autorun/text_1252.h
// converts them for display. Paths in the file use '\'.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

// LauncherDir from the program's path as started: everything before its last
// '\' or '/'; empty when there is none or it is the first character.
std::string Launcher_Dir(const std::string& program);
// LauncherDir + "\Launch\Settings.ini".
std::string Settings_Path(const std::string& launcher_dir);
// A path of the file's kind ('\' separators, names in any case) as the
// Linux file system has it: every component matched ignoring case.
std::string Native_Path(const std::string& path);

// Reading helpers: true when the key is present with a non-empty value, and
// only then is `out` written.
bool ReadString(const std::string& file, const std::string& section, const std::string& key,
                std::string& out);
bool ReadInt(const std::string& file, const std::string& section, const std::string& key, int& out);
bool ReadBool(const std::string& file, const std::string& section, const std::string& key, bool& out);
// Writing helpers: the value replaces the key's in the file (integers as
// "%d", booleans as "true" or "false"). False when the file cannot be written.
bool WriteString(const std::string& file, const std::string& section, const std::string& key,
                 const std::string& value);
bool WriteInt(const std::string& file, const std::string& section, const std::string& key, int value);
bool WriteBool(const std::string& file, const std::string& section, const std::string& key, bool value);
// The C atoi rules, clamped to the int range instead of overflowing.
int Atoi(const std::string& text);

class CSettings {
 public:
  virtual ~CSettings() = default;
  virtual bool Load() = 0;
  virtual bool Save() = 0;
  virtual int GetKind() const = 0;
  virtual void SetFile(const std::string& path) { file_ = path; }
  virtual void SetSuffix(const std::string& suffix) { suffix_ = suffix; }

  const std::string& File() const { return file_; }
  const std::string& Suffix() const { return suffix_; }

 protected:
  std::string file_;
  std::string suffix_;
};

class CSettingsIcon : public CSettings {
 public:
  bool Load() override;
  bool Save() override;
  int GetKind() const override { return 1; }
  int Type = 1;
  std::string Filename;
  int Number = 0;
};

class CSettingsSplash : public CSettings {
 public:
  bool Load() override;
  bool Save() override;
  int GetKind() const override { return 3; }
  std::string ImageFile;
  std::string SoundFile;
  int Length = 5;
  bool Image = false;
  bool Sound = false;
  int SoundOption = 2;
  int SoundLength = 5;
};

class CSettingsLicense : public CSettings {
 public:
  bool Load() override;
  bool Save() override;
  int GetKind() const override { return 4; }
  int Display = 1;
  std::string File;
  bool Active = false;
};

struct CInstallItem {
  std::string File;
  std::string FileExtension;
  std::string Parameters;
  int When = 1;
  int WhenViewer = 1;
  std::string Version;
  std::string Message;
  bool Prompt = true;
  bool Skip = false;
  bool LaunchAndWait = true;
};

struct CLaunchItem {
  int LaunchType = 1;
  std::string File;
  std::string RegKey;
  std::string RegValue;
  std::string Parameters;
  bool Maximize = false;
  bool Kiosk = false;
  bool LaunchAndWait = false;
};

class CSettingsInstall : public CSettings {
 public:
  bool Load() override;
  bool Save() override;
  int GetKind() const override { return 5; }
  std::vector<CInstallItem> Items;
};

class CSettingsLaunch : public CSettings {
 public:
  bool Load() override;
  bool Save() override;
  int GetKind() const override { return 6; }
  std::vector<CLaunchItem> Items;
};

class CSettingsHtml : public CSettings {
 public:
  bool Load() override;
  bool Save() override;
  int GetKind() const override { return 8; }
  std::string Filename;
  std::string WindowName = "AutoRun";
  int Width = 400;
  int Height = 300;
  int HorizOffset = 50;
  int VertOffset = 50;
  int LocationType = 1;
  int PresetLocation = 1;
};

class CSettingsDriver : public CSettings {
 public:
  bool Load() override;
  bool Save() override;
  int GetKind() const override { return 9; }
  std::vector<std::string> Dirs;
};

class CButtonData : public CSettings {
 public:
  bool Load() override { return true; }
  bool Save() override;
  int GetKind() const override { return 11; }
  void SetFile(const std::string& path) override;
  // ButtonNumber := n; the four sections take n in decimal as suffix.
  void SetNumber(int n);

  std::string Name;
  int ButtonType = 2;
  bool WindowClose = true;
  int ButtonNumber = 0;
  bool NumberSet = false;  // SetNumber was called: the button has sections of its own
  CSettingsInstall Install;
  CSettingsLaunch Launch;
  CSettingsSplash Splash;
  CSettingsLicense License;
};

class CSettingsButton : public CSettings {
 public:
  bool Load() override;
  bool Save() override;
  int GetKind() const override { return 10; }
  std::vector<CButtonData> Buttons;
  int MaxButtonNumber = 0;
};

class CAutorunSettings {
 public:
  void SetFile(const std::string& path);
  bool Load();
  bool Save();

  std::string File;
  int AutorunType = 0;
  std::string CustomerID = "Test";
  std::string CdID;
  std::string TargetDir;
  bool AutorunUpdated = false;
  CSettingsIcon Icon;
  CSettingsSplash Splash;
  CSettingsLicense License;
  CSettingsInstall Install;
  CSettingsLaunch Launch;
  CSettingsButton Button;
  CSettingsDriver Driver;
  CSettingsHtml Html;
};

// The keys of a section or entry with their values, in the file's order,
// as its field table gives them.
struct FieldVisitor {
  std::function<void(const char* key, const std::string& value)> text;
  std::function<void(const char* key, int value)> number;
  std::function<void(const char* key, bool value)> flag;
  void operator()(const char* key, const std::string& value) const { text(key, value); }
  void operator()(const char* key, int value) const { number(key, value); }
  void operator()(const char* key, bool value) const { flag(key, value); }
};
void Settings_Visit(const CSettingsIcon& record, const FieldVisitor& visit);
void Settings_Visit(const CSettingsSplash& record, const FieldVisitor& visit);
void Settings_Visit(const CSettingsLicense& record, const FieldVisitor& visit);
void Settings_Visit(const CSettingsHtml& record, const FieldVisitor& visit);
void Settings_Visit(const CInstallItem& record, const FieldVisitor& visit);
void Settings_Visit(const CLaunchItem& record, const FieldVisitor& visit);
void Settings_Visit(const CAutorunSettings& record, const FieldVisitor& visit);  // [General]

// Full paths of the file keys, as their consumers join them with
// LauncherDir (the values begin with '\').
std::string Resolve_Program_Path(const std::string& launcher_dir,
                                 const std::string& value);  // Html, Install, Launch
std::string Resolve_Media_Path(const std::string& launcher_dir, const std::string& value);  // Splash, License
std::string Resolve_Icon_Path(const std::string& value);                                    // Icon Filename
