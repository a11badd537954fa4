#include "packing/pack_internal.h"
#include "packing/packing_encode.h"

std::vector<uint8_t> Pack(int method, const uint8_t* data, size_t size, const uint8_t* previous) {
  using namespace packing_internal;
  switch (method) {
    case 1: return PackRle(data, size);
    case 2: return PackLz(2, data, size, nullptr, 0);
    case 3: return PackLz(3, data, size, nullptr, 0);
    case 4: return PackHuffman(data, size);
    case 5: {
      const std::vector<uint8_t> packets = PackLz(3, data, size, nullptr, 0);
      return PackHuffman(packets.data(), packets.size());
    }
    case 6: return PackLz(6, data, size, previous, 0);
    case 7: {
      const std::vector<uint8_t> packets = PackLz(6, data, size, previous, 0);
      return PackHuffman(packets.data(), packets.size());
    }
    default: return {};
  }
}
