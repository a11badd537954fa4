// The splash window's two timers: 1 ends the picture after Length seconds,
// 2 ends a repeated sound after SoundLength seconds. The window does what
// the returned steps say and ends when neither picture nor sound is left.
//
// SoundOption 1 plays the sound once and lets it run on after the picture;
// 2 repeats it and stops it with the picture; 3 repeats it until
// SoundLength, keeping the (hidden) window until then, or stops it early
// and keeps the picture until Length.
#pragma once

#include "autorun/settings.h"

enum class SplashSoundPlay { kNone, kOnce, kLoop };

struct SplashStart {
  SplashSoundPlay sound = SplashSoundPlay::kNone;
  int picture_ms = 0;
  int sound_ms = -1;  // timer 2, or -1 when it is not started
};

struct SplashStep {
  bool stop_sound = false;
  bool hide = false;
  bool end = false;
};

class SplashTimers {
 public:
  // `sound_file` says whether Sound is true and the sound file exists.
  SplashTimers(const CSettingsSplash& splash, bool sound_file);
  const SplashStart& Start() const { return start_; }
  SplashStep Picture_Timer();  // timer 1
  SplashStep Sound_Timer();    // timer 2

 private:
  SplashStep Finish(SplashStep step) const;

  int option_;
  SplashStart start_;
  bool picture_showing_ = true;
  bool sound_playing_ = false;
};
