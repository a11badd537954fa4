// The input as a zone file held in memory: read as the engine reads it,
// put on the angle grid, and every zone hit-tested from a few views and
// cursor positions. Each zone read must come from whole 16-byte records.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "engine/run/view.h"
#include "engine/script/zone_file.h"
#include "platform/files/file_layer.h"
#include "platform/wendax.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Wendax wx;
  Memory_File_Add(wx, "z.zon", data, size);
  ZoneFileResult result = Zone_File_Read(wx, "z.zon");
  if (size < 4 && !result.zones.empty()) std::abort();
  if (result.zones.size() > (size >= 4 ? (size - 4) / 16 : 0)) std::abort();
  std::vector<ZONE> grid = result.zones;
  Zones_To_Grid(grid);
  for (ZONE& z : grid)
    for (int32_t pitch : {-1536, 0, 1536})
      for (int32_t yaw : {0, 2048, 8191, -5})
        if (int hit = Zone_Hit_Vr(z, pitch, yaw); hit != 1 && hit != 2) std::abort();
  for (ZONE& z : result.zones)
    for (int x : {0, 320, 639})
      if (int hit = Zone_Hit_Pic(z, x, 240); hit != 1 && hit != 2) std::abort();
  return 0;
}
