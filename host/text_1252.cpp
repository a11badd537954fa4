#include "host/text_1252.h"

#include <cstdint>

namespace {

// Code points of 0x80 .. 0x9F; 0 where the byte codes no character.
constexpr uint16_t kHigh[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

void Append_Utf8(std::string& out, uint32_t c) {
  if (c < 0x80) {
    out += char(c);
  } else if (c < 0x800) {
    out += char(0xC0 | (c >> 6));
    out += char(0x80 | (c & 0x3F));
  } else {
    out += char(0xE0 | (c >> 12));
    out += char(0x80 | ((c >> 6) & 0x3F));
    out += char(0x80 | (c & 0x3F));
  }
}

}  // namespace

char32_t Char_1252(unsigned char b) {
  if (b >= 0x80 && b < 0xA0) return kHigh[b - 0x80] ? kHigh[b - 0x80] : 0xFFFD;
  return b;
}

std::string Text_1252_To_Utf8(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (unsigned char b : text) Append_Utf8(out, Char_1252(b));
  return out;
}

std::string Utf8_To_1252(std::string_view text) {
  std::string out;
  for (size_t i = 0; i < text.size();) {
    const unsigned char b = text[i];
    // The sequence's length and its first bits; a stray byte is one
    // character of its own.
    size_t length = b < 0x80 ? 1 : (b >> 5) == 6 ? 2 : (b >> 4) == 14 ? 3 : (b >> 3) == 30 ? 4 : 0;
    uint32_t c = length == 1 ? b : length == 2 ? b & 0x1F : length == 3 ? b & 0x0F : b & 0x07;
    for (size_t k = 1; k < length; ++k) {
      if (i + k >= text.size() || (static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) {
        length = 0;
        break;
      }
      c = c << 6 | (static_cast<unsigned char>(text[i + k]) & 0x3F);
    }
    if (length == 0) {
      out += '?';
      ++i;
      continue;
    }
    i += length;
    char code = '?';
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
      code = char(c);
    } else {
      for (int k = 0; k < 32; ++k)
        if (kHigh[k] == c) code = char(0x80 + k);
    }
    out += code;
  }
  return out;
}
