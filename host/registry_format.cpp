#include "host/registry_format.h"

#include <algorithm>
#include <array>

namespace {

constexpr std::array<std::pair<RegistryRoot, std::string_view>, 6> kRoots{{
    {RegistryRoot::kClassesRoot, "HKEY_CLASSES_ROOT"},
    {RegistryRoot::kCurrentUser, "HKEY_CURRENT_USER"},
    {RegistryRoot::kLocalMachine, "HKEY_LOCAL_MACHINE"},
    {RegistryRoot::kUsers, "HKEY_USERS"},
    {RegistryRoot::kCurrentConfig, "HKEY_CURRENT_CONFIG"},
    {RegistryRoot::kDynData, "HKEY_DYN_DATA"},
}};

char Fold(char c) { return (c >= 'A' && c <= 'Z') ? char(c + 32) : c; }

bool Is_Control(unsigned char c) { return c < 0x20 || c == 0x7F; }

// '%', control bytes and the given delimiters become %XX.
std::string Encode(std::string_view text, std::string_view delimiters) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (char c : text) {
    auto byte = static_cast<unsigned char>(c);
    if (c == '%' || Is_Control(byte) || delimiters.find(c) != std::string_view::npos) {
      out.push_back('%');
      out.push_back(kHex[byte >> 4]);
      out.push_back(kHex[byte & 15]);
    } else {
      out.push_back(c);
    }
  }
  return out;
}

int Hex_Digit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// Nothing for a raw control byte, a raw delimiter or a broken %XX.
std::optional<std::string> Decode(std::string_view text, std::string_view delimiters) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (Is_Control(static_cast<unsigned char>(c)) || delimiters.find(c) != std::string_view::npos)
      return std::nullopt;
    if (c != '%') {
      out.push_back(c);
      continue;
    }
    int high = i + 2 < text.size() ? Hex_Digit(text[i + 1]) : -1;
    int low = i + 2 < text.size() ? Hex_Digit(text[i + 2]) : -1;
    if (high < 0 || low < 0) return std::nullopt;
    out.push_back(char(high * 16 + low));
    i += 2;
  }
  return out;
}

constexpr std::string_view kKeyDelimiters = "\\]";
constexpr std::string_view kNameDelimiters = "=[";

bool Names_Equal(const std::vector<std::string>& a, const std::vector<std::string>& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), Registry_Name_Equal);
}

// "[ROOT\name\name]" -> the key it names, with no values yet.
std::optional<RegistryKeyEntry> Parse_Key_Line(std::string_view line) {
  if (line.size() < 2 || line.back() != ']') return std::nullopt;
  line = line.substr(1, line.size() - 2);
  size_t cut = line.find('\\');
  std::optional<RegistryRoot> root = Registry_Root_From_Name(line.substr(0, cut));
  if (!root) return std::nullopt;
  RegistryKeyEntry key;
  key.root = *root;
  while (cut != std::string_view::npos) {
    line.remove_prefix(cut + 1);
    cut = line.find('\\');
    std::optional<std::string> name = Decode(line.substr(0, cut), kKeyDelimiters);
    if (!name || name->empty()) return std::nullopt;
    key.names.push_back(std::move(*name));
  }
  return key;
}

bool Parse_Value_Line(std::string_view line, RegistryKeyEntry& key) {
  size_t equal = line.find('=');
  if (equal == std::string_view::npos) return false;
  std::optional<std::string> name = Decode(line.substr(0, equal), kNameDelimiters);
  std::optional<std::string> data = Decode(line.substr(equal + 1), "");
  if (!name || !data) return false;
  Registry_Set_Value(key, *name, *data);
  return true;
}

}  // namespace

std::string_view Registry_Root_Name(RegistryRoot root) {
  for (const auto& [known, name] : kRoots)
    if (known == root) return name;
  return {};
}

std::optional<RegistryRoot> Registry_Root_From_Name(std::string_view name) {
  for (const auto& [root, known] : kRoots)
    if (Registry_Name_Equal(known, name)) return root;
  return std::nullopt;
}

