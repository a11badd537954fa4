// Methods 4, 5 and 7: Huffman-coded bytes, alone or carrying the packet
// streams of methods 3 and 6.
#include <algorithm>
#include <array>
#include <vector>

#include "packing/bit_reader.h"
#include "packing/huffman_tree.h"
#include "packing/lz_packets.h"
#include "packing/packing.h"

namespace {

using packing_internal::BitReader;
using packing_internal::HuffmanTree;
using packing_internal::HuffmanWeights;
using packing_internal::kHuffmanLeaves;
using packing_internal::kHuffmanNodes;

// Decode table. The root table is indexed by the next kRootBits bits; a code
// longer than that leads to a sub-table of the internal node reached, indexed
// by the next (at most kSubBits) bits, and so on down to 255-bit codes.
// Entry layout:
//   leaf: bits 0..6 = code bits within this table (1..kRootBits), 8..15 = symbol
//   link: bit 7 set, bits 0..6 = the sub-table's index bits, 8..31 = its offset
// A link's low byte is above any bit count, so one compare tells "leaf whose
// code is fully buffered" from everything else.
constexpr unsigned kRootBits = 10;
constexpr unsigned kSubBits = 6;
constexpr uint32_t kLink = 0x80;

class TableBuilder {
 public:
  TableBuilder(const HuffmanTree& tree, std::vector<uint32_t>& table) : tree_(tree), table_(table) {}

  void Build() {
    MeasureHeights();
    table_.assign(size_t{1} << kRootBits, 0);
    Fill(0, kRootBits, HuffmanTree::kRoot, 0, 0);
    while (pending_count_ != 0) {
      const Pending p = pending_[--pending_count_];
      Fill(p.offset, p.bits, p.node, 0, 0);
    }
  }

 private:
  struct Pending {
    uint32_t offset;
    uint16_t node;
    uint8_t bits;
  };

  void MeasureHeights() {
    height_.fill(0);
    for (unsigned node = kHuffmanLeaves; node < kHuffmanNodes; ++node) {
      const auto& b = tree_.Branches(node);
      height_[node] = static_cast<uint8_t>(1 + std::max(height_[b[0]], height_[b[1]]));
    }
  }

  // Fills the entries of the table at `base` (indexed by `bits` bits) that
  // start with the `depth` bits `prefix`, which lead to `node`.
  void Fill(uint32_t base, unsigned bits, unsigned node, unsigned depth, uint32_t prefix) {
    if (HuffmanTree::IsLeaf(node)) {
      const unsigned free_bits = bits - depth;
      const auto first = table_.begin() + base + (prefix << free_bits);
      std::fill(first, first + (ptrdiff_t{1} << free_bits), (node << 8) | depth);
      return;
    }
    if (depth == bits) {
      const unsigned sub_bits = std::min<unsigned>(kSubBits, height_[node]);
      const auto offset = static_cast<uint32_t>(table_.size());
      table_.resize(table_.size() + (size_t{1} << sub_bits));
      table_[base + prefix] = (offset << 8) | kLink | sub_bits;
      pending_[pending_count_++] = {offset, static_cast<uint16_t>(node), static_cast<uint8_t>(sub_bits)};
      return;
    }
    const auto& b = tree_.Branches(node);
    Fill(base, bits, b[0], depth + 1, prefix << 1);
    Fill(base, bits, b[1], depth + 1, (prefix << 1) | 1);
  }

