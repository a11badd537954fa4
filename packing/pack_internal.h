// The packers behind Pack(), for tools and tests that need more control.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace packing_internal {

// Method 1. An empty input still gives one packet (a cut one-byte run): the
// decoder reads a packet even for an empty output.
std::vector<uint8_t> PackRle(const uint8_t* data, size_t size);

// Methods 2, 3 and 6 (`method`). data[-history, 0) is what the decoder keeps
// in front of its output and may be copied from (at most the last 65536
// bytes are used). For method 6, `previous` (size bytes, may be null) is what
// the output holds before decoding; runs equal to it become skips.
std::vector<uint8_t> PackLz(int method, const uint8_t* data, size_t size, const uint8_t* previous,
                            size_t history);

// Method 4: weights are the byte counts of data.
std::vector<uint8_t> PackHuffman(const uint8_t* data, size_t size);

}  // namespace packing_internal
