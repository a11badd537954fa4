#include "engine/script/line_read.h"

#include <algorithm>

#include "platform/files/file_layer.h"

namespace {

bool Is_Line_End(uint8_t c) { return c == '\r' || c == '\n'; }
bool Is_Blank(uint8_t c) { return c == ' ' || c == '\t'; }

// Appends one character of a normalised line.
void Put_Normalised(std::string& out, uint8_t c) {
  if (c == '=') c = ',';
  if (Is_Blank(c)) {
    if (out.empty() || out.back() == ',') return;
    c = ',';
  }
  out.push_back(char(c));
}

void Put_Raw(std::string& out, uint8_t c) {
  if (Is_Blank(c) && out.empty()) return;
  out.push_back(char(c));
}

template <bool kRaw>
int Read_Line(Wendax& wx, std::string_view name, std::string& out, int32_t* position) {
  constexpr int kMax = kRaw ? kRawLineMax : kLineMax;
  out.clear();
  int32_t size = File_Size(wx, name);
  if (*position < 0 || *position >= size) return -1;
  int handle = File_Open(wx, name, kFileModeRead);
  if (handle < 0) return -1;

  // The line's characters and up to two line-end characters.
  uint8_t bytes[kMax + 2];
  File_Seek(wx, handle, *position, kSeekStart);
  int available =
      File_Read(wx, handle, bytes, int(std::min<int64_t>(sizeof bytes, int64_t(size) - *position)));
  File_Close(wx, handle);
  if (available <= 0) return -1;

  int i = 0;
  int taken = 0;
  bool dropping = false;  // inside a comment, or after a NUL
  bool ended = false;
  while (taken < kMax && i < available) {
    uint8_t c = bytes[i++];
    if (Is_Line_End(c)) {
      ended = true;
      break;
    }
    ++taken;
    if (dropping) continue;
    if (c == ';' || c == '\0') {
      dropping = true;
      continue;
    }
    if constexpr (kRaw)
      Put_Raw(out, c);
    else
      Put_Normalised(out, c);
  }
  if (!ended && i < available && Is_Line_End(bytes[i])) {
    ++i;  // the line end right after a full-length line
    ended = true;
  }
  if (ended && i < available && Is_Line_End(bytes[i])) ++i;  // CR LF, LF CR, CR CR, LF LF

  if constexpr (!kRaw) {
    if (!out.empty() && out.back() == ',') out.pop_back();
    for (char& c : out)
      if (c >= 'a' && c <= 'z') c = char(c - 32);
  }
  *position += i;
  return 0;
}

}  // namespace

int Line_Read(Wendax& wx, std::string_view name, std::string& out, int32_t* position) {
  return Read_Line<false>(wx, name, out, position);
}

int Raw_Line_Read(Wendax& wx, std::string_view name, std::string& out, int32_t* position) {
  return Read_Line<true>(wx, name, out, position);
}
