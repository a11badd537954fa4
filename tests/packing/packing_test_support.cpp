#include "tests/packing/packing_test_support.h"

#include <algorithm>
#include <cstring>
#include <random>

namespace packing_test {

Bytes RandomBytes(size_t n, uint32_t seed) {
  std::mt19937 rng(seed);
  Bytes out(n);
  for (auto& b : out) b = static_cast<uint8_t>(rng());
  return out;
}

Bytes TextLike(size_t n, uint32_t seed) {
  static constexpr std::string_view kWords[] = {
      "the ", "frame ",   "of ",    "a ",  "picture ", "sound ", "block ",  "player ", "and ",    "video ",
      "to ",  "history ", "bytes ", "is ", "copy\n",   "run ",   "packed ", "file. ",  "header ", "stream, "};
  std::mt19937 rng(seed);
  Bytes out;
  out.reserve(n + 16);
  while (out.size() < n) {
    const std::string_view w = kWords[rng() % std::size(kWords)];
    out.insert(out.end(), w.begin(), w.end());
  }
  out.resize(n);
  return out;
}

Bytes Gradient16(size_t n, uint32_t seed) {
  std::mt19937 rng(seed);
  Bytes out(n);
  const size_t width = 320;
  for (size_t i = 0; i + 1 < n; i += 2) {
    const size_t pixel = i / 2;
    const size_t x = pixel % width;
    const size_t y = pixel / width;
    const auto v = static_cast<uint16_t>(x * 97 + y * 41 + rng() % 5);
    out[i] = static_cast<uint8_t>(v);
    out[i + 1] = static_cast<uint8_t>(v >> 8);
  }
  return out;
}

Bytes Runs(size_t n, uint32_t seed) {
  std::mt19937 rng(seed);
  Bytes out;
  out.reserve(n);
  while (out.size() < n) {
    const size_t run = std::min<size_t>(1 + rng() % 300, n - out.size());
    out.insert(out.end(), run, static_cast<uint8_t>(rng() % 8));
  }
  return out;
}

Bytes Mixed(size_t n, uint32_t seed) {
  std::mt19937 rng(seed);
  Bytes out;
  out.reserve(n);
  while (out.size() < n) {
    const size_t block = std::min<size_t>(500 + rng() % 4000, n - out.size());
    Bytes part;
    switch (rng() % 4) {
      case 0: part = TextLike(block, rng()); break;
      case 1: part = Gradient16(block, rng()); break;
      case 2: part = Runs(block, rng()); break;
      default: part = RandomBytes(block, rng()); break;
    }
    out.insert(out.end(), part.begin(), part.end());
  }
  return out;
}

GuardedOutput::GuardedOutput(size_t size, size_t history, uint8_t fill)
    : size_(size), history_(history), buffer_(kGuard + history + size + kGuard, fill) {
  for (size_t i = 0; i < kGuard; ++i) {
    buffer_[i] = GuardByte(i);
    buffer_[buffer_.size() - 1 - i] = GuardByte(i);
  }
  for (size_t i = 0; i < history; ++i) history_start()[i] = static_cast<uint8_t>(i * 13 + 5);
}

bool GuardedOutput::GuardsIntact() const {
  for (size_t i = 0; i < kGuard; ++i) {
    if (buffer_[i] != GuardByte(i) || buffer_[buffer_.size() - 1 - i] != GuardByte(i)) {
      return false;
    }
  }
  return true;
}

Bytes GuardedOutput::Contents() const {
  const auto first = buffer_.begin() + static_cast<ptrdiff_t>(kGuard + history_);
  return Bytes(first, first + static_cast<ptrdiff_t>(size_));
}

UnpackResult UnpackTo(GuardedOutput& output, int method, std::span<const uint8_t> in, size_t history) {
  const Bytes exact(in.begin(), in.end());
  return Unpack(method, exact.data(), exact.size(), output.out(), output.size(), history);
}

Bytes BitsToBytes(std::string_view bits) {
  Bytes out;
  size_t n = 0;
  for (const char c : bits) {
    if (c == ' ') continue;
    if (n % 8 == 0) out.push_back(0);
    if (c == '1') out.back() |= static_cast<uint8_t>(0x80 >> (n % 8));
    ++n;
  }
  return out;
}

std::string Repeat(std::string_view s, size_t n) {
  std::string out;
  for (size_t i = 0; i < n; ++i) out += s;
  return out;
}

std::string TableBits(const Weights& weights) {
  std::string bits;
  for (const uint32_t w : weights) {
    if (w == 0) {
      bits += '0';
      continue;
    }
    const unsigned size = w <= 0xFF ? 8 : w <= 0xFFFF ? 16 : w <= 0xFFFFFF ? 24 : 32;
    static constexpr const char* kClass[] = {"00", "01", "10", "11"};
    bits += '1';
    bits += kClass[size / 8 - 1];
    for (unsigned i = size; i-- > 0;) bits += ((w >> i) & 1) ? '1' : '0';
  }
  return bits;
}

namespace {

struct ReferenceTree {
  std::vector<std::array<int, 2>> branches;  // of node 256 + i
  int root = 0;
};

// The procedure as written: first lightest, then s, then a forward walk
// that moves m to every node lighter than s.
ReferenceTree BuildReferenceTree(const Weights& weights) {
  std::vector<uint64_t> weight(weights.begin(), weights.end());
  std::vector<int> list(256);
  for (int i = 0; i < 256; ++i) list[i] = i;
  ReferenceTree tree;
  while (list.size() > 1) {
    size_t m = 0;
    for (size_t i = 0; i < list.size(); ++i) {
      if (weight[list[i]] < weight[list[m]]) m = i;
    }
    const size_t s = m == 0 ? 1 : 0;
    const uint64_t s_weight = weight[list[s]];
    for (size_t i = 0; i < list.size(); ++i) {
      if (weight[list[i]] < s_weight && i != m) m = i;
    }
    const int node = static_cast<int>(weight.size());
    weight.push_back(weight[list[m]] + s_weight);
    tree.branches.push_back({list[m], list[s]});
    list[m] = node;
    list.erase(list.begin() + static_cast<ptrdiff_t>(s));
  }
  tree.root = list[0];
  return tree;
}

void CollectCodes(const ReferenceTree& tree, int node, const std::string& code,
                  std::array<std::string, 256>& codes) {
  if (node < 256) {
    codes[node] = code;
    return;
  }
  CollectCodes(tree, tree.branches[node - 256][0], code + '0', codes);
  CollectCodes(tree, tree.branches[node - 256][1], code + '1', codes);
}

class BitCursor {
 public:
  explicit BitCursor(std::span<const uint8_t> in) : in_(in) {}
  bool Bit(int& bit) {
    if (pos_ >= in_.size() * 8) return false;
    bit = (in_[pos_ / 8] >> (7 - pos_ % 8)) & 1;
    ++pos_;
    return true;
  }
  uint32_t Number(unsigned n) {
    uint32_t v = 0;
    int bit = 0;
    for (unsigned i = 0; i < n; ++i) v = (v << 1) | (Bit(bit) ? bit : 0);
    return v;
  }
  size_t pos() const { return pos_; }

