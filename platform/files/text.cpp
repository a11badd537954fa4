#include "platform/files/text.h"

#include <algorithm>
#include <cstring>

int Text_Equal(const char* a, const char* b) {
  if (!a || !b) return -1;
  for (size_t i = 0; i < kTextCompareMax; ++i) {
    if (Text_Fold(a[i]) != Text_Fold(b[i])) return -1;
    if (a[i] == '\0') return 0;
  }
  return -1;
}

int Text_Equal(std::string_view a, std::string_view b) {
  // A C text ends at its first NUL; keep that meaning for views.
  a = a.substr(0, std::min(a.size(), a.find('\0')));
  b = b.substr(0, std::min(b.size(), b.find('\0')));
  if (a.size() != b.size() || a.size() >= kTextCompareMax) return -1;
  for (size_t i = 0; i < a.size(); ++i)
    if (Text_Fold(a[i]) != Text_Fold(b[i])) return -1;
  return 0;
}

int32_t Text_To_Int(const char* text) { return text ? Text_To_Int(std::string_view(text)) : 0; }

int32_t Text_To_Int(std::string_view text) {
  size_t i = 0;
  bool negative = false;
  if (i < text.size() && text[i] == '-') {
    negative = true;
    ++i;
  }
  uint32_t value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
    value = value * 10u + uint32_t(text[i] - '0');
  return int32_t(negative ? 0u - value : value);
}

int32_t Hex_To_Int(std::string_view text) {
  uint32_t value = 0;
  for (char c : text) {
    uint32_t digit;
    if (c >= '0' && c <= '9')
      digit = uint32_t(c - '0');
    else if (c >= 'A' && c <= 'F')
      digit = uint32_t(c - 'A' + 10);
    else if (c >= 'a' && c <= 'f')
      digit = uint32_t(c - 'a' + 10);
    else
      break;
    value = (value << 4) | digit;
  }
  return int32_t(value);
}

std::string Int_To_Text(int32_t value) {
  uint32_t magnitude = value < 0 ? 0u - uint32_t(value) : uint32_t(value);
  char digits[12];
  int n = 0;
  do {
    digits[n++] = char('0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude);
  std::string out;
  if (value < 0) out.push_back('-');
  while (n) out.push_back(digits[--n]);
  return out;
}

std::string Int_To_Hex8(uint32_t value) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string out(8, '0');
  for (int i = 7; i >= 0; --i, value >>= 4) out[size_t(i)] = kDigits[value & 15];
  return out;
}

void Text_Upper(std::string& text) {
  for (char& c : text)
    if (c >= 'a' && c <= 'z') c = char(c - 32);
}

std::string Text_Mid(std::string_view text, int start, int count) {
  if (start <= 0 || count <= 0 || size_t(start) > text.size()) return {};
  return std::string(text.substr(size_t(start - 1), size_t(count)));
}

std::string Path_File_Name(std::string_view path) {
  path = path.substr(0, std::min(path.size(), kPathTextMax));
  size_t cut = path.find_last_of("/:\\");
  return std::string(cut == std::string_view::npos ? path : path.substr(cut + 1));
}

void Bytes_Reverse(void* buffer, size_t length) {
  auto* bytes = static_cast<unsigned char*>(buffer);
  std::reverse(bytes, bytes + length);
}

int Field_Get(std::string_view line, std::string& out, int n) {
  out.clear();
  line = line.substr(0, std::min({line.size(), line.find('\0'), kLineFieldMax}));
  if (line.empty() || n < 0) return -1;
  size_t start = 0;
  for (int field = 0; field < n; ++field) {
    size_t comma = line.find(',', start);
    if (comma == std::string_view::npos) return -1;
    start = comma + 1;
  }
  size_t end = line.find(',', start);
  out.assign(line.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
  return 0;
}
