// Methods 2, 3 and 6 packer: greedy LZ with one step of lazy matching over
// hash chains of bounded depth; method 6 also turns runs equal to the
// previous output into skips.
#include <algorithm>
#include <cstring>

#include "packing/pack_internal.h"

namespace packing_internal {
namespace {

struct LzFormat {
  int method;
  size_t window;
  size_t max_copy;
  size_t max_literals;
};

constexpr LzFormat FormatOf(int method) {
  switch (method) {
    case 2: return {2, 256, 128, 128};
    case 3: return {3, 65536, 64, 128};
    default: return {6, 65536, 64, 64};
  }
}

constexpr size_t kShortDistanceMax = 256;
constexpr size_t kMaxSkip = 64;
constexpr size_t kMinSkip = 2;
constexpr size_t kMinMatch = 3;
constexpr unsigned kChainDepth = 32;
constexpr unsigned kHashBits = 16;
constexpr size_t kRingSize = 65536;  // >= every window
constexpr size_t kNone = SIZE_MAX;

struct Match {
  size_t distance = 0;
  size_t length = 0;
};

// A 3-byte match at a long distance costs as much as the literals it saves.
bool WorthCopying(const Match& m) {
  return m.length >= kMinMatch && (m.distance <= kShortDistanceMax || m.length > kMinMatch);
}

class PacketWriter {
 public:
  PacketWriter(const LzFormat& format, std::vector<uint8_t>& out) : format_(format), out_(out) {}

  void Literals(const uint8_t* p, size_t n) {
    while (n != 0) {
      const size_t chunk = std::min(n, format_.max_literals);
      out_.push_back(static_cast<uint8_t>(chunk - 1));
      out_.insert(out_.end(), p, p + chunk);
      p += chunk;
      n -= chunk;
    }
  }

  void Copy(size_t distance, size_t length) {
    const size_t d = distance - 1;
    const auto low6 = static_cast<uint8_t>(length - 1);
    if (format_.method == 2) {
      Put(0x7F + length, d);
    } else if (distance <= kShortDistanceMax) {
      Put((format_.method == 3 ? 0xC0 : 0x80) | low6, d);
    } else {
      Put((format_.method == 3 ? 0x80 : 0xC0) | low6, d >> 8, d & 0xFF);
    }
  }

  void Skip(size_t length) { out_.push_back(static_cast<uint8_t>(0x40 | (length - 1))); }

 private:
  template <class... Bytes>
  void Put(Bytes... bytes) {
    (out_.push_back(static_cast<uint8_t>(bytes)), ...);
  }

  const LzFormat& format_;
  std::vector<uint8_t>& out_;
};

// Hash chains over 3-byte prefixes of base[0, end). Positions are inserted in
// order; Find(pos) looks among the positions inserted before pos.
class MatchFinder {
 public:
  MatchFinder(const uint8_t* base, size_t end, const LzFormat& format)
      : base_(base),
        end_(end),
        window_(format.window),
        max_length_(format.max_copy),
        head_(size_t{1} << kHashBits, kNone),
        prev_(kRingSize, kNone) {}

  void InsertUpTo(size_t pos) {
    for (; inserted_ < pos; ++inserted_) {
      if (inserted_ + kMinMatch > end_) continue;
      size_t& head = head_[Hash(base_ + inserted_)];
      prev_[inserted_ % kRingSize] = head;
      head = inserted_;
    }
  }

  // A link is followed only from a position within the window, whose ring
  // slot no later position has reused yet.
  Match Find(size_t pos) const {
    Match best;
    if (pos + kMinMatch > end_) return best;
    const size_t limit = std::min(max_length_, end_ - pos);
    size_t candidate = head_[Hash(base_ + pos)];
    for (unsigned depth = 0; depth < kChainDepth && candidate < pos; ++depth) {
      const size_t distance = pos - candidate;
      if (distance > window_) break;
      if (base_[candidate + best.length] == base_[pos + best.length]) {
        const size_t length = MatchLength(base_ + candidate, base_ + pos, limit);
        if (length > best.length) {
          best = {distance, length};
          if (length == limit) break;
        }
      }
      candidate = prev_[candidate % kRingSize];
    }
    return best;
  }

 private:
  static uint32_t Hash(const uint8_t* p) {
    const uint32_t v = uint32_t{p[0]} << 16 | uint32_t{p[1]} << 8 | p[2];
    return (v * 2654435761u) >> (32 - kHashBits);
  }

  static size_t MatchLength(const uint8_t* a, const uint8_t* b, size_t limit) {
    size_t n = 0;
    while (n + 8 <= limit) {
      uint64_t x, y;
      std::memcpy(&x, a + n, 8);
      std::memcpy(&y, b + n, 8);
      if (x != y) return n + static_cast<size_t>(__builtin_ctzll(x ^ y) / 8);
      n += 8;
    }
    while (n < limit && a[n] == b[n]) ++n;
    return n;
  }

  const uint8_t* base_;
  size_t end_;
  size_t window_;
  size_t max_length_;
  std::vector<size_t> head_;
  std::vector<size_t> prev_;
  size_t inserted_ = 0;
};

// Bytes from i on (at most one skip packet) that already hold their value.
size_t SkipRun(const uint8_t* data, const uint8_t* previous, size_t i, size_t size) {
  const size_t limit = std::min(size, i + kMaxSkip);
  size_t end = i;
  while (end < limit && data[end] == previous[end]) ++end;
  return end - i;
}

}  // namespace

std::vector<uint8_t> PackLz(int method, const uint8_t* data, size_t size, const uint8_t* previous,
                            size_t history) {
  const LzFormat format = FormatOf(method);
  std::vector<uint8_t> out;
  if (size == 0) return out;
  out.reserve(size + size / 32 + 16);
  history = std::min(history, format.window);
  const uint8_t* base = data - history;
  const size_t end = history + size;
  const uint8_t* old = method == 6 ? previous : nullptr;

  MatchFinder finder(base, end, format);
  PacketWriter writer(format, out);
  size_t literal_start = history;
  size_t pos = history;
  Match lookahead;  // the match at pos found by the previous step, if any
  bool have_lookahead = false;
  const auto flush_literals = [&] { writer.Literals(base + literal_start, pos - literal_start); };

  while (pos < end) {
    finder.InsertUpTo(pos);
    const Match match = have_lookahead ? lookahead : finder.Find(pos);
    have_lookahead = false;
    const size_t skip = old ? SkipRun(data, old, pos - history, size) : 0;
    if (skip >= kMinSkip && 2 * skip >= match.length) {
      flush_literals();
      writer.Skip(skip);
      pos += skip;
      literal_start = pos;
      continue;
    }
    if (!WorthCopying(match)) {
      ++pos;
      continue;
    }
    if (pos + 1 < end) {
      finder.InsertUpTo(pos + 1);
      const Match next = finder.Find(pos + 1);
      if (next.length > match.length) {  // emit pos as a literal, copy from pos + 1
        lookahead = next;
        have_lookahead = true;
        ++pos;
        continue;
      }
    }
    flush_literals();
    writer.Copy(match.distance, match.length);
    pos += match.length;
    literal_start = pos;
  }
  flush_literals();
  return out;
}

}  // namespace packing_internal
