#include "autorun/page_link.h"

#include "autorun/profile_file.h"
#include "host/text_1252.h"

namespace {

int Upper_Hex(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Undoes "%XX" codes of bytes from 0x80 up, written in upper-case hex as the
// web view writes them; others stay as they are.
std::string Decode_High_Bytes(std::string_view text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 2 < text.size()) {
      const int high = Upper_Hex(text[i + 1]), low = Upper_Hex(text[i + 2]);
      if (high >= 8 && low >= 0) {
        out += char(high * 16 + low);
        i += 2;
        continue;
      }
    }
    out += text[i];
  }
  return out;
}

}  // namespace

std::optional<std::string> Link_Button_Name(std::string_view uri) {
  if (uri.size() < 3 || !Profile_Equal(uri.substr(0, 3), "rw:")) return std::nullopt;
  // The blank after '#' comes back as "%20"; the replacement below turns it
  // into a blank again, with the page's own "%20".
  std::string url = Utf8_To_1252(Decode_High_Bytes(uri));
  for (size_t at; (at = url.find("%20")) != std::string::npos;) url.replace(at, 3, " ");
  return url.substr(3);
}

const CButtonData* Find_Button(const std::vector<CButtonData>& buttons, const std::string& name) {
  for (const CButtonData& button : buttons)
    if (Profile_Equal(button.Name, name)) return &button;
  return nullptr;
}
