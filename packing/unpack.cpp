// Method dispatch, output bounds and status names.
#include <cstdint>

#include "packing/packing.h"

namespace {

size_t SaturatingMul(size_t a, size_t b) {
  size_t product = 0;
  return __builtin_mul_overflow(a, b, &product) ? SIZE_MAX : product;
}

// Symbols a Huffman stream of in_size bytes can hold: every code is at least
// one bit (the tree always has 256 leaves), after a table of at least 256
// bits (one per byte value).
size_t MaxHuffmanSymbols(size_t in_size) {
  constexpr size_t kTableBytesMin = 32;
  return in_size > kTableBytesMin ? SaturatingMul(in_size - kTableBytesMin, 8) : 0;
}

}  // namespace

UnpackResult Unpack(int method, const uint8_t* in, size_t in_size, uint8_t* out, size_t out_size,
                    size_t history) {
  switch (method) {
    case 1: return Unpack_Rle(in, in_size, out, out_size);
    case 2: return Unpack_Lz_Short(in, in_size, out, out_size, history);
    case 3: return Unpack_Lz_Long(in, in_size, out, out_size, history);
    case 4: return Unpack_Huffman(in, in_size, out, out_size);
    case 5: return Unpack_Huffman_Lz_Long(in, in_size, out, out_size, history);
    case 6: return Unpack_Lz_Skip(in, in_size, out, out_size, history);
    case 7: return Unpack_Huffman_Lz_Skip(in, in_size, out, out_size, history);
    default: return {UnpackStatus::kBadMethod, 0, 0};
  }
}

// The densest packets: method 1's 2-byte run and method 2's 2-byte copy give
// 128 bytes; method 3's 2-byte short copy gives 64; method 6's 1-byte skip
// gives 64. In methods 5 and 7 those packets are made of symbols of at least
// one bit each. A cut last packet only writes less.
size_t Unpack_Max_Output(int method, size_t in_size) {
  switch (method) {
    case 1:
    case 2: return SaturatingMul(in_size / 2, 128);
    case 3: return SaturatingMul(in_size / 2, 64);
    case 4: return MaxHuffmanSymbols(in_size);
    case 5: return SaturatingMul(MaxHuffmanSymbols(in_size) / 2, 64);
    case 6: return SaturatingMul(in_size, 64);
    case 7: return SaturatingMul(MaxHuffmanSymbols(in_size), 64);
    default: return 0;
  }
}

const char* Unpack_Status_Text(UnpackStatus status) {
  switch (status) {
    case UnpackStatus::kOk: return "ok";
    case UnpackStatus::kInputEnded: return "input ended";
    case UnpackStatus::kBadDistance: return "bad distance";
    case UnpackStatus::kBadMethod: return "bad method";
  }
  return "unknown status";
}
