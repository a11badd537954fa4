#include "platform_test_support.h"

#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "pictures/packing_encode.h"
#include "platform/file_layer.h"

std::string_view As_Text(const std::vector<uint8_t>& bytes) {
  return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

std::vector<uint8_t> As_Bytes(std::string_view text) {
  return {text.begin(), text.end()};
}

std::string Read_All(Wendax& wx, int handle) {
  std::string out;
  char buffer[7];  // small on purpose: many reads per file
  while (int count = File_Read(wx, handle, buffer, int(sizeof buffer))) out.append(buffer, size_t(count));
  return out;
}

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
  std::vector<uint8_t> packed = method == 0 ? std::vector<uint8_t>(bytes, bytes + data.size())
                                            : Pack(method, bytes, data.size());
  return Pak_Bytes("PAKF", stored_name, uint32_t(method), uint32_t(packed.size()),
                   uint32_t(data.size()), As_Text(packed));
}

std::string Sample_Data(size_t size) {
  std::string data;
  data.reserve(size);
  uint32_t noise = 12345;
  while (data.size() < size) {
    switch ((data.size() / 97) % 4) {
      case 0: data.push_back('A'); break;                                  // a long run
      case 1: data.push_back(char("wendax "[data.size() % 7])); break;     // near repeats
      case 2: data.push_back(char(data.size() > 3000 ? data[data.size() - 3000] : 'q')); break;  // far repeats
      default:
        noise = noise * 1103515245u + 12345u;
        data.push_back(char(noise >> 24));
    }
  }
  return data;
}
