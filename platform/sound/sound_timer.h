// The periodic sound timer: a thread that runs a step every period (100 ms)
// while the main thread is blocked in a long load. The step runs under a busy
// flag: a tick that comes while the step is still running returns at once.
//
// Locking: the timer's mutex guards only its stop request; the step runs
// without it, so the step may take the sound lock freely.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

struct Wendax;

inline constexpr std::chrono::milliseconds kSoundTimerPeriod{100};

class SoundTimer {
 public:
  SoundTimer();
  ~SoundTimer();  // stops the timer
  SoundTimer(const SoundTimer&) = delete;
  SoundTimer& operator=(const SoundTimer&) = delete;

  // Runs `step` on the timer thread one period after the start and every
  // period after that (ticks missed while a step overran are dropped). False
  // when the timer runs already, the step is empty or the period is not
  // positive.
  bool Start(std::function<void()> step, std::chrono::milliseconds period = kSoundTimerPeriod);
  // Once Stop returns no step is running and none will run. Called from the
  // step itself it only ends the ticking; the thread is joined by the next
  // Start or Stop or by the destructor.
  void Stop();
  bool Running() const;
  // One tick: runs the step under the busy flag. False without running it
  // while the flag is set or when no step is set. Each tick of the thread is
  // a Fire; callers may fire too while the timer runs.
  bool Fire();

 private:
  void Run(std::chrono::milliseconds period);
  void Join();

  std::function<void()> step_;
  std::atomic<bool> busy_{false};
  mutable std::mutex lock_;
  std::condition_variable wake_;
  bool stop_requested_ = false;
  std::thread thread_;
};

// The Wendax's sound timer: Start with the default 100 ms period, and Stop.
bool Sound_Timer_Start(Wendax& wx, std::function<void()> step);
void Sound_Timer_Stop(Wendax& wx);
