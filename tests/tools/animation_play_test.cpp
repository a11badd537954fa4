// Playing an animation once: F frames in order whatever the loop point,
// skipped chunks not counted, early ends reported.
#include "tools/animation_play.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "kvr_read/kvr_read.h"
#include "packing/byte_order.h"
#include "tests/tools/panorama_pictures.h"
#include "tests/support/temp_folder.h"
#include "tools/panorama_writer.h"

namespace {

using Bytes = std::vector<uint8_t>;

constexpr size_t kStillBytes = 640 * 480 * 4;

// A still picture with three frames, each painting one more block red.
PanoramaContent Three_Frames(std::optional<int> loop, Pixels& start) {
  start = Smooth_Picture(640, 480, 1);
  PanoramaContent content;
  content.kind = PanoramaKind::kPic;
  std::string error;
  EXPECT_TRUE(Panorama_Encode_Static(start.data(), 90, content, error)) << error;
  AnimationEncoder encoder(PanoramaKind::kPic, 90, start.data());
  Pixels frame = start;
  for (int i = 0; i < 3; ++i) {
    Paint(frame, 640, 16 * i, 32, 16 * i + 16, 48, 255, 0, 0);  // block 80 + i
    EXPECT_TRUE(encoder.Add_Frame(frame.data(), error)) << error;
  }
  content.animations.push_back({"fire", encoder.Take_Frames(), loop});
  return content;
}

std::string Write(const TempFolder& folder, const Bytes& bytes) {
  folder.Write("a.kvr", std::string(bytes.begin(), bytes.end()));
  return folder.Path("a.kvr");
}

std::string Write(const TempFolder& folder, const PanoramaContent& content) {
  Bytes bytes;
  std::string error;
  EXPECT_TRUE(Panorama_File_Bytes(content, bytes, error)) << error;
  return Write(folder, bytes);
}

Pixels Static_Of(const std::string& path) {
  Pixels p(kStillBytes, 0);
  EXPECT_EQ(Kvr_Load_Static_Pic(path.c_str(), p.data()), 1);
  return p;
}

TEST(AnimationPlay, PlaysFramesZeroToFMinusOneWhateverTheLoop) {
  for (int loop : {0, 1, 2}) {
    TempFolder folder;
    Pixels start;
    const std::string path = Write(folder, Three_Frames(loop, start));
    Pixels picture = Static_Of(path);
    // What the library's own player draws for the same frames.
    Pixels expected = picture;
    KVR_ANIM anim;
    ASSERT_EQ(Kvr_Open_Animation(path.c_str(), "fire", &anim), 1);
    std::vector<int> seen;
    AnimationPlayResult result = Play_Animation_Once(path, "fire", false, picture, [&](int index, int count) {
      EXPECT_EQ(count, 3);
      EXPECT_EQ(Kvr_Play_Animation(&anim, expected.data(), 2), 1);
      EXPECT_TRUE(picture == expected) << "frame " << index;
      seen.push_back(index);
      return true;
    });
    Kvr_Close_Animation(&anim);
    EXPECT_TRUE(result.opened);
    EXPECT_EQ(result.frame_count, 3);
    EXPECT_EQ(result.frames_played, 3);
    EXPECT_EQ(seen, (std::vector<int>{0, 1, 2})) << "loop " << loop;
    // The last frame painted blocks 80, 81 and 82.
    EXPECT_NEAR(picture[(40 * 640 + 40) * 4 + 2], 255, 12);
  }
}

TEST(AnimationPlay, StopsWhenTheVisitSaysSo) {
  TempFolder folder;
  Pixels start;
  const std::string path = Write(folder, Three_Frames(std::nullopt, start));
  Pixels picture = Static_Of(path);
  int visits = 0;
  AnimationPlayResult result =
      Play_Animation_Once(path, "fire", false, picture, [&](int, int) { return ++visits < 2; });
  EXPECT_EQ(visits, 2);
  EXPECT_EQ(result.frames_played, 2);
}

TEST(AnimationPlay, UnknownNamesAndWrongPicturesOpenNothing) {
  TempFolder folder;
  Pixels start;
  const std::string path = Write(folder, Three_Frames(std::nullopt, start));
  Pixels picture(kStillBytes, 0);
  int visits = 0;
  auto count = [&](int, int) { return ++visits > 0; };
  EXPECT_FALSE(Play_Animation_Once(path, "Fire", false, picture, count).opened);
  EXPECT_FALSE(Play_Animation_Once(path, "fire", true, picture, count).opened);  // a still is no strip
  EXPECT_FALSE(Play_Animation_Once(folder.Path("none.kvr"), "fire", false, picture, count).opened);
  EXPECT_EQ(visits, 0);
  EXPECT_TRUE(picture == Pixels(kStillBytes, 0));
}

TEST(AnimationPlay, OtherChunksAreSkippedAndAShortSequenceEndsEarly) {
  TempFolder folder;
  Pixels start;
  PanoramaContent content = Three_Frames(std::nullopt, start);
  Bytes bytes;
  std::string error;
  ASSERT_TRUE(Panorama_File_Bytes(content, bytes, error)) << error;
  // The animation chunk follows the static chunk; it claims 5 frames and
  // gets a chunk of unknown tag between its first two frames.
  const size_t anim = 16 + content.data.size() + 8;
  auto put = [&](size_t at, uint32_t v) { Put_Le32(bytes.data() + at, v); };
  auto get = [&](size_t at) { return Le_U32(bytes.data() + at); };
  ASSERT_EQ(get(anim), 0xA0B1C201u);
  put(anim + 40, 5);
  const size_t second_frame = anim + 44 + get(anim + 44 + 4);
  const Bytes odd = {0x55, 0, 0, 0, 10, 0, 0, 0, 7, 7};
  bytes.insert(bytes.begin() + std::ptrdiff_t(second_frame), odd.begin(), odd.end());
  put(anim + 4, get(anim + 4) + 10);
  put(4, get(4) + 10);
  const std::string path = Write(folder, bytes);

  Pixels picture = Static_Of(path);
  std::vector<int> seen;
  AnimationPlayResult result = Play_Animation_Once(path, "fire", false, picture, [&](int index, int count) {
    EXPECT_EQ(count, 5);
    seen.push_back(index);
    return true;
  });
  EXPECT_TRUE(result.opened);
  EXPECT_EQ(result.frame_count, 5);
  EXPECT_EQ(result.frames_played, 3);
  EXPECT_EQ(seen, (std::vector<int>{0, 1, 2}));
}

}  // namespace
