#include "tests/platform/platform_test_support.h"

#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "packing/packing_encode.h"
#include "platform/files/file_layer.h"

std::string_view As_Text(const std::vector<uint8_t>& bytes) {
  return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

std::vector<uint8_t> As_Bytes(std::string_view text) { return {text.begin(), text.end()}; }

std::string Read_All(Wendax& wx, int handle) {
  std::string out;
  char buffer[7];  // small on purpose: many reads per file
  while (int count = File_Read(wx, handle, buffer, int(sizeof buffer))) out.append(buffer, size_t(count));
  return out;
}

std::string Sample_Data(size_t size) {
  std::string data;
  data.reserve(size);
  uint32_t noise = 12345;
  while (data.size() < size) {
    switch ((data.size() / 97) % 4) {
      case 0: data.push_back('A'); break;                               // a long run
      case 1: data.push_back(char("wendax "[data.size() % 7])); break;  // near repeats
      case 2:
        data.push_back(char(data.size() > 3000 ? data[data.size() - 3000] : 'q'));
        break;  // far repeats
      default: noise = noise * 1103515245u + 12345u; data.push_back(char(noise >> 24));
    }
  }
  return data;
}
