// A monotonic tick counter for the frame clock.
#pragma once

#include <chrono>
#include <cstdint>
#include <thread>

class ClockSource {
 public:
  virtual ~ClockSource() = default;
  virtual uint64_t Counter() = 0;
  // Ticks per second (never 0 on a working source).
  virtual uint64_t Frequency() = 0;
  // Lets `ms` milliseconds pass while a player waits: a real clock sleeps,
  // a virtual one moves on by that much.
  virtual void Sleep_Ms(uint32_t ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }
};
