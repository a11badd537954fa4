// The script's sounds on the null sound card: the generator and its chance,
// the positional levels, slots and their loops, the music stream's chunks.
#include "engine/media/sound_commands.h"

#include <gtest/gtest.h>

#include "engine/media/music_stream.h"
#include "engine/media/sound_random.h"
#include "platform/sound/sound_output.h"
#include "tests/engine/engine_test_support.h"

namespace {

// A 16-bit mono WAV of `frames` frames at 44100 Hz, sample i = value(i).
std::vector<uint8_t> Wav(
    size_t frames, int16_t (*value)(size_t) = [](size_t) { return int16_t(1000); }) {
  std::vector<int16_t> samples(frames);
  for (size_t i = 0; i < frames; ++i) samples[i] = value(i);
  return Wav_Bytes(samples, 44100, 1);
}

// The levels a channel plays at (hundredths of a decibel), and those of a
// volume and pan.
using Db = std::optional<std::pair<int, int>>;
Db Heard(const Wendax& wx, int channel) {
  std::optional<VoiceLevels> levels = Sound_Levels(wx, channel);
  if (!levels) return std::nullopt;
  return std::pair{levels->volume, levels->pan};
}
Db Levels(int volume, int pan) { return std::pair{Sound_Volume_To_Db(volume), pan * 10}; }

TEST(SoundRandom, FirstValuesFromStateZero) {
  // One step from 0 gives 1 (t = 0); from 1, t = 0x80000000 and the shift
  // adds 1: 0x80000001; from there 0x40000001, 0xA0000001, ... A call is 32
  // such steps.
  uint32_t state = 0;
  EXPECT_EQ(Sound_Random(state), 0xD2AAAAABu);
  EXPECT_EQ(state, 0xD2AAAAABu);
  EXPECT_EQ(Sound_Random(state), 0x668AAAADu);
  EXPECT_EQ(Sound_Random(state), 0xFAE32AACu);
}

TEST(SoundRandom, PlayChanceByFrequencyAndFrameTime) {
  struct Case {
    uint32_t r;
    int frequency;
    int32_t frame_ms;
    bool due;
  };
  // Frequency 0 divides by 0x40000, 255 by 255 x 15360 + 0x40000 = 4178944.
  const Case cases[] = {
      {0x40000u * 20 - 1, 0, 20, true}, {0x40000u * 20, 0, 20, false}, {4178944u * 14 - 1, 255, 14, true},
      {4178944u * 14, 255, 14, false},  {0xFFFFFFFFu, 0, 16384, true}, {0, 7, 0, false},
      {4178944u * 3, 0x1FF, 4, true},  // only the low 8 bits of the frequency count
  };
  for (const Case& c : cases) EXPECT_EQ(Random_Play_Due(c.r, c.frequency, c.frame_ms), c.due) << c.r;
}

TEST(PositionalLevels, FacingFactorAndPan) {
  struct Case {
    int angle, volume;
    int32_t yaw, pitch;
    int facing, global;
    int out_volume, out_pan;
  };
  const Case cases[] = {
      {0, 200, 0, 0, 100, 255, 199, 0},
      {0, 200, 2048, 0, 100, 255, 99, -254},  // a quarter turn away: F quieter, on the left
      {0, 200, -2048, 0, 100, 256, 100, 254},
      {0, 200, 4096, 0, 100, 256, 1, 0},  // behind: trunc(-99.99...) = -99
      {0, 200, 4096, 0, 100, 255, 0, 0},
      {1024, 200, 0, 512, 100, 255, 149, 180},  // cos 45 x cos 45 x 100 = 50
      {0, 50, 4096, 0, 100, 256, -149, 0},      // below 0 before the channel clamps
      // A saved game's angle and volume, a script's global volume: any
      // 32-bit numbers, held to the int range rather than overflowing.
      {INT32_MIN, INT32_MAX, 1, 0, 0, 256, INT32_MAX, 248},  // the constant's error over 2^31 units
      {0, INT32_MAX, 0, 0, INT32_MIN, INT32_MAX, INT32_MAX, 0},
      {0, -1000, 0, 0, 0, INT32_MAX, INT32_MIN, 0},
  };
  for (const Case& c : cases) {
    SoundSlot slot;
    slot.angle = c.angle;
    slot.volume = c.volume;
    const ChannelLevels levels = Positional_Levels(slot, c.yaw, c.pitch, c.facing, c.global);
    EXPECT_EQ(levels.volume, c.out_volume) << c.yaw << " " << c.pitch;
    EXPECT_EQ(levels.pan, c.out_pan) << c.yaw << " " << c.pitch;
  }
}

TEST(SoundScaled, ShiftOfTheProductWithoutOverflow) {
  struct Case {
    int64_t volume;
    int global;
    int out;
  };
  const Case cases[] = {
      {255, 255, 254},
      {200, 256, 200},
      {-1, 1, -1},  // >> 8 rounds down, as the shift does
      {-257, 256, -257},
      {int64_t(1) << 32, 1, 1 << 24},
      {int64_t(3) << 31, INT32_MAX, INT32_MAX},
      {-(int64_t(3) << 31), INT32_MAX, INT32_MIN},
  };
  for (const Case& c : cases)
    EXPECT_EQ(Sound_Scaled(c.volume, c.global), c.out) << c.volume << " " << c.global;
}

TEST(PlaySound, SlotOfItsChannelAndLoopCounting) {
  struct Case {
    const char* what;
    size_t frames;  // of the sound, at 44100 Hz
    int loops;
    int freed_after_ms;  // service every 20 ms: the first time the slot is free
  };
  const Case cases[] = {
      {"once", 4410, 1, 100},
      {"twice", 4410, 2, 200},
      {"negative loops play for ever", 4410, -3, 0},
      {"a sound ended before any service step", 220, 1, 20},
  };
  for (const Case& c : cases) {
    HeadlessEngine h;
    h.Add_File("TICK.WAV", Wav(c.frames));
    Command_Play_Sound(h.engine, "TICK.WAV", 300, c.loops);
    const SoundSlot& slot = h.engine.sound.slots[0];
    ASSERT_EQ(slot.channel, 1) << c.what;
    EXPECT_EQ(slot.volume, 44) << c.what;  // 300 & 0xFF
    EXPECT_EQ(slot.loops_left, std::max(c.loops, 0)) << c.what;
    EXPECT_EQ(Heard(h.wx, 1), Levels(44 * 255 >> 8, 0)) << c.what;
    int freed = 0;
    for (int ms = 20; ms <= 1000 && !freed; ms += 20) {
      h.audio->Advance_Ms(20);
      Sound_Service(h.engine);
      if (slot.channel == 0) freed = ms;
    }
    EXPECT_EQ(freed, c.freed_after_ms) << c.what;
    if (freed) {
      EXPECT_TRUE(slot.file.empty()) << c.what;
      EXPECT_FALSE(Sound_Levels(h.wx, 1)) << c.what;  // the channel was given back
    }
  }
}

TEST(PlaySound, ASecondPlayOfAPlayingFileDoesNothing) {
  HeadlessEngine h;
  h.Add_File("WIND.WAV", Wav(44100));
  Command_Play_Sound(h.engine, "WIND.WAV", 100, 0);
  h.audio->Advance_Ms(100);
  Command_Play_Sound(h.engine, "wind.wav", 200, 1);
  EXPECT_EQ(h.engine.sound.slots[0].volume, 100);
  EXPECT_EQ(h.engine.sound.slots[1].channel, 0);
  EXPECT_FALSE(Sound_Playing(h.wx, 2));
  EXPECT_EQ(Sound_Position(h.wx, 1), 4410 * 2);  // not restarted

  Command_Stop_Sound(h.engine, "Wind.Wav");
  EXPECT_EQ(h.engine.sound.slots[0].channel, 0);
  Command_Play_Sound(h.engine, "MISSING.WAV", 100, 0);
  EXPECT_EQ(h.engine.sound.slots[0].channel, 0);
}

TEST(PlaySound3D, PanFollowsTheView) {
  HeadlessEngine h;
  h.Add_File("BIRD.WAV", Wav(44100));
  h.engine.view.pitch = 512;
  Command_Play_Sound_3D(h.engine, "BIRD.WAV", 200, 1024 + 8192, 0);
  const SoundSlot& slot = h.engine.sound.positional[0];
  ASSERT_EQ(slot.channel, 1);
  EXPECT_EQ(slot.angle, 1024);
  // At the start: no facing, the pan of sin x 256.
  EXPECT_EQ(Heard(h.wx, 1), Levels(199, 181));
  Sound_Service(h.engine);
  EXPECT_EQ(Heard(h.wx, 1), Levels(149, 180));
  h.engine.view.yaw = 1024 + 2048;  // the bird a quarter turn to the left
  Sound_Service(h.engine);
  EXPECT_EQ(Heard(h.wx, 1), Levels(99, -254));
  Command_Stop_Sound_3D(h.engine, "bird.wav");
  EXPECT_FALSE(Sound_Levels(h.wx, 1));
}

TEST(RandomSounds, PlayOnceAndGiveTheirChannelsBack) {
  HeadlessEngine h;
  h.Add_File("DRIP.WAV", Wav(441));  // 10 ms
  for (int i = 0; i < 8; ++i) Command_Add_Random_Sound(h.engine, "DRIP.WAV", 255, 255);
  Command_Add_Random_Sound(h.engine, "NONE.WAV", 255, 255);  // kept, never heard
  ASSERT_EQ(h.engine.sound.random.size(), 9u);
  EXPECT_FALSE(h.engine.sound.random[8].sample);
  h.wx.clock.delta = 20;
  int plays = 0;
  for (int frame = 0; frame < 2000; ++frame) {
    Random_Sounds_Frame(h.engine);
    plays = std::max(plays, int(h.engine.sound.random_channels.size()));
    h.audio->Advance_Ms(20);
  }
  // About 2000 x 8 x 20 / 1028 plays, each giving its channel back once
  // it is over: the warp's sounds gone, the table is free again.
  EXPECT_GT(plays, 0);
  Sound_Warp_Entry(h.engine);
  EXPECT_TRUE(h.engine.sound.random.empty());
  h.audio->Advance_Ms(20);
  Random_Sounds_Frame(h.engine);
  EXPECT_TRUE(h.engine.sound.random_channels.empty());
  for (int channel = 1; channel <= 8; ++channel) EXPECT_FALSE(Sound_Levels(h.wx, channel)) << channel;
}

int16_t Index(size_t i) { return int16_t(i); }

// The chunks of a music of `frames` 16-bit frames: its bytes read round and
// round from `start`.
std::vector<uint8_t> Expected_Chunk(const std::vector<uint8_t>& data, size_t start) {
  std::vector<uint8_t> chunk(kMusicChunkBytes);
  for (size_t i = 0; i < chunk.size(); ++i) chunk[i] = data[(start + i) % data.size()];
  return chunk;
}

TEST(Music, ChunksWrapAroundTheData) {
  for (size_t frames : {10000u, 8192u, 1500u, 1u}) {
    HeadlessEngine h;
    const std::vector<uint8_t> file = Wav(frames, Index);
    const std::vector<uint8_t> data(file.begin() + 44, file.end());
    h.Add_File("TUNE.WAV", file);
    MusicStream music;
    Music_Start(h.wx, music, "TUNE.WAV", 255, 0);
    ASSERT_TRUE(music.open) << frames;
    // The first chunk went to the stream; the second waits.
    EXPECT_EQ(music.chunk, Expected_Chunk(data, kMusicChunkBytes)) << frames;
    Music_Read_Chunk(h.wx, music);
    EXPECT_EQ(music.chunk, Expected_Chunk(data, 2 * kMusicChunkBytes)) << frames;
    EXPECT_EQ(music.consumed, 3 * kMusicChunkBytes % data.size()) << frames;
    Music_Stop(h.wx, music);
    EXPECT_EQ(Stream_State(h.wx), StreamPhase::kOff);
  }
}

TEST(Music, EmptyDataIsRefused) {
  HeadlessEngine h;
  h.Add_File("EMPTY.WAV", Wav(0));
  MusicStream music;
  Music_Start(h.wx, music, "EMPTY.WAV", 255, 0);
  EXPECT_FALSE(music.open);
  EXPECT_EQ(Stream_State(h.wx), StreamPhase::kOff);
  Music_Refill(h.wx, music, 255, 0);  // nothing to refill, no hang
}

TEST(Music, ReplayingTheCurrentMusicChangesOnlyItsVolume) {
  HeadlessEngine h;
  h.Add_File("TUNE.WAV", Wav(30000, Index));
  Command_Play_Music(h.engine, "TUNE.WAV", 100);
  ASSERT_TRUE(h.engine.sound.music.open);
  const int handle = h.engine.sound.music.handle;
  h.audio->Advance_Ms(100);  // still in the first half: the next refill is taken
  Command_Play_Music(h.engine, "tune.wav", 200);
  EXPECT_EQ(h.engine.sound.music.handle, handle);
  EXPECT_EQ(h.engine.sound.music.volume, 200);
  EXPECT_GT(Sound_Position(h.wx, 1), 0);
  EXPECT_EQ(Heard(h.wx, 1), Levels(200 * 255 >> 8, 0));
  Command_Stop_Music(h.engine);
  EXPECT_TRUE(h.engine.sound.music.file.empty());
  EXPECT_EQ(Stream_State(h.wx), StreamPhase::kOff);
}

// The music streams without a gap: the captured mix holds the data's
// samples over and over (44100 Hz in and out, so no resampling; pan 0).
TEST(Music, LoopsWithoutAGap) {
  HeadlessEngine h;
  const size_t frames = 10000;  // 20000 bytes: not a multiple of the chunk
  h.Add_File("TUNE.WAV", Wav(frames, [](size_t i) { return int16_t(i * 3 % 20011); }));
  h.audio->Capture(true);
  Command_Play_Music(h.engine, "TUNE.WAV", 255);
  for (int step = 0; step < 100; ++step) {  // two seconds
    h.audio->Advance_Ms(20);
    Sound_Service(h.engine);
  }
  const std::vector<int16_t>& mix = h.audio->Captured();
  ASSERT_GE(mix.size(), 2 * 44100u);
  // Volume 255 x global 255 >> 8 = 254 reaches the channel.
  const double gain = Db_To_Gain(Sound_Volume_To_Db(254));
  size_t wrong = 0;
  for (size_t f = 0; f < 2 * 44100; ++f) {
    const double want = double(f % frames * 3 % 20011) * gain;
    if (std::abs(mix[2 * f] - want) > 1 || std::abs(mix[2 * f + 1] - want) > 1) {
      if (wrong < 10) ADD_FAILURE() << f << ": " << mix[2 * f] << " " << mix[2 * f + 1] << " want " << want;
      ++wrong;
    }
  }
  EXPECT_EQ(wrong, 0u);
}

}  // namespace
