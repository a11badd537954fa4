// A registry store file parsed; a text that parses is written again and
// must parse back to the same data, written the same way.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "host/registry_format.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const std::optional<RegistryData> parsed = Registry_Parse(text);
  if (!parsed) return 0;
  const std::string written = Registry_Format(*parsed);
  const std::optional<RegistryData> again = Registry_Parse(written);
  if (!again || Registry_Format(*again) != written) std::abort();
  return 0;
}
