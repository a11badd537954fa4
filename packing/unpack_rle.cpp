// Method 1: run-length packets.
#include <algorithm>
#include <cstring>

#include "packing/lz_packets.h"
#include "packing/packing.h"

namespace {

using packing_internal::ByteSource;

// One packet; a packet longer than the room left is cut at the end.
UnpackStatus RlePacket(ByteSource& in, uint8_t* out, size_t& pos, size_t size) {
  uint8_t h = 0;
  if (!in.Next(h)) return UnpackStatus::kInputEnded;
  const size_t room = size - pos;
  if (h < 0x80) {
    const size_t n = std::min<size_t>(h + 1u, room);
    if (n == 0) {  // only for a zero-sized output: consume the packet
      in.Discard(1);
      return UnpackStatus::kOk;
    }
    uint8_t value = 0;
    if (!in.Next(value)) return UnpackStatus::kInputEnded;
    std::memset(out + pos, value, n);
    pos += n;
    return UnpackStatus::kOk;
  }
  const size_t length = h - 0x7Fu;
  const size_t n = std::min(length, room);
  const size_t got = in.Copy(out + pos, n);
  pos += got;
  if (got < n) return UnpackStatus::kInputEnded;
  in.Discard(length - n);
  return UnpackStatus::kOk;
}

}  // namespace

UnpackResult Unpack_Rle(const uint8_t* in, size_t in_size, uint8_t* out, size_t out_size) {
  ByteSource source(in, in_size);
  size_t pos = 0;
  UnpackStatus status = UnpackStatus::kOk;
  do {
    status = RlePacket(source, out, pos, out_size);
  } while (status == UnpackStatus::kOk && pos < out_size);
  return {status, source.Position(), pos};
}
