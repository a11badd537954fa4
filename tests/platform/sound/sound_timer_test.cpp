// The periodic sound timer and its busy flag.
#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "platform/sound/sound_output.h"
#include "platform/sound/sound_timer.h"
#include "tests/platform/sound/sound_test_support.h"

namespace {

using namespace std::chrono_literals;

// Counts steps and lets a test wait for a number of them.
class StepCounter {
 public:
  void Step() {
    std::lock_guard guard(lock_);
    ++count_;
    changed_.notify_all();
  }
  void Wait_For(int count) {
    std::unique_lock guard(lock_);
    changed_.wait(guard, [&] { return count_ >= count; });
  }
  int Count() {
    std::lock_guard guard(lock_);
    return count_;
  }

 private:
  std::mutex lock_;
  std::condition_variable changed_;
  int count_ = 0;
};

TEST(SoundTimer, BusyFlagTurnsAwayATickWhileTheStepRuns) {
  SoundTimer timer;
  int steps = 0;
  bool inner_ran = true;
  ASSERT_TRUE(timer.Start(
      [&] {
        if (++steps == 1) inner_ran = timer.Fire();  // a tick arriving while this step runs
      },
      1h));  // no tick of its own during the test
  EXPECT_TRUE(timer.Fire());
  EXPECT_EQ(steps, 1);
  EXPECT_FALSE(inner_ran);
  inner_ran = false;
  EXPECT_TRUE(timer.Fire());  // the flag was cleared on the way out
  EXPECT_EQ(steps, 2);
  timer.Stop();
  EXPECT_FALSE(timer.Running());
  EXPECT_FALSE(timer.Fire());  // no step after the stop
  EXPECT_EQ(steps, 2);
}

TEST(SoundTimer, StartIsRefusedWhileRunningOrWithoutAStep) {
  SoundTimer timer;
  EXPECT_FALSE(timer.Start(nullptr));
  EXPECT_FALSE(timer.Start([] {}, 0ms));
  EXPECT_FALSE(timer.Running());
  ASSERT_TRUE(timer.Start([] {}, 1h));
  EXPECT_TRUE(timer.Running());
  EXPECT_FALSE(timer.Start([] {}, 1h));
  timer.Stop();
  timer.Stop();
  EXPECT_TRUE(timer.Start([] {}, 1h));  // the destructor stops it
}

TEST(SoundTimer, TicksRunTheStepUntilStopReturns) {
  SoundTimer timer;
  StepCounter counter;
  std::atomic<bool> inside{false};
  ASSERT_TRUE(timer.Start(
      [&] {
        inside = true;
        counter.Step();
        inside = false;
      },
      1ms));
  counter.Wait_For(3);
  timer.Stop();
  EXPECT_FALSE(inside);
  int after_stop = counter.Count();
  EXPECT_FALSE(timer.Fire());
  EXPECT_EQ(counter.Count(), after_stop);
}

TEST(SoundTimer, StepMayStopItsOwnTimer) {
  SoundTimer timer;
  StepCounter counter;
  ASSERT_TRUE(timer.Start(
      [&] {
        timer.Stop();
        counter.Step();
      },
      1ms));
  counter.Wait_For(1);
  EXPECT_FALSE(timer.Running());
  // A new start joins the old thread first.
  StepCounter second;
  ASSERT_TRUE(timer.Start([&] { second.Step(); }, 1ms));
  second.Wait_For(2);
  timer.Stop();
  EXPECT_EQ(counter.Count(), 1);
}

TEST(SoundTimer, WendaxTimerServesSoundWhileTheMainThreadMixes) {
  SoundRig rig;
  rig.audio->Capture(false);
  Sample tone = Constant16(100, 441, 44100);
  ASSERT_EQ(Sound_Play(rig.wx, &tone, 255, 0, kSoundFlagLoop), 1);
  StepCounter counter;
  ASSERT_TRUE(Sound_Timer_Start(rig.wx, [&] {
    Sound_Poll(rig.wx);
    int32_t position = Sound_Position(rig.wx, 1);
    Sound_Set(rig.wx, 1, 200 + position % 50, 0);
    counter.Step();
  }));
  // The 100 ms ticks come while the virtual clock drives the mixer.
  for (int round = 1; round <= 2; ++round) {
    while (counter.Count() < round) {
      rig.audio->Advance_Ms(1);
      std::this_thread::sleep_for(1ms);
    }
  }
  Sound_Timer_Stop(rig.wx);
  EXPECT_FALSE(rig.wx.sound_timer.Running());
  EXPECT_GE(Sound_Levels(rig.wx, 1)->volume, Sound_Volume_To_Db(200));
}

}  // namespace
