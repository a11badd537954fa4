// A folder under the system's temporary folder, removed with everything in
// it at the end of the test.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::string& Path() const { return path_; }  // absolute, ends with '/'
  std::string Path(std::string_view relative) const { return path_ + std::string(relative); }

  // Writes the file, making its parent folders.
  void Write(std::string_view relative, std::string_view bytes) const;
  // Writes a file with execute permission.
  void Write_Program(std::string_view relative, std::string_view bytes) const;
  void Make_Folder(std::string_view relative) const;
  // The file's bytes, or nothing when it cannot be read.
  std::optional<std::string> Read(std::string_view relative) const;
  bool Exists(std::string_view relative) const;
  // The names in the folder (or a subfolder), sorted.
  std::vector<std::string> Entries(std::string_view relative = "") const;

 private:
  std::string path_;
};
