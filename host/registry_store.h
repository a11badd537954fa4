// The registry: string values under keys, keys under the predefined roots,
// kept in one per-user text file shared by the engine and the launcher.
//
// Key paths are key names separated by '\' (empty names, as from a leading,
// doubled or trailing '\', are skipped); the empty path is the root itself.
// Key and value names compare ignoring the case of A-Z and keep the case they
// were created with. The empty value name is the key's default value.
//
// The file is read afresh by every call, so two programs share it. A write
// re-reads it under an exclusive lock (on "<file>.lock" beside it), writes
// the whole store to a temporary file beside it and renames that over the old
// file, so a reader sees the old or the new store, never half of one. A file
// that cannot be read or parsed reads as an empty store and is never written
// over: writes fail until it is mended or removed by hand.
#pragma once

#include <atomic>
#include <optional>
#include <string>
#include <string_view>

enum class RegistryRoot { kClassesRoot, kCurrentUser, kLocalMachine, kUsers, kCurrentConfig, kDynData };

// "HKEY_CLASSES_ROOT" ... "HKEY_DYN_DATA".
std::string_view Registry_Root_Name(RegistryRoot root);
// The root of that name, ignoring case; nothing for other names.
std::optional<RegistryRoot> Registry_Root_From_Name(std::string_view name);

// An existing key: its root and its path as the store spells it.
struct RegistryKey {
  RegistryRoot root = RegistryRoot::kLocalMachine;
  std::string path;
};

// Largest store file read; a bigger one counts as corrupt.
inline constexpr size_t kRegistryFileMax = size_t(16) << 20;

class RegistryStore {
 public:
  // A store kept in that file. An empty file name makes a store without a
  // file: nothing can be read from it or written to it.
  explicit RegistryStore(std::string file);

  const std::string& File() const { return file_; }

  std::optional<RegistryKey> Open_Key(RegistryRoot root, std::string_view path) const;
  // Opens the key, creating it and every missing key above it.
  std::optional<RegistryKey> Create_Key(RegistryRoot root, std::string_view path);
  // The value's text; nothing when the key or the value does not exist.
  std::optional<std::string> Read_Value(const RegistryKey& key, std::string_view name) const;
  // Sets the value (creating the key again if it went meanwhile). False when
  // the file cannot be read, parsed or replaced.
  bool Write_Value(const RegistryKey& key, std::string_view name, std::string_view data);

  // True when the last read found the file unreadable or corrupt.
  bool Corrupt() const { return corrupt_; }

 private:
  std::string file_;
  mutable std::atomic<bool> corrupt_{false};
};

// The store's file: $KVR_REGISTRY when set and not empty, else
// "kvr/registry" in $XDG_CONFIG_HOME when that is an absolute path, else in
// $HOME/.config; empty when none of them is set.
std::string Registry_Path_From(const char* kvr_registry, const char* xdg_config_home, const char* home);
std::string Registry_Default_Path();
