#include "temp_folder.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace fs = std::filesystem;

TempFolder::TempFolder() {
  std::string pattern = (fs::temp_directory_path() / "kvr_tools_XXXXXX").string();
  if (!::mkdtemp(pattern.data())) throw std::runtime_error("cannot create a temporary folder");
  path_ = pattern;
}

TempFolder::~TempFolder() {
  std::error_code ignored;
  fs::remove_all(path_, ignored);
}

void TempFolder::Write(std::string_view relative, std::string_view bytes) const {
  std::ofstream out(Path(relative), std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), std::streamsize(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + Path(relative));
}

void TempFolder::Make_Folder(std::string_view relative) const { fs::create_directories(Path(relative)); }

std::optional<std::string> TempFolder::Read(std::string_view relative) const {
  std::ifstream in(Path(relative), std::ios::binary);
  if (!in) return std::nullopt;
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<std::string> TempFolder::Entries(std::string_view relative) const {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(relative.empty() ? path_ : Path(relative)))
    names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}
