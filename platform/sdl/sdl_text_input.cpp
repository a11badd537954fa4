#include "platform/sdl/sdl_text_input.h"

#include <cstdint>

namespace {

// Windows-1252 codes 0x80 to 0x9F by their code point (0: none).
constexpr uint32_t kHigh[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

int Code_Page_Byte(uint32_t code_point) {
  if (code_point < 0x80 || (code_point >= 0xA0 && code_point <= 0xFF)) return int(code_point);
  for (int i = 0; i < 32; ++i) {
    if (kHigh[i] != 0 && kHigh[i] == code_point) return 0x80 + i;
  }
  return -1;
}

// Decodes one code point at text[i], advancing i; false for a malformed one.
bool Next_Code_Point(std::string_view text, size_t& i, uint32_t& code_point) {
  uint8_t lead = uint8_t(text[i++]);
  int extra = lead < 0x80             ? 0
              : (lead & 0xE0) == 0xC0 ? 1
              : (lead & 0xF0) == 0xE0 ? 2
              : (lead & 0xF8) == 0xF0 ? 3
                                      : -1;
  if (extra < 0) return false;
  code_point = extra == 0 ? lead : lead & (0x3F >> extra);
  for (int k = 0; k < extra; ++k) {
    if (i >= text.size() || (uint8_t(text[i]) & 0xC0) != 0x80) return false;
    code_point = (code_point << 6) | (uint8_t(text[i++]) & 0x3F);
  }
  return true;
}

}  // namespace

std::vector<int> Window_Characters(std::string_view utf8) {
  std::vector<int> out;
  size_t i = 0;
  while (i < utf8.size()) {
    uint32_t code_point = 0;
    if (!Next_Code_Point(utf8, i, code_point)) continue;
    int byte = Code_Page_Byte(code_point);
    if (byte > 0) out.push_back(byte);
  }
  return out;
}
