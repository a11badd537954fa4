#include "autorun/settings.h"

#include <climits>

#include "autorun/profile_file.h"

namespace {

std::string Number(int i) { return std::to_string(i); }

bool Equal_Fold(const std::string& a, const char* b) {
  size_t i = 0;
  for (; i < a.size() && b[i]; ++i) {
    char x = a[i] >= 'A' && a[i] <= 'Z' ? char(a[i] + 32) : a[i];
    if (x != b[i]) return false;
  }
  return i == a.size() && !b[i];
}

// Loads a list section: Count, then each entry's keys with its index.
template <class Item, class Read>
void Load_List(const std::string& file, const std::string& section, std::vector<Item>& items, Read read) {
  items.clear();
  int count = 0;
  ReadInt(file, section, "Count", count);
  for (int i = 0; i < count; ++i) {
    Item item;
    read(item, Number(i));
    items.push_back(std::move(item));
  }
}

}  // namespace

std::string Launcher_Dir(const std::string& program) {
  const size_t cut = program.find_last_of("\\/");
  if (cut == std::string::npos || cut == 0) return {};
  return program.substr(0, cut);
}

std::string Settings_Path(const std::string& launcher_dir) { return launcher_dir + "\\Launch\\Settings.ini"; }

int Atoi(const std::string& text) {
  size_t i = text.find_first_not_of(" \t\n\v\f\r");
  if (i == std::string::npos) return 0;
  bool negative = false;
  if (text[i] == '+' || text[i] == '-') negative = text[i++] == '-';
  long long value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = value * 10 + (text[i] - '0');
    if (value > 1LL + INT_MAX) value = 1LL + INT_MAX;
  }
  if (negative) value = -value;
  return int(std::max<long long>(INT_MIN, std::min<long long>(INT_MAX, value)));
}

bool ReadString(const std::string& file, const std::string& section, const std::string& key,
                std::string& out) {
  std::optional<std::string> value = ProfileFile::Read(file).Get(section, key);
  if (!value || value->empty()) return false;
  out = *value;
  return true;
}

bool ReadInt(const std::string& file, const std::string& section, const std::string& key, int& out) {
  std::string text;
  if (!ReadString(file, section, key, text)) return false;
  out = Atoi(text);
  return true;
}

bool ReadBool(const std::string& file, const std::string& section, const std::string& key, bool& out) {
  std::string text;
  if (!ReadString(file, section, key, text)) return false;
  out = Equal_Fold(text, "true");
  return true;
}

bool WriteString(const std::string& file, const std::string& section, const std::string& key,
                 const std::string& value) {
  ProfileFile profile = ProfileFile::Read(file);
  profile.Set(section, key, value);
  std::string error;
  return profile.Write(file, error);
}

bool WriteInt(const std::string& file, const std::string& section, const std::string& key, int value) {
  return WriteString(file, section, key, Number(value));
}

bool WriteBool(const std::string& file, const std::string& section, const std::string& key, bool value) {
  return WriteString(file, section, key, value ? "true" : "false");
}

bool CSettingsIcon::Load() {
  ReadInt(file_, "Icon", "Type", Type);
  ReadString(file_, "Icon", "Filename", Filename);
  ReadInt(file_, "Icon", "Number", Number);
  return true;
}
bool CSettingsIcon::Save() {
  return WriteString(file_, "Icon", "Type", ::Number(Type)) &&
         WriteString(file_, "Icon", "Filename", Filename) && WriteInt(file_, "Icon", "Number", Number);
}

bool CSettingsSplash::Load() {
  const std::string s = "Splash" + suffix_;
  ReadBool(file_, s, "Image", Image);
  ReadString(file_, s, "ImageFile", ImageFile);
  ReadInt(file_, s, "Length", Length);
  ReadBool(file_, s, "Sound", Sound);
  ReadString(file_, s, "SoundFile", SoundFile);
  ReadInt(file_, s, "SoundOption", SoundOption);
  ReadInt(file_, s, "SoundLength", SoundLength);
  return true;
}
bool CSettingsSplash::Save() {
  const std::string s = "Splash" + suffix_;
  return WriteBool(file_, s, "Image", Image) && WriteString(file_, s, "ImageFile", ImageFile) &&
         WriteInt(file_, s, "Length", Length) && WriteBool(file_, s, "Sound", Sound) &&
         WriteString(file_, s, "SoundFile", SoundFile) && WriteInt(file_, s, "SoundOption", SoundOption) &&
         WriteInt(file_, s, "SoundLength", SoundLength);
}

bool CSettingsLicense::Load() {
  const std::string s = "License" + suffix_;
  ReadBool(file_, s, "Active", Active);
  ReadInt(file_, s, "Display", Display);
  ReadString(file_, s, "File", File);
  return true;
}
bool CSettingsLicense::Save() {
  const std::string s = "License" + suffix_;
  return WriteBool(file_, s, "Active", Active) && WriteInt(file_, s, "Display", Display) &&
         WriteString(file_, s, "File", File);
}

