// What the mixer puts out, read back from the null device's capture.
#include <gtest/gtest.h>

#include <cmath>

#include "platform/sound/sound_output.h"
#include "platform/sound/wav_file.h"
#include "tests/platform/sound/sound_test_support.h"

namespace {

// The steady output of one looping sample of a constant value.
std::pair<int, int> Output_Of(const Sample& sample, int volume, int pan) {
  SoundRig rig;
  EXPECT_EQ(Sound_Play(rig.wx, &sample, volume, pan, kSoundFlagLoop), 1);
  rig.audio->Advance_Frames(64);
  return {Left(*rig.audio, 63), Right(*rig.audio, 63)};
}

TEST(MixerLevels, VolumeScalesBothSides) {
  Sample tone = Constant16(20000, 16);
  EXPECT_EQ(Output_Of(tone, 255, 0), std::make_pair(20000, 20000));
  EXPECT_EQ(Output_Of(tone, 300, 0), std::make_pair(20000, 20000));  // played as 255
  EXPECT_EQ(Output_Of(tone, 128, 0), std::make_pair(10047, 10047));  // -5.98 dB
  EXPECT_EQ(Output_Of(tone, 1, 0), std::make_pair(78, 78));          // -48.13 dB
  EXPECT_EQ(Output_Of(tone, 0, 0), std::make_pair(0, 0));            // silence
  EXPECT_EQ(Output_Of(tone, -7, 0), std::make_pair(0, 0));
}

TEST(MixerLevels, PanAttenuatesTheFarSideByItsDecibels) {
  Sample tone = Constant16(20000, 16);
  EXPECT_EQ(Output_Of(tone, 255, -300), std::make_pair(20000, 1062));  // pan -255: right -25.5 dB
  EXPECT_EQ(Output_Of(tone, 255, -255), std::make_pair(20000, 1062));
  EXPECT_EQ(Output_Of(tone, 255, 255), std::make_pair(1062, 20000));
  EXPECT_EQ(Output_Of(tone, 255, 100), std::make_pair(6325, 20000));   // left -10 dB
  EXPECT_EQ(Output_Of(tone, 128, -100), std::make_pair(10047, 3177));  // both laws add up
}

TEST(MixerLevels, SampleFormatsDecodeToSixteenBitLevels) {
  EXPECT_EQ(Output_Of(Sample8({0xC0}, 44100), 255, 0), std::make_pair(16384, 16384));
  EXPECT_EQ(Output_Of(Sample8({0x80}, 44100), 255, 0), std::make_pair(0, 0));
  EXPECT_EQ(Output_Of(Sample8({0x00}, 44100), 255, 0), std::make_pair(-32768, -32768));
  EXPECT_EQ(Output_Of(Sample8({0xFF}, 44100), 255, 0), std::make_pair(32512, 32512));
  EXPECT_EQ(Output_Of(Sample8({0x90, 0x40}, 44100, 1), 255, 0), std::make_pair(4096, -16384));
  EXPECT_EQ(Output_Of(Sample16({1000, -2000}, 44100, 1), 255, 0), std::make_pair(1000, -2000));
  EXPECT_EQ(Output_Of(Sample16({-32768}, 44100), 255, 0), std::make_pair(-32768, -32768));
}

TEST(MixerLevels, ChannelsAddUpAndTheSumIsClipped) {
  SoundRig rig;
  Sample a = Constant16(30000, 8);
  Sample b = Constant16(-1000, 8);
  Sample c = Constant16(5000, 8);
  ASSERT_EQ(Sound_Play(rig.wx, &a, 255, 0, kSoundFlagLoop), 1);
  ASSERT_EQ(Sound_Play(rig.wx, &b, 255, 0, kSoundFlagLoop), 2);
  rig.audio->Advance_Frames(1);
  EXPECT_EQ(Left(*rig.audio, 0), 29000);
  ASSERT_EQ(Sound_Play(rig.wx, &c, 255, 0, kSoundFlagLoop), 3);
  rig.audio->Advance_Frames(1);
  EXPECT_EQ(Left(*rig.audio, 1), 32767);
  Sound_Stop(rig.wx, 1);
  Sample low = Constant16(-30000, 8);
  ASSERT_EQ(Sound_Play(rig.wx, &low, 255, 0, kSoundFlagLoop), 1);
  ASSERT_EQ(Sound_Play(rig.wx, &low, 255, 0, kSoundFlagLoop), 4);
  Sound_Stop(rig.wx, 3);
  rig.audio->Advance_Frames(1);
  EXPECT_EQ(Left(*rig.audio, 2), -32768);
}

TEST(MixerResampling, LowerRatesAreInterpolatedBetweenFrames) {
  SoundRig rig;
  Sample ramp = Sample16({0, 1000, 2000, 3000}, 22050);
  ASSERT_EQ(Sound_Play(rig.wx, &ramp, 255, 0, 0), 1);
  rig.audio->Advance_Frames(10);
  std::vector<int> expected{0, 500, 1000, 1500, 2000, 2500, 3000, 3000, 0, 0};
  for (size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(Left(*rig.audio, i), expected[i]) << "frame " << i;
  }
}

TEST(MixerResampling, LoopsInterpolateAcrossTheWrapAndHigherRatesSkipFrames) {
  SoundRig rig;
  Sample two = Sample16({0, 1000}, 22050);
  ASSERT_EQ(Sound_Play(rig.wx, &two, 255, 0, kSoundFlagLoop), 1);
  rig.audio->Advance_Frames(6);
  std::vector<int> loop{0, 500, 1000, 500, 0, 500};
  for (size_t i = 0; i < loop.size(); ++i) {
    EXPECT_EQ(Left(*rig.audio, i), loop[i]) << "frame " << i;
  }

  // Stepping two frames at a time over three, each wrap keeps its remainder.
  SoundRig odd;
  Sample three = Sample16({0, 10, 20}, 88200);
  ASSERT_EQ(Sound_Play(odd.wx, &three, 255, 0, kSoundFlagLoop), 1);
  odd.audio->Advance_Frames(7);
  std::vector<int> wrapped{0, 20, 10, 0, 20, 10, 0};
  for (size_t i = 0; i < wrapped.size(); ++i) {
    EXPECT_EQ(Left(*odd.audio, i), wrapped[i]) << "frame " << i;
  }
  EXPECT_EQ(Sound_Position(odd.wx, 1), 4);  // frame 2 plays next

  SoundRig fast;
  Sample ramp = Sample16({0, 1, 2, 3, 4, 5, 6, 7}, 88200);
  ASSERT_EQ(Sound_Play(fast.wx, &ramp, 255, 0, 0), 1);
  fast.audio->Advance_Frames(5);
  std::vector<int> skipped{0, 2, 4, 6, 0};
  for (size_t i = 0; i < skipped.size(); ++i) {
    EXPECT_EQ(Left(*fast.audio, i), skipped[i]) << "frame " << i;
  }
}

TEST(MixerResampling, AnyDeviceRateKeepsTheSourceTiming) {
  SoundRig rig(48000);
  Sample tone = Constant16(700, 441, 44100);  // 10 ms
  ASSERT_EQ(Sound_Play(rig.wx, &tone, 255, 0, 0), 1);
  rig.audio->Advance_Ms(5);  // 240 device frames = 220.5 source frames
  EXPECT_EQ(Sound_Position(rig.wx, 1), 440);
  rig.audio->Advance_Ms(5);
  EXPECT_EQ(Sound_Position(rig.wx, 1), 0);  // ended after 10 ms
  EXPECT_EQ(Left(*rig.audio, 479), 700);
}

TEST(NullAudio, VirtualClockMixesExactlyTheFramesOfItsTime) {
  SoundRig rig;
  for (int i = 0; i < 1000; ++i) rig.audio->Advance_Ms(1);
  EXPECT_EQ(rig.audio->Frames_Mixed(), 44100);
  rig.audio->Advance_Ms(0);
  rig.audio->Advance_Ms(-5);
  EXPECT_EQ(rig.audio->Frames_Mixed(), 44100);
  rig.audio->Advance_Ms(3);  // 132.3 frames
  EXPECT_EQ(rig.audio->Frames_Mixed(), 44100 + 132);
  EXPECT_EQ(rig.audio->Captured().size(), size_t(44100 + 132) * 2);
  rig.audio->Advance_Frames(10000);  // more than one mixing block
  EXPECT_EQ(rig.audio->Captured().size(), size_t(54100 + 132) * 2);
}

TEST(NullAudio, CaptureWritesAWaveFileThatReadsBack) {
  TempFolder folder;
  SoundRig rig;
  Sample tone = Sample16({100, -200, 300, -400}, 44100, 1);
  ASSERT_EQ(Sound_Play(rig.wx, &tone, 255, 0, kSoundFlagLoop), 1);
  rig.audio->Advance_Frames(5);
  ASSERT_TRUE(rig.audio->Write_Wav(folder.Path("out.wav")));

  std::optional<Sample> back = Wav_Load(rig.wx, folder.Path("out.wav"));
  ASSERT_TRUE(back.has_value());
  EXPECT_EQ(back->rate, 44100);
  EXPECT_EQ(back->bits, 16);
  EXPECT_EQ(back->stereo, 1);
  EXPECT_EQ(std::string(back->data.begin(), back->data.end()),
            Pcm16({100, -200, 300, -400, 100, -200, 300, -400, 100, -200}));
  std::optional<Wav_Info> info = Wav_Read_Info(rig.wx, folder.Path("out.wav"));
  ASSERT_TRUE(info.has_value());
  EXPECT_EQ(info->format_tag, 1);
  EXPECT_EQ(info->bytes_per_second, 176400u);
  EXPECT_EQ(info->block_align, 4);
  EXPECT_EQ(info->data_offset, 44);

  EXPECT_FALSE(rig.audio->Write_Wav(folder.Path("missing/out.wav")));
}

}  // namespace

