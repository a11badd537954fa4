// The frame clock: the duration of each presented frame in milliseconds.
// Before Wendax_Clock_Start every frame counts as 30 ms.
#pragma once

#include <cstdint>

struct Wendax;
class ClockSource;

inline constexpr int32_t kClockUnstartedStep = 30;
inline constexpr int32_t kClockStartDelta = 14;

struct FrameClock {
  int32_t now = 30;
  int32_t previous = 30;
  int32_t delta = 30;  // the last frame's duration: the engine's Frame_Ms
  bool started = false;
  uint64_t ticks_per_second = 0;  // of the source while started, else 0
};

// The next delta from the last one and the time the frame took (already
// masked to 16 bits): a frame that took four times the last delta or more
// raises it by a quarter only, so a pause does not make one huge step.
int32_t Clock_Next_Delta(int32_t delta, int32_t elapsed);

// Starts the clock on the source (nothing when it runs already or the
// source has no frequency).
void Clock_Start(FrameClock& clock, ClockSource& source);
void Clock_Stop(FrameClock& clock);
// One frame: run after every presentation.
void Clock_Step(FrameClock& clock, ClockSource* source);

void Wendax_Clock_Start(Wendax& wx);
void Wendax_Clock_Stop(Wendax& wx);
void Wendax_Clock_Step(Wendax& wx);

// The high-resolution counter: the display backend's (virtual in headless
// runs), or steady-clock nanoseconds without a backend; and its ticks per
// second, never 0.
uint64_t Wendax_Counter(Wendax& wx);
uint64_t Wendax_Counter_Frequency(Wendax& wx);
// Milliseconds on that counter: the tick count of timers and countdowns.
uint64_t Wendax_Tick_Ms(Wendax& wx);
// Waits `ms` milliseconds on the backend's clock: a sleep, or in headless
// runs a step of the virtual clock.
void Wendax_Sleep(Wendax& wx, uint32_t ms);
