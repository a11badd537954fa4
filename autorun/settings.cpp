#include "autorun/settings.h"

#include <climits>
#include <span>
#include <type_traits>
#include <variant>

#include "autorun/profile_file.h"
#include "host/path_resolve.h"

namespace {

std::string Number(int i) { return std::to_string(i); }

}  // namespace

std::string Launcher_Dir(const std::string& program) {
  const size_t cut = program.find_last_of("\\/");
  if (cut == std::string::npos || cut == 0) return {};
  return program.substr(0, cut);
}

std::string Settings_Path(const std::string& launcher_dir) { return launcher_dir + "\\Launch\\Settings.ini"; }

std::string Native_Path(const std::string& path) { return Path_Resolve(path); }

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
  out = Profile_Equal(text, "true");
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

namespace {

// A key of a section or of a list entry, with the member it fills; one
// table per record drives both reading and writing, in the key order of
// the file's layout.
template <class T>
struct Field {
  const char* key;
  std::variant<std::string T::*, int T::*, bool T::*> member;
};

template <class T>
void Read_Fields(const std::string& file, const std::string& section, const std::string& index, T& record,
                 std::span<const Field<T>> fields) {
  for (const Field<T>& f : fields) {
    const std::string key = f.key + index;
    std::visit(
        [&](auto member) {
          using Value = std::remove_reference_t<decltype(record.*member)>;
          if constexpr (std::is_same_v<Value, std::string>) ReadString(file, section, key, record.*member);
          if constexpr (std::is_same_v<Value, int>) ReadInt(file, section, key, record.*member);
          if constexpr (std::is_same_v<Value, bool>) ReadBool(file, section, key, record.*member);
        },
        f.member);
  }
}

template <class T>
bool Write_Fields(const std::string& file, const std::string& section, const std::string& index,
                  const T& record, std::span<const Field<T>> fields) {
  bool ok = true;
  for (const Field<T>& f : fields) {
    const std::string key = f.key + index;
    std::visit(
        [&](auto member) {
          using Value = std::remove_cv_t<std::remove_reference_t<decltype(record.*member)>>;
          if constexpr (std::is_same_v<Value, std::string>)
            ok = ok && WriteString(file, section, key, record.*member);
          if constexpr (std::is_same_v<Value, int>) ok = ok && WriteInt(file, section, key, record.*member);
          if constexpr (std::is_same_v<Value, bool>) ok = ok && WriteBool(file, section, key, record.*member);
        },
        f.member);
  }
  return ok;
}

// A list section: Count, then each entry's keys with its index appended.
template <class T>
void Read_List(const std::string& file, const std::string& section, std::vector<T>& items,
               std::span<const Field<T>> fields) {
  items.clear();
  int count = 0;
  ReadInt(file, section, "Count", count);
  for (int i = 0; i < count; ++i) {
    T item;
    Read_Fields(file, section, Number(i), item, fields);
    items.push_back(std::move(item));
  }
}

template <class T>
bool Write_List(const std::string& file, const std::string& section, const std::vector<T>& items,
                std::span<const Field<T>> fields) {
  bool ok = WriteInt(file, section, "Count", int(items.size()));
  for (size_t i = 0; i < items.size(); ++i)
    ok = ok && Write_Fields(file, section, Number(int(i)), items[i], fields);
  return ok;
}

const Field<CSettingsIcon> kIconFields[] = {{"Type", &CSettingsIcon::Type},
                                            {"Filename", &CSettingsIcon::Filename},
                                            {"Number", &CSettingsIcon::Number}};
const Field<CSettingsSplash> kSplashFields[] = {{"Image", &CSettingsSplash::Image},
                                                {"ImageFile", &CSettingsSplash::ImageFile},
                                                {"Length", &CSettingsSplash::Length},
                                                {"Sound", &CSettingsSplash::Sound},
                                                {"SoundFile", &CSettingsSplash::SoundFile},
                                                {"SoundOption", &CSettingsSplash::SoundOption},
                                                {"SoundLength", &CSettingsSplash::SoundLength}};
const Field<CSettingsLicense> kLicenseFields[] = {{"Active", &CSettingsLicense::Active},
                                                  {"Display", &CSettingsLicense::Display},
                                                  {"File", &CSettingsLicense::File}};
const Field<CSettingsHtml> kHtmlFields[] = {{"Filename", &CSettingsHtml::Filename},
                                            {"WindowName", &CSettingsHtml::WindowName},
                                            {"Width", &CSettingsHtml::Width},
                                            {"Height", &CSettingsHtml::Height},
                                            {"LocationType", &CSettingsHtml::LocationType},
                                            {"PresetLocation", &CSettingsHtml::PresetLocation},
                                            {"HorizOffset", &CSettingsHtml::HorizOffset},
                                            {"VertOffset", &CSettingsHtml::VertOffset}};
const Field<CInstallItem> kInstallFields[] = {
    {"File", &CInstallItem::File},       {"Parameters", &CInstallItem::Parameters},
    {"When", &CInstallItem::When},       {"WhenViewer", &CInstallItem::WhenViewer},
    {"Version", &CInstallItem::Version}, {"FileExtension", &CInstallItem::FileExtension},
    {"Prompt", &CInstallItem::Prompt},   {"Message", &CInstallItem::Message},
    {"Skip", &CInstallItem::Skip},       {"LaunchAndWait", &CInstallItem::LaunchAndWait}};
const Field<CLaunchItem> kLaunchFields[] = {
    {"LaunchType", &CLaunchItem::LaunchType}, {"File", &CLaunchItem::File},
    {"RegKey", &CLaunchItem::RegKey},         {"RegValue", &CLaunchItem::RegValue},
    {"Parameters", &CLaunchItem::Parameters}, {"Maximize", &CLaunchItem::Maximize},
    {"Kiosk", &CLaunchItem::Kiosk},           {"LaunchAndWait", &CLaunchItem::LaunchAndWait}};
const Field<CAutorunSettings> kGeneralFields[] = {{"AutorunType", &CAutorunSettings::AutorunType},
                                                  {"CustomerID", &CAutorunSettings::CustomerID},
                                                  {"CdID", &CAutorunSettings::CdID},
                                                  {"TargetDir", &CAutorunSettings::TargetDir},
                                                  {"AutorunUpdated", &CAutorunSettings::AutorunUpdated}};
struct DriverDir {
  std::string dir;
};
const Field<DriverDir> kDriverFields[] = {{"Dir", &DriverDir::dir}};

// Calls visit(key, value) for every field of the record, in table order.
template <class T, class Visit>
void Each_Field(const T& record, std::span<const Field<T>> fields, Visit visit) {
  for (const Field<T>& f : fields) std::visit([&](auto member) { visit(f.key, record.*member); }, f.member);
}

}  // namespace

