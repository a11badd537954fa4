// The registry store's data and its text file.
//
// The file starts with the line "# kvr registry 1". Then, for every key, a
// line "[ROOT\name\name]" and one line "name=data" per value. Names and data
// are written byte for byte except '%', control bytes and the delimiters of
// their place (a key name's '\' and ']', a value name's '=' and '['), which
// are written as '%' and two hexadecimal digits. Empty lines are skipped;
// any other line makes the file corrupt. An empty file is an empty store.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "host/registry_store.h"

inline constexpr std::string_view kRegistryHeader = "# kvr registry 1";

struct RegistryValueEntry {
  std::string name;
  std::string data;
};

struct RegistryKeyEntry {
  RegistryRoot root = RegistryRoot::kLocalMachine;
  std::vector<std::string> names;  // the path from the root; empty for the root itself
  std::vector<RegistryValueEntry> values;
};

// Every key is listed, parents before their children; a root's own values
// sit in an entry with no names.
struct RegistryData {
  std::vector<RegistryKeyEntry> keys;
};

// Nothing when the text is not a store file.
std::optional<RegistryData> Registry_Parse(std::string_view text);
std::string Registry_Format(const RegistryData& data);

// The key names of a path, empty names skipped.
std::vector<std::string> Registry_Split_Path(std::string_view path);
std::string Registry_Join_Path(const std::vector<std::string>& names);

const RegistryKeyEntry* Registry_Find_Key(const RegistryData& data, RegistryRoot root,
                                          const std::vector<std::string>& names);
// Finds the key, adding it and every missing key above it.
RegistryKeyEntry& Registry_Add_Key(RegistryData& data, RegistryRoot root,
                                   const std::vector<std::string>& names);
// Sets or adds the value of a key.
void Registry_Set_Value(RegistryKeyEntry& key, std::string_view name, std::string_view data);
const RegistryValueEntry* Registry_Find_Value(const RegistryKeyEntry& key, std::string_view name);

// Equal ignoring the case of A-Z.
bool Registry_Name_Equal(std::string_view a, std::string_view b);
