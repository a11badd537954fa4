// The scene's animations: opening by name, frame order with and without a
// loop point, stop-at-end, empty and damaged frames, and what each frame
// writes into the scene picture.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/scene/scene_test_support.h"
#include "tests/support/temp_folder.h"

namespace {

using namespace scene_test;

// Frame k of the test animations paints block 0 of the still picture in a
// colour of its own, red 8 * (k + 1), and nothing else.
uint8_t Frame_Red(int k) { return uint8_t(8 * (k + 1) * 3); }

std::string Colour_Frame(int k, const std::vector<int>& blocks = {0}) {
  auto picture = Solid(640, 480, 0, 0, 0);
  for (int b : blocks) Paint_Block(picture, 640, b, 0, 0, Frame_Red(k));
  return Frame_Chunk(picture, 640, 480, blocks);
}

class SceneAnimationPlay : public ::testing::Test {
 protected:
  TempFolder folder;
  TestScene t;
  std::vector<uint16_t> picture = std::vector<uint16_t>(size_t(640) * 480, 0x1234);

  std::string Write(const std::string& sequence) {
    folder.Write("anim.kvr", Panorama(Chunk(0x77, "other") + sequence));
    return folder.Path("anim.kvr");
  }
  // Plays until the end or `limit` calls; the frame drawn by each call
  // (-1 when block 0 did not change colour) and the results.
  std::vector<int> Play(SceneAnimation& r, int limit, std::vector<int>* results = nullptr) {
    std::vector<int> drawn;
    for (int i = 0; i < limit; ++i) {
      for (auto& p : picture) p = 0x1234;
      const int result = Play_Scene_Animation_Frame(&r, picture.data(), 16, 640);
      if (results) results->push_back(result);
      drawn.push_back(Frame_Drawn());
      if (result == 0) break;
    }
    return drawn;
  }
  int Frame_Drawn() const {
    if (picture[0] == 0x1234) return -1;
    for (int k = 0; k < 10; ++k)
      if (Distance_565(picture[0], Rgb565(Frame_Red(k), 0, 0)) <= 6) return k;
    return -2;
  }
};

TEST_F(SceneAnimationPlay, WithoutALoopPointTheLastFrameEndsIt) {
  const std::string path =
      Write(Animation_Chunk("fire", 3, Colour_Frame(0) + Colour_Frame(1) + Colour_Frame(2)));
  SceneAnimation r;
  ASSERT_EQ(Open_Scene_Animation(path.c_str(), "fire", &r), 1);
  EXPECT_EQ(r.frame_count, 3);
  EXPECT_EQ(r.current_frame, 0);
  EXPECT_EQ(r.first_frame_position, 8 + 13 + 8 + 36);
  std::vector<int> results;
  EXPECT_EQ(Play(r, 10, &results), (std::vector<int>{0, 1, 2}));
  EXPECT_EQ(results, (std::vector<int>{1, 1, 0}));
  EXPECT_EQ(r.file.Tell(), -1);  // closed
  EXPECT_EQ(Play_Scene_Animation_Frame(&r, picture.data(), 16, 640), 0);
}

TEST_F(SceneAnimationPlay, ALoopPointRepeatsTheTail) {
  const std::string path =
      Write(Animation_Chunk("fire", 3, Colour_Frame(0) + Colour_Frame(1) + Colour_Frame(2) + Loop_Chunk(1)));
  SceneAnimation r;
  ASSERT_EQ(Open_Scene_Animation(path.c_str(), "fire", &r), 1);
  std::vector<int> results;
  EXPECT_EQ(Play(r, 8, &results), (std::vector<int>{0, 1, 2, 1, 2, 1, 2, 1}));
  EXPECT_EQ(results, std::vector<int>(8, 1));
  EXPECT_EQ(r.current_frame, 2);

  SceneAnimation stopping;
  stopping.stop_at_end = 1;
  ASSERT_EQ(Open_Scene_Animation(path.c_str(), "fire", &stopping), 1);
  EXPECT_EQ(Play(stopping, 8), (std::vector<int>{0, 1, 2}));

  // Loop point 0 restarts from the first frame.
  const std::string again = Write(Animation_Chunk("a", 2, Colour_Frame(0) + Colour_Frame(1) + Loop_Chunk(0)));
  SceneAnimation r0;
  ASSERT_EQ(Open_Scene_Animation(again.c_str(), "a", &r0), 1);
  EXPECT_EQ(Play(r0, 5), (std::vector<int>{0, 1, 0, 1, 0}));
}

TEST_F(SceneAnimationPlay, LoopPointsOutsideTheFramesEndTheAnimation) {
  for (int loop : {-1, 3, 0x7FFFFFFF}) {
    const std::string path = Write(
        Animation_Chunk("a", 3, Colour_Frame(0) + Colour_Frame(1) + Colour_Frame(2) + Loop_Chunk(loop)));
    SceneAnimation r;
    ASSERT_EQ(Open_Scene_Animation(path.c_str(), "a", &r), 1);
    EXPECT_EQ(Play(r, 6), (std::vector<int>{0, 1, 2})) << loop;
  }
}

TEST_F(SceneAnimationPlay, EmptyFramesOnlyCount) {
  const std::string path = Write(Animation_Chunk("a", 3, Empty_Frame() + Colour_Frame(1) + Empty_Frame()));
  SceneAnimation r;
  ASSERT_EQ(Open_Scene_Animation(path.c_str(), "a", &r), 1);
  std::vector<int> results;
  EXPECT_EQ(Play(r, 5, &results), (std::vector<int>{-1, 1, -1}));
  EXPECT_EQ(results, (std::vector<int>{1, 1, 0}));
}

TEST_F(SceneAnimationPlay, OnlyTheListedBlocksChange) {
  const std::string path = Write(Animation_Chunk("a", 1, Colour_Frame(4, {0, 41, 1199})));
  SceneAnimation r;
  ASSERT_EQ(Open_Scene_Animation(path.c_str(), "a", &r), 1);
  EXPECT_EQ(Play_Scene_Animation_Frame(&r, picture.data(), 16, 640), 0);
  auto in_block = [](int x, int y, int b) { return x / 16 + y / 16 * 40 == b; };
  int changed = 0;
  for (int y = 0; y < 480; ++y)
    for (int x = 0; x < 640; ++x) {
      const uint16_t p = picture[size_t(y) * 640 + size_t(x)];
      if (in_block(x, y, 0) || in_block(x, y, 41) || in_block(x, y, 1199)) {
        EXPECT_LE(Distance_565(p, Rgb565(Frame_Red(4), 0, 0)), 6) << x << "," << y;
        ++changed;
      } else if (p != 0x1234) {
        ADD_FAILURE() << "pixel " << x << "," << y << " changed";
      }
    }
  EXPECT_EQ(changed, 3 * 256);
}

TEST_F(SceneAnimationPlay, DamagedFramesDrawNothingButCount) {
  // B larger than the payload can hold, then N larger than what is left.
  const std::string too_many = Chunk(KVR_CHUNK_FRAME, Le32(1000) + Le32(0) + Le32(90) + Le32(0));
  const std::string too_long = Chunk(KVR_CHUNK_FRAME, Le32(1) + Le32(0) + Le32(90) + Le32(500) + "abc");
  const std::string negative = Chunk(KVR_CHUNK_FRAME, Le32(uint32_t(-1)) + Le32(0) + Le32(0));
  const std::string path = Write(Animation_Chunk("a", 4, too_many + too_long + negative + Colour_Frame(3)));
  SceneAnimation r;
  ASSERT_EQ(Open_Scene_Animation(path.c_str(), "a", &r), 1);
  EXPECT_EQ(Play(r, 6), (std::vector<int>{-1, -1, -1, 3}));
}

TEST_F(SceneAnimationPlay, OtherChunksAmongTheFramesAreSkippedWhole) {
  // The skipped chunk's payload begins like a chunk header of a huge
  // length: stepping from the payload instead of the chunk would leave the
  // frames behind.
  const std::string decoy = Chunk(0x99, Le32(0x5555) + Le32(100000) + "abcd");
  const std::string path = Write(Animation_Chunk("a", 2, Colour_Frame(0) + decoy + Colour_Frame(1)));
  SceneAnimation r;
  ASSERT_EQ(Open_Scene_Animation(path.c_str(), "a", &r), 1);
  std::vector<int> results;
  EXPECT_EQ(Play(r, 5, &results), (std::vector<int>{0, -1, 1}));
  EXPECT_EQ(results, (std::vector<int>{1, 1, 0}));
}

TEST_F(SceneAnimationPlay, FramesCutByTheEndOfTheFileEndTheAnimation) {
  folder.Write("cut.kvr", Panorama(Animation_Chunk("a", 5, Colour_Frame(0))));
  SceneAnimation r;
  ASSERT_EQ(Open_Scene_Animation(folder.Path("cut.kvr").c_str(), "a", &r), 1);
  std::vector<int> results;
  EXPECT_EQ(Play(r, 5, &results), (std::vector<int>{0, -1}));
  EXPECT_EQ(results, (std::vector<int>{1, 0}));
}

TEST_F(SceneAnimationPlay, NamesMatchExactlyAndTheFirstOfTwoWins) {
  const std::string path =
      Write(Animation_Chunk("Door", 1, Colour_Frame(0)) + Animation_Chunk("door", 1, Colour_Frame(1)) +
            Animation_Chunk("door", 1, Colour_Frame(2)) +
            Animation_Chunk(std::string(32, 'x'), 1, Colour_Frame(3)));
  SceneAnimation r;
  ASSERT_EQ(Open_Scene_Animation(path.c_str(), "door", &r), 1);
  EXPECT_EQ(Play(r, 2), (std::vector<int>{1}));
  ASSERT_EQ(Open_Scene_Animation(path.c_str(), "Door", &r), 1);
  EXPECT_EQ(Play(r, 2), (std::vector<int>{0}));
  EXPECT_EQ(Open_Scene_Animation(path.c_str(), "DOOR", &r), 0);
  EXPECT_EQ(r.file.Tell(), -1);
  EXPECT_EQ(Open_Scene_Animation(path.c_str(), "doo", &r), 0);
  // A stored name filling all 32 bytes is its 32 characters.
  ASSERT_EQ(Open_Scene_Animation(path.c_str(), std::string(32, 'x').c_str(), &r), 1);
  EXPECT_EQ(Open_Scene_Animation(path.c_str(), std::string(33, 'x').c_str(), &r), 0);
  EXPECT_EQ(Open_Scene_Animation(folder.Path("missing.kvr").c_str(), "door", &r), 0);
  folder.Write("plain.bin", "not a panorama file at all");
  EXPECT_EQ(Open_Scene_Animation(folder.Path("plain.bin").c_str(), "door", &r), 0);
}

TEST_F(SceneAnimationPlay, PanoramaAnimationsDrawIntoTheTileStore) {
  auto strip = Solid(256, 6144, 0, 0, 0);
  Paint_Block(strip, 256, 6143 / 16 * 16 + 15, 0, 0, Frame_Red(2));  // the last block
  const std::string path = Write(Static_Chunk(KVR_CHUNK_STATIC_VR, Solid(256, 6144, 0, 0, 0), 256, 6144) +
                                 Animation_Chunk("sea", 1, Frame_Chunk(strip, 256, 6144, {6143})));
  ASSERT_EQ(Load_Scene_Picture(t.scene, path.c_str()), 0);
  ASSERT_EQ(t.scene.table.count, 1);
  SceneAnimation& r = t.scene.table.records[0];
  ASSERT_EQ(Open_Scene_Animation(t.scene.table.file_path.c_str(), t.scene.table.names[0].data(), &r), 1);
  EXPECT_EQ(Play_Scene_Animation_Frame(&r, t.scene.tile_store, 16, t.scene.table.target_width), 0);
  EXPECT_LE(Distance_565(t.Tile(255, 6143), Rgb565(Frame_Red(2), 0, 0)), 6);
  EXPECT_LE(Distance_565(t.Tile(240, 6128), Rgb565(Frame_Red(2), 0, 0)), 6);
  EXPECT_LE(Distance_565(t.Tile(239, 6143), 0), 6);
}

}  // namespace
