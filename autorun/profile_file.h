// An INI file read and written by the private-profile rules the launcher's
// settings were made for: section and key names compared ignoring ASCII
// case; blanks around names and values dropped; one pair of matching
// surrounding quotes (' or ") removed from a value; lines starting with ';'
// are comments; of duplicate sections and of duplicate keys in a section the
// first counts; values are cut to 519 characters. Text is kept as the file's
// bytes (Windows-1252).
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

inline constexpr size_t kProfileValueMax = 519;

// Equal ignoring the case of ASCII letters, as section and key names are.
bool Profile_Equal(std::string_view a, std::string_view b);

class ProfileFile {
 public:
  // The file's text; a file that cannot be read is an empty profile.
  static ProfileFile Read(const std::string& path);
  static ProfileFile Parse(std::string_view text);

  // The value, or nothing when the section or key is missing.
  std::optional<std::string> Get(std::string_view section, std::string_view key) const;
  // Sets the key's value: the first such key of the first such section is
  // replaced, else the key is added at the end of the section, else the
  // section is added at the end of the file.
  void Set(std::string_view section, std::string_view key, std::string_view value);
  // The file's text: the lines as read, with the changes made.
  std::string Text() const;
  // Replaces the file atomically; false with a message in `error`.
  bool Write(const std::string& path, std::string& error) const;

 private:
  struct Line {
    std::string text;
    enum class Kind { kOther, kSection, kKey } kind = Kind::kOther;
    std::string name;   // the section's or the key's name, trimmed
    std::string value;  // a key's value, trimmed, quotes removed, cut
  };
  // Index of the first section named `section`, or -1.
  int Find_Section(std::string_view section) const;

  std::vector<Line> lines_;
};
