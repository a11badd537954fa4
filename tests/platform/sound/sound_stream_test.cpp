// The streamed sound: its double buffer, the two refill phases, and its end.
#include <gtest/gtest.h>

#include "platform/sound/sound_output.h"
#include "tests/platform/sound/sound_test_support.h"

namespace {

// A 16-bit mono stream of 400 bytes: two halves of 100 frames.
constexpr int32_t kSize = 400;
constexpr int64_t kHalfFrames = 100;

std::vector<uint8_t> Half(int16_t value) {
  std::string bytes = Pcm16(std::vector<int16_t>(kHalfFrames, value));
  return {bytes.begin(), bytes.end()};
}

int Start(SoundRig& rig, int16_t value, int volume = 255, int pan = 0) {
  return Stream_Start(rig.wx, Half(value), 44100, 16, 0, kSize, volume, pan);
}

TEST(SoundStream, RefillsFollowThePlayCursorThroughBothPhases) {
  SoundRig rig;
  ASSERT_EQ(Start(rig, 1000), 0);
  EXPECT_EQ(Stream_State(rig.wx), StreamPhase::kA);

  // Phase A: the cursor is in the first half, so the second half is written.
  EXPECT_EQ(Stream_Refill(rig.wx, Half(2000), 255, 0), 1);
  EXPECT_EQ(Stream_State(rig.wx), StreamPhase::kB);
  // Phase B waits while the first half plays.
  EXPECT_EQ(Stream_Refill(rig.wx, Half(3000), 255, 0), 0);
  rig.audio->Advance_Frames(kHalfFrames - 1);
  EXPECT_EQ(Stream_Refill(rig.wx, Half(3000), 255, 0), 0);
  rig.audio->Advance_Frames(1);  // the cursor enters the second half
  EXPECT_EQ(Stream_Refill(rig.wx, Half(3000), 255, 0), 1);
  EXPECT_EQ(Stream_State(rig.wx), StreamPhase::kA);
  // Phase A waits while the second half plays.
  EXPECT_EQ(Stream_Refill(rig.wx, Half(4000), 255, 0), 0);
  rig.audio->Advance_Frames(kHalfFrames);  // wrapped to the first half
  EXPECT_EQ(Stream_Refill(rig.wx, Half(4000), 255, 0), 1);
  EXPECT_EQ(Stream_State(rig.wx), StreamPhase::kB);
  rig.audio->Advance_Frames(2 * kHalfFrames);

  // Heard in order, without a gap: 1000, 2000, 3000 (first half again), 4000.
  const int16_t expected[] = {1000, 2000, 3000, 4000};
  for (int part = 0; part < 4; ++part) {
    EXPECT_EQ(Left(*rig.audio, size_t(part * kHalfFrames)), expected[part]) << "part " << part;
    EXPECT_EQ(Left(*rig.audio, size_t(part * kHalfFrames + kHalfFrames - 1)), expected[part])
        << "part " << part;
  }
}

TEST(SoundStream, SecondStartIsRefusedAndStopEndsTheStream) {
  SoundRig rig;
  ASSERT_EQ(Start(rig, 1000), 0);
  EXPECT_EQ(Start(rig, 1000), -1);
  Stream_Stop(rig.wx);
  EXPECT_EQ(Stream_State(rig.wx), StreamPhase::kOff);
  EXPECT_EQ(Stream_Refill(rig.wx, Half(2000), 255, 0), 0);
  rig.audio->Advance_Frames(1);
  EXPECT_EQ(Left(*rig.audio, 0), 0);
  // Its channel is free again, and a new stream may start.
  Sample tone = Constant16(1, 10);
  EXPECT_EQ(Sound_Play(rig.wx, &tone, 255, 0, 0), 1);
  EXPECT_EQ(Start(rig, 1000), 0);
  Stream_Stop(rig.wx);
  Stream_Stop(rig.wx);  // off already: nothing
}

TEST(SoundStream, StreamTakesTheFirstFreeChannelAndRefillSetsItsLevels) {
  SoundRig rig;
  Sample tone = Constant16(1, 10);
  ASSERT_EQ(Sound_Play(rig.wx, &tone, 255, 0, 0), 1);
  ASSERT_EQ(Start(rig, 1000, 128, -300), 0);
  EXPECT_EQ(Sound_Levels(rig.wx, 2)->volume, -598);
  EXPECT_EQ(Sound_Levels(rig.wx, 2)->pan, -2550);
  EXPECT_EQ(Stream_Refill(rig.wx, Half(2000), 300, 50), 1);
  EXPECT_EQ(Sound_Levels(rig.wx, 2)->volume, 0);
  EXPECT_EQ(Sound_Levels(rig.wx, 2)->pan, 500);
  // Its cursor is an ordinary channel's: the stream loops.
  rig.audio->Advance_Frames(2 * kHalfFrames + 3);
  EXPECT_EQ(Sound_Position(rig.wx, 2), 6);
}

TEST(SoundStream, StartIsRefusedWithoutDeviceChannelOrData) {
  Wendax no_device;
  EXPECT_EQ(Stream_Start(no_device, Half(1), 44100, 16, 0, kSize, 255, 0), -1);
  EXPECT_EQ(Stream_State(no_device), StreamPhase::kOff);

  SoundRig rig;
  EXPECT_EQ(Stream_Start(rig.wx, Half(1), 44100, 16, 0, 1, 255, 0), -1);          // no halves
  EXPECT_EQ(Stream_Start(rig.wx, Half(1), 44100, 16, 0, 2 * kSize, 255, 0), -1);  // data too short
  EXPECT_EQ(Stream_Start(rig.wx, Half(1), 44100, 24, 0, kSize, 255, 0), -1);      // not playable
  EXPECT_EQ(Stream_State(rig.wx), StreamPhase::kOff);

  Sample tone = Constant16(1, 10);
  for (int n = 1; n <= kSoundChannels; ++n) {
    ASSERT_EQ(Sound_Play(rig.wx, &tone, 255, 0, 0), n);
  }
  EXPECT_EQ(Start(rig, 1000), -1);
  EXPECT_EQ(Stream_State(rig.wx), StreamPhase::kOff);
}

TEST(SoundStream, ShortChunksAreCompletedWithSilenceAndLongOnesCut) {
  SoundRig rig;
  ASSERT_EQ(Start(rig, 1000), 0);
  std::vector<uint8_t> short_chunk = Half(2000);
  short_chunk.resize(20);  // 10 frames
  ASSERT_EQ(Stream_Refill(rig.wx, short_chunk, 255, 0), 1);
  rig.audio->Advance_Frames(kHalfFrames);
  std::vector<uint8_t> long_chunk = Half(3000);
  long_chunk.resize(kSize * 4, 0x55);
  ASSERT_EQ(Stream_Refill(rig.wx, long_chunk, 255, 0), 1);
  rig.audio->Advance_Frames(2 * kHalfFrames + 11);
  EXPECT_EQ(Left(*rig.audio, 109), 2000);
  EXPECT_EQ(Left(*rig.audio, 110), 0);
  EXPECT_EQ(Left(*rig.audio, 199), 0);
  EXPECT_EQ(Left(*rig.audio, 200), 3000);
  EXPECT_EQ(Left(*rig.audio, 299), 3000);
  // The long chunk did not run over into the second half.
  EXPECT_EQ(Left(*rig.audio, 309), 2000);
  EXPECT_EQ(Left(*rig.audio, 310), 0);
}

TEST(SoundStream, EightBitStreamStartsWithSilenceInItsSecondHalf) {
  SoundRig rig;
  std::vector<uint8_t> first(50, 0xC0);
  ASSERT_EQ(Stream_Start(rig.wx, first, 44100, 8, 0, 100, 255, 0), 0);
  rig.audio->Advance_Frames(100);
  EXPECT_EQ(Left(*rig.audio, 49), 16384);
  EXPECT_EQ(Left(*rig.audio, 50), 0);  // 0x80, not 0x00
  EXPECT_EQ(Left(*rig.audio, 99), 0);
}

TEST(SoundStream, StoppingItsChannelOrClosingEndsTheStream) {
  SoundRig rig;
  ASSERT_EQ(Start(rig, 1000), 0);
  Sound_Stop(rig.wx, 1);
  EXPECT_EQ(Stream_State(rig.wx), StreamPhase::kOff);
  // The channel now plays another sound; a refill must not write into it.
  Sample tone = Constant16(77, 200);
  ASSERT_EQ(Sound_Play(rig.wx, &tone, 255, 0, kSoundFlagLoop), 1);
  EXPECT_EQ(Stream_Refill(rig.wx, Half(2000), 255, 0), 0);
  rig.audio->Advance_Frames(200);
  EXPECT_EQ(Left(*rig.audio, 150), 77);

  ASSERT_EQ(Start(rig, 1000), 0);
  Sound_Close(rig.wx);
  EXPECT_EQ(Stream_State(rig.wx), StreamPhase::kOff);
  ASSERT_EQ(Sound_Init(rig.wx), 0);
  EXPECT_EQ(Stream_Refill(rig.wx, Half(2000), 255, 0), 0);
}

}  // namespace
