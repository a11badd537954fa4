#include "engine/script/zone_file.h"

#include <algorithm>
#include <bit>
#include <cstdint>

#include "packing/byte_order.h"
#include "platform/files/file_layer.h"

namespace {}  // namespace

ZoneFileResult Zone_File_Read(Wendax& wx, std::string_view name) {
  ZoneFileResult result;
  int32_t size = File_Size(wx, name);
  if (size < 4) return result;
  int handle = File_Open(wx, name, kFileModeRead);
  if (handle < 0) return result;

  uint8_t count_bytes[4];
  if (File_Read(wx, handle, count_bytes, 4) == 4) {
    result.declared = int32_t(Le_U32(count_bytes));
    size_t present = size_t(size - 4) / kZoneRecordSize;
    size_t count = result.declared > 0 ? std::min(size_t(result.declared), present) : 0;
    result.cut = result.declared > 0 && size_t(result.declared) > present;
    std::vector<uint8_t> records(count * kZoneRecordSize);
    size_t got =
        records.empty() ? 0 : size_t(std::max(File_Read(wx, handle, records.data(), int(records.size())), 0));
    count = std::min(count, got / kZoneRecordSize);
    result.cut |= result.declared > 0 && count < size_t(result.declared);
    result.zones.resize(count);
    for (size_t i = 0; i < count; ++i)
      for (int k = 0; k < 4; ++k)
        result.zones[i].bounds[k] =
            std::bit_cast<float>(Le_U32(&records[i * kZoneRecordSize + size_t(k) * 4]));
  }
  File_Close(wx, handle);
  return result;
}
