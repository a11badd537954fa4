#include "autorun/splash_timers.h"

SplashTimers::SplashTimers(const CSettingsSplash& splash, bool sound_file) : option_(splash.SoundOption) {
  // Seconds beyond what a GLib timer takes in milliseconds are cut.
  auto ms = [](int seconds) { return seconds <= 0 ? 0 : seconds > 2000000 ? 2000000000 : seconds * 1000; };
  start_.picture_ms = ms(splash.Length);
  if (!sound_file) return;
  if (option_ == 1) start_.sound = SplashSoundPlay::kOnce;
  if (option_ == 2 || option_ == 3) {
    start_.sound = SplashSoundPlay::kLoop;
    sound_playing_ = true;
  }
  if (option_ == 3) start_.sound_ms = ms(splash.SoundLength);
}

SplashStep SplashTimers::Finish(SplashStep step) const {
  step.end = !picture_showing_ && !sound_playing_;
  return step;
}

SplashStep SplashTimers::Picture_Timer() {
  SplashStep step;
  if (option_ == 2) {
    step.stop_sound = true;
    sound_playing_ = false;
  }
  step.hide = sound_playing_;
  picture_showing_ = false;
  return Finish(step);
}

SplashStep SplashTimers::Sound_Timer() {
  SplashStep step;
  step.stop_sound = true;
  sound_playing_ = false;
  return Finish(step);
}
