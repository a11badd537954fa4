#include "tools/json_writer.h"

#include <charconv>
#include <cmath>

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
