#include "tests/support/pak_bytes.h"

#include <vector>

#include "packing/packing_encode.h"

std::string Pak_Bytes(std::string_view magic, std::string_view stored_name, uint32_t method,
                      uint32_t packed_size, uint32_t unpacked_size, std::string_view payload) {
  std::string out(magic.substr(0, 4));
  out.resize(4, '\0');
  auto put32 = [&](uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(char(v >> (8 * i)));
  };
  put32(0);
  std::string name(stored_name.substr(0, 16));
  name.resize(16, '\0');
  out += name;
  put32(method);
  put32(packed_size);
  put32(unpacked_size);
  out += payload;
  return out;
}

std::string Pak_File(std::string_view stored_name, int method, std::string_view data) {
  const auto* bytes = reinterpret_cast<const uint8_t*>(data.data());
  const std::vector<uint8_t> packed =
      method == 0 ? std::vector<uint8_t>(bytes, bytes + data.size()) : Pack(method, bytes, data.size());
  return Pak_Bytes("PAKF", stored_name, uint32_t(method), uint32_t(packed.size()), uint32_t(data.size()),
                   std::string_view(reinterpret_cast<const char*>(packed.data()), packed.size()));
}
