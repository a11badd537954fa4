// Helpers shared by the packing tests: data makers, a guarded output buffer,
// and reference decoders written for clarity rather than speed.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "packing/packing.h"

namespace packing_test {

using Bytes = std::vector<uint8_t>;
using Weights = std::array<uint32_t, 256>;

// Data makers; the same seed gives the same bytes.
Bytes RandomBytes(size_t n, uint32_t seed);
Bytes TextLike(size_t n, uint32_t seed);
Bytes Gradient16(size_t n, uint32_t seed);  // 16-bit little-endian gradient with noise
Bytes Runs(size_t n, uint32_t seed);        // runs of 1..300 equal bytes
Bytes Mixed(size_t n, uint32_t seed);       // all of the above, in blocks

// An output of `size` bytes with `history` bytes in front, and guard bytes
// on both sides that no decoder may touch.
class GuardedOutput {
 public:
  GuardedOutput(size_t size, size_t history, uint8_t fill);
  uint8_t* out() { return buffer_.data() + kGuard + history_; }
  uint8_t* history_start() { return buffer_.data() + kGuard; }
  size_t size() const { return size_; }
  bool GuardsIntact() const;
  Bytes Contents() const;

 private:
  static constexpr size_t kGuard = 64;
  static uint8_t GuardByte(size_t i) { return static_cast<uint8_t>(0xA5 ^ (i * 7)); }
  size_t size_;
  size_t history_;
  Bytes buffer_;
};

// Decodes into a GuardedOutput from a copy of exactly the input bytes.
UnpackResult UnpackTo(GuardedOutput& output, int method, std::span<const uint8_t> in, size_t history);

// "0101 1" -> bytes, MSB first, zero-padded; spaces are ignored.
Bytes BitsToBytes(std::string_view bits);
std::string Repeat(std::string_view s, size_t n);
// The method-4 table of these weights as a bit string, smallest size classes.
std::string TableBits(const Weights& weights);

// Huffman codes as bit strings, from a list-based build that follows the
// tree procedure step by step.
std::array<std::string, 256> ReferenceCodes(const Weights& weights);

struct ReferenceResult {
  UnpackStatus status;
  size_t read;  // byte holding the first bit not part of a decoded symbol
  Bytes out;
};
// Method 4, one bit at a time through the tree. `in` must hold a whole table.
ReferenceResult ReferenceHuffman(std::span<const uint8_t> in, size_t count);

// Output bytes a prefix of a packet stream fills, from the packet lengths
// alone. layout: 1, 2, 3 or 6.
size_t PacketOutput(int layout, std::span<const uint8_t> packets, size_t out_size);

}  // namespace packing_test
