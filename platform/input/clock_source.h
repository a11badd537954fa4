// A monotonic tick counter for the frame clock.
#pragma once

#include <cstdint>

class ClockSource {
 public:
  virtual ~ClockSource() = default;
  virtual uint64_t Counter() = 0;
  // Ticks per second (never 0 on a working source).
  virtual uint64_t Frequency() = 0;
};
