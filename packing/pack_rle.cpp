// Method 1 packer: runs of 3 or more equal bytes (2 between literals' ends)
// become run packets, the rest literal packets.
#include <algorithm>

#include "packing/pack_internal.h"

namespace packing_internal {
namespace {

constexpr size_t kMaxRun = 128;
constexpr size_t kMaxLiterals = 128;

size_t RunLength(const uint8_t* data, size_t pos, size_t size) {
  const size_t limit = std::min(size, pos + kMaxRun);
  size_t end = pos + 1;
  while (end < limit && data[end] == data[pos]) ++end;
  return end - pos;
}

void PutLiterals(std::vector<uint8_t>& out, const uint8_t* data, size_t n) {
  while (n != 0) {
    const size_t chunk = std::min(n, kMaxLiterals);
    out.push_back(static_cast<uint8_t>(0x7F + chunk));
    out.insert(out.end(), data, data + chunk);
    data += chunk;
    n -= chunk;
  }
}

}  // namespace

std::vector<uint8_t> PackRle(const uint8_t* data, size_t size) {
  if (size == 0) return {0x00, 0x00};
  std::vector<uint8_t> out;
  out.reserve(size + size / 64 + 2);
  size_t literal_start = 0;
  size_t pos = 0;
  while (pos < size) {
    const size_t run = RunLength(data, pos, size);
    const bool in_literals = pos != literal_start;
    if (run >= 3 || (run == 2 && !in_literals)) {
      PutLiterals(out, data + literal_start, pos - literal_start);
      out.push_back(static_cast<uint8_t>(run - 1));
      out.push_back(data[pos]);
      pos += run;
      literal_start = pos;
    } else {
      ++pos;
    }
  }
  PutLiterals(out, data + literal_start, pos - literal_start);
  return out;
}

}  // namespace packing_internal