bool Registry_Name_Equal(std::string_view a, std::string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return Fold(x) == Fold(y); });
}

std::vector<std::string> Registry_Split_Path(std::string_view path) {
  std::vector<std::string> names;
  while (!path.empty()) {
    size_t cut = path.find('\\');
    if (cut != 0) names.emplace_back(path.substr(0, cut));
    if (cut == std::string_view::npos) break;
    path.remove_prefix(cut + 1);
  }
  return names;
}

std::string Registry_Join_Path(const std::vector<std::string>& names) {
  std::string path;
  for (const std::string& name : names) {
    if (!path.empty()) path.push_back('\\');
    path += name;
  }
  return path;
}

const RegistryKeyEntry* Registry_Find_Key(const RegistryData& data, RegistryRoot root,
                                          const std::vector<std::string>& names) {
  for (const RegistryKeyEntry& key : data.keys)
    if (key.root == root && Names_Equal(key.names, names)) return &key;
  return nullptr;
}

RegistryKeyEntry& Registry_Add_Key(RegistryData& data, RegistryRoot root,
                                   const std::vector<std::string>& names) {
  size_t index = data.keys.size();
  for (size_t depth = 0; depth <= names.size(); ++depth) {
    std::vector<std::string> prefix(names.begin(), names.begin() + std::ptrdiff_t(depth));
    auto found = std::find_if(data.keys.begin(), data.keys.end(), [&](const RegistryKeyEntry& key) {
      return key.root == root && Names_Equal(key.names, prefix);
    });
    if (found == data.keys.end()) {
      // A missing key takes the spelling of the names asked for.
      data.keys.push_back(RegistryKeyEntry{root, prefix, {}});
      found = data.keys.end() - 1;
    }
    index = size_t(found - data.keys.begin());
  }
  return data.keys[index];
}

void Registry_Set_Value(RegistryKeyEntry& key, std::string_view name, std::string_view data) {
  for (RegistryValueEntry& value : key.values) {
    if (Registry_Name_Equal(value.name, name)) {
      value.data.assign(data);
      return;
    }
  }
  key.values.push_back(RegistryValueEntry{std::string(name), std::string(data)});
}

const RegistryValueEntry* Registry_Find_Value(const RegistryKeyEntry& key, std::string_view name) {
  for (const RegistryValueEntry& value : key.values)
    if (Registry_Name_Equal(value.name, name)) return &value;
  return nullptr;
}

std::optional<RegistryData> Registry_Parse(std::string_view text) {
  if (text.empty()) return RegistryData{};  // nothing to lose: an empty store
  size_t end = text.find('\n');
  if (text.substr(0, end) != kRegistryHeader) return std::nullopt;
  RegistryData data;
  RegistryKeyEntry* current = nullptr;
  while (end != std::string_view::npos) {
    text.remove_prefix(end + 1);
    end = text.find('\n');
    std::string_view line = text.substr(0, end);
    if (line.empty()) continue;
    if (line.front() == '[') {
      std::optional<RegistryKeyEntry> key = Parse_Key_Line(line);
      if (!key) return std::nullopt;
      current = &Registry_Add_Key(data, key->root, key->names);
    } else if (!current || !Parse_Value_Line(line, *current)) {
      return std::nullopt;
    }
  }
  return data;
}

std::string Registry_Format(const RegistryData& data) {
  std::string text(kRegistryHeader);
  text.push_back('\n');
  for (const RegistryKeyEntry& key : data.keys) {
    if (key.names.empty() && key.values.empty()) continue;  // the roots always exist
    text += '[';
    text += Registry_Root_Name(key.root);
    for (const std::string& name : key.names) text += '\\' + Encode(name, kKeyDelimiters);
    text += "]\n";
    for (const RegistryValueEntry& value : key.values)
      text += Encode(value.name, kNameDelimiters) + '=' + Encode(value.data, "") + '\n';
  }
  return text;
}
