#include "platform/sound/sound_timer.h"

#include <utility>

#include "platform/wendax.h"

SoundTimer::SoundTimer() = default;

SoundTimer::~SoundTimer() { Stop(); }

bool SoundTimer::Start(std::function<void()> step, std::chrono::milliseconds period) {
  Join();  // a timer stopped from its own step
  if (thread_.joinable() || !step || period.count() <= 0) return false;
  step_ = std::move(step);
  {
    std::lock_guard guard(lock_);
    stop_requested_ = false;
  }
  thread_ = std::thread([this, period] { Run(period); });
  return true;
}

void SoundTimer::Stop() {
  {
    std::lock_guard guard(lock_);
    stop_requested_ = true;
  }
  wake_.notify_all();
  if (thread_.joinable() && thread_.get_id() == std::this_thread::get_id()) return;
  Join();
}

void SoundTimer::Join() {
  bool stopping;
  {
    std::lock_guard guard(lock_);
    stopping = stop_requested_;
  }
  if (!stopping || !thread_.joinable() || thread_.get_id() == std::this_thread::get_id()) return;
  thread_.join();
  step_ = nullptr;
}

bool SoundTimer::Running() const {
  std::lock_guard guard(lock_);
  return thread_.joinable() && !stop_requested_;
}

bool SoundTimer::Fire() {
  if (!step_ || busy_.exchange(true, std::memory_order_acquire)) return false;
  step_();
  busy_.store(false, std::memory_order_release);
  return true;
}

void SoundTimer::Run(std::chrono::milliseconds period) {
  auto next = std::chrono::steady_clock::now() + period;
  std::unique_lock guard(lock_);
  while (!wake_.wait_until(guard, next, [this] { return stop_requested_; })) {
    guard.unlock();
    Fire();
    guard.lock();
    next += period;
    auto now = std::chrono::steady_clock::now();
    if (next < now) next = now + period;
  }
}

bool Sound_Timer_Start(Wendax& wx, std::function<void()> step) {
  return wx.sound_timer.Start(std::move(step));
}
void Sound_Timer_Stop(Wendax& wx) { wx.sound_timer.Stop(); }
