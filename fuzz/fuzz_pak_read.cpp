// Reads the fuzz input as a packed file held in memory with Pak_Read, and
// checks it against decoding the same bytes directly with Pak_Decode.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/files/file_layer.h"
#include "platform/files/pak_file.h"
#include "platform/wendax.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string kName = "fuzz.pak";
  Wendax wx;
  Memory_File_Add(wx, kName, data, size);
  std::string name = kName;
  std::vector<uint8_t> out(1, 0xAA);  // must be emptied on failure
  const int result = Pak_Read(wx, name, out);
  const PakResult direct = Pak_Decode(data, size);

  if (result == 0) {
    if (!direct.ok() || out != direct.data || name != direct.header.stored_name) __builtin_trap();
    if (out.size() != direct.header.unpacked_size) __builtin_trap();
    if (name.size() > kPakNameMax) __builtin_trap();
  } else {
    if (result != -1 || direct.ok() || !out.empty() || name != kName) __builtin_trap();
  }
  return 0;
}
