// The headless null audio device follows the virtual clock of the card.
#include <gtest/gtest.h>

#include <memory>

#include "tests/platform/display/display_rig.h"
#include "platform/headless/null_audio.h"
#include "platform/sound/sound_output.h"

namespace {

TEST(HeadlessAudioClock, PresentedFramesMoveThePlayCursor) {
  HeadlessConfig config = Card_With({{640, 480, 16}});
  config.frame_step_ms = 20;
  DisplayRig rig(config);
  ASSERT_EQ(rig.Open(), 0);
  auto device = std::make_unique<NullAudio>(44100);
  NullAudio* audio = device.get();
  Sound_Use_Device(rig.wx, std::move(device));
  ASSERT_EQ(Sound_Init(rig.wx), 0);
  rig.card.Attach_Audio(audio);

  Sample tone;
  tone.rate = 22050;  // half the device rate: the cursor counts the sample's own bytes
  tone.bits = 16;
  tone.data.assign(22050 * 2, 0x10);  // one second
  const int channel = Sound_Play(rig.wx, &tone, 255, 0, 0);
  ASSERT_EQ(channel, 1);
  EXPECT_EQ(Sound_Position(rig.wx, channel), 0);

  for (int i = 0; i < 10; ++i) Wendax_Show(rig.wx);  // 200 ms
  EXPECT_EQ(audio->Frames_Mixed(), 8820);
  EXPECT_EQ(Sound_Position(rig.wx, channel), 22050 * 2 / 5);

  rig.card.Advance_Clock(800);  // the sound has ended
  EXPECT_EQ(Sound_Position(rig.wx, channel), 0);
  rig.card.Attach_Audio(nullptr);
  rig.card.Advance_Clock(1000);
  EXPECT_EQ(audio->Frames_Mixed(), 44100);
  Sound_Close(rig.wx);
}

}  // namespace
