#include "host/registry_store.h"

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <utility>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "host/file_replace.h"
#include "host/registry_format.h"

namespace {

// A descriptor closed with the object.
class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int Get() const { return fd_; }
  int Release() { return std::exchange(fd_, -1); }

 private:
  int fd_;
};

enum class ReadResult { kRead, kMissing, kFailed };

ReadResult Read_File(const std::string& path, std::string& text) {
  Descriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (fd.Get() < 0) return errno == ENOENT ? ReadResult::kMissing : ReadResult::kFailed;
  struct stat st;
  if (::fstat(fd.Get(), &st) != 0 || !S_ISREG(st.st_mode) || size_t(st.st_size) > kRegistryFileMax)
    return ReadResult::kFailed;
  text.clear();
  char buffer[65536];
  for (;;) {
    ssize_t count = ::read(fd.Get(), buffer, sizeof buffer);
    if (count < 0 && errno == EINTR) continue;
    if (count < 0 || text.size() + size_t(count) > kRegistryFileMax) return ReadResult::kFailed;
    if (count == 0) return ReadResult::kRead;
    text.append(buffer, size_t(count));
  }
}

// Writes the text to a temporary file in the same folder and renames it over
// the store file.
bool Replace_File(const std::string& path, std::string_view text) {
  std::string error;
  return File_Replace(path, text, kReplaceModePrivate, error);
}

// Holds an exclusive lock on "<store>.lock" while the object lives, so that
// two writers never replace the file from the same old state.
class WriteLock {
 public:
  explicit WriteLock(const std::string& path)
      : fd_(::open((path + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600)) {
    while (fd_.Get() >= 0 && !locked_) {
      locked_ = ::flock(fd_.Get(), LOCK_EX) == 0;
      if (!locked_ && errno != EINTR) break;
    }
  }
  bool Locked() const { return locked_; }

 private:
  Descriptor fd_;  // closing it releases the lock
  bool locked_ = false;
};

bool Make_Parent_Folder(const std::string& path) {
  std::filesystem::path parent = std::filesystem::path(path).parent_path();
  if (parent.empty()) return true;
  std::error_code error;
  std::filesystem::create_directories(parent, error);
  return std::filesystem::is_directory(parent, error);
}

// The store as the file holds it now; nothing (and corrupt) when the file
// cannot be read or parsed. A missing file is an empty store.
std::optional<RegistryData> Load(const std::string& file, std::atomic<bool>& corrupt) {
  if (file.empty()) return std::nullopt;
  std::string text;
  ReadResult result = Read_File(file, text);
  std::optional<RegistryData> data;
  if (result == ReadResult::kMissing) data = RegistryData{};
  if (result == ReadResult::kRead) data = Registry_Parse(text);
  corrupt = !data.has_value();
  return data;
}

}  // namespace

RegistryStore::RegistryStore(std::string file) : file_(std::move(file)) {}

std::optional<RegistryKey> RegistryStore::Open_Key(RegistryRoot root, std::string_view path) const {
  std::vector<std::string> names = Registry_Split_Path(path);
  if (names.empty()) return RegistryKey{root, ""};
  std::optional<RegistryData> data = Load(file_, corrupt_);
  const RegistryKeyEntry* key = data ? Registry_Find_Key(*data, root, names) : nullptr;
  if (!key) return std::nullopt;
  return RegistryKey{root, Registry_Join_Path(key->names)};
}

std::optional<RegistryKey> RegistryStore::Create_Key(RegistryRoot root, std::string_view path) {
  std::vector<std::string> names = Registry_Split_Path(path);
  if (names.empty()) return RegistryKey{root, ""};
  if (std::optional<RegistryKey> key = Open_Key(root, path)) return key;
  if (file_.empty() || !Make_Parent_Folder(file_)) return std::nullopt;
  WriteLock lock(file_);
  if (!lock.Locked()) return std::nullopt;
  std::optional<RegistryData> data = Load(file_, corrupt_);
  if (!data) return std::nullopt;
  RegistryKeyEntry& key = Registry_Add_Key(*data, root, names);
  RegistryKey opened{root, Registry_Join_Path(key.names)};
  if (!Replace_File(file_, Registry_Format(*data))) return std::nullopt;
  return opened;
}

std::optional<std::string> RegistryStore::Read_Value(const RegistryKey& key, std::string_view name) const {
  std::optional<RegistryData> data = Load(file_, corrupt_);
  if (!data) return std::nullopt;
  const RegistryKeyEntry* entry = Registry_Find_Key(*data, key.root, Registry_Split_Path(key.path));
  const RegistryValueEntry* value = entry ? Registry_Find_Value(*entry, name) : nullptr;
  if (!value) return std::nullopt;
  return value->data;
}

bool RegistryStore::Write_Value(const RegistryKey& key, std::string_view name, std::string_view data) {
  if (file_.empty() || !Make_Parent_Folder(file_)) return false;
  WriteLock lock(file_);
  if (!lock.Locked()) return false;
  std::optional<RegistryData> store = Load(file_, corrupt_);
  if (!store) return false;
  Registry_Set_Value(Registry_Add_Key(*store, key.root, Registry_Split_Path(key.path)), name, data);
  return Replace_File(file_, Registry_Format(*store));
}

std::string Registry_Path_From(const char* kvr_registry, const char* xdg_config_home, const char* home) {
  if (kvr_registry && *kvr_registry) return kvr_registry;
  if (xdg_config_home && *xdg_config_home == '/') return std::string(xdg_config_home) + "/kvr/registry";
  if (home && *home) return std::string(home) + "/.config/kvr/registry";
  return {};
}

std::string Registry_Default_Path() {
  return Registry_Path_From(std::getenv("KVR_REGISTRY"), std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME"));
}
