// Input layout of the fuzz_unpack_N targets, shared with the seed generator:
//
//   0  2  output size, little-endian (0..65535)
//   2  1  history selector: 255 = 65536 bytes, else selector * 257
//   3     the packed stream
//
// The history holds kFuzzHistoryText repeated (ending at the output's start)
// and the output holds FuzzPreviousByte(i) before decoding, so seeds can be
// packed against both.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

inline constexpr size_t kFuzzHeaderSize = 3;

inline constexpr std::string_view kFuzzHistoryText =
    "[WARP] HALL.VR HALL.ZON\n[TEST] 0 0\nPLAYSOUND DOOR.WAV 200 1\nGOTOWARP STUDY.VR\n";

inline size_t FuzzHistorySize(uint8_t selector) {
  return selector == 255 ? size_t{65536} : size_t{selector} * 257;
}

// Byte i of the history block of `size` bytes (the last one is just before
// the output).
inline uint8_t FuzzHistoryByte(size_t i, size_t size) {
  const size_t back = size - i;  // 1 for the last byte
  const size_t n = kFuzzHistoryText.size();
  return static_cast<uint8_t>(kFuzzHistoryText[(n - back % n) % n]);
}

// What the output holds before decoding: a shallow gradient, left by
// methods 6 and 7 where they skip.
inline uint8_t FuzzPreviousByte(size_t i) { return static_cast<uint8_t>(i / 24 + (i % 24) / 8); }