  const HuffmanTree& tree_;
  std::vector<uint32_t>& table_;
  std::array<uint8_t, kHuffmanNodes> height_;
  // Every internal node but the root gets at most one sub-table.
  std::array<Pending, kHuffmanLeaves - 2> pending_;
  size_t pending_count_ = 0;
};

struct Decoded {
  BitReader bits;
  int symbol;  // < 0: the input ends inside the code
};

// Codes longer than the root table, and codes cut by the end of the input.
// Works on a copy, so a failed decode leaves the caller's reader untouched.
[[gnu::noinline]] Decoded DecodeLong(const uint32_t* table, BitReader bits, uint32_t entry) {
  BitReader b = bits;
  unsigned width = kRootBits;
  while (entry & kLink) {
    if (b.Count() < width) return {bits, -1};
    b.Consume(width);
    width = entry & 0x7F;
    if (b.Count() < width) b.Refill();
    entry = table[(entry >> 8) + (b.Bits() >> (64 - width))];
  }
  const unsigned length = entry & 0xFF;
  if (length > b.Count()) return {bits, -1};
  b.Consume(length);
  return {b, static_cast<int>(entry >> 8)};
}

inline int DecodeSymbol(const uint32_t* table, BitReader& bits) {
  if (bits.Count() < kRootBits) bits.Refill();
  const uint32_t entry = table[bits.Bits() >> (64 - kRootBits)];
  const unsigned length = entry & 0xFF;
  if (length <= bits.Count()) {
    bits.Consume(length);
    return static_cast<int>(entry >> 8);
  }
  const Decoded d = DecodeLong(table, bits, entry);
  if (d.symbol >= 0) bits = d.bits;
  return d.symbol;
}

// Byte source of Huffman symbols (see lz_packets.h).
class HuffmanSource {
 public:
  HuffmanSource(const uint8_t* in, size_t in_size) : bits_(in, in_size) {}

  // Reads the weight table and builds the decode table. False when the input
  // ends inside the table.
  bool ReadTable() {
    HuffmanWeights weights{};
    for (uint32_t& weight : weights) {
      uint32_t present = 0;
      uint32_t size_class = 0;
      if (!bits_.Read(1, present)) return false;
      if (present == 0) continue;
      if (!bits_.Read(2, size_class)) return false;
      if (!bits_.Read(packing_internal::WeightBits(size_class), weight)) return false;
    }
    TableBuilder(packing_internal::BuildHuffmanTree(weights), table_).Build();
    return true;
  }

  bool Next(uint8_t& byte) {
    const int symbol = DecodeSymbol(table_.data(), bits_);
    if (symbol < 0) return false;
    byte = static_cast<uint8_t>(symbol);
    return true;
  }

  // The hot loop of method 4: the reader lives in locals so that the stores
  // to dst cannot force it back to memory.
  size_t Copy(uint8_t* dst, size_t n) {
    BitReader bits = bits_;
    const uint32_t* table = table_.data();
    size_t i = 0;
    for (; i < n; ++i) {
      const int symbol = DecodeSymbol(table, bits);
      if (symbol < 0) break;
      dst[i] = static_cast<uint8_t>(symbol);
    }
    bits_ = bits;
    return i;
  }

  void Discard(size_t n) {
    uint8_t byte = 0;
    while (n-- != 0 && Next(byte)) {
    }
  }

  // The byte holding the next unread bit.
  size_t Position() const { return bits_.BitPosition() / 8; }

 private:
  BitReader bits_;
  std::vector<uint32_t> table_;
};

template <int Layout>
UnpackResult UnpackHuffmanPackets(const uint8_t* in, size_t in_size, uint8_t* out, size_t out_size,
                                  size_t history) {
  if (out_size == 0) return {};
  HuffmanSource source(in, in_size);
  if (!source.ReadTable()) return {UnpackStatus::kInputEnded, source.Position(), 0};
  packing_internal::Output output{out, out_size, history};
  const UnpackStatus status = packing_internal::DecodePackets<Layout>(source, output);
  return {status, source.Position(), output.pos};
}

}  // namespace

UnpackResult Unpack_Huffman(const uint8_t* in, size_t in_size, uint8_t* out, size_t out_size) {
  if (out_size == 0) return {};
  HuffmanSource source(in, in_size);
  if (!source.ReadTable()) return {UnpackStatus::kInputEnded, source.Position(), 0};
  const size_t written = source.Copy(out, out_size);
  const UnpackStatus status = written == out_size ? UnpackStatus::kOk : UnpackStatus::kInputEnded;
  return {status, source.Position(), written};
}

UnpackResult Unpack_Huffman_Lz_Long(const uint8_t* in, size_t in_size, uint8_t* out, size_t out_size,
                                    size_t history) {
  return UnpackHuffmanPackets<3>(in, in_size, out, out_size, history);
}

UnpackResult Unpack_Huffman_Lz_Skip(const uint8_t* in, size_t in_size, uint8_t* out, size_t out_size,
                                    size_t history) {
  return UnpackHuffmanPackets<6>(in, in_size, out, out_size, history);
}
