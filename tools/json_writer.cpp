#include "tools/json_writer.h"

#include <charconv>
#include <cmath>

namespace {

constexpr char kHexDigits[] = "0123456789abcdef";

void Append_Escaped(std::string& out, unsigned char c) {
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
  if (c < 0x20 || c >= 0x7F) {
    out += "\\u00";
    out += kHexDigits[c >> 4];
    out += kHexDigits[c & 15];
    return;
  }
  out += char(c);
}

}  // namespace

std::string Json_Quote(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size() + 2);
  out += '"';
  for (char c : bytes) Append_Escaped(out, static_cast<unsigned char>(c));
  out += '"';
  return out;
}

std::string Json_Float(float value) {
  if (!std::isfinite(value)) return "null";
  char buffer[32];
  auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value);
  if (error != std::errc()) return "null";  // cannot happen with 32 bytes
  return std::string(buffer, end);
}

void JsonWriter::New_Line(size_t depth) {
  text_ += '\n';
  text_.append(depth * 2, ' ');
}

void JsonWriter::Before_Element() {
  if (after_key_) {
    after_key_ = false;
    return;
  }
  if (levels_.empty()) return;
  Level& level = levels_.back();
  if (!level.empty) text_ += level.inline_layout ? ", " : ",";
  if (!level.inline_layout) New_Line(levels_.size());
  level.empty = false;
}

void JsonWriter::Open(char bracket, Layout layout) {
  Before_Element();
  bool inside_inline = !levels_.empty() && levels_.back().inline_layout;
  levels_.push_back({layout == Layout::kInline || inside_inline});
  text_ += bracket;
}

void JsonWriter::Close(char bracket) {
  if (levels_.empty()) return;
  Level level = levels_.back();
  levels_.pop_back();
  if (!level.inline_layout && !level.empty) New_Line(levels_.size());
  text_ += bracket;
}

void JsonWriter::Begin_Object(Layout layout) { Open('{', layout); }
void JsonWriter::End_Object() { Close('}'); }
void JsonWriter::Begin_Array(Layout layout) { Open('[', layout); }
void JsonWriter::End_Array() { Close(']'); }

void JsonWriter::Key(std::string_view key) {
  Before_Element();
  text_ += Json_Quote(key);
  text_ += ": ";
  after_key_ = true;
}

void JsonWriter::String(std::string_view bytes) {
  Before_Element();
  text_ += Json_Quote(bytes);
}

void JsonWriter::String_Or_Null(const std::optional<std::string>& bytes) {
  if (bytes)
    String(*bytes);
  else
    Null();
}

void JsonWriter::Int(int64_t value) {
  Before_Element();
  text_ += std::to_string(value);
}

void JsonWriter::Float(float value) {
  Before_Element();
  text_ += Json_Float(value);
}

void JsonWriter::Null() {
  Before_Element();
  text_ += "null";
}
