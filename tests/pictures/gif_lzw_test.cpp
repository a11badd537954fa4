// GIF LZW decoding of hand-made code streams: code widths, the KwKwK case,
// clears, and every way a hostile stream ends.
#include <gtest/gtest.h>

#include "tests/pictures/picture_format_writers.h"
#include "pictures/file_window.h"
#include "pictures/gif_lzw.h"
#include "platform/files/file_layer.h"
#include "platform/wendax.h"

namespace {

constexpr uint8_t kUntouched = 0xEE;

struct Decoded {
  size_t written;
  ByteVector pixels;
};

// Decodes sub-block bytes (starting at offset 0 of a memory file) into a
// width x height picture filled with kUntouched.
Decoded Decode(const ByteVector& blocks, int min_code_size, int width, int height, bool interlaced = false) {
  Wendax wx;
  Memory_File_Add(wx, "data", blocks.data(), blocks.size());
  FileWindow file(wx, "data");
  ByteVector pixels(size_t(width * height), kUntouched);
  GifRowWriter rows(pixels.data(), width, height, interlaced);
  const size_t written = Gif_Lzw_Decode(file, 0, min_code_size, rows);
  return {written, pixels};
}

ByteVector Blocks(const std::vector<GifCode>& codes) { return Gif_Sub_Blocks(Gif_Pack_Codes(codes)); }

ByteVector Untouched_Tail(ByteVector head, size_t total) {
  head.resize(total, kUntouched);
  return head;
}

// b = 2: clear 4, end 5, first free code 6, widths 3 then 4 from the 8th
// code on (after the decoder's entry 7 is added).
TEST(GifLzw, TwoBitCodesGrowingWidth) {
  // clear; 1 -> "1"; 6 is the next free code: "1" + "1"; 2 -> "2", adding
  // entry 7, after which codes are 4 bits; 8 is again the next free code:
  // "2" + "2". The picture is full before the end code is read.
  const std::vector<GifCode> codes = {{4, 3}, {1, 3}, {6, 3}, {2, 3}, {8, 4}, {5, 4}};
  const Decoded d = Decode(Blocks(codes), 2, 6, 1);
  EXPECT_EQ(d.written, 6u);
  EXPECT_EQ(d.pixels, (ByteVector{1, 1, 1, 2, 2, 2}));
}

TEST(GifLzw, EncoderStreamsRoundTripForEveryCodeSize) {
  for (int b = 2; b <= 8; ++b) {
    ByteVector pixels(3000);
    for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = uint8_t((i / 3 + i * i / 97) % size_t(1 << b));
    const Decoded d = Decode(Gif_Sub_Blocks(Gif_Pack_Codes(Gif_Lzw_Codes(pixels, b))), b, 100, 30);
    EXPECT_EQ(d.written, 3000u) << b;
    EXPECT_EQ(d.pixels, pixels) << b;
  }
}

// Codes reach 12 bits and stay there once the dictionary is full.
TEST(GifLzw, WidthStopsAtTwelveBits) {
  ByteVector pixels(60000);
  uint32_t seed = 7;
  for (auto& v : pixels) {
    seed = seed * 22695477u + 1u;
    v = uint8_t(seed >> 24);
  }
  const auto codes = Gif_Lzw_Codes(pixels, 8);
  int widest = 0;
  for (const GifCode& c : codes) widest = std::max(widest, c.width);
  EXPECT_EQ(widest, 12);
  EXPECT_GT(codes.size(), 4096u);
  const Decoded d = Decode(Gif_Sub_Blocks(Gif_Pack_Codes(codes)), 8, 300, 200);
  EXPECT_EQ(d.pixels, pixels);
}

TEST(GifLzw, StopsAtTheEndCode) {
  const Decoded d = Decode(Blocks({{256, 9}, {7, 9}, {8, 9}, {257, 9}, {9, 9}}), 8, 4, 1);
  EXPECT_EQ(d.written, 2u);
  EXPECT_EQ(d.pixels, (ByteVector{7, 8, kUntouched, kUntouched}));
}

// A code above the next free code ends decoding; what was written stays.
TEST(GifLzw, StopsAtACodeAboveTheNextFree) {
  // After 7 and 8 the next free code is 259; 260 is out of reach.
  const Decoded d = Decode(Blocks({{256, 9}, {7, 9}, {8, 9}, {260, 9}, {9, 9}}), 8, 5, 1);
  EXPECT_EQ(d.written, 2u);
  EXPECT_EQ(d.pixels, Untouched_Tail({7, 8}, 5));
  // 259 itself (the KwKwK case) is fine: "8" + "8".
  const Decoded k = Decode(Blocks({{256, 9}, {7, 9}, {8, 9}, {259, 9}, {257, 9}}), 8, 5, 1);
  EXPECT_EQ(k.pixels, (ByteVector{7, 8, 8, 8, kUntouched}));
}

// The first code after a clear (or of the stream) must be a root.
TEST(GifLzw, StopsAtAFirstCodeWithoutPredecessor) {
  EXPECT_EQ(Decode(Blocks({{256, 9}, {258, 9}, {1, 9}}), 8, 3, 1).written, 0u);
  EXPECT_EQ(Decode(Blocks({{258, 9}, {1, 9}}), 8, 3, 1).written, 0u);
  const Decoded d = Decode(Blocks({{256, 9}, {3, 9}, {256, 9}, {258, 9}, {4, 9}}), 8, 3, 1);
  EXPECT_EQ(d.pixels, Untouched_Tail({3}, 3));
  // Without a clear the stream may start with a root.
  EXPECT_EQ(Decode(Blocks({{9, 9}, {10, 9}}), 8, 2, 1).pixels, (ByteVector{9, 10}));
}

// A clear in the middle resets the width and the dictionary.
TEST(GifLzw, ClearResetsWidthAndDictionary) {
  // b = 2: after 1, 1, 1, 1 the width is 4 (entries 6, 7 added); clear, then
  // 3-bit codes again, and 6 is once more the next free code.
  const Decoded d = Decode(Blocks({{4, 3}, {1, 3}, {1, 3}, {6, 3}, {4, 4}, {2, 3}, {6, 3}, {5, 3}}), 2, 7, 1);
  EXPECT_EQ(d.pixels, (ByteVector{1, 1, 1, 1, 2, 2, 2}));
}

TEST(GifLzw, StopsAtAnEarlyZeroLengthSubBlock) {
  ByteVector data = Gif_Pack_Codes({{256, 9}, {1, 9}, {2, 9}, {3, 9}, {4, 9}, {257, 9}});
  // Two bytes in the first block (code 256 and part of 1), then the end.
  ByteVector blocks = {2, data[0], data[1], 0, uint8_t(data.size() - 2)};
  blocks.insert(blocks.end(), data.begin() + 2, data.end());
  const Decoded d = Decode(blocks, 8, 4, 1);
  EXPECT_EQ(d.written, 0u);
  // Codes run across sub-blocks of one byte each.
  const Decoded one = Decode(Gif_Sub_Blocks(data, 1), 8, 4, 1);
  EXPECT_EQ(one.pixels, (ByteVector{1, 2, 3, 4}));
}

TEST(GifLzw, StopsWhereTheFileEnds) {
  // No end code and no terminator: the block claims more than the file holds.
  ByteVector blocks = Gif_Sub_Blocks(Gif_Pack_Codes({{256, 9}, {1, 9}, {2, 9}, {3, 9}}), 255, false);
  blocks[0] = 200;
  const Decoded d = Decode(blocks, 8, 8, 1);
  EXPECT_EQ(d.pixels, Untouched_Tail({1, 2, 3}, 8));
  EXPECT_EQ(Decode({}, 8, 2, 1).written, 0u);
}

// A string longer than the room left is cut at the end of the picture.
TEST(GifLzw, NeverWritesPastThePicture) {
  ByteVector ones(2000, 1);
  const auto codes = Gif_Lzw_Codes(ones, 2);
  for (int w : {1, 3, 7, 45}) {
    const Decoded d = Decode(Gif_Sub_Blocks(Gif_Pack_Codes(codes)), 2, w, 1);
    EXPECT_EQ(d.written, size_t(w));
    EXPECT_EQ(d.pixels, ByteVector(size_t(w), 1));
  }
}

// Hostile streams of every kind never overrun and always end.
TEST(GifLzw, RandomStreamsStayInside) {
  uint32_t seed = 99;
  for (int round = 0; round < 300; ++round) {
    ByteVector junk(size_t(1 + round * 13 % 700));
    for (auto& v : junk) {
      seed = seed * 1664525u + 1013904223u;
      v = uint8_t(seed >> 24);
    }
    const int b = 2 + round % 7;
    const Decoded d = Decode(junk, b, 17, 9, round % 2 == 0);
    EXPECT_LE(d.written, size_t(17 * 9));
    size_t touched = 0;
    for (uint8_t v : d.pixels) touched += v != kUntouched;
    EXPECT_LE(touched, d.written);
  }
}

TEST(GifLzw, InterlacedWriterPlacesRows) {
  ByteVector pixels(3 * 5, kUntouched);
  GifRowWriter rows(pixels.data(), 3, 5, true);
  for (int i = 0; i < 15; ++i) {
    ASSERT_TRUE(rows.Put(uint8_t(i)));
  }
  EXPECT_FALSE(rows.Put(99));
  EXPECT_TRUE(rows.Full());
  // File rows 0..4 land on display rows 0, 4, 2, 1, 3.
  EXPECT_EQ(pixels, (ByteVector{0, 1, 2, 9, 10, 11, 6, 7, 8, 12, 13, 14, 3, 4, 5}));
}

}  // namespace
