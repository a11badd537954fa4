#include "packing/huffman_tree.h"

#include <cstddef>

namespace packing_internal {
namespace {

// The working list: node ids in list order, with every node's weight summed
// in 64 bits so that 256 weights of 32 bits cannot overflow.
struct NodeList {
  std::array<uint64_t, kHuffmanNodes> weight;
  std::array<uint16_t, kHuffmanLeaves> ids;
  size_t count = kHuffmanLeaves;

  uint64_t WeightAt(size_t i) const { return weight[ids[i]]; }

  size_t FirstLightest() const {
    size_t m = 0;
    for (size_t i = 1; i < count; ++i) {
      if (WeightAt(i) < WeightAt(m)) m = i;
    }
    return m;
  }

  // The last node lighter than `limit`, or `fallback` when there is none.
  size_t LastLighter(uint64_t limit, size_t fallback) const {
    for (size_t i = count; i-- > 0;) {
      if (WeightAt(i) < limit) return i;
    }
    return fallback;
  }

  void Erase(size_t i) {
    for (size_t j = i + 1; j < count; ++j) ids[j - 1] = ids[j];
    --count;
  }
};

}  // namespace

HuffmanTree BuildHuffmanTree(const HuffmanWeights& weights) {
  HuffmanTree tree{};
  NodeList list;
  for (unsigned i = 0; i < kHuffmanLeaves; ++i) {
    list.weight[i] = weights[i];
    list.ids[i] = static_cast<uint16_t>(i);
  }
  uint16_t next = kHuffmanLeaves;
  while (list.count > 1) {
    const size_t first_lightest = list.FirstLightest();
    const size_t s = first_lightest == 0 ? 1 : 0;
    const size_t m = list.LastLighter(list.WeightAt(s), first_lightest);
    const uint16_t m_id = list.ids[m];
    const uint16_t s_id = list.ids[s];
    list.weight[next] = list.weight[m_id] + list.weight[s_id];
    tree.branches[next - kHuffmanLeaves] = {m_id, s_id};
    list.ids[m] = next;
    list.Erase(s);
    ++next;
  }
  return tree;
}

}  // namespace packing_internal
