// Channels: device life, the eight channels, volume and pan, play cursors.
#include <gtest/gtest.h>

#include <memory>

#include "platform/sound/sound_output.h"
#include "tests/platform/sound/sound_test_support.h"

namespace {

TEST(SoundDevice, NoDeviceIsNotAnErrorAndEveryCallDoesNothing) {
  Wendax wx;  // no device installed
  Sample tone = Constant16(1000, 100);
  EXPECT_EQ(Sound_Init(wx), -1);
  EXPECT_EQ(Sound_Device_Flag(wx), -1);
  EXPECT_EQ(Sound_Play(wx, &tone, 255, 0, 0), -1);
  EXPECT_EQ(Sound_Position(wx, 1), 0);
  EXPECT_EQ(Stream_Start(wx, tone.data, 44100, 16, 0, 200, 255, 0), -1);
  Sound_Stop(wx, 1);
  Sound_Set(wx, 1, 100, 0);
  Sound_Poll(wx);
  Sound_Close(wx);

  Wendax silent;
  Sound_Use_Device(silent, std::make_unique<NullAudio>(44100, /*present=*/false));
  EXPECT_EQ(Sound_Init(silent), -1);
  EXPECT_EQ(Sound_Device_Flag(silent), -1);
  EXPECT_EQ(Sound_Play(silent, &tone, 255, 0, 0), -1);
}

TEST(SoundDevice, InitTwiceIsRefusedAndCloseEndsEverything) {
  SoundRig rig;
  Sample tone = Constant16(1000, 100);
  ASSERT_EQ(rig.init_result, 0);
  EXPECT_EQ(Sound_Device_Flag(rig.wx), 0);
  EXPECT_EQ(rig.audio->Rate(), 44100);
  EXPECT_EQ(Sound_Init(rig.wx), -1);  // the device exists already
  EXPECT_EQ(Sound_Device_Flag(rig.wx), 0);

  EXPECT_EQ(Sound_Play(rig.wx, &tone, 255, 0, kSoundFlagLoop), 1);
  Sound_Close(rig.wx);
  EXPECT_EQ(Sound_Device_Flag(rig.wx), -1);
  EXPECT_FALSE(rig.audio->Is_Open());
  EXPECT_EQ(Sound_Play(rig.wx, &tone, 255, 0, 0), -1);
  EXPECT_EQ(Sound_Position(rig.wx, 1), 0);

  // Opened again, every channel is free.
  ASSERT_EQ(Sound_Init(rig.wx), 0);
  EXPECT_EQ(Sound_Play(rig.wx, &tone, 255, 0, 0), 1);
}

TEST(SoundChannels, NinthSoundIsRefusedAndTheOthersPlayOn) {
  SoundRig rig;
  Sample tone = Constant16(100, 1000);
  for (int n = 1; n <= 8; ++n) {
    EXPECT_EQ(Sound_Play(rig.wx, &tone, 255, 0, kSoundFlagLoop), n);
  }
  EXPECT_EQ(Sound_Play(rig.wx, &tone, 255, 0, kSoundFlagLoop), -1);
  rig.audio->Advance_Frames(10);
  for (int n = 1; n <= 8; ++n) {
    EXPECT_EQ(Sound_Position(rig.wx, n), 20) << "channel " << n;
  }
  EXPECT_EQ(Left(*rig.audio, 0), 800);  // all eight are heard

  // A stop frees exactly that channel, which the next sound takes.
  Sound_Stop(rig.wx, 3);
  EXPECT_EQ(Sound_Position(rig.wx, 3), 0);
  EXPECT_EQ(Sound_Play(rig.wx, &tone, 255, 0, 0), 3);
  EXPECT_EQ(Sound_Play(rig.wx, &tone, 255, 0, 0), -1);
}

TEST(SoundChannels, ChannelNumbersOutsideOneToEightAreIgnored) {
  SoundRig rig;
  Sample tone = Constant16(100, 1000);
  ASSERT_EQ(Sound_Play(rig.wx, &tone, 255, 0, kSoundFlagLoop), 1);
  rig.audio->Advance_Frames(5);
  for (int channel : {-1, 0, 9, 100}) {
    EXPECT_EQ(Sound_Position(rig.wx, channel), 0);
    Sound_Stop(rig.wx, channel);
    Sound_Set(rig.wx, channel, 0, 0);
    EXPECT_FALSE(Sound_Levels(rig.wx, channel).has_value());
  }
  Sound_Stop(rig.wx, 2);  // free: nothing happens
  EXPECT_EQ(Sound_Position(rig.wx, 1), 10);
  EXPECT_EQ(Sound_Levels(rig.wx, 1)->volume, 0);
}

TEST(SoundChannels, UnplayableSamplesAreRefusedAndLeaveTheChannelFree) {
  SoundRig rig;
  Sample bits24 = Constant16(0, 100);
  bits24.bits = 24;
  Sample no_rate = Constant16(0, 100, 0);
  Sample empty = Constant16(0, 0);
  Sample half_frame = Sample8({1}, 44100, /*stereo=*/1);  // one byte of a two-byte frame
  EXPECT_EQ(Sound_Play(rig.wx, nullptr, 255, 0, 0), -1);
  EXPECT_EQ(Sound_Play(rig.wx, &bits24, 255, 0, 0), -1);
  EXPECT_EQ(Sound_Play(rig.wx, &no_rate, 255, 0, 0), -1);
  EXPECT_EQ(Sound_Play(rig.wx, &empty, 255, 0, 0), -1);
  EXPECT_EQ(Sound_Play(rig.wx, &half_frame, 255, 0, 0), -1);
  Sample good = Constant16(0, 10);
  EXPECT_EQ(Sound_Play(rig.wx, &good, 255, 0, 0), 1);
}

TEST(SoundChannels, TheCallerMayFreeTheSampleRightAfterPlaying) {
  SoundRig rig;
  auto tone = std::make_unique<Sample>(Constant16(1234, 100));
  ASSERT_EQ(Sound_Play(rig.wx, tone.get(), 255, 0, kSoundFlagLoop), 1);
  tone.reset();
  rig.audio->Advance_Frames(150);
  EXPECT_EQ(Left(*rig.audio, 149), 1234);
}

TEST(SoundVolume, VolumeToDbFollowsTheLogLaw) {
  EXPECT_EQ(Sound_Volume_To_Db(0), -10000);
  EXPECT_EQ(Sound_Volume_To_Db(1), -4813);
  EXPECT_EQ(Sound_Volume_To_Db(64), -1200);
  EXPECT_EQ(Sound_Volume_To_Db(128), -598);
  EXPECT_EQ(Sound_Volume_To_Db(200), -211);
  EXPECT_EQ(Sound_Volume_To_Db(254), -3);
  EXPECT_EQ(Sound_Volume_To_Db(255), 0);
  // Outside 0..255 (the play and set calls clamp before).
  EXPECT_EQ(Sound_Volume_To_Db(300), 0);
  EXPECT_EQ(Sound_Volume_To_Db(-5), -10000);
}

struct LevelCase {
  int volume;
  int pan;
  int volume_db;
  int pan_db;
};

class SoundLevels : public ::testing::TestWithParam<LevelCase> {};

TEST_P(SoundLevels, PlayClampsVolumeAndPanAndAppliesTheirAttenuation) {
  const LevelCase& c = GetParam();
  SoundRig rig;
  Sample tone = Constant16(1000, 100);
  int channel = Sound_Play(rig.wx, &tone, c.volume, c.pan, 0);
  ASSERT_EQ(channel, 1);
  ASSERT_TRUE(Sound_Levels(rig.wx, channel).has_value());
  EXPECT_EQ(Sound_Levels(rig.wx, channel)->volume, c.volume_db);
  EXPECT_EQ(Sound_Levels(rig.wx, channel)->pan, c.pan_db);
}

INSTANTIATE_TEST_SUITE_P(VolumeAndPan, SoundLevels,
                         ::testing::Values(LevelCase{0, 0, -10000, 0}, LevelCase{128, 0, -598, 0},
                                           LevelCase{255, 0, 0, 0}, LevelCase{300, 0, 0, 0},
                                           LevelCase{-20, 0, -10000, 0}, LevelCase{255, -300, 0, -2550},
                                           LevelCase{255, -255, 0, -2550}, LevelCase{255, 300, 0, 2550},
                                           LevelCase{255, 17, 0, 170}));

TEST(SoundSet, AppliesClampedLevelsOnlyWhilePlaying) {
  SoundRig rig;
  Sample tone = Constant16(1000, 10);
  ASSERT_EQ(Sound_Play(rig.wx, &tone, 255, 0, 0), 1);
  Sound_Set(rig.wx, 1, 128, -300);
  EXPECT_EQ(Sound_Levels(rig.wx, 1)->volume, -598);
  EXPECT_EQ(Sound_Levels(rig.wx, 1)->pan, -2550);
  Sound_Set(rig.wx, 1, 400, 999);
  EXPECT_EQ(Sound_Levels(rig.wx, 1)->volume, 0);
  EXPECT_EQ(Sound_Levels(rig.wx, 1)->pan, 2550);

  rig.audio->Advance_Frames(10);  // the sound ends; the channel stays in use
  EXPECT_EQ(Sound_Position(rig.wx, 1), 0);
  Sound_Set(rig.wx, 1, 0, 0);
  EXPECT_EQ(Sound_Levels(rig.wx, 1)->volume, 0);
  EXPECT_EQ(Sound_Levels(rig.wx, 1)->pan, 2550);
}

TEST(SoundCursor, NonLoopingCursorCountsSourceBytesThenReadsZero) {
  SoundRig rig;
  Sample tone = Constant16(500, 1000, 22050);  // 2000 bytes, half the device rate
  ASSERT_EQ(Sound_Play(rig.wx, &tone, 255, 0, 0), 1);
  EXPECT_EQ(Sound_Position(rig.wx, 1), 0);
  rig.audio->Advance_Frames(441);  // 220.5 source frames
  EXPECT_EQ(Sound_Position(rig.wx, 1), 440);
  rig.audio->Advance_Frames(1999 - 441);
  EXPECT_EQ(Sound_Position(rig.wx, 1), 1998);  // the last frame
  rig.audio->Advance_Frames(1);
  EXPECT_EQ(Sound_Position(rig.wx, 1), 0);  // ended
  EXPECT_EQ(Left(*rig.audio, 1999), 500);
  rig.audio->Advance_Frames(10);
  EXPECT_EQ(Left(*rig.audio, 2000), 0);
  EXPECT_EQ(Sound_Position(rig.wx, 1), 0);

  // Ended, the channel is still in use until it is stopped.
  Sample other = Constant16(1, 10);
  EXPECT_EQ(Sound_Play(rig.wx, &other, 255, 0, 0), 2);
  Sound_Poll(rig.wx);
  Sound_Stop(rig.wx, 1);
  EXPECT_EQ(Sound_Play(rig.wx, &other, 255, 0, 0), 1);
}

TEST(SoundCursor, LoopingCursorWrapsAroundTheData) {
  SoundRig rig;
  Sample tone = Constant16(500, 1000, 22050);
  ASSERT_EQ(Sound_Play(rig.wx, &tone, 255, 0, kSoundFlagLoop), 1);
  rig.audio->Advance_Frames(1999);
  EXPECT_EQ(Sound_Position(rig.wx, 1), 1998);
  rig.audio->Advance_Frames(1);
  EXPECT_EQ(Sound_Position(rig.wx, 1), 0);  // wrapped, still playing
  rig.audio->Advance_Frames(100);
  EXPECT_EQ(Sound_Position(rig.wx, 1), 100);
  rig.audio->Advance_Frames(20000);  // ten more turns
  EXPECT_EQ(Sound_Position(rig.wx, 1), 100);
  EXPECT_EQ(Left(*rig.audio, 22099), 500);
}

TEST(SoundCursor, CursorCountsBytesOfTheChannelsOwnFormat) {
  SoundRig rig;
  Sample stereo16 = Constant16(1, 100, 44100, 1);                      // 4 bytes a frame
  Sample stereo8 = Sample8(std::vector<uint8_t>(200, 128), 11025, 1);  // 2 bytes a frame, quarter rate
  Sample mono8 = Sample8(std::vector<uint8_t>(100, 128), 88200);       // 1 byte a frame, twice the rate
  ASSERT_EQ(Sound_Play(rig.wx, &stereo16, 255, 0, kSoundFlagLoop), 1);
  ASSERT_EQ(Sound_Play(rig.wx, &stereo8, 255, 0, kSoundFlagLoop), 2);
  ASSERT_EQ(Sound_Play(rig.wx, &mono8, 255, 0, kSoundFlagLoop), 3);
  rig.audio->Advance_Frames(40);
  EXPECT_EQ(Sound_Position(rig.wx, 1), 160);
  EXPECT_EQ(Sound_Position(rig.wx, 2), 20);
  EXPECT_EQ(Sound_Position(rig.wx, 3), 80);
  rig.audio->Advance_Frames(20);  // mono8 has wrapped: 120 frames of 100
  EXPECT_EQ(Sound_Position(rig.wx, 3), 20);
}

}  // namespace
