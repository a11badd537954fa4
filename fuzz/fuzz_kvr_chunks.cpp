// The input as a chunk file, walked with KVR_FILE as the engine links
// KVR_FILE the way readers walk panorama files: Get_Chunck to peek,
// Get_Chunck_Data and Read_Chunck to look inside, Next_Chunck to go on,
// entering every chunk's payload as a nested sequence (to a depth of 4).
// Every header reported is checked against the input's own bytes, every
// peek must leave the position, and every walk must end: Next_Chunck moves
// forward or reaches the end, so the number of steps stays bounded.
#include <sys/mman.h>
#include <unistd.h>

#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "kvr_read/kvr_chunks.h"
#include "kvr_read/kvr_file.h"
#include "packing/byte_order.h"

namespace {

constexpr int kMaxDepth = 4;

struct Walk {
  KVR_FILE file;
  const uint8_t* bytes;
  int size;
  long steps_left;
};

// The header the class must report at `pos`: tag and payload size, or 0 and
// 0 when fewer than 8 bytes are left.
void Expected_Header(const Walk& w, int pos, int& tag, int& size) {
  tag = size = 0;
  if (pos < 0 || pos > w.size - 8) return;
  tag = Le_I32(w.bytes + pos);
  const int32_t length = Le_I32(w.bytes + pos + 4);
  size = length < 8 ? 0 : length - 8;
}

void Check_Peek(Walk& w, int pos, int tag, int size) {
  int want_tag, want_size;
  Expected_Header(w, pos, want_tag, want_size);
  if (tag != want_tag || size != want_size) __builtin_trap();
}

// Looks inside the chunk at `pos` without moving: the first payload bytes
// must be the input's.
void Check_Data(Walk& w, int pos) {
  unsigned char head[KVR_ANIM_HEADER_SIZE];
  std::memset(head, 0xEE, sizeof head);
  w.file.Get_Chunck_Data(head, sizeof head);
  if (w.file.Tell() != pos) __builtin_trap();
  for (int i = 0; i < KVR_ANIM_HEADER_SIZE; ++i) {
    const long at = long{pos} + 8 + i;
    const int want = at < w.size ? w.bytes[at] : 0xEE;
    if (head[i] != want) __builtin_trap();
  }
}

void Walk_Sequence(Walk& w, long end, int depth);

// Raw bytes at the current position must be the input's; a short read keeps
// the rest of the buffer.
void Check_Read(Walk& w, int pos) {
  unsigned char fields[8];
  std::memset(fields, 0xEE, sizeof fields);
  w.file.Read(fields, sizeof fields);
  for (int i = 0; i < 8; ++i) {
    const long at = long{pos} + i;
    if (fields[i] != (at < w.size ? w.bytes[at] : 0xEE)) __builtin_trap();
  }
  w.file.Seek(pos);
}

// Enters the chunk at `pos` (payload `size` bytes) and walks its payload as
// a sequence; an animation's sequence starts after its name and frame count.
void Enter(Walk& w, int pos, int tag, int size, int depth) {
  int t = 0, s = 0;
  w.file.Read_Chunck(&t, &s);
  if (t != tag || s != size || w.file.Tell() != pos + 8) __builtin_trap();
  Check_Read(w, pos + 8);
  if (tag == KVR_CHUNK_ANIMATION) w.file.Seek(pos + 8 + KVR_ANIM_HEADER_SIZE);
  const long end = long{pos} + 8 + size;
  Walk_Sequence(w, end < w.size ? end : w.size, depth);
}

// Where Next_Chunck must go from the chunk at `pos`: its stored length on,
// or the end of the file for a length below 8.
long Expected_Next(const Walk& w, int pos) {
  const int32_t length = Le_I32(w.bytes + pos + 4);
  return length < 8 ? w.size : long{pos} + length;
}

void Walk_Sequence(Walk& w, long end, int depth) {
  int tag = 0, size = 0;
  int pos = w.file.Tell();
  w.file.Get_Chunck(&tag, &size);
  while (tag != 0 && pos < end) {
    if (--w.steps_left < 0) __builtin_trap();  // a walk that does not end
    if (w.file.Tell() != pos) __builtin_trap();
    Check_Peek(w, pos, tag, size);
    Check_Data(w, pos);
    if (depth < kMaxDepth && size > 0) {
      Enter(w, pos, tag, size, depth + 1);
      w.file.Seek(pos);
    }
    w.file.Next_Chunck();
    const long want = Expected_Next(w, pos);
    const int next = w.file.Tell();
    if (want > INT_MAX) {  // beyond what Tell can give: the walk stops here
      if (next != -1) __builtin_trap();
      return;
    }
    if (next != want || next <= pos) __builtin_trap();
    pos = next;
    w.file.Get_Chunck(&tag, &size);
  }
  Check_Peek(w, pos, tag, size);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
  if (size > (1u << 20)) return 0;
  const int fd = memfd_create("fuzz_kvr_chunks", 0);
  if (fd < 0) return 0;
  if (write(fd, bytes, size) != static_cast<ssize_t>(size)) {
    close(fd);
    return 0;
  }
  Walk w{KVR_FILE(), bytes, static_cast<int>(size), 0};
  // Each step moves at least 8 bytes forward, and the sequences walked at
  // one nesting level do not overlap.
  w.steps_left = (static_cast<long>(size) / 8 + 2) * 2 * (kMaxDepth + 2);
  const std::string path = "/proc/self/fd/" + std::to_string(fd);
  if (w.file.Open(path.c_str(), "rb") == 1) {
    int tag = 0, payload = 0;
    w.file.Read_Chunck(&tag, &payload);
    Check_Peek(w, 0, tag, payload);
    Walk_Sequence(w, size, 0);
    w.file.Close();
  }
  close(fd);
  return 0;
}
