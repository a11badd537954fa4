// Writing packed files ("PAKF"): the 36-byte little-endian header
//
//   0  4   magic "PAKF"
//   4  4   unused, written as 0
//   8  16  stored name, zero-padded (at most 15 characters)
//   24 4   packing method 0..5 (0 = stored)
//   28 4   packed size
//   32 4   unpacked size
//
// followed by the packed data.
#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

// The engine counts file sizes and memory files in signed 32 bits: a packed
// file, and the data it unpacks to, may not be larger than this.
inline constexpr uint64_t kPakFileSizeMax = uint64_t(std::numeric_limits<int32_t>::max());

// Why the name cannot be stored ("" when it can): it must hold 1 to 15
// characters and no NUL.
std::string Pak_Name_Problem(std::string_view name);

// The header bytes. The name must pass Pak_Name_Problem.
std::vector<uint8_t> Pak_Header(std::string_view name, int method, uint32_t packed_size,
                                uint32_t unpacked_size);

struct PakBuild {
  std::vector<uint8_t> bytes;  // the whole packed file
  uint32_t packed_size = 0;
  std::string error;  // "" on success; bytes is empty otherwise

  bool ok() const { return error.empty(); }
};

// Packs the data with the method (0..5) into a whole packed file. The result
// is unpacked again and compared with the data, so a file that would not
// read back is never handed out.
PakBuild Pak_Build(int method, std::string_view name, const uint8_t* data, size_t size);
