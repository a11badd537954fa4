// Packed files ("PAKF"): a 36-byte little-endian header, then the packed data.
//
//   0  4   magic "PAKF"
//   4  4   not used by the reader
//   8  16  name of the file before packing, zero-terminated (byte 23 is
//          always taken as 0, so at most 15 characters)
//   24 4   packing method 0..5 (0 = stored)
//   28 4   packed size
//   32 4   unpacked size
//   36     packed data
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "packing/packing.h"

struct Wendax;

inline constexpr size_t kPakHeaderSize = 36;
inline constexpr size_t kPakNameMax = 15;
inline constexpr int kPakMethodMax = 5;

enum class PakStatus {
  kOk,
  kNoFile,          // the file cannot be opened
  kNotPak,          // shorter than the header, or the magic is not "PAKF"
  kBadMethod,       // method outside 0..5
  kImpossibleSize,  // the unpacked size cannot come from the packed data
  kMalformed,       // the packed data end early or are corrupt
};

struct PakHeader {
  std::string stored_name;
  int32_t method = 0;
  uint32_t packed_size = 0;  // as written in the header
  uint32_t unpacked_size = 0;
};

struct PakResult {
  PakStatus status = PakStatus::kNoFile;
  PakHeader header;
  size_t packed_available = 0;  // packed bytes present in the file
  UnpackResult unpack;          // how far the decoder got
  std::vector<uint8_t> data;    // the unpacked bytes (Ok only)

  bool ok() const { return status == PakStatus::kOk; }
};

// Reads a header; false when the bytes are too short or not "PAKF".
bool Pak_Parse_Header(const uint8_t* bytes, size_t size, PakHeader& header);

// Unpacks a whole packed file held in memory. A packed size larger than the
// bytes present is cut to them; the data must then still decode completely.
PakResult Pak_Decode(const uint8_t* bytes, size_t size);

// Reads the named packed file through the file layer. On success `data`
// holds the unpacked bytes, `name` becomes the name stored in the header and
// the result is 0. Otherwise `data` is empty, `name` is unchanged and the
// result is -1 (also for a file that is not "PAKF", or whose packed data are
// corrupt: they never give partly filled data).
int Pak_Read(Wendax& wx, std::string& name, std::vector<uint8_t>& data);
// The same with the full diagnosis, for tools.
PakResult Pak_Read_File(Wendax& wx, std::string_view name);

const char* Pak_Status_Text(PakStatus status);
