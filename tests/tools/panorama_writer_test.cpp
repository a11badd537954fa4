// The panorama file writer: exact bytes, what it refuses, and files made
// from pictures read back by libkvr_read.so.
#include "tools/panorama_writer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "kvr_read/kvr_read.h"
#include "tests/tools/panorama_pictures.h"
#include "tests/support/temp_folder.h"

namespace {

using Bytes = std::vector<uint8_t>;

void Put(Bytes& b, uint32_t v) {
  for (int i = 0; i < 4; ++i) b.push_back(uint8_t(v >> (8 * i)));
}

PanoramaContent Small_Content() {
  PanoramaContent content;
  content.kind = PanoramaKind::kVr;
  content.dct_param = 77;
  content.data = {1, 2, 3};
  PanoramaAnimation animation;
  animation.name = "ab";
  animation.frames.push_back({{5, 17}, 60, {9, 8}});
  animation.frames.push_back({});
  animation.loop = 1;
  content.animations.push_back(animation);
  return content;
}

TEST(PanoramaWriter, WritesEveryChunkFieldByField) {
  Bytes expected;
  Put(expected, 0x12FA84AB);
  Put(expected, 121);  // 8 + static chunk (19) + animation chunk (94)
  Put(expected, 0xA0B1C200);
  Put(expected, 19);  // 8 + dct_param, N and 3 bytes
  Put(expected, 77);
  Put(expected, 3);
  expected.insert(expected.end(), {1, 2, 3});
  Put(expected, 0xA0B1C201);
  Put(expected, 94);  // 8 + name 32 + F 4 + frames 30 + 8 + loop 12
  expected.insert(expected.end(), {'a', 'b'});
  expected.resize(expected.size() + 30, 0);
  Put(expected, 2);
  Put(expected, 0xA0B1C211);
  Put(expected, 30);
  Put(expected, 2);
  Put(expected, 5);
  Put(expected, 17);
  Put(expected, 60);
  Put(expected, 2);
  expected.insert(expected.end(), {9, 8});
  Put(expected, 0xA0B1C211);
  Put(expected, 8);
  Put(expected, 0xA0B1C221);
  Put(expected, 12);
  Put(expected, 1);

  Bytes out;
  std::string error;
  ASSERT_TRUE(Panorama_File_Bytes(Small_Content(), out, error)) << error;
  EXPECT_EQ(out, expected);
  ASSERT_EQ(out.size(), 121u);
  EXPECT_EQ(Bytes(out.begin(), out.begin() + 8), (Bytes{0xAB, 0x84, 0xFA, 0x12, 0x79, 0, 0, 0}));

  // A still picture takes the other static tag; no loop, no loop chunk.
  PanoramaContent still = Small_Content();
  still.kind = PanoramaKind::kPic;
  still.animations[0].loop.reset();
  ASSERT_TRUE(Panorama_File_Bytes(still, out, error)) << error;
  ASSERT_EQ(out.size(), 109u);
  EXPECT_EQ(Bytes(out.begin() + 8, out.begin() + 12), (Bytes{0x00, 0xC4, 0xB1, 0xA0}));
  EXPECT_EQ(Bytes(out.begin() + 4, out.begin() + 8), (Bytes{109, 0, 0, 0}));
}

TEST(PanoramaWriter, TheLibraryReadsTheWrittenFile) {
  TempFolder folder;
  Bytes out;
  std::string error;
  PanoramaContent content = Small_Content();
  PanoramaAnimation second;
  second.name = std::string(31, 'n');
  second.frames.push_back({});
  content.animations.push_back(second);
  ASSERT_TRUE(Panorama_File_Bytes(content, out, error)) << error;
  folder.Write("a.kvr", std::string(out.begin(), out.end()));
  const std::string path = folder.Path("a.kvr");
  EXPECT_EQ(Kvr_Get_Vr_Type(path.c_str()), KVR_TYPE_VR);
  ASSERT_EQ(Kvr_Get_Number_Animation(path.c_str()), 2);
  char names[2][32];
  char* pointers[2] = {names[0], names[1]};
  Kvr_Get_Animation(path.c_str(), pointers);
  EXPECT_STREQ(names[0], "ab");
  EXPECT_EQ(std::string(names[1], 31), second.name);
  EXPECT_EQ(names[1][31], '\0');
  KVR_ANIM anim;
  ASSERT_EQ(Kvr_Open_Animation(path.c_str(), second.name.c_str(), &anim), 1);
  EXPECT_EQ(anim.frame_count, 1);
  Kvr_Close_Animation(&anim);
}

TEST(PanoramaWriter, RefusesWhatNoPlayerCouldUse) {
  struct Case {
    const char* what;
    void (*spoil)(PanoramaContent&);
    std::string message;
  };
  const Case cases[] = {
      {"name of 32", [](PanoramaContent& c) { c.animations[0].name = std::string(32, 'x'); },
       "has 32 characters, more than the 31 a file stores"},
      {"empty name", [](PanoramaContent& c) { c.animations[0].name.clear(); }, "an animation name is empty"},
      {"NUL in name", [](PanoramaContent& c) { c.animations[0].name = std::string("a\0b", 3); },
       "holds a NUL byte"},
      {"same name", [](PanoramaContent& c) { c.animations.push_back(c.animations[0]); },
       "two animations are named \"ab\""},
      {"no frames", [](PanoramaContent& c) { c.animations[0].frames.clear(); },
       "animation \"ab\": it has no frames"},
      {"loop -1", [](PanoramaContent& c) { c.animations[0].loop = -1; },
       "animation \"ab\": the loop point -1 is not a frame of 0 .. 1"},
      {"loop F", [](PanoramaContent& c) { c.animations[0].loop = 2; },
       "the loop point 2 is not a frame of 0 .. 1"},
      {"block 6144", [](PanoramaContent& c) { c.animations[0].frames[0].blocks = {6144}; },
       "the block number 6144 is outside the picture's 0 .. 6143"},
      {"block -1", [](PanoramaContent& c) { c.animations[0].frames[0].blocks = {-1}; },
       "the block number -1"},
      {"still block 1200",
       [](PanoramaContent& c) {
         c.kind = PanoramaKind::kPic;
         c.animations[0].frames[0].blocks = {1199, 1200};
       },
       "the block number 1200 is outside the picture's 0 .. 1199"},
      {"block twice",
       [](PanoramaContent& c) {
         c.animations[0].frames[0].blocks = {4, 9, 4};
       },
       "the block number 4 is listed twice in a frame"},
      {"empty frame with data", [](PanoramaContent& c) { c.animations[0].frames[1].data = {1}; },
       "a frame without blocks carries data"},
      // An empty frame chunk cannot store it: read back, it would be 0.
      {"empty frame with dct_param", [](PanoramaContent& c) { c.animations[0].frames[1].dct_param = 60; },
       "animation \"ab\": a frame without blocks has the dct_param 60"},
      {"no static picture", [](PanoramaContent& c) { c.data.clear(); }, "the static picture is missing"},
  };
  for (const Case& c : cases) {
    PanoramaContent content = Small_Content();
    c.spoil(content);
    Bytes out = {1};
    std::string error;
    EXPECT_FALSE(Panorama_File_Bytes(content, out, error)) << c.what;
    EXPECT_TRUE(out.empty()) << c.what;
    EXPECT_NE(error.find(c.message), std::string::npos) << c.what << ": " << error;
  }
  // The limits themselves are accepted.
  PanoramaContent content = Small_Content();
  content.animations[0].name = std::string(31, 'x');
  content.animations[0].loop = 0;
  content.animations[0].frames[0].blocks = {0, 6143};
  Bytes out;
  std::string error;
  EXPECT_TRUE(Panorama_File_Bytes(content, out, error)) << error;
}

TEST(PanoramaWriter, FramesHoldTheBlocksThatDifferFromThePictureBefore) {
  const Pixels start = Smooth_Picture(640, 480, 3);
  Pixels changed = start;
  Paint(changed, 640, 272, 0, 288, 16, 250, 20, 20);  // block 17 exactly
  Paint(changed, 640, 639, 479, 640, 480, 0, 0, 0);   // one pixel of block 1199
  AnimationEncoder encoder(PanoramaKind::kPic, 85, start.data());
  std::string error;
  for (const Pixels* frame : std::vector<const Pixels*>{&start, &changed, &changed, &start})
    ASSERT_TRUE(encoder.Add_Frame(frame->data(), error)) << error;
  const std::vector<PanoramaFrame>& frames = encoder.Frames();
  ASSERT_EQ(frames.size(), 4u);
  EXPECT_TRUE(frames[0].blocks.empty());
  EXPECT_TRUE(frames[0].data.empty());
  EXPECT_EQ(frames[1].blocks, (std::vector<int>{17, 1199}));
  EXPECT_EQ(frames[1].dct_param, 85);
  EXPECT_FALSE(frames[1].data.empty());
  EXPECT_TRUE(frames[2].blocks.empty());
  EXPECT_EQ(frames[3].blocks, (std::vector<int>{17, 1199}));

  EXPECT_FALSE(AnimationEncoder(PanoramaKind::kPic, 0, start.data()).Add_Frame(changed.data(), error));
  EXPECT_EQ(error, "the quality 0 is not in 1 .. 100");
  PanoramaContent content;
  content.kind = PanoramaKind::kPic;
  EXPECT_FALSE(Panorama_Encode_Static(start.data(), 101, content, error));
  EXPECT_EQ(error, "the quality 101 is not in 1 .. 100");
}

TEST(PanoramaWriter, ABuiltAnimationPlaysBackBlockByBlock) {
  const Pixels start = Smooth_Picture(640, 480, 5);
  Pixels changed = start;
  Paint(changed, 640, 272, 0, 288, 16, 250, 20, 20);  // block 17
  PanoramaContent content;
  content.kind = PanoramaKind::kPic;
  std::string error;
  ASSERT_TRUE(Panorama_Encode_Static(start.data(), 90, content, error)) << error;
  EXPECT_EQ(content.dct_param, 90);
  AnimationEncoder encoder(PanoramaKind::kPic, 90, start.data());
  ASSERT_TRUE(encoder.Add_Frame(changed.data(), error)) << error;
  ASSERT_TRUE(encoder.Add_Frame(start.data(), error)) << error;
  content.animations.push_back({"door", encoder.Take_Frames(), std::nullopt});
  Bytes out;
  ASSERT_TRUE(Panorama_File_Bytes(content, out, error)) << error;
  TempFolder folder;
  folder.Write("door.kvr", std::string(out.begin(), out.end()));
  const std::string path = folder.Path("door.kvr");

  Pixels decoded(640 * 480 * 4, 0);
  ASSERT_EQ(Kvr_Get_Vr_Type(path.c_str()), KVR_TYPE_PIC);
  ASSERT_EQ(Kvr_Load_Static_Pic(path.c_str(), decoded.data()), 1);
  EXPECT_LE(Largest_Difference(decoded, start), 16);
  const Pixels still = decoded;

  KVR_ANIM anim;
  ASSERT_EQ(Kvr_Open_Animation(path.c_str(), "door", &anim), 1);
  EXPECT_EQ(Kvr_Play_Animation(&anim, decoded.data(), 2), 1);
  for (int y = 0; y < 480; ++y)
    for (int x = 0; x < 640; ++x) {
      const size_t at = (size_t(y) * 640 + size_t(x)) * 4;
      if (y < 16 && x >= 272 && x < 288) {
        ASSERT_NEAR(decoded[at + 2], 250, 12) << x << ", " << y;
        ASSERT_NEAR(decoded[at + 1], 20, 12) << x << ", " << y;
      } else {
        ASSERT_EQ(decoded[at], still[at]) << x << ", " << y;
        ASSERT_EQ(decoded[at + 2], still[at + 2]) << x << ", " << y;
      }
    }
  EXPECT_EQ(Kvr_Play_Animation(&anim, decoded.data(), 2), 0);
  EXPECT_LE(Largest_Difference(decoded, start), 16);
  Kvr_Close_Animation(&anim);
}

}  // namespace
