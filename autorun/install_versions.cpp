#include "autorun/install_versions.h"

#include <gio/gio.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <unistd.h>

#include "host/temp_folder.h"

namespace {

using Parts = std::array<uint16_t, 4>;

Parts Version_Parts(const std::string& text) {
  Parts parts{};
  size_t part = 0;
  for (char c : text) {
    if (c == '.') {
      if (++part == parts.size()) break;
      continue;
    }
    const int digit = c >= '0' && c <= '9' ? c - '0' : 0;
    parts[part] = uint16_t(parts[part] * 10 + digit);
  }
  return parts;
}

std::string Read_File(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// The package whose file list in info/ holds the path.
std::string Package_Of(const std::string& file, const std::filesystem::path& dpkg_dir) {
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(dpkg_dir / "info", error)) {
    const std::string name = entry.path().filename().string();
    if (name.size() < 6 || name.compare(name.size() - 5, 5, ".list") != 0) continue;
    std::ifstream list(entry.path());
    for (std::string line; std::getline(list, line);) {
      if (line == file) {
        const std::string package = name.substr(0, name.size() - 5);
        return package.substr(0, package.find(':'));  // "name:arch" for multi-arch packages
      }
    }
  }
  return {};
}

// The Version field of the package's stanza in the status file.
std::string Package_Version(const std::string& package, const std::filesystem::path& dpkg_dir) {
  std::istringstream status(Read_File(dpkg_dir / "status"));
  bool in_package = false;
  for (std::string line; std::getline(status, line);) {
    if (line.empty()) in_package = false;
    if (line.rfind("Package: ", 0) == 0) in_package = line.substr(9) == package;
    if (in_package && line.rfind("Version: ", 0) == 0) return line.substr(9);
  }
  return {};
}

}  // namespace

int CompareVersions(const std::string& a, const std::string& b) {
  const Parts x = Version_Parts(a), y = Version_Parts(b);
  const uint32_t high_a = uint32_t(x[0]) << 16 | x[1], high_b = uint32_t(y[0]) << 16 | y[1];
  const uint32_t low_a = uint32_t(x[2]) << 16 | x[3], low_b = uint32_t(y[2]) << 16 | y[3];
  if (high_a != high_b) return high_a > high_b ? 1 : 2;
  if (low_a != low_b) return low_a > low_b ? 1 : 2;
  return 0;
}

bool GetFileVersionText(const std::string& file, bool short_form, std::string& text,
                        const std::string& dpkg_dir) {
  std::string package = Package_Of(file, dpkg_dir);
  if (package.empty()) {
    // With a merged /usr, dpkg lists /bin/x where the program is /usr/bin/x.
    std::error_code error;
    const std::string real = std::filesystem::canonical(file, error).string();
    if (!error && real != file) package = Package_Of(real, dpkg_dir);
  }
  if (package.empty()) return false;
  std::string version = Package_Version(package, dpkg_dir);
  if (const size_t colon = version.find(':'); colon != std::string::npos) version.erase(0, colon + 1);
  version = version.substr(0, version.find_first_not_of("0123456789."));
  if (version.empty() || version[0] == '.') return false;
  const Parts parts = Version_Parts(version);
  char buffer[32];
  if (short_form)
    std::snprintf(buffer, sizeof buffer, "%hu.%02hu", parts[0], parts[1]);
  else
    std::snprintf(buffer, sizeof buffer, "%hu.%hu.%hu.%hu", parts[0], parts[1], parts[2], parts[3]);
  text = buffer;
  return true;
}

bool FindViewer(const std::string& extension, std::string& path) {
  const std::string probe = Temp_Folder() + "xyzyxz123123." + extension;
  if (FILE* f = std::fopen(probe.c_str(), "wb")) {
    std::fclose(f);
  } else {
    return false;
  }
  GFile* file = g_file_new_for_path(probe.c_str());
  GAppInfo* app = g_file_query_default_handler(file, nullptr, nullptr);
  g_object_unref(file);
  ::unlink(probe.c_str());
  if (!app) return false;
  const char* executable = g_app_info_get_executable(app);
  gchar* found = executable ? g_find_program_in_path(executable) : nullptr;
  g_object_unref(app);
  const bool absolute = found && found[0] == '/';
  if (absolute) path = found;
  g_free(found);
  return absolute;
}
