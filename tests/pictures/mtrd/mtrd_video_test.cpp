// Mtrd_Read_Video: the header, sound and chunk checks a video must pass
// before the player opens it.
#include <gtest/gtest.h>

#include "tests/pictures/mtrd/mtrd_test_support.h"
#include "tests/pictures/picture_test_support.h"

namespace {

// A version-1283 video, 4 x 2 at 8 bits, 2 frames, with sound chunks.
std::vector<ByteVector> Video_1283() {
  MtrdPictureFields fields;
  fields.version = 1283;
  fields.width = 4;
  fields.height = 2;
  fields.frames = 2;
  fields.palette = Test_Palette();
  fields.pict = ByteVector(8, 1);
  std::vector<ByteVector> chunks = Mtrd_Picture_Chunks(fields);
  for (const ByteVector& c :
       {Mtrd_Int("FSEC", 10), Mtrd_Int("SFRE", 11025), Mtrd_Int("SBIT", 16), Mtrd_Int("STER", 1),
        Mtrd_Int("SCRU", 5), Mtrd_Chunk("ANIM", {2}), Mtrd_Chunk("SAMP", {3})})
    chunks.push_back(c);
  return chunks;
}

// A version-1284 video: depth 16, or 0 for sound alone.
std::vector<ByteVector> Video_1284(int32_t depth, int32_t rate) {
  MtrdPictureFields fields;
  fields.depth = depth;
  fields.frames = 1;
  fields.palette = Test_Palette();
  fields.pict = ByteVector(16, 1);
  std::vector<ByteVector> chunks = Mtrd_Picture_Chunks(fields);
  if (depth == 0) chunks.resize(5);  // VERS, NAME, SIZX, SIZY, BITP
  if (depth == 0) chunks.push_back(Mtrd_Int("NBFR", 1));
  chunks.push_back(Mtrd_Int("FSEC", 25));
  chunks.push_back(Mtrd_Int("SFRE", rate));
  if (rate) {
    for (const ByteVector& c : {Mtrd_Int("SSIZ", 1764), Mtrd_Int("SBIT", 16), Mtrd_Int("STER", 0),
                                Mtrd_Int("SCRU", 3), Mtrd_Chunk("SAMP", {1})})
      chunks.push_back(c);
  }
  if (depth) chunks.push_back(Mtrd_Chunk("ANIM", {1}));
  return chunks;
}

bool Video(const std::vector<ByteVector>& chunks, MtrdVideo* v) {
  MemoryMtrd m(Mtrd_Container(chunks));
  MtrdFile f;
  return m.Open(&f) && Mtrd_Read_Video(f, v);
}

std::vector<ByteVector> Without(std::vector<ByteVector> chunks, std::string_view tag) {
  std::erase_if(chunks, [&](const ByteVector& c) {
    return std::string_view(reinterpret_cast<const char*>(c.data()), 4) == tag;
  });
  return chunks;
}

std::vector<ByteVector> With_Int(std::vector<ByteVector> chunks, std::string_view tag, int32_t value) {
  chunks.insert(chunks.begin(), Mtrd_Int(tag, value));  // the first occurrence counts
  return chunks;
}

TEST(MtrdVideo, Version1283WithSound) {
  MtrdVideo v;
  ASSERT_TRUE(Video(Video_1283(), &v));
  EXPECT_EQ(v.header.version, 1283);
  EXPECT_EQ(v.header.frame_count, 2);
  EXPECT_EQ(v.frame_bytes, 8u);
  EXPECT_EQ(v.palette, Test_Palette());
  EXPECT_EQ(v.first_frame.Payload_Size(), 8);
  EXPECT_EQ(v.sound.frames_per_second, 10);
  EXPECT_EQ(v.sound.sample_rate, 11025);
  EXPECT_EQ(v.sound.bits, 16);
  EXPECT_EQ(v.sound.stereo, 1);
  EXPECT_EQ(v.sound.pack_method, 5);
  EXPECT_EQ(v.sound_bytes_per_frame, 4410);  // ((11025 << 1) x 16 / 8) / 10
  // Without FSEC: 15 frames per second.
  ASSERT_TRUE(Video(Without(Video_1283(), "FSEC"), &v));
  EXPECT_EQ(v.sound.frames_per_second, 15);
  EXPECT_EQ(v.sound_bytes_per_frame, 2940);
  // Without SFRE: no sound.
  ASSERT_TRUE(Video(Without(Video_1283(), "SFRE"), &v));
  EXPECT_EQ(v.sound.sample_rate, 0);
  EXPECT_EQ(v.sound_bytes_per_frame, 0);
}

TEST(MtrdVideo, EarlierVersionsUseAnih) {
  std::vector<ByteVector> chunks = {Mtrd_Head("v", 1280, 4, 2, 8, 3, 8, 1),
                                    Mtrd_Chunk("PALE", Test_Palette()), Mtrd_Chunk("PICT", ByteVector(8, 1)),
                                    Mtrd_Chunk("ANIM", {1})};
  MtrdVideo v;
  ASSERT_TRUE(Video(chunks, &v));
  EXPECT_EQ(v.sound.frames_per_second, 15);
  EXPECT_EQ(v.sound.sample_rate, 0);
  // Version 1280 with sound: 16-bit mono whatever ANIH says.
  ByteVector anih;
  for (int32_t x : {15, 22050, 8, 1, 5})
    for (int s = 0; s < 32; s += 8) anih.push_back(uint8_t(uint32_t(x) >> s));
  chunks.push_back(Mtrd_Chunk("ANIH", anih));
  ASSERT_TRUE(Video(chunks, &v));
  EXPECT_EQ(v.sound.bits, 16);
  EXPECT_EQ(v.sound.stereo, 0);
  EXPECT_EQ(v.sound_bytes_per_frame, 2940);  // (22050 / 15) x 2
}

TEST(MtrdVideo, PictureRequirements) {
  MtrdVideo v;
  for (std::string_view tag :
       {"PALE", "PICT", "ANIM", "NAME", "SIZX", "SIZY", "BITP", "PACK", "SIZE", "NBFR"}) {
    EXPECT_FALSE(Video(Without(Video_1283(), tag), &v)) << tag;
  }
  for (int32_t depth : {0, 24, 32, 4}) {
    EXPECT_FALSE(Video(With_Int(Video_1283(), "BITP", depth), &v)) << depth;
  }
  EXPECT_FALSE(Video(With_Int(Video_1283(), "NBFR", 0), &v));
  EXPECT_FALSE(Video(With_Int(Video_1283(), "SIZX", 0), &v));
  EXPECT_FALSE(Video(With_Int(With_Int(Video_1283(), "SIZX", 65536), "SIZY", 65536), &v));
  EXPECT_TRUE(Video(With_Int(Video_1283(), "BITP", 16), &v));
  EXPECT_EQ(v.frame_bytes, 16u);
  EXPECT_FALSE(Video(With_Int(Video_1283(), "VERS", 1285), &v));
}

// The frame rate divides: 1..1000 frames per second.
TEST(MtrdVideo, FrameRateBounds) {
  MtrdVideo v;
  EXPECT_FALSE(Video(With_Int(Video_1283(), "FSEC", 0), &v));
  EXPECT_FALSE(Video(With_Int(Video_1283(), "FSEC", -5), &v));
  EXPECT_FALSE(Video(With_Int(Video_1283(), "FSEC", 1001), &v));
  EXPECT_FALSE(Video(With_Int(Without(Video_1283(), "SFRE"), "FSEC", 0), &v)) << "also without sound";
  ASSERT_TRUE(Video(With_Int(Video_1283(), "FSEC", 1000), &v));
  EXPECT_EQ(v.sound_bytes_per_frame, 44);
  ASSERT_TRUE(Video(With_Int(Video_1283(), "FSEC", 1), &v));
  EXPECT_EQ(v.sound_bytes_per_frame, 44100);
}

TEST(MtrdVideo, SoundBounds) {
  MtrdVideo v;
  EXPECT_FALSE(Video(With_Int(Video_1283(), "SBIT", 12), &v));
  EXPECT_FALSE(Video(Without(Video_1283(), "SBIT"), &v)) << "0 bits give no sound bytes";
  EXPECT_FALSE(Video(With_Int(Video_1283(), "STER", 2), &v));
  EXPECT_FALSE(Video(With_Int(Video_1283(), "SFRE", -1), &v));
  EXPECT_FALSE(Video(With_Int(With_Int(Video_1283(), "SFRE", 2), "SBIT", 8), &v)) << "0 bytes per frame";
  EXPECT_FALSE(Video(With_Int(With_Int(Video_1283(), "SFRE", 2000000000), "FSEC", 1), &v))
      << "too many bytes";
  EXPECT_TRUE(Video(With_Int(Video_1283(), "SCRU", 9), &v))
      << "an unknown sound method leaves blocks undecoded";
}

TEST(MtrdVideo, Version1284) {
  MtrdVideo v;
  ASSERT_TRUE(Video(Video_1284(16, 22050), &v));
  EXPECT_EQ(v.sound_bytes_per_frame, 1764);
  EXPECT_EQ(v.frame_bytes, 4u * 2u * 2u);
  for (std::string_view tag :
       {"FSEC", "SFRE", "SSIZ", "SBIT", "STER", "SCRU", "SAMP", "ANIM", "PALE", "PICT"}) {
    EXPECT_FALSE(Video(Without(Video_1284(16, 22050), tag), &v)) << tag;
  }
  // Without sound: no sound chunks needed.
  ASSERT_TRUE(Video(Video_1284(16, 0), &v));
  EXPECT_EQ(v.sound.sample_rate, 0);
  // Sound alone: depth 0, no picture chunks.
  ASSERT_TRUE(Video(Video_1284(0, 22050), &v));
  EXPECT_EQ(v.header.depth, 0);
  EXPECT_TRUE(v.palette.empty());
  EXPECT_EQ(v.frame_bytes, 0u);
  EXPECT_FALSE(Video(Without(Video_1284(0, 22050), "SAMP"), &v));
  EXPECT_FALSE(Video(With_Int(Video_1284(16, 22050), "SSIZ", 0), &v));
  EXPECT_FALSE(Video(With_Int(Video_1284(16, 22050), "SSIZ", -4), &v));
  EXPECT_FALSE(Video(With_Int(Video_1284(16, 22050), "SSIZ", (1 << 24) + 1), &v));
}

}  // namespace
