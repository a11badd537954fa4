#include "host/cd_roots.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace {

// Mount points escape blanks, TABs, newlines and backslashes as \ooo.
std::string Mount_Unescape(std::string_view text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\\' && i + 3 < text.size()) {
      bool octal = true;
      int value = 0;
      for (size_t k = 1; k <= 3; ++k) {
        char c = text[i + k];
        octal &= c >= '0' && c <= '7';
        value = value * 8 + (c - '0');
      }
      if (octal) {
        out.push_back(char(value));
        i += 3;
        continue;
      }
    }
    out.push_back(text[i]);
  }
  return out;
}

void Add_Root(std::vector<std::string>& roots, std::string root) {
  if (root.empty()) return;
  if (root.back() != '/') root.push_back('/');
  for (const std::string& known : roots)
    if (known == root) return;
  roots.push_back(std::move(root));
}

}  // namespace

std::vector<std::string> Cd_Roots_From(std::string_view mount_table, const char* cdrom_env) {
  std::vector<std::string> roots;
  std::istringstream lines{std::string(mount_table)};
  std::string line;
  while (std::getline(lines, line)) {
    std::istringstream fields(line);
    std::string device, mount_point, type;
    if (!(fields >> device >> mount_point >> type)) continue;
    if (type == "iso9660" || type == "udf") Add_Root(roots, Mount_Unescape(mount_point));
  }
  if (cdrom_env) {
    std::string_view list(cdrom_env);
    while (!list.empty()) {
      size_t colon = list.find(':');
      Add_Root(roots, std::string(list.substr(0, colon)));
      if (colon == std::string_view::npos) break;
      list.remove_prefix(colon + 1);
    }
  }
  return roots;
}

std::vector<std::string> Cd_Roots() {
  std::ifstream mounts("/proc/self/mounts");
  std::stringstream table;
  table << mounts.rdbuf();
  return Cd_Roots_From(table.str(), std::getenv("KVR_CDROM"));
}
