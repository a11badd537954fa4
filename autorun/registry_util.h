// The launcher's registry access, on the shared registry store: a value read
// by its full key path (launch entries of LaunchType 2), and one open key at
// a time below the base key where remembered steps are kept.
#pragma once

#include <optional>
#include <string>

#include "host/registry_store.h"

// Below HKEY_LOCAL_MACHINE; CustomerID and CdID name the keys under it.
inline constexpr const char* kRegistryBaseKey = "SOFTWARE\\Tessaly Software\\Runwright\\";

class RegistryUtil {
 public:
  explicit RegistryUtil(RegistryStore& store) : store_(store) {}
  virtual ~RegistryUtil() = default;

  // The predefined root of that name, ignoring case; nothing for others.
  static std::optional<RegistryRoot> ParseRootName(const std::string& name);
  // keyPath is "ROOT\subkey" with at most one leading '\'; the value must
  // fit a 512-byte buffer with its terminating zero.
  bool ReadRegString(const std::string& key_path, const std::string& value_name, std::string& out);

  // Each opens a key and makes it current, closing the one before. On
  // failure none is open, except that OpenSub keeps the current key.
  bool OpenBase(const std::string& suffix);
  bool CreateBase();
  bool OpenSub(const std::string& name);
  bool CreateSub(const std::string& name);
  // The current key's value, when it fits `size` bytes with a terminating
  // zero.
  bool GetValue(const std::string& name, std::string& out, size_t size);
  bool SetValue(const std::string& name, const std::string& text);

 private:
  bool Open(RegistryRoot root, const std::string& path, bool create);

  RegistryStore& store_;
  std::optional<RegistryKey> key_;
};
