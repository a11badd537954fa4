// MSB-first bit reader over a bounded byte range. Bits are kept in a 64-bit
// buffer, the next bit in the top bit. The reader never loads a byte past the
// end of its range.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace packing_internal {

inline uint64_t LoadBigEndian64(const uint8_t* p) {
  uint64_t v;
  std::memcpy(&v, p, sizeof v);
  return __builtin_bswap64(v);
}

class BitReader {
 public:
  BitReader(const uint8_t* data, size_t size) : data_(data), size_(size) {}

  // Tops the buffer up to at least 57 bits, or with all the input left.
  void Refill() {
    if (count_ > 56) return;
    if (size_ - pos_ >= 8) {
      // Bits below the new count that belong to the next, partly loaded byte
      // are that byte's real bits, so loading it again later ORs in the same
      // values.
      buffer_ |= LoadBigEndian64(data_ + pos_) >> count_;
      pos_ += (63 - count_) >> 3;
      count_ |= 56;
      return;
    }
    while (count_ <= 56 && pos_ < size_) {
      buffer_ |= uint64_t{data_[pos_++]} << (56 - count_);
      count_ += 8;
    }
  }

  // The buffered bits, MSB first. Bits past Count() are zero or the input's
  // next bits, never anything else.
  uint64_t Bits() const { return buffer_; }
  unsigned Count() const { return count_; }
  // n <= Count() and n < 64.
  void Consume(unsigned n) {
    buffer_ <<= n;
    count_ -= n;
  }

  // Reads n bits (1..32) as a number, most significant first. Returns false,
  // consuming nothing, when fewer than n bits are left.
  bool Read(unsigned n, uint32_t& value) {
    if (count_ < n) Refill();
    if (count_ < n) return false;
    value = static_cast<uint32_t>(buffer_ >> (64 - n));
    Consume(n);
    return true;
  }

  size_t BitPosition() const { return pos_ * 8 - count_; }

 private:
  const uint8_t* data_;
  size_t size_;
  size_t pos_ = 0;
  uint64_t buffer_ = 0;
  unsigned count_ = 0;
};

}  // namespace packing_internal