bool CSettingsInstall::Load() {
  const std::string s = "Install" + suffix_;
  Load_List(file_, s, Items, [&](CInstallItem& e, const std::string& i) {
    ReadString(file_, s, "File" + i, e.File);
    ReadString(file_, s, "Parameters" + i, e.Parameters);
    ReadInt(file_, s, "When" + i, e.When);
    ReadInt(file_, s, "WhenViewer" + i, e.WhenViewer);
    ReadString(file_, s, "Version" + i, e.Version);
    ReadString(file_, s, "FileExtension" + i, e.FileExtension);
    ReadBool(file_, s, "Prompt" + i, e.Prompt);
    ReadString(file_, s, "Message" + i, e.Message);
    ReadBool(file_, s, "Skip" + i, e.Skip);
    ReadBool(file_, s, "LaunchAndWait" + i, e.LaunchAndWait);
  });
  return true;
}
bool CSettingsInstall::Save() {
  const std::string s = "Install" + suffix_;
  bool ok = WriteInt(file_, s, "Count", int(Items.size()));
  for (size_t n = 0; n < Items.size(); ++n) {
    const CInstallItem& e = Items[n];
    const std::string i = Number(int(n));
    ok = ok && WriteString(file_, s, "File" + i, e.File) &&
         WriteString(file_, s, "Parameters" + i, e.Parameters) && WriteInt(file_, s, "When" + i, e.When) &&
         WriteInt(file_, s, "WhenViewer" + i, e.WhenViewer) &&
         WriteString(file_, s, "Version" + i, e.Version) &&
         WriteString(file_, s, "FileExtension" + i, e.FileExtension) &&
         WriteBool(file_, s, "Prompt" + i, e.Prompt) && WriteString(file_, s, "Message" + i, e.Message) &&
         WriteBool(file_, s, "Skip" + i, e.Skip) && WriteBool(file_, s, "LaunchAndWait" + i, e.LaunchAndWait);
  }
  return ok;
}

bool CSettingsLaunch::Load() {
  const std::string s = "Launch" + suffix_;
  Load_List(file_, s, Items, [&](CLaunchItem& e, const std::string& i) {
    ReadInt(file_, s, "LaunchType" + i, e.LaunchType);
    ReadString(file_, s, "File" + i, e.File);
    ReadString(file_, s, "RegKey" + i, e.RegKey);
    ReadString(file_, s, "RegValue" + i, e.RegValue);
    ReadString(file_, s, "Parameters" + i, e.Parameters);
    ReadBool(file_, s, "Maximize" + i, e.Maximize);
    ReadBool(file_, s, "Kiosk" + i, e.Kiosk);
    ReadBool(file_, s, "LaunchAndWait" + i, e.LaunchAndWait);
  });
  return true;
}
bool CSettingsLaunch::Save() {
  const std::string s = "Launch" + suffix_;
  bool ok = WriteInt(file_, s, "Count", int(Items.size()));
  for (size_t n = 0; n < Items.size(); ++n) {
    const CLaunchItem& e = Items[n];
    const std::string i = Number(int(n));
    ok = ok && WriteInt(file_, s, "LaunchType" + i, e.LaunchType) &&
         WriteString(file_, s, "File" + i, e.File) && WriteString(file_, s, "RegKey" + i, e.RegKey) &&
         WriteString(file_, s, "RegValue" + i, e.RegValue) &&
         WriteString(file_, s, "Parameters" + i, e.Parameters) &&
         WriteBool(file_, s, "Maximize" + i, e.Maximize) && WriteBool(file_, s, "Kiosk" + i, e.Kiosk) &&
         WriteBool(file_, s, "LaunchAndWait" + i, e.LaunchAndWait);
  }
  return ok;
}

bool CSettingsHtml::Load() {
  ReadString(file_, "Html", "Filename", Filename);
  ReadString(file_, "Html", "WindowName", WindowName);
  ReadInt(file_, "Html", "Width", Width);
  ReadInt(file_, "Html", "Height", Height);
  ReadInt(file_, "Html", "LocationType", LocationType);
  ReadInt(file_, "Html", "PresetLocation", PresetLocation);
  ReadInt(file_, "Html", "HorizOffset", HorizOffset);
  ReadInt(file_, "Html", "VertOffset", VertOffset);
  return true;
}
bool CSettingsHtml::Save() {
  return WriteString(file_, "Html", "Filename", Filename) &&
         WriteString(file_, "Html", "WindowName", WindowName) && WriteInt(file_, "Html", "Width", Width) &&
         WriteInt(file_, "Html", "Height", Height) && WriteInt(file_, "Html", "LocationType", LocationType) &&
         WriteInt(file_, "Html", "PresetLocation", PresetLocation) &&
         WriteInt(file_, "Html", "HorizOffset", HorizOffset) &&
         WriteInt(file_, "Html", "VertOffset", VertOffset);
}

