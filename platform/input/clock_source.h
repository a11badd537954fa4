// A monotonic tick counter for the frame clock.
#pragma once

#include <cstdint>

class Clock_Source {
 public:
  virtual ~Clock_Source() = default;
  virtual uint64_t Counter() = 0;
  // Ticks per second (never 0 on a working source).
  virtual uint64_t Frequency() = 0;
};
