// Changed-block detection: which 16 x 16 blocks, numbered row by row, a
// change falls in, at block edges and in the last column and row.
#include "tools/changed_blocks.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

struct Pictures {
  int width, height;
  Bytes before, after;
  Pictures(int w, int h) : width(w), height(h), before(size_t(w) * size_t(h) * 4, 40), after(before) {}
  void Change(int x, int y, int channel = 0) {
    after[(size_t(y) * size_t(width) + size_t(x)) * 4 + size_t(channel)] ^= 1;
  }
  std::vector<int> Blocks() const { return Changed_Blocks(before.data(), after.data(), width, height); }
};

TEST(ChangedBlocks, APixelChangeFallsInItsBlock) {
  struct Case {
    int width, height, x, y, block;
  };
  const Case cases[] = {
      {256, 6144, 0, 0, 0},       {256, 6144, 15, 15, 0},     {256, 6144, 16, 0, 1},
      {256, 6144, 15, 16, 16},    {256, 6144, 16, 16, 17},    {256, 6144, 255, 0, 15},
      {256, 6144, 240, 15, 15},   {256, 6144, 0, 6143, 6128}, {256, 6144, 255, 6143, 6143},
      {640, 480, 639, 0, 39},     {640, 480, 0, 16, 40},      {640, 480, 624, 479, 1199},
      {640, 480, 639, 479, 1199}, {640, 480, 623, 464, 1198},
  };
  for (const Case& c : cases) {
    Pictures p(c.width, c.height);
    p.Change(c.x, c.y);
    EXPECT_EQ(p.Blocks(), std::vector<int>{c.block}) << c.width << ": " << c.x << ", " << c.y;
  }
}

TEST(ChangedBlocks, BlueGreenAndRedCountTheUnusedByteDoesNot) {
  for (int channel = 0; channel < 3; ++channel) {
    Pictures p(640, 480);
    p.Change(100, 100, channel);
    EXPECT_EQ(p.Blocks(), std::vector<int>{6 * 40 + 6}) << channel;
  }
  Pictures p(640, 480);
  p.Change(100, 100, 3);
  EXPECT_TRUE(p.Blocks().empty());
  EXPECT_TRUE(Pictures(256, 6144).Blocks().empty());
}

TEST(ChangedBlocks, EveryChangedBlockOnceInAscendingOrder) {
  Pictures p(640, 480);
  p.Change(300, 200);  // block 12 * 40 + 18
  p.Change(5, 5);
  p.Change(6, 6);
  p.Change(639, 479);
  p.Change(16, 0);
  EXPECT_EQ(p.Blocks(), (std::vector<int>{0, 1, 498, 1199}));
}

TEST(ChangedBlocks, SizesThatAreNoWholeBlocksGiveNothing) {
  for (auto [w, h] : {std::pair{250, 16}, {16, 20}, {0, 16}, {16, -16}}) {
    Bytes a(16 * 16 * 4 * 20, 0), b(a.size(), 1);
    EXPECT_TRUE(Changed_Blocks(a.data(), b.data(), w, h).empty()) << w << " x " << h;
  }
  Bytes a(16 * 32 * 4, 0), b(a.size(), 0);
  b[16 * 16 * 4] = 9;  // the first pixel of the second block row
  EXPECT_EQ(Changed_Blocks(a.data(), b.data(), 16, 32), std::vector<int>{1});
}

}  // namespace
