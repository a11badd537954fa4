#include "pictures/byterun1.h"

#include <algorithm>
#include <cstring>

#include "pictures/file_window.h"

size_t ByteRun1_Decode(FileWindow& file, int64_t offset, int64_t end, uint8_t* out, size_t out_size) {
  size_t written = 0;
  end = std::min(end, file.Size());
  while (written < out_size && offset < end) {
    const int n = file.Byte(offset++);
    if (n < 0) break;
    if (n <= 128) {
      const size_t literal = std::min<size_t>(size_t(n) + 1, out_size - written);
      const size_t have = size_t(std::min<int64_t>(int64_t(literal), end - offset));
      written += file.Read(offset, out + written, have);
      offset += int64_t(size_t(n) + 1);
      if (have < literal) break;
    } else {
      if (offset >= end) break;
      const int value = file.Byte(offset++);
      if (value < 0) break;
      const size_t run = std::min<size_t>(size_t(257 - n), out_size - written);
      std::memset(out + written, value, run);
      written += run;
    }
  }
  return written;
}

uint64_t ByteRun1_Max_Output(uint64_t in_size) { return in_size / 2 * 128; }
