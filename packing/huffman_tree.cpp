#include "packing/huffman_tree.h"

#include <algorithm>
#include <cstddef>
#include <limits>

namespace packing_internal {
namespace {

// The working list, kept in the leaves' positions: a joined node takes the
// position of its m, and the list's order is the order of the positions
// still in use. A min-tree over the 256 positions answers both searches of
// a join in eight steps instead of a walk over the list. Weights are summed
// in 64 bits, so 256 weights of 32 bits cannot overflow, and a position no
// longer in the list weighs kGone, more than any sum.
//
// Joins remove only the list's first or second node, so the positions in
// use are always a run [start, 255], with at most one position (head)
// before it.
class NodeList {
 public:
  explicit NodeList(const HuffmanWeights& weights) {
    for (unsigned p = 0; p < kHuffmanLeaves; ++p) {
      min_[kHuffmanLeaves + p] = weights[p];
      ids_[p] = static_cast<uint16_t>(p);
    }
    for (size_t n = kHuffmanLeaves; n-- > 1;) min_[n] = std::min(min_[2 * n], min_[2 * n + 1]);
  }

  size_t Count() const { return count_; }
  uint16_t Id(size_t p) const { return ids_[p]; }
  uint64_t Weight(size_t p) const { return min_[kHuffmanLeaves + p]; }
  // The position of the list's first (i = 0) or second (i = 1) node.
  size_t At(size_t i) const { return has_head_ ? (i == 0 ? head_ : start_) : start_ + i; }

  // The position of the first of the lightest nodes.
  size_t FirstLightest() const {
    size_t n = 1;
    while (n < kHuffmanLeaves) n = min_[2 * n] <= min_[2 * n + 1] ? 2 * n : 2 * n + 1;
    return n - kHuffmanLeaves;
  }

  // The position of the last node lighter than `limit`, or `fallback` when
  // there is none.
  size_t LastLighter(uint64_t limit, size_t fallback) const {
    if (min_[1] >= limit) return fallback;
    size_t n = 1;
    while (n < kHuffmanLeaves) n = min_[2 * n + 1] < limit ? 2 * n + 1 : 2 * n;
    return n - kHuffmanLeaves;
  }

  void Replace(size_t p, uint16_t id, uint64_t weight) {
    ids_[p] = id;
    Set(p, weight);
  }

  // Removes the list's first (i = 0) or second (i = 1) node.
  void Erase(size_t i) {
    Set(At(i), kGone);
    --count_;
    if (has_head_) {
      if (i == 0)
        has_head_ = false;
      else
        ++start_;
    } else if (i == 0) {
      ++start_;
    } else {
      has_head_ = true;
      head_ = start_;
      start_ += 2;
    }
  }

 private:
  static constexpr uint64_t kGone = std::numeric_limits<uint64_t>::max();

  void Set(size_t p, uint64_t weight) {
    size_t n = kHuffmanLeaves + p;
    min_[n] = weight;
    for (n /= 2; n >= 1; n /= 2) min_[n] = std::min(min_[2 * n], min_[2 * n + 1]);
  }

  // min_[1] is the root, min_[256 + p] the weight at position p.
  std::array<uint64_t, 2 * kHuffmanLeaves> min_;
  std::array<uint16_t, kHuffmanLeaves> ids_;
  size_t count_ = kHuffmanLeaves;
  bool has_head_ = false;
  size_t head_ = 0;
  size_t start_ = 0;
};

}  // namespace

HuffmanTree BuildHuffmanTree(const HuffmanWeights& weights) {
  HuffmanTree tree{};
  NodeList list(weights);
  uint16_t next = kHuffmanLeaves;
  while (list.Count() > 1) {
    const size_t first_lightest = list.FirstLightest();
    const size_t s_index = first_lightest == list.At(0) ? 1 : 0;
    const size_t s = list.At(s_index);
    const size_t m = list.LastLighter(list.Weight(s), first_lightest);
    const uint16_t m_id = list.Id(m);
    const uint16_t s_id = list.Id(s);
    tree.branches[next - kHuffmanLeaves] = {m_id, s_id};
    list.Replace(m, next, list.Weight(m) + list.Weight(s));
    list.Erase(s_index);
    ++next;
  }
  return tree;
}

}  // namespace packing_internal
