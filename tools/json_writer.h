// Writes JSON text: objects, arrays, strings, integers, floats and null.
//
// Strings are 8-bit text read as Latin-1, so any bytes give valid JSON:
// '"' and '\' are escaped, \b \f \n \r \t keep their short forms, every other
// byte below 0x20, 0x7F and every byte from 0x80 up is written as \u00xx.
//
// Layout: a block container puts each element on its own line, indented by
// two blanks per level; an inline container keeps its elements on one line,
// separated by ", ", and everything inside it inline too. Empty containers
// are "[]" and "{}".
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "host/json_quote.h"  // Json_Quote: the strings, as described above

// The shortest text that reads back as the same float ("null" for infinities
// and NaN, which JSON cannot hold).
std::string Json_Float(float value);

class JsonWriter {
 public:
  enum class Layout { kBlock, kInline };

  void Begin_Object(Layout layout = Layout::kBlock);
  void End_Object();
  void Begin_Array(Layout layout = Layout::kBlock);
  void End_Array();

  // The key of the next member of the current object.
  void Key(std::string_view key);

  void String(std::string_view bytes);
  void String_Or_Null(const std::optional<std::string>& bytes);
  void Int(int64_t value);
  void Float(float value);
  void Null();

  // The text written so far; a complete document once every container is
  // closed (no line end after the last bracket).
  const std::string& Text() const { return text_; }

 private:
  struct Level {
    bool inline_layout;
    bool empty = true;
  };

  // Separator and indentation before a value or a key.
  void Before_Element();
  void Open(char bracket, Layout layout);
  void Close(char bracket);
  void New_Line(size_t depth);

  std::string text_;
  std::vector<Level> levels_;
  bool after_key_ = false;
};
