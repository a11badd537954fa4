// Zone files: the hot zones of a warp. Little-endian: a signed 32-bit count,
// then per zone four float32 values (yaw 1, yaw 2, pitch 1, pitch 2 in
// radians for a panorama; x 1, x 2, y 1, y 2 in pixels for a still picture).
// Zone numbers are the positions in the file, from 0.
#pragma once

#include <string_view>
#include <vector>

#include "engine/script/script_data.h"

struct Wendax;

inline constexpr size_t kZoneRecordSize = 16;

struct ZoneFileResult {
  std::vector<ZONE> zones;
  int32_t declared = 0;  // the count the file declares
  bool cut = false;      // the file ends before its last declared zone
};

// A missing or empty file, or a count of 0 or less, gives no zones. A count
// larger than the file holds is cut to the whole zones present.
ZoneFileResult Zone_File_Read(Wendax& wx, std::string_view name);
