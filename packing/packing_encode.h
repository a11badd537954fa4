// Packers for the seven packing methods, for tools and tests. The engine only
// decodes; nothing in kvr_viewer links this.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// Packs size bytes with method 1..7. For methods 6 and 7, `previous` (size
// bytes, may be null) is what the decoder's output holds before decoding;
// runs equal to it are written as skips. Returns an empty vector for a method
// outside 1..7.
std::vector<uint8_t> Pack(int method, const uint8_t* data, size_t size, const uint8_t* previous = nullptr);
