#include "engine/search_path.h"

#include "platform/files/text.h"

namespace {

bool Same_Text(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char x = a[i] == '\\' ? '/' : Text_Fold(a[i]);
    char y = b[i] == '\\' ? '/' : Text_Fold(b[i]);
    if (x != y) return false;
  }
  return true;
}

bool Is_Separator(char c) { return c == '/' || c == '\\'; }

}  // namespace

bool SearchPath::Same_Folder(std::string_view a, std::string_view b) {
  if (Same_Text(a, b)) return true;
  if (a.size() == b.size() + 1 && a.back() == '/' && Same_Text(a.substr(0, b.size()), b)) return true;
  if (b.size() == a.size() + 1 && b.back() == '/' && Same_Text(b.substr(0, a.size()), a)) return true;
  return false;
}

void SearchPath::Add(std::string_view folder) {
  if (folder.empty()) return;
  std::string name(folder);
  if (!Is_Separator(name.back())) name.push_back('/');
  for (const std::string& listed : folders_)
    if (Same_Folder(listed, name)) return;
  folders_.push_back(std::move(name));
}
