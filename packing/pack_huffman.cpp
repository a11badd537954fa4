// Method 4 packer: weights are byte counts, codes are read off the tree that
// the decoder rebuilds from the same weights.
#include <algorithm>
#include <array>

#include "packing/huffman_tree.h"
#include "packing/pack_internal.h"

namespace packing_internal {
namespace {

// MSB-first bit writer; the last byte is padded with zero bits.
class BitWriter {
 public:
  explicit BitWriter(std::vector<uint8_t>& out) : out_(out) {}

  // value's low n bits (n <= 32), most significant first.
  void Put(uint32_t value, unsigned n) {
    if (n == 0) return;
    acc_ = (acc_ << n) | value;
    count_ += n;
    while (count_ >= 8) {
      count_ -= 8;
      out_.push_back(static_cast<uint8_t>(acc_ >> count_));
    }
  }

  void Finish() {
    if (count_ != 0) out_.push_back(static_cast<uint8_t>(acc_ << (8 - count_)));
    count_ = 0;
  }

 private:
  std::vector<uint8_t>& out_;
  uint64_t acc_ = 0;
  unsigned count_ = 0;
};

// A code of up to 255 bits, in 32-bit words MSB first.
struct Code {
  std::array<uint32_t, 8> words{};
  unsigned length = 0;
};

std::array<Code, kHuffmanLeaves> CodesOf(const HuffmanTree& tree) {
  std::array<uint16_t, kHuffmanNodes> parent{};
  std::array<uint8_t, kHuffmanNodes> branch{};
  for (unsigned node = kHuffmanLeaves; node < kHuffmanNodes; ++node) {
    for (unsigned b = 0; b < 2; ++b) {
      parent[tree.Branches(node)[b]] = static_cast<uint16_t>(node);
      branch[tree.Branches(node)[b]] = static_cast<uint8_t>(b);
    }
  }
  std::array<Code, kHuffmanLeaves> codes;
  for (unsigned leaf = 0; leaf < kHuffmanLeaves; ++leaf) {
    std::array<uint8_t, kHuffmanLeaves> reversed;  // leaf to root
    unsigned length = 0;
    for (unsigned node = leaf; node != HuffmanTree::kRoot; node = parent[node]) {
      reversed[length++] = branch[node];
    }
    Code& code = codes[leaf];
    code.length = length;
    for (unsigned i = 0; i < length; ++i) {
      if (reversed[length - 1 - i]) code.words[i / 32] |= 0x80000000u >> (i % 32);
    }
  }
  return codes;
}

void PutCode(BitWriter& bits, const Code& code) {
  unsigned left = code.length;
  for (unsigned w = 0; left != 0; ++w) {
    const unsigned n = std::min(left, 32u);
    bits.Put(n == 32 ? code.words[w] : code.words[w] >> (32 - n), n);
    left -= n;
  }
}

// Byte counts, held at 32 bits: the table cannot store more, and the tree is
// built from the weights as written, so the decoder still agrees.
HuffmanWeights CountBytes(const uint8_t* data, size_t size) {
  std::array<uint64_t, kHuffmanLeaves> counts{};
  for (size_t i = 0; i < size; ++i) ++counts[data[i]];
  HuffmanWeights weights;
  for (unsigned v = 0; v < kHuffmanLeaves; ++v) {
    weights[v] = static_cast<uint32_t>(std::min<uint64_t>(counts[v], UINT32_MAX));
  }
  return weights;
}

void PutTable(BitWriter& bits, const HuffmanWeights& weights) {
  for (const uint32_t weight : weights) {
    if (weight == 0) {
      bits.Put(0, 1);
      continue;
    }
    const unsigned size_class = WeightSizeClass(weight);
    bits.Put(1, 1);
    bits.Put(size_class, 2);
    bits.Put(weight, WeightBits(size_class));
  }
}

}  // namespace

std::vector<uint8_t> PackHuffman(const uint8_t* data, size_t size) {
  if (size == 0) return {};
  const HuffmanWeights weights = CountBytes(data, size);
  const std::array<Code, kHuffmanLeaves> codes = CodesOf(BuildHuffmanTree(weights));
  std::vector<uint8_t> out;
  out.reserve(size + 512);
  BitWriter bits(out);
  PutTable(bits, weights);
  for (size_t i = 0; i < size; ++i) PutCode(bits, codes[data[i]]);
  bits.Finish();
  return out;
}

}  // namespace packing_internal
