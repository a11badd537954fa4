// The Huffman tree of methods 4, 5 and 7, shared by the decoders and the
// packer: both sides must build exactly the same tree from the same weights.
#pragma once

#include <array>
#include <cstdint>

namespace packing_internal {

inline constexpr unsigned kHuffmanLeaves = 256;
inline constexpr unsigned kHuffmanNodes = 2 * kHuffmanLeaves - 1;

using HuffmanWeights = std::array<uint32_t, kHuffmanLeaves>;

// Nodes 0..255 are the leaves (the byte value), nodes 256..510 the internal
// nodes in the order they were made, so every node's branches have smaller
// ids than the node and the root is the last one.
struct HuffmanTree {
  static constexpr uint16_t kRoot = kHuffmanNodes - 1;
  // branches[node - 256] = {0-branch, 1-branch}.
  std::array<std::array<uint16_t, 2>, kHuffmanLeaves - 1> branches;

  static constexpr bool IsLeaf(unsigned node) { return node < kHuffmanLeaves; }
  const std::array<uint16_t, 2>& Branches(unsigned node) const { return branches[node - kHuffmanLeaves]; }
};

// Builds the tree from the 256 leaf weights (zero weights included):
// repeatedly joins m, the last node lighter than s (or the first lightest
// node when none is lighter), with s, the list's first node (second when the
// first is m).
HuffmanTree BuildHuffmanTree(const HuffmanWeights& weights);

// Size class of a weight in the table: class c stores the weight in
// 8 * (c + 1) bits. The packer writes the smallest class that holds it.
constexpr unsigned WeightSizeClass(uint32_t weight) {
  return weight <= 0xFFu ? 0 : weight <= 0xFFFFu ? 1 : weight <= 0xFFFFFFu ? 2 : 3;
}
constexpr unsigned WeightBits(unsigned size_class) { return 8 * (size_class + 1); }

}  // namespace packing_internal
