// The block unpackers of animation frames: only the listed 16 x 16 blocks
// change, in the documented arrangement; frames that do not fit change
// nothing and nothing is ever written outside the picture.
#include <gtest/gtest.h>

#include <climits>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "dct/dct.h"
#include "dct/dct_encode.h"
#include "tests/dct/dct_test_support.h"

namespace dct_test {
namespace {

struct Target {
  int width;
  int height;
  int Columns() const { return width / 16; }
  int Blocks() const { return Columns() * (height / 16); }
  size_t Pixels() const { return static_cast<size_t>(width) * height; }
  int Block_Of(size_t pixel) const {
    const int x = static_cast<int>(pixel % width), y = static_cast<int>(pixel / width);
    return y / 16 * Columns() + x / 16;
  }
};

void PrintTo(const Target& t, std::ostream* os) { *os << t.width << " x " << t.height; }

const Target kStrip{256, 6144};
const Target kStill{640, 480};

// A picture whose pixels the unpackers never write as they are: each 4-byte
// pixel has a fourth byte that is not 0, each 16-bit pixel a value from a
// scrambled sequence.
Guarded<uint32_t> Sentinel_32(const Target& t) {
  Guarded<uint32_t> d(t.Pixels(), 0);
  for (size_t i = 0; i < t.Pixels(); ++i) d[i] = static_cast<uint32_t>(i * 2654435761u) | 0x01000000u;
  return d;
}

Guarded<uint16_t> Sentinel_16(const Target& t) {
  Guarded<uint16_t> d(t.Pixels(), 0);
  for (size_t i = 0; i < t.Pixels(); ++i) d[i] = static_cast<uint16_t>(i * 40503u >> 3);
  return d;
}

std::vector<unsigned char> Encode_Blocks(const Pixels32& picture, const Target& t,
                                         const std::vector<int>& blocks, int quality = 90) {
  std::vector<unsigned char> out;
  EXPECT_EQ(Dct_Encode_Blocks(picture.data(), t.width, t.height, blocks.data(),
                              static_cast<int>(blocks.size()), quality, out),
            1);
  return out;
}

void Unpack_32(Guarded<uint32_t>& dest, std::vector<int> blocks, int count, int width,
               std::vector<unsigned char> data, int size) {
  DCT dct;
  dct.Unpack_Bloc_Rgb_32_2(reinterpret_cast<unsigned char*>(dest.data()), blocks.data(), count, width,
                           data.data(), size, 90);
}

void Unpack_32(Guarded<uint32_t>& dest, const std::vector<int>& blocks, int width,
               std::vector<unsigned char> data) {
  Unpack_32(dest, blocks, static_cast<int>(blocks.size()), width, data, static_cast<int>(data.size()));
}

void Unpack_16(Guarded<uint16_t>& dest, std::vector<int> blocks, int width, std::vector<unsigned char> data,
               int depth) {
  DCT dct;
  dct.Unpack_Bloc_Rgb_16(dest.data(), blocks.data(), static_cast<int>(blocks.size()), width, data.data(),
                         static_cast<int>(data.size()), 90, depth);
}

// Blocks spread over the picture: corners, neighbours across a row end, and
// more than one packed row.
std::vector<int> Spread_Blocks(const Target& t) {
  const int c = t.Columns();
  return {0,
          1,
          c - 1,
          c,
          c + 1,
          2 * c - 1,
          37,
          t.Blocks() / 2,
          t.Blocks() / 2 + 1,
          5 * c + 3,
          t.Blocks() - c,
          t.Blocks() - 2,
          t.Blocks() - 1,
          3 * c,
          3 * c + 2,
          9 * c + 7,
          11,
          12,
          100};
}

// Per channel at quality 90 on smooth pictures (measured: 10). Blocks decode
// without chroma smoothing, a little further from the source than pictures.
constexpr int kMaxError = 12;

class BlocUnpack : public ::testing::TestWithParam<Target> {};

TEST_P(BlocUnpack, OnlyTheListedBlocksChange32) {
  const Target t = GetParam();
  const Pixels32 source = Smooth_Picture(t.width, t.height, 11);
  const std::vector<int> blocks = Spread_Blocks(t);
  const std::set<int> listed(blocks.begin(), blocks.end());
  Guarded<uint32_t> dest = Sentinel_32(t);
  const Guarded<uint32_t> before = dest;
  Unpack_32(dest, blocks, t.width, Encode_Blocks(source, t, blocks));
  ASSERT_TRUE(dest.Guards_Intact());
  int changed = 0;
  for (size_t i = 0; i < t.Pixels(); ++i) {
    if (!listed.count(t.Block_Of(i))) {
      ASSERT_EQ(dest[i], before[i]) << i;
      continue;
    }
    ++changed;
    const auto* p = reinterpret_cast<const unsigned char*>(&dest[i]);
    ASSERT_EQ(p[3], 0) << i;
    ASSERT_LE(Compare_32(p, &source[4 * i], 1).max, kMaxError) << i;
  }
  EXPECT_EQ(changed, static_cast<int>(listed.size()) * 256);
}

TEST_P(BlocUnpack, OnlyTheListedBlocksChange16) {
  const Target t = GetParam();
  const Pixels32 source = Smooth_Picture(t.width, t.height, 12);
  const std::vector<int> blocks = Spread_Blocks(t);
  const std::set<int> listed(blocks.begin(), blocks.end());
  for (int depth : {15, 16}) {
    Guarded<uint16_t> dest = Sentinel_16(t);
    const Guarded<uint16_t> before = dest;
    Unpack_16(dest, blocks, t.width, Encode_Blocks(source, t, blocks), depth);
    ASSERT_TRUE(dest.Guards_Intact());
    for (size_t i = 0; i < t.Pixels(); ++i) {
      if (!listed.count(t.Block_Of(i))) {
        ASSERT_EQ(dest[i], before[i]) << i;
        continue;
      }
      const Bgr c = depth == 15 ? From_555(dest[i]) : From_565(dest[i]);
      const unsigned char back[4] = {static_cast<unsigned char>(c.b), static_cast<unsigned char>(c.g),
                                     static_cast<unsigned char>(c.r), 0};
      ASSERT_LE(Compare_32(back, &source[4 * i], 1).max, kMaxError + 7) << i;
    }
  }
}

// 16-bit blocks keep the top bits of the 4-byte blocks of the same frame;
// depth 15 gives RGB555, every other depth RGB565.
TEST_P(BlocUnpack, DepthChoosesTheSixteenBitFormat) {
  const Target t = GetParam();
  const std::vector<int> blocks = Spread_Blocks(t);
  const std::vector<unsigned char> data = Encode_Blocks(Smooth_Picture(t.width, t.height, 13), t, blocks);
  Guarded<uint32_t> p32 = Sentinel_32(t);
  Unpack_32(p32, blocks, t.width, data);
  for (int depth : {15, 16, 0, 24, 32}) {
    Guarded<uint16_t> p16 = Sentinel_16(t);
    Unpack_16(p16, blocks, t.width, data, depth);
    for (int n : blocks) {
      const size_t first = static_cast<size_t>(n / t.Columns()) * 16 * t.width + n % t.Columns() * 16;
      for (int r = 0; r < 16; ++r)
        for (int x = 0; x < 16; ++x) {
          const size_t i = first + static_cast<size_t>(r) * t.width + x;
          const auto* p = reinterpret_cast<const unsigned char*>(&p32[i]);
          ASSERT_EQ(p16[i], depth == 15 ? To_555(p) : To_565(p)) << depth << " " << i;
        }
    }
  }
}

TEST_P(BlocUnpack, FramesBuildOnEachOther) {
  const Target t = GetParam();
  const Pixels32 a = Uniform_Picture(t.width, t.height, 200, 10, 10);
  const Pixels32 b = Uniform_Picture(t.width, t.height, 10, 10, 200);
  Guarded<uint32_t> dest = Sentinel_32(t);
  const Guarded<uint32_t> before = dest;
  Unpack_32(dest, {4, 5, 6}, t.width, Encode_Blocks(a, t, {4, 5, 6}));
  Unpack_32(dest, {6, 7}, t.width, Encode_Blocks(b, t, {6, 7}));
  for (size_t i = 0; i < t.Pixels(); ++i) {
    const int n = t.Block_Of(i);
    const auto* p = reinterpret_cast<const unsigned char*>(&dest[i]);
    if (n == 4 || n == 5) {
      ASSERT_LE(Compare_32(p, a.data(), 1).max, 3) << i;
    } else if (n == 6 || n == 7) {
      ASSERT_LE(Compare_32(p, b.data(), 1).max, 3) << i;
    } else {
      ASSERT_EQ(dest[i], before[i]) << i;
    }
  }
}

// Each block is one 16 x 16 MCU decoded from its own data, so it decodes
// the same alone, or among other blocks in another cell of the pack.
TEST_P(BlocUnpack, ABlockDecodesTheSameWhereverItIsPacked) {
  const Target t = GetParam();
  const Pixels32 source = Smooth_Picture(t.width, t.height, 14);
  const int n = 2 * t.Columns() + 5;
  Guarded<uint32_t> alone = Sentinel_32(t);
  Unpack_32(alone, {n}, t.width, Encode_Blocks(source, t, {n}));
  const std::vector<int> crowd = {1, 2, 3, 4, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, n, 19, 20};
  Guarded<uint32_t> among = Sentinel_32(t);
  Unpack_32(among, crowd, t.width, Encode_Blocks(source, t, crowd));
  const size_t first = static_cast<size_t>(n / t.Columns()) * 16 * t.width + n % t.Columns() * 16;
  for (int r = 0; r < 16; ++r)
    for (int x = 0; x < 16; ++x) {
      const size_t i = first + static_cast<size_t>(r) * t.width + x;
      ASSERT_EQ(alone[i], among[i]) << r << " " << x;
    }
}

TEST_P(BlocUnpack, BlockNumbersOutsideThePictureAreSkipped) {
  const Target t = GetParam();
  const Pixels32 source = Uniform_Picture(t.width, t.height, 30, 140, 220);
  const std::vector<unsigned char> data = Encode_Blocks(source, t, {0, 3, 1, 2, 7, 4});
  Guarded<uint32_t> dest = Sentinel_32(t);
  const Guarded<uint32_t> before = dest;
  Unpack_32(dest, {-1, 3, INT_MIN, t.Blocks(), 7, INT_MAX}, t.width, data);
  ASSERT_TRUE(dest.Guards_Intact());
  for (size_t i = 0; i < t.Pixels(); ++i) {
    const int n = t.Block_Of(i);
    if (n == 3 || n == 7) {
      ASSERT_LE(Compare_32(reinterpret_cast<const unsigned char*>(&dest[i]), source.data(), 1).max, 3) << i;
    } else {
      ASSERT_EQ(dest[i], before[i]) << i;
    }
  }
}

TEST_P(BlocUnpack, CountsAndWidthsThatDoNotFitChangeNothing) {
  const Target t = GetParam();
  std::vector<int> blocks(20);
  for (int i = 0; i < 20; ++i) blocks[i] = 3 * i;
  const std::vector<unsigned char> data = Encode_Blocks(Smooth_Picture(t.width, t.height, 15), t, blocks);
  const int size = static_cast<int>(data.size());
  std::vector<int> many(t.Blocks() + 1, 0);
  // The pack of 20 blocks is 16 x 2 cells; these counts need another size.
  for (int count : {0, -1, 1, 15, 16, 33, 48, INT_MIN}) {
    Guarded<uint32_t> dest = Sentinel_32(t);
    const Guarded<uint32_t> before = dest;
    Unpack_32(dest, count > 20 ? many : blocks, count, t.width, data, size);
    EXPECT_EQ(dest.Inside(), before.Inside()) << count;
    EXPECT_TRUE(dest.Guards_Intact());
  }
  {  // more blocks than the picture has
    Guarded<uint32_t> dest = Sentinel_32(t);
    const Guarded<uint32_t> before = dest;
    Unpack_32(dest, many, t.Blocks() + 1, t.width, data, size);
    EXPECT_EQ(dest.Inside(), before.Inside());
  }
  for (int width : {0, -256, 16, 255, 257, 320, 512, 639, 641, 1024}) {
    Guarded<uint32_t> dest = Sentinel_32(t);
    const Guarded<uint32_t> before = dest;
    Unpack_32(dest, blocks, 20, width, data, size);
    EXPECT_EQ(dest.Inside(), before.Inside()) << width;
    EXPECT_TRUE(dest.Guards_Intact());
  }
}

// Counts of the same pack size take the first `count` cells.
TEST_P(BlocUnpack, ACountOfTheSamePackSizeTakesTheFirstCells) {
  const Target t = GetParam();
  std::vector<int> blocks(20);
  for (int i = 0; i < 20; ++i) blocks[i] = 3 * i;
  const Pixels32 source = Uniform_Picture(t.width, t.height, 90, 90, 90);
  const std::vector<unsigned char> data = Encode_Blocks(source, t, blocks);
  Guarded<uint32_t> dest = Sentinel_32(t);
  const Guarded<uint32_t> before = dest;
  Unpack_32(dest, blocks, 17, t.width, data, static_cast<int>(data.size()));
  for (size_t i = 0; i < t.Pixels(); ++i) {
    const int n = t.Block_Of(i);
    if (n % 3 == 0 && n < 3 * 17) {
      ASSERT_NE(dest[i], before[i]) << i;
    } else {
      ASSERT_EQ(dest[i], before[i]) << i;
    }
  }
}

TEST_P(BlocUnpack, BrokenStreamsChangeNothing) {
  const Target t = GetParam();
  const Pixels32 source = Smooth_Picture(t.width, t.height, 16);
  const std::vector<int> blocks = Spread_Blocks(t);
  const std::vector<unsigned char> good = Encode_Blocks(source, t, blocks);
  // The same packed picture (16 x 2 cells), in a form the decoder refuses.
  const Pixels32 packed = Smooth_Picture(256, 32, 17);
  std::vector<unsigned char> garbage(3000);
  for (size_t i = 0; i < garbage.size(); ++i) garbage[i] = static_cast<unsigned char>(i * 71 + 3);
  struct Case {
    std::vector<unsigned char> data;
    int size;
  };
  const int n = static_cast<int>(good.size());
  const Case cases[] = {
      {good, n / 2},
      {good, n - 3},
      {good, 0},
      {good, -1},
      {garbage, 3000},
      {Libjpeg_Encode(packed, 256, 32, StreamKind::kProgressive, 80), -2},
      {Libjpeg_Encode(packed, 256, 32, StreamKind::kArithmetic, 80), -2},
  };
  for (const Case& c : cases) {
    Guarded<uint32_t> dest = Sentinel_32(t);
    const Guarded<uint32_t> before = dest;
    Unpack_32(dest, blocks, static_cast<int>(blocks.size()), t.width, c.data,
              c.size == -2 ? static_cast<int>(c.data.size()) : c.size);
    EXPECT_EQ(dest.Inside(), before.Inside()) << c.size;
    EXPECT_TRUE(dest.Guards_Intact());
  }
  // Null pointers are ignored.
  Guarded<uint32_t> dest = Sentinel_32(t);
  const Guarded<uint32_t> before = dest;
  std::vector<unsigned char> data = good;
  std::vector<int> list = blocks;
  DCT dct;
  dct.Unpack_Bloc_Rgb_32_2(reinterpret_cast<unsigned char*>(dest.data()), list.data(), 19, t.width, nullptr,
                           n, 0);
  dct.Unpack_Bloc_Rgb_32_2(reinterpret_cast<unsigned char*>(dest.data()), nullptr, 19, t.width, data.data(),
                           n, 0);
  dct.Unpack_Bloc_Rgb_32_2(nullptr, list.data(), 19, t.width, data.data(), n, 0);
  dct.Unpack_Bloc_Rgb_16(nullptr, list.data(), 19, t.width, data.data(), n, 0, 16);
  EXPECT_EQ(dest.Inside(), before.Inside());
}

// Damaged entropy data may change the listed blocks, never another pixel.
TEST_P(BlocUnpack, DamagedDataStaysInsideTheListedBlocks) {
  const Target t = GetParam();
  const std::vector<int> blocks = Spread_Blocks(t);
  const std::set<int> listed(blocks.begin(), blocks.end());
  const std::vector<unsigned char> good = Encode_Blocks(Smooth_Picture(t.width, t.height, 18), t, blocks);
  for (int damage = 0; damage < 6; ++damage) {
    std::vector<unsigned char> data = good;
    for (size_t i = 620 + damage * 13; i < data.size() - 2; i += 97 + damage * 31) data[i] ^= 0x21;
    Guarded<uint16_t> dest = Sentinel_16(t);
    const Guarded<uint16_t> before = dest;
    Unpack_16(dest, blocks, t.width, data, 16);
    ASSERT_TRUE(dest.Guards_Intact());
    for (size_t i = 0; i < t.Pixels(); ++i) {
      if (!listed.count(t.Block_Of(i))) {
        ASSERT_EQ(dest[i], before[i]) << damage << " " << i;
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Targets, BlocUnpack, ::testing::Values(kStrip, kStill),
                         [](const auto& info) { return "Width" + std::to_string(info.param.width); });

// The documented arrangement, built by hand: block i of the list is cell i
// of a picture 16 cells wide, row by row. Uniform greys at quality 100
// decode exactly.
TEST(BlocLayout, CellIOfThePackGoesToTheIthListedBlock) {
  const int count = 18;
  Pixels32 packed(256 * 32 * 4, 0);
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 256; ++x) {
      const int cell = y / 16 * 16 + x / 16;
      const auto grey = static_cast<unsigned char>(cell < count ? 10 * cell + 5 : 255);
      for (int c = 0; c < 3; ++c) packed[(y * 256 + x) * 4 + c] = grey;
    }
  std::vector<unsigned char> data = Encode(packed, 256, 32, 100);
  std::vector<int> blocks(count);
  for (int i = 0; i < count; ++i) blocks[i] = (i * 7 + 3) % 1200;
  std::vector<uint16_t> dest(640 * 480, 0x1234);
  DCT().Unpack_Bloc_Rgb_16(dest.data(), blocks.data(), count, 640, data.data(), static_cast<int>(data.size()),
                           100, 16);
  for (int i = 0; i < count; ++i) {
    const int grey = 10 * i + 5;
    const auto expected = static_cast<uint16_t>((grey >> 3) << 11 | (grey >> 2) << 5 | grey >> 3);
    const int bx = blocks[i] % 40 * 16, by = blocks[i] / 40 * 16;
    for (int y = by; y < by + 16; ++y)
      for (int x = bx; x < bx + 16; ++x) ASSERT_EQ(dest[y * 640 + x], expected) << i;
  }
}

TEST(BlocLayout, WhenANumberRepeatsTheLaterBlockWins) {
  Pixels32 packed(32 * 16 * 4, 0);
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 32; ++x)
      for (int c = 0; c < 3; ++c) packed[(y * 32 + x) * 4 + c] = x < 16 ? 40 : 200;
  std::vector<unsigned char> data = Encode(packed, 32, 16, 100);
  std::vector<int> blocks = {5, 5};
  std::vector<unsigned char> dest(256 * 6144 * 4, 9);
  DCT().Unpack_Bloc_Rgb_32_2(dest.data(), blocks.data(), 2, 256, data.data(), static_cast<int>(data.size()),
                             100);
  for (int y = 0; y < 16; ++y)
    for (int x = 80; x < 96; ++x) ASSERT_EQ(dest[(y * 256 + x) * 4], 200) << x;
  EXPECT_EQ(dest[(0 * 256 + 79) * 4], 9);
  EXPECT_EQ(dest[(0 * 256 + 96) * 4], 9);
}

}  // namespace
}  // namespace dct_test
