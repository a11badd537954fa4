// The launcher's text rules on any bytes: a profile read, changed and
// written keeps every other value and reads back the one set; values never
// exceed their limit; Windows-1252 text survives the round trip through
// UTF-8 (bytes without a character become '?'); any URL gives a button name
// or none without failing.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "autorun/page_link.h"
#include "autorun/profile_file.h"
#include "host/text_1252.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  ProfileFile profile = ProfileFile::Parse(text);
  const std::optional<std::string> before = profile.Get("Launch", "File0");
  if (before && before->size() > kProfileValueMax) std::abort();
  profile.Set("General", "AutorunType", "2");
  ProfileFile again = ProfileFile::Parse(profile.Text());
  if (again.Get("general", "autoruntype") != std::optional<std::string>("2")) std::abort();
  // Setting a key of [General] leaves other sections as they were.
  if (again.Get("Launch", "File0") != before) std::abort();

  std::string expected(text);
  for (char& c : expected) {
    const unsigned char b = c;
    if (b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D) c = '?';
  }
  if (Utf8_To_1252(Text_1252_To_Utf8(text)) != expected) std::abort();
  (void)Link_Button_Name(text);
  return 0;
}
