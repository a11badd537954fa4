// Loads the fuzz input as a script held in memory, the way the engine loads
// one: an input starting with "PAKF" is the script's packed form (read
// through the packed-file reader), anything else the plain script.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "engine/engine.h"
#include "engine/script/script_loader.h"
#include "platform/files/file_layer.h"
#include "platform/wendax.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  constexpr std::string_view kName = "script.lst";
  const std::string packed_name = Script_Packed_Name(kName);
  Wendax wx;
  Engine engine(wx);
  engine.debug = [](std::string_view) {};
  if (size >= 4 && std::memcmp(data, "PAKF", 4) == 0) {
    Memory_File_Add(wx, packed_name, data, size);
  } else {
    Memory_File_Add(wx, kName, data, size);
    // An empty packed form sends the loader to the plain one without
    // looking on disk.
    Memory_File_Add(wx, packed_name, nullptr, 0);
  }
  Script_Load(engine, kName);
  return 0;
}
