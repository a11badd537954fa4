// The SDL2 audio device, run on SDL's dummy driver: SDL's audio thread pulls
// from the mixer as a sound card would.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <thread>

#include "platform/sdl/sdl_audio.h"
#include "platform/sound/sound_output.h"
#include "platform/wendax.h"

namespace {

using namespace std::chrono_literals;

Sample Tone() {
  Sample s;
  s.rate = 22050;
  s.bits = 16;
  s.data.assign(44100, 0);  // one second of silence
  return s;
}

TEST(SdlAudio, DummyDriverPullsFramesAndMovesTheCursor) {
  ::setenv("SDL_AUDIODRIVER", "dummy", 1);
  Wendax wx;
  Sound_Use_Device(wx, Sdl_Audio_Device());
  ASSERT_EQ(Sound_Init(wx), 0);
  Sample tone = Tone();
  ASSERT_EQ(Sound_Play(wx, &tone, 255, 0, kSoundFlagLoop), 1);
  // The cursor moves once SDL's thread has mixed; wait for that, however long
  // the machine takes (bounded so a broken device fails instead of hanging).
  auto give_up = std::chrono::steady_clock::now() + 60s;
  while (Sound_Position(wx, 1) == 0 && std::chrono::steady_clock::now() < give_up)
    std::this_thread::sleep_for(1ms);
  EXPECT_GT(Sound_Position(wx, 1), 0);
  EXPECT_EQ(Sound_Position(wx, 1) % 2, 0);
  Sound_Close(wx);
  EXPECT_EQ(Sound_Device_Flag(wx), -1);
  // Opened again after a close.
  ASSERT_EQ(Sound_Init(wx), 0);
  Sound_Close(wx);
}

TEST(SdlAudio, NoUsableDriverMeansNoSound) {
  ::setenv("SDL_AUDIODRIVER", "no_such_driver", 1);
  Wendax wx;
  Sound_Use_Device(wx, Sdl_Audio_Device());
  EXPECT_EQ(Sound_Init(wx), -1);
  Sample tone = Tone();
  EXPECT_EQ(Sound_Play(wx, &tone, 255, 0, 0), -1);
  Sound_Close(wx);
}

}  // namespace