namespace {

// Movie voices play beside all eight channels: a looping buffer written in
// place, silent until asked to play, its cursor wrapping with the loop.
TEST(MovieVoices, LoopBesideTheChannelsAndWrap) {
  SoundRig rig;
  Sample tone = Constant16(1000, 16);
  for (int c = 0; c < 8; ++c) ASSERT_GT(Sound_Play(rig.wx, &tone, 255, 0, kSoundFlagLoop), 0);
  EXPECT_LT(Sound_Play(rig.wx, &tone, 255, 0, kSoundFlagLoop), 0);  // every channel taken
  EXPECT_FALSE(Movie_Voice_Open(rig.wx, kMovieVoices, 44100, 16, 1, 400));
  ASSERT_TRUE(Movie_Voice_Open(rig.wx, kMovieVoices - 1, 44100, 16, 1, 400));
  EXPECT_FALSE(Movie_Voice_Open(rig.wx, kMovieVoices - 1, 44100, 16, 1, 400));  // in use
  const std::vector<int16_t> level(200, 500);
  const std::span<const uint8_t> bytes(reinterpret_cast<const uint8_t*>(level.data()), 400);
  EXPECT_FALSE(Movie_Voice_Write(rig.wx, kMovieVoices - 1, 2, bytes));  // past the end
  ASSERT_TRUE(Movie_Voice_Write(rig.wx, kMovieVoices - 1, 0, bytes));
  rig.audio->Advance_Frames(10);
  EXPECT_EQ(Left(*rig.audio, 9), 8000);  // written, not yet playing
  ASSERT_TRUE(Movie_Voice_Play(rig.wx, kMovieVoices - 1, 255, 0));
  rig.audio->Advance_Frames(250);
  EXPECT_EQ(Left(*rig.audio, 259), 8500);
  EXPECT_EQ(Movie_Voice_Position(rig.wx, kMovieVoices - 1), 2 * 50);  // 250 frames into 200
  Movie_Voice_Close(rig.wx, kMovieVoices - 1);
  Movie_Voice_Close(rig.wx, 99);
  rig.audio->Advance_Frames(10);
  EXPECT_EQ(Left(*rig.audio, 269), 8000);
  EXPECT_EQ(Movie_Voice_Position(rig.wx, kMovieVoices - 1), 0);
}

}  // namespace
