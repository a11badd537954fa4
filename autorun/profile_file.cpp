#include "autorun/profile_file.h"

#include <fstream>
#include <sstream>

#include "host/file_replace.h"

namespace {

std::string_view Trim(std::string_view s) {
  const size_t first = s.find_first_not_of(" \t\r");
  if (first == std::string_view::npos) return {};
  return s.substr(first, s.find_last_not_of(" \t\r") - first + 1);
}

std::string Value_Of(std::string_view raw) {
  std::string_view v = Trim(raw);
  if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
    v = v.substr(1, v.size() - 2);
  return std::string(v.substr(0, kProfileValueMax));
}

}  // namespace

bool Profile_Equal(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'a' && x <= 'z') x = char(x - 32);
    if (y >= 'a' && y <= 'z') y = char(y - 32);
    if (x != y) return false;
  }
  return true;
}

ProfileFile ProfileFile::Read(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  if (in) text << in.rdbuf();
  return Parse(text.str());
}

ProfileFile ProfileFile::Parse(std::string_view text) {
  ProfileFile file;
  while (!text.empty()) {
    const size_t end = text.find('\n');
    Line line;
    line.text = std::string(text.substr(0, end));
    if (!line.text.empty() && line.text.back() == '\r') line.text.pop_back();
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    const std::string_view t = Trim(line.text);
    if (!t.empty() && t.front() == '[') {
      line.kind = Line::Kind::kSection;
      const size_t close = t.find(']');
      line.name = std::string(
          Trim(t.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1)));
    } else if (!t.empty() && t.front() != ';') {
      const size_t equal = t.find('=');
      line.kind = Line::Kind::kKey;
      line.name = std::string(Trim(t.substr(0, equal)));
      if (equal != std::string_view::npos) line.value = Value_Of(t.substr(equal + 1));
    }
    file.lines_.push_back(std::move(line));
  }
  return file;
}

int ProfileFile::Find_Section(std::string_view section) const {
  for (size_t i = 0; i < lines_.size(); ++i)
    if (lines_[i].kind == Line::Kind::kSection && Profile_Equal(lines_[i].name, section)) return int(i);
  return -1;
}

std::optional<std::string> ProfileFile::Get(std::string_view section, std::string_view key) const {
  const int start = Find_Section(section);
  if (start < 0) return std::nullopt;
  for (size_t i = size_t(start) + 1; i < lines_.size() && lines_[i].kind != Line::Kind::kSection; ++i)
    if (lines_[i].kind == Line::Kind::kKey && Profile_Equal(lines_[i].name, key)) return lines_[i].value;
  return std::nullopt;
}

void ProfileFile::Set(std::string_view section, std::string_view key, std::string_view value) {
  Line line;
  line.kind = Line::Kind::kKey;
  line.name = std::string(key);
  line.value = std::string(value.substr(0, kProfileValueMax));
  line.text = line.name + "=" + std::string(value);
  int start = Find_Section(section);
  if (start < 0) {
    Line header;
    header.kind = Line::Kind::kSection;
    header.name = std::string(section);
    header.text = "[" + header.name + "]";
    lines_.push_back(std::move(header));
    lines_.push_back(std::move(line));
    return;
  }
  size_t i = size_t(start) + 1, last = size_t(start);
  for (; i < lines_.size() && lines_[i].kind != Line::Kind::kSection; ++i) {
    if (lines_[i].kind == Line::Kind::kKey && Profile_Equal(lines_[i].name, key)) {
      lines_[i] = std::move(line);
      return;
    }
    if (lines_[i].kind == Line::Kind::kKey) last = i;
  }
  lines_.insert(lines_.begin() + ptrdiff_t(last + 1), std::move(line));
}

std::string ProfileFile::Text() const {
  std::string text;
  for (const Line& line : lines_) text += line.text + "\r\n";
  return text;
}

bool ProfileFile::Write(const std::string& path, std::string& error) const {
  return File_Replace(path, Text(), kReplaceModeShared, error);
}
