// Packet loops of the LZ methods, shared by the raw-byte decoders (2, 3, 6)
// and the Huffman-coded ones (5 = 3's packets, 7 = 6's packets). A byte
// source provides:
//   bool   Next(uint8_t& byte)          one byte, false when the input ended
//   size_t Copy(uint8_t* dst, size_t n) up to n bytes into dst, returns count
//   void   Discard(size_t n)            drops up to n bytes
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "packing/packing.h"

namespace packing_internal {

// Bytes straight from the input.
class ByteSource {
 public:
  ByteSource(const uint8_t* data, size_t size) : data_(data), size_(size) {}

  bool Next(uint8_t& byte) {
    if (pos_ >= size_) return false;
    byte = data_[pos_++];
    return true;
  }
  size_t Copy(uint8_t* dst, size_t n) {
    n = std::min(n, size_ - pos_);
    if (n != 0) std::memcpy(dst, data_ + pos_, n);
    pos_ += n;
    return n;
  }
  void Discard(size_t n) { pos_ += std::min(n, size_ - pos_); }
  size_t Position() const { return pos_; }

 private:
  const uint8_t* data_;
  size_t size_;
  size_t pos_ = 0;
};

// The output being filled: data[0, size), with `history` readable bytes in
// front of data.
struct Output {
  uint8_t* data;
  size_t size;
  size_t history;
  size_t pos = 0;

  size_t Room() const { return size - pos; }
};

// Copies n bytes from src to dst when the ranges do not overlap
// (dst - src >= n). Short copies use two overlapping fixed-size moves.
inline void CopyApart(uint8_t* dst, const uint8_t* src, size_t n) {
  if (n >= 16) {
    std::memcpy(dst, src, n);
  } else if (n >= 8) {
    uint64_t a, b;
    std::memcpy(&a, src, 8);
    std::memcpy(&b, src + n - 8, 8);
    std::memcpy(dst, &a, 8);
    std::memcpy(dst + n - 8, &b, 8);
  } else if (n >= 4) {
    uint32_t a, b;
    std::memcpy(&a, src, 4);
    std::memcpy(&b, src + n - 4, 4);
    std::memcpy(dst, &a, 4);
    std::memcpy(dst + n - 4, &b, 4);
  } else {
    for (size_t i = 0; i < n; ++i) dst[i] = src[i];
  }
}

// Writes n bytes at dst, each a copy of the byte `distance` before it, as a
// byte-by-byte forward copy would: a distance shorter than n repeats the last
// `distance` bytes. The repeated pattern is copied in growing non-overlapping
// blocks; every block starts a whole number of periods after the first.
inline void CopyBack(uint8_t* dst, size_t distance, size_t n) {
  const uint8_t* src = dst - distance;
  if (distance >= n) {
    CopyApart(dst, src, n);
  } else if (distance == 1) {
    std::memset(dst, *src, n);
  } else {
    while (n != 0) {
      const size_t block = std::min(n, static_cast<size_t>(dst - src));
      std::memcpy(dst, src, block);
      dst += block;
      n -= block;
    }
  }
}

enum class PacketKind : uint8_t { kLiteral, kSkip, kCopy };

struct PacketHeader {
  PacketKind kind;
  uint8_t distance_bytes;  // for copies: 1 (d) or 2 (hi, lo)
  uint16_t length;
};

// Header layouts: 2 (short-window LZ), 3 (long-window LZ, also method 5),
// 6 (LZ with skips, also method 7).
template <int Layout>
constexpr PacketHeader ReadHeader(uint8_t h) {
  static_assert(Layout == 2 || Layout == 3 || Layout == 6);
  const uint16_t low6 = static_cast<uint16_t>((h & 0x3F) + 1);
  if constexpr (Layout == 2) {
    if (h < 0x80) return {PacketKind::kLiteral, 0, static_cast<uint16_t>(h + 1)};
    return {PacketKind::kCopy, 1, static_cast<uint16_t>(h - 0x7F)};
  } else if constexpr (Layout == 3) {
    if (h < 0x80) return {PacketKind::kLiteral, 0, static_cast<uint16_t>(h + 1)};
    return {PacketKind::kCopy, static_cast<uint8_t>(h < 0xC0 ? 2 : 1), low6};
  } else {
    switch (h >> 6) {
      case 0: return {PacketKind::kLiteral, 0, low6};
      case 1: return {PacketKind::kSkip, 0, low6};
      case 2: return {PacketKind::kCopy, 1, low6};
      default: return {PacketKind::kCopy, 2, low6};
    }
  }
}

// Literal bytes; a packet longer than the room left is cut, its remaining
// bytes are consumed (when present) so the input ends after the packet.
template <class Source>
UnpackStatus PutLiterals(Source& in, Output& out, size_t length) {
  const size_t n = std::min(length, out.Room());
  const size_t got = in.Copy(out.data + out.pos, n);
  out.pos += got;
  if (got < n) return UnpackStatus::kInputEnded;
  in.Discard(length - n);
  return UnpackStatus::kOk;
}

template <class Source>
UnpackStatus PutCopy(Source& in, Output& out, const PacketHeader& p) {
  uint8_t first = 0;
  if (!in.Next(first)) return UnpackStatus::kInputEnded;
  size_t distance = size_t{first} + 1;
  if (p.distance_bytes == 2) {
    uint8_t low = 0;
    if (!in.Next(low)) return UnpackStatus::kInputEnded;
    distance = size_t{first} * 256 + low + 1;
  }
  if (distance > out.pos + out.history) return UnpackStatus::kBadDistance;
  const size_t n = std::min<size_t>(p.length, out.Room());
  CopyBack(out.data + out.pos, distance, n);
  out.pos += n;
  return UnpackStatus::kOk;
}

// Decodes packets until the output is full.
template <int Layout, class Source>
UnpackStatus DecodePackets(Source& in, Output& out) {
  while (out.pos < out.size) {
    uint8_t h = 0;
    if (!in.Next(h)) return UnpackStatus::kInputEnded;
    const PacketHeader p = ReadHeader<Layout>(h);
    UnpackStatus status = UnpackStatus::kOk;
    switch (p.kind) {
      case PacketKind::kLiteral: status = PutLiterals(in, out, p.length); break;
      case PacketKind::kSkip: out.pos += std::min<size_t>(p.length, out.Room()); break;
      case PacketKind::kCopy: status = PutCopy(in, out, p); break;
    }
    if (status != UnpackStatus::kOk) return status;
  }
  return UnpackStatus::kOk;
}

}  // namespace packing_internal
