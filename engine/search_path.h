// The ordered list of folders in which scripts are looked for: the start
// folder, the program's folder, then every CD root.
//
// Growable: the list has no size limit, so a long program path together with
// many CD roots never drops a folder, and the search order is the order of
// addition.
#pragma once

#include <string>
#include <string_view>
#include <vector>

class SearchPath {
 public:
  // Appends a folder, ending it with '/' unless it ends with '/' or '\'.
  // Nothing happens when the folder is already listed, or when it is empty
  // (an empty name would otherwise become "/", the file-system root).
  void Add(std::string_view folder);
  const std::vector<std::string>& Folders() const { return folders_; }
  bool Empty() const { return folders_.empty(); }
  void Clear() { folders_.clear(); }

  // Same folder: equal ignoring ASCII case with '/' and '\' alike, or one
  // equal to the other followed by a single '/'.
  static bool Same_Folder(std::string_view a, std::string_view b);

 private:
  std::vector<std::string> folders_;
};
