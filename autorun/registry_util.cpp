#include "autorun/registry_util.h"

std::optional<RegistryRoot> RegistryUtil::ParseRootName(const std::string& name) {
  return Registry_Root_From_Name(name);
}

bool RegistryUtil::Open(RegistryRoot root, const std::string& path, bool create) {
  key_ = create ? store_.Create_Key(root, path) : store_.Open_Key(root, path);
  return key_.has_value();
}

bool RegistryUtil::ReadRegString(const std::string& key_path, const std::string& value_name,
                                 std::string& out) {
  const std::string path = !key_path.empty() && key_path[0] == '\\' ? key_path.substr(1) : key_path;
  const size_t cut = path.find('\\');
  if (cut == std::string::npos || cut + 1 == path.size()) return false;
  const std::optional<RegistryRoot> root = ParseRootName(path.substr(0, cut));
  if (!root || !Open(*root, path.substr(cut + 1), false)) return false;
  const bool read = GetValue(value_name, out, 512);
  key_.reset();
  return read;
}

bool RegistryUtil::OpenBase(const std::string& suffix) {
  return Open(RegistryRoot::kLocalMachine, kRegistryBaseKey + suffix, false);
}

bool RegistryUtil::CreateBase() { return Open(RegistryRoot::kLocalMachine, kRegistryBaseKey, true); }

bool RegistryUtil::OpenSub(const std::string& name) {
  if (!key_) return false;
  // A key that cannot be opened leaves the current one open, so that the
  // caller can create it there instead.
  std::optional<RegistryKey> sub = store_.Open_Key(key_->root, key_->path + "\\" + name);
  if (!sub) return false;
  key_ = std::move(sub);
  return true;
}

bool RegistryUtil::CreateSub(const std::string& name) {
  if (!key_) return false;
  const RegistryKey parent = *key_;
  return Open(parent.root, parent.path + "\\" + name, true);
}

bool RegistryUtil::GetValue(const std::string& name, std::string& out, size_t size) {
  if (!key_) return false;
  std::optional<std::string> data = store_.Read_Value(*key_, name);
  if (!data || data->size() + 1 > size) return false;
  // The data is taken as a text: it ends at its first zero byte.
  out = data->substr(0, data->find('\0'));
  return true;
}

bool RegistryUtil::SetValue(const std::string& name, const std::string& text) {
  return key_ && store_.Write_Value(*key_, name, text);
}
