#include "host/path_resolve.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>

namespace {

// A-Z folded to a-z: the case the names of a game ignore.
char Text_Fold(char c) { return (c >= 'A' && c <= 'Z') ? char(c + 32) : c; }

char Fold_Name(char c) { return c == '\\' ? '/' : Text_Fold(c); }

bool Exists(const std::string& path) {
  struct stat st;
  return ::lstat(path.c_str(), &st) == 0;
}

// The entry of `folder` matching `component` ignoring case, or "" when none.
std::string Match_In_Folder(const std::string& folder, std::string_view component) {
  DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
  if (!dir) return {};
  std::string best;
  while (const dirent* entry = ::readdir(dir)) {
    std::string_view candidate(entry->d_name);
    if (candidate.size() != component.size()) continue;
    bool same = std::equal(candidate.begin(), candidate.end(), component.begin(),
                           [](char x, char y) { return Text_Fold(x) == Text_Fold(y); });
    if (same && (best.empty() || candidate < best)) best = candidate;
  }
  ::closedir(dir);
  return best;
}

}  // namespace

std::string Path_Resolve(std::string_view name) {
  std::string path(name);
  std::replace(path.begin(), path.end(), '\\', '/');
  if (path.empty() || Exists(path)) return path;

  std::string resolved;
  size_t pos = 0;
  if (path[0] == '/') {
    resolved = "/";
    pos = 1;
  }
  while (pos <= path.size()) {
    size_t slash = path.find('/', pos);
    bool last = slash == std::string::npos;
    std::string_view component = std::string_view(path).substr(pos, last ? std::string::npos : slash - pos);
    if (!component.empty()) {
      std::string candidate = resolved + std::string(component);
      if (component != "." && component != ".." && !Exists(candidate)) {
        std::string match = Match_In_Folder(resolved, component);
        if (match.empty()) return resolved + path.substr(pos);  // keep the rest as written
        candidate = resolved + match;
      }
      resolved = candidate;
    }
    if (last) break;
    resolved += '/';
    pos = slash + 1;
  }
  return resolved;
}

bool Name_Equal(std::string_view a, std::string_view b) {
  if (a.size() != b.size() || a.size() >= kNameCompareMax) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (Fold_Name(a[i]) != Fold_Name(b[i])) return false;
  return true;
}
