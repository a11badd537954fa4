#include "host/json_quote.h"

namespace {

constexpr char kHexDigits[] = "0123456789abcdef";

void Append_Escaped(std::string& out, unsigned char c, bool keep_high) {
  switch (c) {
    case '"': out += "\\\""; return;
    case '\\': out += "\\\\"; return;
    case '\b': out += "\\b"; return;
    case '\f': out += "\\f"; return;
    case '\n': out += "\\n"; return;
    case '\r': out += "\\r"; return;
    case '\t': out += "\\t"; return;
    default: break;
  }
  if (c < 0x20 || c == 0x7F || (c > 0x7F && !keep_high)) {
    out += "\\u00";
    out += kHexDigits[c >> 4];
    out += kHexDigits[c & 15];
    return;
  }
  out += char(c);
}

std::string Quote(std::string_view bytes, bool keep_high) {
  std::string out;
  out.reserve(bytes.size() + 2);
  out += '"';
  for (char c : bytes) Append_Escaped(out, static_cast<unsigned char>(c), keep_high);
  out += '"';
  return out;
}

}  // namespace

std::string Json_Quote(std::string_view bytes) { return Quote(bytes, false); }

std::string Json_Quote_Utf8(std::string_view text) { return Quote(text, true); }
