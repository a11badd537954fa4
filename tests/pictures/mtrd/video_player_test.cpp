// MTRD videos decoded frame by frame and played on the headless card: the
// sound block of each version, frames over their history, the frame
// counter, the pacing by the frame period or the sound stream, Escape, and
// clipping.
#include "pictures/mtrd/mtrd_video.h"

#include <gtest/gtest.h>

#include "packing/packing_encode.h"
#include "platform/display/display.h"
#include "platform/headless/headless_display.h"
#include "platform/headless/null_audio.h"
#include "platform/input/frame_clock.h"
#include "platform/input/virtual_keys.h"
#include "tests/pictures/mtrd/mtrd_test_support.h"
#include "tests/pictures/picture_test_support.h"

namespace {

ByteVector Packed(int method, const ByteVector& data, const ByteVector& previous = {}) {
  return Pack(method, data.data(), data.size(), previous.empty() ? nullptr : previous.data());
}

ByteVector Le16(const std::vector<int16_t>& samples) {
  ByteVector out;
  for (int16_t s : samples) {
    out.push_back(uint8_t(s));
    out.push_back(uint8_t(uint16_t(s) >> 8));
  }
  return out;
}

// A 16-bit video of the given frames (whole pictures, each packed with
// method 6 against the one before), with sound chunks after the picture
// chunks of their frame.
struct VideoSpec {
  int32_t version = 1283;
  int32_t width = 4, height = 2, depth = 16;
  std::vector<ByteVector> frames;
  std::vector<ByteVector> sound_chunks;  // one "SAMP" payload a frame
  std::vector<ByteVector> sound_params;  // FSEC, SFRE, ... or ANIH
};

ByteVector Video_Bytes(const VideoSpec& s) {
  MtrdPictureFields fields;
  fields.version = s.version;
  fields.width = s.width;
  fields.height = s.height;
  fields.depth = s.depth;
  fields.pack = 6;
  fields.frames = int32_t(s.frames.size());
  fields.palette = Test_Palette();
  const ByteVector blank(s.frames[0].size(), 0);
  fields.pict = Packed(6, s.frames[0], blank);
  std::vector<ByteVector> chunks = Mtrd_Picture_Chunks(fields);
  if (s.version <= 1281)  // the header in one "HEAD" chunk
    chunks = {Mtrd_Int("VERS", s.version),
              Mtrd_Head("clip", s.version, s.width, s.height, s.depth, 6, int32_t(fields.pict.size()),
                        fields.frames),
              Mtrd_Chunk("PALE", fields.palette), Mtrd_Chunk("PICT", fields.pict)};
  for (const ByteVector& p : s.sound_params) chunks.push_back(p);
  for (size_t k = 0; k < s.frames.size(); ++k) {
    if (k < s.sound_chunks.size()) chunks.push_back(Mtrd_Chunk("SAMP", s.sound_chunks[k]));
    // Frame k + 1 of the file, or the last again: a video holds an "ANIM".
    const size_t next = std::min(k + 1, s.frames.size() - 1);
    chunks.push_back(Mtrd_Chunk("ANIM", Packed(6, s.frames[next], s.frames[k])));
  }
  return Mtrd_Container(chunks);
}

ByteVector Frame16(int32_t width, int32_t height, uint16_t first) {
  std::vector<int16_t> px(size_t(width) * size_t(height));
  for (size_t i = 0; i < px.size(); ++i) px[i] = int16_t(first + i);
  return Le16(px);
}

struct Player {
  explicit Player(bool audio = true) : card(Config()), wx(card) {
    EXPECT_EQ(Wendax_Init(wx), 0);
    Wendax_Request_Mode(wx, 640, 480, 16);
    EXPECT_EQ(Wendax_Set_Mode(wx), 0);
    auto device = std::make_unique<NullAudio>(44100, audio);
    null_audio = device.get();
    null_audio->Capture(true);
    card.Attach_Audio(null_audio);
    Sound_Use_Device(wx, std::move(device));
    Wendax_Clock_Start(wx);
    Wendax_Show(wx);  // from here on every frame is 20 ms on the clock
    null_audio->Clear_Capture();
  }
  ~Player() { card.Attach_Audio(nullptr); }
  static HeadlessConfig Config() {
    HeadlessConfig config;
    config.modes = {{640, 480, 16, 0}};
    config.frame_step_ms = 20;
    return config;
  }
  void Add(const ByteVector& bytes) { Memory_File_Add(wx, "clip.mtd", bytes.data(), bytes.size()); }
  uint16_t Shown(int x, int y) const { return uint16_t(card.Last_Presented().Value(x, y)); }
  HeadlessDisplay card;
  Wendax wx;
  NullAudio* null_audio = nullptr;
};

TEST(VideoDecoder, SoundBlockOfEachVersion) {
  const ByteVector codes_1280 = {2, 1, 255, 0};  // +512, +256, -256, 0
  std::vector<uint8_t> all_128(8, 128);
  struct Case {
    const char* what;
    VideoSpec spec;
    int32_t bytes_per_frame;
    ByteVector pcm;  // the first bytes of the first block
  };
  const ByteVector pcm_1283 = Le16({100, -100, 200, -200});
  Case cases[] = {
      {"1280: codes, 16-bit mono whatever ANIH says",
       // ANIH: 15 fps, 22050 Hz, 8 bits, stereo, method 5; 1280 keeps none of the last three.
       {1280,
        4,
        2,
        16,
        {},
        {Packed(3, codes_1280)},
        {Mtrd_Chunk("ANIH", Le16({15, 0, 22050, 0, 8, 0, 1, 0, 5, 0}))}},
       2940,
       Le16({512, 768, 512, 512})},
      {"1283: the PCM itself",
       {1283,
        4,
        2,
        16,
        {},
        {Packed(5, pcm_1283)},
        {Mtrd_Int("FSEC", 15), Mtrd_Int("SFRE", 15), Mtrd_Int("SBIT", 16), Mtrd_Int("STER", 1),
         Mtrd_Int("SCRU", 5)}},
       4,
       ByteVector(pcm_1283.begin(), pcm_1283.begin() + 4)},
      {"1284 stereo, codes of 128: silence",
       {1284,
        4,
        2,
        16,
        {},
        {Packed(3, all_128)},
        {Mtrd_Int("FSEC", 15), Mtrd_Int("SFRE", 22050), Mtrd_Int("SSIZ", 16), Mtrd_Int("SBIT", 16),
         Mtrd_Int("STER", 1), Mtrd_Int("SCRU", 3)}},
       16,
       ByteVector(16, 0)},
  };
  for (Case& c : cases) {
    c.spec.frames = {Frame16(4, 2, 1), Frame16(4, 2, 9)};
    Wendax wx;
    const ByteVector bytes = Video_Bytes(c.spec);
    Memory_File_Add(wx, "clip.mtd", bytes.data(), bytes.size());
    std::unique_ptr<Video> v = Video_Open(wx, "CLIP.MTD");
    ASSERT_TRUE(v) << c.what;
    EXPECT_EQ(v->info.sound_bytes_per_frame, c.bytes_per_frame) << c.what;
    EXPECT_EQ(Video_Next_Frame(*v), 1) << c.what;
    EXPECT_EQ(ByteVector(v->Pcm(), v->Pcm() + c.pcm.size()), c.pcm) << c.what;
    EXPECT_EQ(ByteVector(v->Pixels(), v->Pixels() + 16), Frame16(4, 2, 1)) << c.what;
    EXPECT_EQ(Video_Next_Frame(*v), 2) << c.what;
    EXPECT_EQ(ByteVector(v->Pixels(), v->Pixels() + 16), Frame16(4, 2, 9)) << c.what;
    EXPECT_EQ(Video_Next_Frame(*v), 0) << c.what;  // past the last frame
    EXPECT_EQ(Video_Next_Frame(*v), 1) << c.what;  // and round again from the start
    EXPECT_EQ(ByteVector(v->Pixels(), v->Pixels() + 16), Frame16(4, 2, 1)) << c.what;
  }
}

// Each frame stays while the time shown does not exceed 1000 / 15 = 66 ms;
// on 20 ms frames: 80 (excess 14), then 74 (8), then 68 (2): 4, 3, 3 shows,
// after the one the player's set-up made.
TEST(VideoPlay, FramePeriodCarriesTheExcess) {
  Player p;
  VideoSpec spec;
  spec.frames = {Frame16(4, 2, 1), Frame16(4, 2, 20), Frame16(4, 2, 40)};
  p.Add(Video_Bytes(spec));
  Video_Play(p.wx, "clip.mtd");
  EXPECT_EQ(p.card.Presented_Count(), 1u + 10);
  EXPECT_EQ(p.Shown(318, 239), 40);  // the last frame, centred
  EXPECT_EQ(p.Shown(321, 240), 47);
  EXPECT_EQ(p.Shown(317, 239), 0);
}

TEST(VideoPlay, OneFrameAndEscape) {
  {
    Player p;
    VideoSpec spec;
    spec.frames = {Frame16(4, 2, 5)};
    spec.sound_params = {Mtrd_Int("FSEC", 1000)};
    p.Add(Video_Bytes(spec));
    Video_Play(p.wx, "clip.mtd");
    EXPECT_EQ(p.card.Presented_Count(), 1u + 1);
    EXPECT_EQ(p.Shown(318, 239), 5);
  }
  {
    Player p;
    VideoSpec spec;
    spec.frames = {Frame16(4, 2, 1), Frame16(4, 2, 20), Frame16(4, 2, 40)};
    spec.sound_params = {Mtrd_Int("FSEC", 1000)};
    p.Add(Video_Bytes(spec));
    p.card.Key_Down(kVkEscape, 1);
    Video_Play(p.wx, "clip.mtd");
    EXPECT_EQ(p.card.Presented_Count(), 1u + 1);  // the first frame, then the key
  }
}

TEST(VideoPlay, LargerThanTheScreenIsCentredAndClipped) {
  Player p;
  VideoSpec spec;
  spec.width = 700;
  spec.height = 500;
  spec.frames = {Frame16(700, 500, 0)};
  spec.sound_params = {Mtrd_Int("FSEC", 1000)};
  p.Add(Video_Bytes(spec));
  Video_Play(p.wx, "clip.mtd");
  EXPECT_EQ(p.Shown(0, 0), uint16_t(10 * 700 + 30));
  EXPECT_EQ(p.Shown(639, 479), uint16_t((10 + 479) * 700 + 30 + 639));
}

// With sound the stream paces the video: each frame waits until the stream
// takes its block, so the video lasts as long as its sound.
TEST(VideoPlay, SoundStreamPacesTheVideo) {
  for (bool device : {true, false}) {
    Player p(device);
    VideoSpec spec;
    spec.version = 1283;
    for (int k = 0; k < 6; ++k) {
      spec.frames.push_back(Frame16(4, 2, uint16_t(k * 10)));
      spec.sound_chunks.push_back(Packed(3, Le16(std::vector<int16_t>(4410, int16_t(1000 * (k + 1))))));
    }
    // 44100 Hz mono 16-bit at 10 frames a second: 8820 bytes a frame.
    spec.sound_params = {Mtrd_Int("FSEC", 10), Mtrd_Int("SFRE", 44100), Mtrd_Int("SBIT", 16),
                         Mtrd_Int("STER", 0), Mtrd_Int("SCRU", 3)};
    p.Add(Video_Bytes(spec));
    Video_Play(p.wx, "clip.mtd");
    EXPECT_EQ(p.Shown(318, 239), 50) << device;
    EXPECT_EQ(Sound_Device_Flag(p.wx), -1) << device;  // closed after a video with sound
    if (!device) {
      // Paced by the period, 100 ms: the clock's first step after its start
      // is 21 ms, then 20: 21, 41, 61, 81 stay, 101 goes on, 1 carried.
      EXPECT_EQ(p.card.Presented_Count(), 1u + 6 * 5);
      continue;
    }
    EXPECT_EQ(p.card.Presented_Count(), 1u + 6);
    // The blocks in order in what was heard, 100 ms each, the last ones too.
    const std::vector<int16_t>& heard = p.null_audio->Captured();
    ASSERT_GE(heard.size(), 2 * 6 * 4410u);
    for (int k = 0; k < 6; ++k) {
      const size_t frame = size_t(k) * 4410 + 2205;  // the middle of block k
      EXPECT_NEAR(heard[2 * frame], 1000 * (k + 1), 10) << "block " << k;
    }
  }
}

}  // namespace