void Settings_Visit(const CSettingsIcon& r, const FieldVisitor& v) {
  Each_Field<CSettingsIcon>(r, kIconFields, v);
}
void Settings_Visit(const CSettingsSplash& r, const FieldVisitor& v) {
  Each_Field<CSettingsSplash>(r, kSplashFields, v);
}
void Settings_Visit(const CSettingsLicense& r, const FieldVisitor& v) {
  Each_Field<CSettingsLicense>(r, kLicenseFields, v);
}
void Settings_Visit(const CSettingsHtml& r, const FieldVisitor& v) {
  Each_Field<CSettingsHtml>(r, kHtmlFields, v);
}
void Settings_Visit(const CInstallItem& r, const FieldVisitor& v) {
  Each_Field<CInstallItem>(r, kInstallFields, v);
}
void Settings_Visit(const CLaunchItem& r, const FieldVisitor& v) {
  Each_Field<CLaunchItem>(r, kLaunchFields, v);
}
void Settings_Visit(const CAutorunSettings& r, const FieldVisitor& v) {
  Each_Field<CAutorunSettings>(r, kGeneralFields, v);
}

bool CSettingsIcon::Load() {
  Read_Fields<CSettingsIcon>(file_, "Icon", "", *this, kIconFields);
  return true;
}
bool CSettingsIcon::Save() { return Write_Fields<CSettingsIcon>(file_, "Icon", "", *this, kIconFields); }

bool CSettingsSplash::Load() {
  Read_Fields<CSettingsSplash>(file_, "Splash" + suffix_, "", *this, kSplashFields);
  return true;
}
bool CSettingsSplash::Save() {
  return Write_Fields<CSettingsSplash>(file_, "Splash" + suffix_, "", *this, kSplashFields);
}

bool CSettingsLicense::Load() {
  Read_Fields<CSettingsLicense>(file_, "License" + suffix_, "", *this, kLicenseFields);
  return true;
}
bool CSettingsLicense::Save() {
  return Write_Fields<CSettingsLicense>(file_, "License" + suffix_, "", *this, kLicenseFields);
}

bool CSettingsInstall::Load() {
  Read_List<CInstallItem>(file_, "Install" + suffix_, Items, kInstallFields);
  return true;
}
bool CSettingsInstall::Save() {
  return Write_List<CInstallItem>(file_, "Install" + suffix_, Items, kInstallFields);
}

bool CSettingsLaunch::Load() {
  Read_List<CLaunchItem>(file_, "Launch" + suffix_, Items, kLaunchFields);
  return true;
}
bool CSettingsLaunch::Save() {
  return Write_List<CLaunchItem>(file_, "Launch" + suffix_, Items, kLaunchFields);
}

bool CSettingsHtml::Load() {
  Read_Fields<CSettingsHtml>(file_, "Html", "", *this, kHtmlFields);
  return true;
}
bool CSettingsHtml::Save() { return Write_Fields<CSettingsHtml>(file_, "Html", "", *this, kHtmlFields); }

bool CSettingsDriver::Load() {
  std::vector<DriverDir> dirs;
  Read_List<DriverDir>(file_, "Driver", dirs, kDriverFields);
  Dirs.clear();
  for (DriverDir& d : dirs) Dirs.push_back(std::move(d.dir));
  return true;
}
bool CSettingsDriver::Save() {
  std::vector<DriverDir> dirs;
  for (const std::string& d : Dirs) dirs.push_back({d});
  return Write_List<DriverDir>(file_, "Driver", dirs, kDriverFields);
}

void CButtonData::SetFile(const std::string& path) {
  CSettings::SetFile(path);
  for (CSettings* s : std::initializer_list<CSettings*>{&Install, &Launch, &Splash, &License})
    s->SetFile(path);
}

void CButtonData::SetNumber(int n) {
  ButtonNumber = n;
  NumberSet = true;
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
  Read_Fields<CAutorunSettings>(File, "General", "", *this, kGeneralFields);
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
