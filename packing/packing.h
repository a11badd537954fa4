// Decoders of the seven packing methods used by pictures, video frames,
// video sound and packed files.
//
//   1  run-length
//   2  short-window LZ   (distances 1..256)
//   3  long-window LZ    (distances 1..65536)
//   4  Huffman-coded bytes
//   5  method 3's packet stream, every byte Huffman-coded
//   6  LZ with skips     (skips leave the output's old bytes in place)
//   7  method 6's packet stream, every byte Huffman-coded
//
// Every decoder is bounded on both sides: it never reads past in + in_size
// and never writes past out + out_size, whatever the input holds. Copies may
// reach back into `history` bytes that the caller keeps valid in front of
// `out` (the video player keeps 65536); a copy reaching further is refused.
#pragma once

#include <cstddef>
#include <cstdint>

enum class UnpackStatus {
  kOk,           // the output is full
  kInputEnded,   // the input ran out before the output was full
  kBadDistance,  // a copy reached before the start of the history
  kBadMethod,    // not a method 1..7
};

struct UnpackResult {
  UnpackStatus status = UnpackStatus::kOk;
  // Input bytes consumed. For the Huffman methods this is the index of the
  // byte holding the next unread bit.
  size_t read = 0;
  // Output bytes produced (skipped bytes count as produced).
  size_t written = 0;

  bool ok() const { return status == UnpackStatus::kOk; }
};

inline constexpr int kPackMethodMax = 7;
inline constexpr size_t kPackHistoryMax = 65536;

// Decodes out_size bytes with the given method (1..7). Method 0 is not a
// packing method; callers copy stored data themselves.
UnpackResult Unpack(int method, const uint8_t* in, size_t in_size, uint8_t* out, size_t out_size,
                    size_t history = 0);

// The decoders one by one. Unpack_Rle decodes at least one packet even when
// out_size is 0 (the stream's first packet is consumed, nothing is written);
// the others do nothing for out_size 0.
UnpackResult Unpack_Rle(const uint8_t* in, size_t in_size, uint8_t* out, size_t out_size);
UnpackResult Unpack_Lz_Short(const uint8_t* in, size_t in_size, uint8_t* out, size_t out_size,
                             size_t history = 0);
UnpackResult Unpack_Lz_Long(const uint8_t* in, size_t in_size, uint8_t* out, size_t out_size,
                            size_t history = 0);
UnpackResult Unpack_Huffman(const uint8_t* in, size_t in_size, uint8_t* out, size_t out_size);
UnpackResult Unpack_Huffman_Lz_Long(const uint8_t* in, size_t in_size, uint8_t* out, size_t out_size,
                                    size_t history = 0);
UnpackResult Unpack_Lz_Skip(const uint8_t* in, size_t in_size, uint8_t* out, size_t out_size,
                            size_t history = 0);
UnpackResult Unpack_Huffman_Lz_Skip(const uint8_t* in, size_t in_size, uint8_t* out, size_t out_size,
                                    size_t history = 0);

// Largest output a well-formed stream of in_size bytes can produce with the
// method: lets readers refuse a header that claims an impossible size before
// allocating it. Saturates at SIZE_MAX.
size_t Unpack_Max_Output(int method, size_t in_size);

const char* Unpack_Status_Text(UnpackStatus status);
