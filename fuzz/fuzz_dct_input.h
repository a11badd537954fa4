// Input layout of fuzz_dct_unpack, shared with its seed writer:
//
//   0  1  unpacker: low 3 bits, 0-5 the whole-picture unpacker (kind % 3:
//         RGB555, RGB565, 4-byte; kinds 3-5 smooth chroma, as the still
//         picture's do), 6 Unpack_Bloc_Rgb_16, 7 Unpack_Bloc_Rgb_32_2
//   1  1  a whole picture's width less 1 (1 .. 256); the target width of a
//         block unpacker: low 2 bits 0 = 256, 1 = 640, 2 = the byte's value
//         times 3 (a width no unpacker takes), 3 = 256
//   2  1  a whole picture's height less 1 (1 .. 256); the depth of
//         Unpack_Bloc_Rgb_16: 15 when bit 0 is set, else 16
//   3  2  block count, signed little-endian
//   5  4 × max(count, 0) block numbers, little-endian (as many as the input
//         holds; the rest are 0)
//   .     the compressed data, to the end
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

inline constexpr size_t kDctFuzzHeader = 5;

struct DctFuzzInput {
  int kind = 0;
  int width = 256;
  int height = 1;  // of a whole picture
  int depth = 16;
  int count = 0;
  std::vector<int> blocks;  // max(count, 0) numbers
  std::vector<unsigned char> data;
};

inline int Dct_Fuzz_Width(uint8_t code) {
  switch (code & 3) {
    case 1: return 640;
    case 2: return code * 3;
    default: return 256;
  }
}

inline DctFuzzInput Dct_Fuzz_Parse(const uint8_t* bytes, size_t size) {
  DctFuzzInput in;
  if (size < kDctFuzzHeader) return in;
  in.kind = bytes[0] & 7;
  in.width = in.kind < 6 ? bytes[1] + 1 : Dct_Fuzz_Width(bytes[1]);
  in.height = bytes[2] + 1;
  in.depth = bytes[2] & 1 ? 15 : 16;
  in.count = static_cast<int16_t>(bytes[3] | bytes[4] << 8);
  in.blocks.assign(in.count > 0 ? static_cast<size_t>(in.count) : 0, 0);
  size_t at = kDctFuzzHeader;
  for (size_t i = 0; i < in.blocks.size() && at + 4 <= size; ++i, at += 4)
    in.blocks[i] = static_cast<int32_t>(uint32_t{bytes[at]} | uint32_t{bytes[at + 1]} << 8 |
                                        uint32_t{bytes[at + 2]} << 16 | uint32_t{bytes[at + 3]} << 24);
  in.data.assign(bytes + at, bytes + size);
  return in;
}

// The seed writer's side: the header and block numbers before `data`
// (`b1` and `b2` are bytes 1 and 2 as above).
inline std::vector<uint8_t> Dct_Fuzz_Make(int kind, uint8_t b1, uint8_t b2, const std::vector<int>& blocks,
                                          const std::vector<unsigned char>& data) {
  const auto count = static_cast<uint16_t>(blocks.size());
  std::vector<uint8_t> out = {static_cast<uint8_t>(kind), b1, b2, static_cast<uint8_t>(count),
                              static_cast<uint8_t>(count >> 8)};
  for (int b : blocks)
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(static_cast<uint32_t>(b) >> (8 * i)));
  out.insert(out.end(), data.begin(), data.end());
  return out;
}
