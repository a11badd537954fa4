// MTRD sound codes: the code table and the expansion of versions 1280 and
// 1284 (16 bits) to PCM.
#include <gtest/gtest.h>

#include "pictures/mtrd/mtrd_sound.h"

namespace {

using Bytes = std::vector<uint8_t>;

std::vector<int16_t> Samples(const Bytes& pcm) {
  std::vector<int16_t> s;
  for (size_t i = 0; i + 1 < pcm.size(); i += 2) s.push_back(int16_t(pcm[i] | pcm[i + 1] << 8));
  return s;
}

TEST(MtrdSoundCodes, Table) {
  // The first entry of each row of 16.
  const int16_t starts[16] = {-32765, -27326, -22338, -17765, -13571, -9725, -6199, -2965,
                              0,      2989,   6252,   9813,   13698,  17938, 22564, 27613};
  for (int row = 0; row < 16; ++row) {
    EXPECT_EQ(kMtrdSoundCodes[size_t(row * 16)], starts[row]) << row;
  }
  EXPECT_EQ(kMtrdSoundCodes[15], -27652);
  EXPECT_EQ(kMtrdSoundCodes[127], -177);
  EXPECT_EQ(kMtrdSoundCodes[129], 179);
  EXPECT_EQ(kMtrdSoundCodes[143], 2795);
  EXPECT_EQ(kMtrdSoundCodes[200], 15771);
  EXPECT_EQ(kMtrdSoundCodes[254], 32408);
  EXPECT_EQ(kMtrdSoundCodes[255], 32765);
  for (size_t i = 1; i < 256; ++i) {
    EXPECT_LT(kMtrdSoundCodes[i - 1], kMtrdSoundCodes[i]) << i;
  }
}

TEST(MtrdSoundCodes, Version1280RunningSumOfBytes) {
  Bytes pcm(8, 0xEE);
  const Bytes codes = {1, 2, 255, 128};
  Mtrd_Sound_Expand_1280(codes.data(), codes.size(), pcm.data());
  // 1 x 256; + 2 x 256; + 255 x 256 kept to 16 bits; + 128 x 256.
  EXPECT_EQ(Samples(pcm), (std::vector<int16_t>{256, 768, 512, int16_t(0x8200)}));
  Bytes one(2, 0xEE);
  const Bytes first = {7};
  Mtrd_Sound_Expand_1280(first.data(), 1, one.data());
  EXPECT_EQ(Samples(one), (std::vector<int16_t>{7 * 256})) << "the first sample is code 0 x 256";
}

TEST(MtrdSoundCodes, Version1284Mono) {
  const Bytes codes = {129, 129, 127, 255, 255};
  Bytes pcm(10, 0xEE);
  Mtrd_Sound_Expand_1284(codes.data(), pcm.size(), false, pcm.data());
  // 179, 358, 358 - 177, + 32765, + 32765 kept to 16 bits.
  const int16_t s4 = int16_t(uint16_t(181 + 32765));
  const int16_t s5 = int16_t(uint16_t(181 + 2 * 32765));
  EXPECT_EQ(Samples(pcm), (std::vector<int16_t>{179, 358, 181, s4, s5}));
}

// A stereo block whose codes are all 128 is silent in both channels.
TEST(MtrdSoundCodes, Version1284StereoSilence) {
  const Bytes codes(8, 128);
  Bytes pcm(16, 0xEE);
  Mtrd_Sound_Expand_1284(codes.data(), pcm.size(), true, pcm.data());
  EXPECT_EQ(pcm, Bytes(16, 0));
}

// Left codes first, then right ones, written interleaved; the sum runs on
// from the left half into the right one.
TEST(MtrdSoundCodes, Version1284StereoHalves) {
  const Bytes codes = {129, 129, 128, 130};
  Bytes pcm(8, 0xEE);
  Mtrd_Sound_Expand_1284(codes.data(), pcm.size(), true, pcm.data());
  EXPECT_EQ(Samples(pcm), (std::vector<int16_t>{179, 358, 358, 717}));
  // A size that is not a multiple of 4: the bytes the codes do not reach are 0.
  const Bytes five = {129, 129, 129, 129, 129};
  Bytes odd(10, 0xEE);
  Mtrd_Sound_Expand_1284(five.data(), odd.size(), true, odd.data());
  EXPECT_EQ(Samples(odd), (std::vector<int16_t>{179, 537, 358, 716, 0}));
}

TEST(MtrdSoundCodes, WhichVersionsAreCoded) {
  EXPECT_TRUE(Mtrd_Sound_Is_Coded(1280, 16));
  EXPECT_TRUE(Mtrd_Sound_Is_Coded(1280, 8));
  EXPECT_TRUE(Mtrd_Sound_Is_Coded(1284, 16));
  EXPECT_FALSE(Mtrd_Sound_Is_Coded(1284, 8));
  EXPECT_FALSE(Mtrd_Sound_Is_Coded(1283, 16));
  EXPECT_FALSE(Mtrd_Sound_Is_Coded(1281, 16));
  EXPECT_EQ(Mtrd_Sound_Unpacked_Bytes(1280, 16, 2940), 1470);
  EXPECT_EQ(Mtrd_Sound_Unpacked_Bytes(1284, 16, 1764), 882);
  EXPECT_EQ(Mtrd_Sound_Unpacked_Bytes(1284, 8, 1764), 1764);
  EXPECT_EQ(Mtrd_Sound_Unpacked_Bytes(1282, 16, 5880), 5880);
}

}  // namespace
