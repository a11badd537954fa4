// The display mode list and the mode search of Wendax_Set_Mode.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/display/display_device.h"

inline constexpr int kModeKindAny = 0;
inline constexpr int kModeKindNative = 4;   // the frame fills the hardware mode
inline constexpr int kModeKindDoubled = 5;  // a W x H frame shown on a 2W x 2H mode

struct DisplayMode {
  int id = 0;  // 1-based position in the list; 0 in a request asks for a search
  int kind = kModeKindAny;
  int bits = 0;
  uint64_t colors = 0;  // 1 << bits (64 bits wide so that 32 bits is exact)
  int width = 0;
  int height = 0;
  int pitch = 0;  // bytes per row of the hardware mode the record is shown on
};

// Appends the native record W x H and the doubled record W/2 x H/2 of a
// hardware mode, unless the list holds them already (the list is extended
// again at every resume; records keep their ids).
void Mode_List_Add(std::vector<DisplayMode>& list, const HardwareMode& mode);

// First pass kind 4 (when the request's kind is 0 or 4), second pass kind 5
// (kind 0 or 5); the first record of equal width, height and bits wins.
// Returns its index, or -1.
int Mode_List_Find(const std::vector<DisplayMode>& list, const DisplayMode& request);
