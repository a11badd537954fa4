#include "platform/input/frame_clock.h"

#include <chrono>
#include <thread>

#include "platform/display/display_backend.h"
#include "platform/input/clock_source.h"
#include "platform/wendax.h"

namespace {

// Milliseconds of the whole counter, wrapped to 32 bits. The whole 64-bit
// counter is used: its low 32 bits alone wrap within seconds on a
// nanosecond counter, which would make a false stall every few seconds.
int32_t Counter_Ms(const FrameClock& clock, ClockSource& source) {
  uint64_t ticks = source.Counter();
  uint64_t hz = clock.ticks_per_second;
  uint64_t ms = (ticks / hz) * 1000 + (ticks % hz) * 1000 / hz;
  return int32_t(uint32_t(ms));
}

int32_t Wrapping_Add(int32_t a, int32_t b) { return int32_t(uint32_t(a) + uint32_t(b)); }
int32_t Wrapping_Sub(int32_t a, int32_t b) { return int32_t(uint32_t(a) - uint32_t(b)); }

}  // namespace

int32_t Clock_Next_Delta(int32_t delta, int32_t elapsed) {
  if (elapsed < 4 * delta) return elapsed;
  return delta + delta / 4 + 1;
}

void Clock_Start(FrameClock& clock, ClockSource& source) {
  if (clock.started) return;
  uint64_t hz = source.Frequency();
  if (hz == 0) return;
  clock.ticks_per_second = hz;
  clock.now = clock.previous = Counter_Ms(clock, source);
  clock.delta = kClockStartDelta;
  clock.started = true;
}

void Clock_Stop(FrameClock& clock) {
  clock.ticks_per_second = 0;
  clock.started = false;
}

void Clock_Step(FrameClock& clock, ClockSource* source) {
  clock.previous = clock.now;
  if (!clock.started || !source) {
    clock.delta = kClockUnstartedStep;
    clock.now = Wrapping_Add(clock.now, kClockUnstartedStep);
    return;
  }
  clock.now = Wrapping_Add(Counter_Ms(clock, *source), 1);
  int32_t elapsed = Wrapping_Sub(clock.now, clock.previous) & 0xFFFF;
  clock.delta = Clock_Next_Delta(clock.delta, elapsed);
}

void Wendax_Clock_Start(Wendax& wx) {
  if (wx.display.backend) Clock_Start(wx.clock, *wx.display.backend);
}

void Wendax_Clock_Stop(Wendax& wx) { Clock_Stop(wx.clock); }

void Wendax_Clock_Step(Wendax& wx) { Clock_Step(wx.clock, wx.display.backend); }

uint64_t Wendax_Counter(Wendax& wx) {
  if (wx.display.backend && wx.display.backend->Frequency() != 0) return wx.display.backend->Counter();
  return uint64_t(std::chrono::duration_cast<std::chrono::nanoseconds>(
                      std::chrono::steady_clock::now().time_since_epoch())
                      .count());
}

uint64_t Wendax_Counter_Frequency(Wendax& wx) {
  if (wx.display.backend && wx.display.backend->Frequency() != 0) return wx.display.backend->Frequency();
  return 1000000000;
}

uint64_t Wendax_Tick_Ms(Wendax& wx) {
  const uint64_t hz = Wendax_Counter_Frequency(wx);
  const uint64_t ticks = Wendax_Counter(wx);
  return ticks / hz * 1000 + ticks % hz * 1000 / hz;
}

void Wendax_Sleep(Wendax& wx, uint32_t ms) {
  if (wx.display.backend)
    wx.display.backend->Sleep_Ms(ms);
  else
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}