 private:
  std::span<const uint8_t> in_;
  size_t pos_ = 0;
};

}  // namespace

std::array<std::string, 256> ReferenceCodes(const Weights& weights) {
  const ReferenceTree tree = BuildReferenceTree(weights);
  std::array<std::string, 256> codes;
  CollectCodes(tree, tree.root, "", codes);
  return codes;
}

ReferenceResult ReferenceHuffman(std::span<const uint8_t> in, size_t count) {
  BitCursor bits(in);
  Weights weights{};
  for (auto& w : weights) {
    if (bits.Number(1) == 1) w = bits.Number(8 * (bits.Number(2) + 1));
  }
  const ReferenceTree tree = BuildReferenceTree(weights);
  ReferenceResult result{UnpackStatus::kOk, 0, {}};
  while (result.out.size() < count) {
    const size_t start = bits.pos();
    int node = tree.root;
    int bit = 0;
    while (node >= 256 && bits.Bit(bit)) node = tree.branches[node - 256][bit];
    if (node >= 256) {
      result.status = UnpackStatus::kInputEnded;
      result.read = start / 8;
      return result;
    }
    result.out.push_back(static_cast<uint8_t>(node));
  }
  result.read = bits.pos() / 8;
  return result;
}

namespace {

enum class Kind { kLiteral, kRun, kCopy, kSkip };
struct Shape {
  Kind kind;
  size_t length;
  size_t extra;  // bytes after the header that are not literals
};

Shape ShapeOf(int layout, uint8_t h) {
  const size_t low6 = (h & 0x3Fu) + 1;
  switch (layout) {
    case 1: return h < 0x80 ? Shape{Kind::kRun, h + 1u, 1} : Shape{Kind::kLiteral, h - 0x7Fu, 0};
    case 2: return h < 0x80 ? Shape{Kind::kLiteral, h + 1u, 0} : Shape{Kind::kCopy, h - 0x7Fu, 1};
    case 3:
      if (h < 0x80) return {Kind::kLiteral, h + 1u, 0};
      return {Kind::kCopy, low6, h < 0xC0 ? 2u : 1u};
    default:
      if (h < 0x40) return {Kind::kLiteral, low6, 0};
      if (h < 0x80) return {Kind::kSkip, low6, 0};
      return {Kind::kCopy, low6, h < 0xC0 ? 1u : 2u};
  }
}

}  // namespace

size_t PacketOutput(int layout, std::span<const uint8_t> packets, size_t out_size) {
  size_t i = 0;
  size_t written = 0;
  while (written < out_size && i < packets.size()) {
    const Shape p = ShapeOf(layout, packets[i++]);
    const size_t wanted = std::min(p.length, out_size - written);
    if (p.kind == Kind::kLiteral) {
      const size_t present = std::min(wanted, packets.size() - i);
      written += present;
      i += p.length;
      if (present < wanted) break;
      continue;
    }
    if (packets.size() - i < p.extra) break;
    i += p.extra;
    written += wanted;
  }
  return written;
}

}  // namespace packing_test
