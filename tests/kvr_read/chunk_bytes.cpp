#include "tests/kvr_read/chunk_bytes.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string_view>

namespace kvr_test {

std::string Le32(uint32_t v) {
  std::string s(4, '\0');
  for (int i = 0; i < 4; ++i) s[i] = static_cast<char>(v >> (8 * i));
  return s;
}

std::string Header(uint32_t tag, int32_t length) { return Le32(tag) + Le32(static_cast<uint32_t>(length)); }

std::string Chunk(uint32_t tag, const std::string& payload) {
  return Header(tag, static_cast<int32_t>(payload.size() + 8)) + payload;
}

void Open_Bytes(KVR_FILE& file, const TempFolder& folder, const std::string& name, const std::string& bytes) {
  folder.Write(name, bytes);
  ASSERT_EQ(file.Open(folder.Path(name).c_str(), "rb"), 1);
}

namespace {

template <typename Keep>
int Count_Descriptors(Keep keep) {
  namespace fs = std::filesystem;
  int n = 0;
  std::error_code ignored;
  for (const auto& entry : fs::directory_iterator("/proc/self/fd", ignored)) {
    const std::string target = fs::read_symlink(entry.path(), ignored).string();
    n += keep(target) ? 1 : 0;
  }
  return n;
}

}  // namespace

int Open_Descriptors() {
  return Count_Descriptors([](const std::string&) { return true; });
}

int Open_Deleted_Files() {
  return Count_Descriptors([](const std::string& t) {
    constexpr std::string_view kDeleted = " (deleted)";
    return t.size() > kDeleted.size() && t.ends_with(kDeleted);
  });
}

}  // namespace kvr_test