bool CSettingsDriver::Load() {
  Load_List(file_, "Driver", Dirs,
            [&](std::string& dir, const std::string& i) { ReadString(file_, "Driver", "Dir" + i, dir); });
  return true;
}
bool CSettingsDriver::Save() {
  bool ok = WriteInt(file_, "Driver", "Count", int(Dirs.size()));
  for (size_t n = 0; n < Dirs.size(); ++n)
    ok = ok && WriteString(file_, "Driver", "Dir" + Number(int(n)), Dirs[n]);
  return ok;
}

void CButtonData::SetFile(const std::string& path) {
  CSettings::SetFile(path);
  for (CSettings* s : std::initializer_list<CSettings*>{&Install, &Launch, &Splash, &License})
    s->SetFile(path);
}

void CButtonData::SetNumber(int n) {
  ButtonNumber = n;
  for (CSettings* s : std::initializer_list<CSettings*>{&Install, &Launch, &Splash, &License})
    s->SetSuffix(Number(n));
}

bool CButtonData::Save() { return Install.Save() && Launch.Save() && Splash.Save() && License.Save(); }

bool CSettingsButton::Load() {
  Buttons.clear();
  int count = 0;
  ReadInt(file_, "Button", "Count", count);
  ReadInt(file_, "Button", "MaxButtonNumber", MaxButtonNumber);
  for (int n = 0; n < count; ++n) {
    const std::string i = Number(n);
    CButtonData button;
    button.SetFile(file_);
    ReadString(file_, "Button", "Name" + i, button.Name);
    int number = 0;
    if (ReadInt(file_, "Button", "ButtonNumber" + i, number)) button.SetNumber(number);
    ReadInt(file_, "Button", "ButtonType" + i, button.ButtonType);
    ReadBool(file_, "Button", "WindowClose" + i, button.WindowClose);
    button.Install.Load();
    button.Launch.Load();
    button.Splash.Load();
    button.License.Load();
    Buttons.push_back(button);
  }
  return true;
}

bool CSettingsButton::Save() {
  bool ok = WriteInt(file_, "Button", "Count", int(Buttons.size())) &&
            WriteInt(file_, "Button", "MaxButtonNumber", MaxButtonNumber);
  for (size_t n = 0; n < Buttons.size(); ++n) {
    const CButtonData& b = Buttons[n];
    const std::string i = Number(int(n));
    ok = ok && WriteString(file_, "Button", "Name" + i, b.Name) &&
         WriteInt(file_, "Button", "ButtonNumber" + i, b.ButtonNumber) &&
         WriteInt(file_, "Button", "ButtonType" + i, b.ButtonType) &&
         WriteBool(file_, "Button", "WindowClose" + i, b.WindowClose) && CButtonData(b).Save();
  }
  return ok;
}

void CAutorunSettings::SetFile(const std::string& path) {
  File = path;
  for (CSettings* s : std::initializer_list<CSettings*>{&Icon, &Splash, &License, &Install, &Launch, &Button,
                                                        &Driver, &Html})
    s->SetFile(path);
}

bool CAutorunSettings::Load() {
  ReadInt(File, "General", "AutorunType", AutorunType);
  ReadString(File, "General", "CustomerID", CustomerID);
  ReadString(File, "General", "CdID", CdID);
  ReadString(File, "General", "TargetDir", TargetDir);
  ReadBool(File, "General", "AutorunUpdated", AutorunUpdated);
  for (CSettings* s : std::initializer_list<CSettings*>{&Icon, &Splash, &License, &Install, &Launch, &Driver,
                                                        &Html, &Button})
    s->Load();
  return true;
}

bool CAutorunSettings::Save() {
  bool ok = WriteInt(File, "General", "AutorunType", AutorunType) &&
            WriteString(File, "General", "CustomerID", CustomerID) &&
            WriteString(File, "General", "CdID", CdID) &&
            WriteString(File, "General", "TargetDir", TargetDir) &&
            WriteBool(File, "General", "AutorunUpdated", AutorunUpdated);
  for (CSettings* s : std::initializer_list<CSettings*>{&Icon, &Splash, &License, &Install, &Launch, &Driver,
                                                        &Html, &Button})
    ok = ok && s->Save();
  return ok;
}

std::string Resolve_Program_Path(const std::string& launcher_dir, const std::string& value) {
  std::string dir = launcher_dir;
  if (!dir.empty() && dir.back() == '\\') dir.pop_back();
  return dir + value;
}

std::string Resolve_Media_Path(const std::string& launcher_dir, const std::string& value) {
  return launcher_dir + value;
}

std::string Resolve_Icon_Path(const std::string& value) { return value.empty() ? value : value.substr(1); }
