// The dct unpackers on arbitrary data (layout in fuzz_dct_input.h), each
// into a destination sized to what the input asks for: a whole picture of
// at most 256 x 256 through the unpacker behind the exported ones, or the
// rows of a block target down to the lowest listed block. Checks: nothing
// is written outside the destination; a whole-picture unpacker writes every
// pixel (bit 15 of RGB555 and the fourth byte of 4-byte pixels become 0);
// a block unpacker changes no pixel outside the listed blocks.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "dct/dct.h"
#include "dct/picture_unpack.h"
#include "fuzz/fuzz_dct_input.h"

namespace {

constexpr size_t kGuard = 4096;
constexpr uint8_t kFill = 0xC3;  // never a fourth byte the unpackers write

// Bytes of the picture with guard zones on both sides.
struct Destination {
  explicit Destination(size_t bytes) : all(bytes + 2 * kGuard, kFill), size(bytes) {}
  unsigned char* Pixels() { return all.data() + kGuard; }
  bool Guards_Intact() const {
    const std::vector<unsigned char> fill(kGuard, kFill);
    return std::memcmp(all.data(), fill.data(), kGuard) == 0 &&
           std::memcmp(all.data() + kGuard + size, fill.data(), kGuard) == 0;
  }
  std::vector<unsigned char> all;
  size_t size;
};

using dct_internal::Pixels;

void Check_Picture(DctFuzzInput& in) {
  const Pixels format = in.kind % 3 == 0   ? Pixels::kRgb555
                        : in.kind % 3 == 1 ? Pixels::kRgb565
                                           : Pixels::kBgr0;
  const int bytes = dct_internal::Bytes_Per_Pixel(format);
  Destination d(static_cast<size_t>(in.width) * in.height * bytes);
  dct_internal::Unpack_Picture(d.Pixels(), in.width, in.height, in.kind >= 3, format, in.data.data(),
                               static_cast<int>(in.data.size()));
  if (!d.Guards_Intact()) __builtin_trap();
  // The fill has bit 15 of each word and every fourth byte set.
  const unsigned char* p = d.Pixels();
  unsigned char any = 0;
  if (format == Pixels::kRgb555)
    for (size_t i = 1; i < d.size; i += 2) any |= p[i] & 0x80;
  if (format == Pixels::kBgr0)
    for (size_t i = 3; i < d.size; i += 4) any |= p[i];
  if (any != 0) __builtin_trap();
}

// The block targets' destination: one per process at the largest size (the
// 4-byte panorama strip) with guard zones, holding the fill between runs.
// After a run the listed blocks are filled again, and then everything from
// the first guard to the guard after the rows down to the lowest listed
// block must hold the fill: the cost follows what the input lists, with no
// fresh pages per run.
class BlockTarget {
 public:
  unsigned char* Pixels() { return all_.data() + kGuard; }

  // Fills the listed blocks again; true when the rest of the `rows` first
  // rows of `pitch` bytes, and the guards before and after them, held.
  bool Refill_And_Check(const std::vector<int>& listed, int columns, int rows, size_t pitch, int bytes) {
    for (int n : listed) {
      unsigned char* first = Pixels() + size_t(n / columns) * 16 * pitch + size_t(n % columns) * 16 * bytes;
      for (int r = 0; r < 16; ++r) std::memset(first + r * pitch, kFill, size_t(16 * bytes));
    }
    const size_t checked = 2 * kGuard + size_t(rows) * pitch;
    return all_[0] == kFill && std::memcmp(all_.data(), all_.data() + 1, checked - 1) == 0;
  }

 private:
  static constexpr size_t kLargest = size_t(256) * 6144 * 4;
  std::vector<unsigned char> all_ = std::vector<unsigned char>(kLargest + 2 * kGuard, kFill);
};

void Check_Blocks(DctFuzzInput& in) {
  static BlockTarget target;
  // At a width no unpacker takes, nothing may be written: only the guards
  // are checked.
  const bool known = in.width == 256 || in.width == 640;
  const int columns = known ? in.width / 16 : 0;
  const int blocks = columns * (in.width == 640 ? 30 : 384);
  const int bytes = in.kind == 6 ? 2 : 4;
  const size_t pitch = size_t(known ? in.width : 0) * bytes;
  std::vector<int> listed;
  int rows = 0;
  for (int n : in.blocks)
    if (n >= 0 && n < blocks) {
      listed.push_back(n);
      rows = std::max(rows, (n / columns + 1) * 16);
    }
  int* list = in.blocks.empty() ? nullptr : in.blocks.data();
  const int size = static_cast<int>(in.data.size());
  DCT dct;
  if (in.kind == 6)
    dct.Unpack_Bloc_Rgb_16(reinterpret_cast<unsigned short*>(target.Pixels()), list, in.count, in.width,
                           in.data.data(), size, 0, in.depth);
  else
    dct.Unpack_Bloc_Rgb_32_2(target.Pixels(), list, in.count, in.width, in.data.data(), size, 0);
  if (!target.Refill_And_Check(listed, columns, rows, pitch, bytes)) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
  if (size < kDctFuzzHeader) return 0;
  DctFuzzInput in = Dct_Fuzz_Parse(bytes, size);
  if (in.kind < 6)
    Check_Picture(in);
  else
    Check_Blocks(in);
  return 0;
}
