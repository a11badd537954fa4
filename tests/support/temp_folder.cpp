#include "tests/support/temp_folder.h"

#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace fs = std::filesystem;

TempFolder::TempFolder() {
  std::string pattern = (fs::temp_directory_path() / "kvr_test_XXXXXX").string();
  if (!::mkdtemp(pattern.data())) throw std::runtime_error("cannot create a temporary folder");
  path_ = pattern + "/";
}

TempFolder::~TempFolder() {
  std::error_code ignored;
  // Tests may take permissions away; give them back so everything goes.
  for (auto it = fs::recursive_directory_iterator(path_, ignored); it != fs::recursive_directory_iterator();
       it.increment(ignored)) {
    if (it->is_directory(ignored))
      fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ignored);
  }
  fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ignored);
  fs::remove_all(path_, ignored);
}

void TempFolder::Write(std::string_view relative, std::string_view bytes) const {
  const std::string path = Path(relative);
  std::error_code ignored;
  fs::create_directories(fs::path(path).parent_path(), ignored);
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), std::streamsize(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path);
}

void TempFolder::Write_Program(std::string_view relative, std::string_view bytes) const {
  Write(relative, bytes);
  fs::permissions(Path(relative), fs::perms::owner_all);
}

void TempFolder::Make_Folder(std::string_view relative) const { fs::create_directories(Path(relative)); }

std::optional<std::string> TempFolder::Read(std::string_view relative) const {
  std::ifstream in(Path(relative), std::ios::binary);
  if (!in) return std::nullopt;
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool TempFolder::Exists(std::string_view relative) const {
  std::error_code ignored;
  return fs::exists(Path(relative), ignored);
}

std::vector<std::string> TempFolder::Entries(std::string_view relative) const {
  std::vector<std::string> names;
  std::error_code ignored;
  for (const auto& entry : fs::directory_iterator(Path(relative), ignored))
    names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}
