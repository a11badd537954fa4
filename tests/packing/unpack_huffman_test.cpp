// Method 4 decoding against hand-derived trees and a bit-by-bit reference,
// and methods 5/7 against the raw packet decoders.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "tests/packing/packing_test_support.h"
#include "packing/packing.h"
#include "packing/packing_encode.h"

namespace packing_test {
namespace {

UnpackResult Decode4(const Bytes& in, Bytes& out) {
  return Unpack_Huffman(in.data(), in.size(), out.data(), out.size());
}

TEST(UnpackHuffman, SingleWeightStillBuildsAFullTree) {
  // With one non-zero weight the zero-weight leaves chain up in byte order;
  // the weighted leaf ends one or two branches below the root.
  struct Case {
    uint8_t value;
    std::string code;
  };
  for (const Case& c : {Case{0x00, "11"}, Case{0x41, "11"}, Case{0xFF, "1"}}) {
    Weights w{};
    w[c.value] = 5;
    const std::string table = TableBits(w);
    ASSERT_EQ(table.size(), 255u + 11u);
    for (const size_t n : {1u, 7u, 40u, 333u}) {
      SCOPED_TRACE(testing::Message() << "value " << int{c.value} << " n " << n);
      const size_t bits = table.size() + n * c.code.size();
      const Bytes in = BitsToBytes(table + Repeat(c.code, n));
      Bytes out(n);
      const UnpackResult r = Decode4(in, out);
      EXPECT_EQ(r.status, UnpackStatus::kOk);
      EXPECT_EQ(r.read, bits / 8);
      EXPECT_EQ(out, Bytes(n, c.value));

      // Without the last byte, only the codes that end before it decode.
      const Bytes cut(in.begin(), in.end() - 1);
      const size_t bits_left = cut.size() * 8;
      const size_t whole = bits_left < table.size() ? 0 : (bits_left - table.size()) / c.code.size();
      Bytes out_cut(n, 0xEE);
      const UnpackResult rc = Decode4(cut, out_cut);
      EXPECT_EQ(rc.status, UnpackStatus::kInputEnded);
      EXPECT_EQ(rc.written, whole);
    }
  }
}

TEST(UnpackHuffman, ZeroWeightLeavesHaveCodes) {
  // Only FF weighted: FF = 1, FE = 01, ..., 01 = 0^254 1, 00 = 0^255.
  Weights w{};
  w[0xFF] = 5;
  const std::string stream = TableBits(w) + "1" + std::string(255, '0') + std::string(254, '0') + "1" + "01";
  const Bytes in = BitsToBytes(stream);
  Bytes out(4);
  const UnpackResult r = Decode4(in, out);
  EXPECT_EQ(r.status, UnpackStatus::kOk);
  EXPECT_EQ(r.read, 779u / 8);
  EXPECT_EQ(out, (Bytes{0xFF, 0x00, 0x01, 0xFE}));
}

// Weights 00:3, 01:1, 02:1, the rest 0. Worked through by hand:
//   join 1: m = first lightest is 03, s = 00 (w3); the walk moves m to every
//           lighter node, ending at FF: N1 = (FF, 00) w3 in FF's place.
//   join 2: s = 01 (w1), m ends at FE: N2 = (FE, 01) w1.
//   join 3: s = 02 (w1), m ends at FD: N3 = (FD, 02) w1.
//   then the zero leaves 03..FC chain in order: C = (((03,04),05)...,FC),
//   C+N3 -> N5 w1, N5+N2 -> N6 w2, root = (N6, N1).
const Weights& HandWeights() {
  static const Weights w = [] {
    Weights v{};
    v[0x00] = 3;
    v[0x01] = 1;
    v[0x02] = 1;
    return v;
  }();
  return w;
}

TEST(UnpackHuffman, HandBuiltTree) {
  const std::string table = TableBits(HandWeights());
  EXPECT_EQ(table,
            "10000000011"
            "10000000001"
            "10000000001" +
                std::string(253, '0'));
  const std::string short_codes =
      "11"
      "10"
      "011"
      "010"
      "0011"
      "0010"
      "0001";
  const Bytes short_out{0x00, 0xFF, 0x01, 0xFE, 0x02, 0xFD, 0xFC};

  const Bytes in = BitsToBytes(table + short_codes);
  ASSERT_EQ(in.size(), 39u);  // 308 bits
  Bytes out(short_out.size());
  UnpackResult r = Decode4(in, out);
  EXPECT_EQ(r.status, UnpackStatus::kOk);
  EXPECT_EQ(r.read, 38u);
  EXPECT_EQ(out, short_out);

  // One symbol more than the stream holds: the padding is not a code.
  Bytes more(short_out.size() + 1, 0xEE);
  r = Decode4(in, more);
  EXPECT_EQ(r.status, UnpackStatus::kInputEnded);
  EXPECT_EQ(r.written, short_out.size());
  EXPECT_EQ(r.read, 38u);

  // The chain's deepest leaves: 03 = 0^252, 04 = 0^251 1, 05 = 0^250 1.
  const std::string deep = std::string(252, '0') + std::string(251, '0') + "1" + std::string(250, '0') + "1";
  const Bytes in_deep = BitsToBytes(table + short_codes + deep);
  Bytes out_deep(10);
  r = Decode4(in_deep, out_deep);
  EXPECT_EQ(r.status, UnpackStatus::kOk);
  EXPECT_EQ(r.read, 1063u / 8);
  EXPECT_EQ(out_deep, (Bytes{0x00, 0xFF, 0x01, 0xFE, 0x02, 0xFD, 0xFC, 0x03, 0x04, 0x05}));
}

TEST(UnpackHuffman, ReferenceTreeAgreesWithHandDerivation) {
  const auto codes = ReferenceCodes(HandWeights());
  EXPECT_EQ(codes[0x00], "11");
  EXPECT_EQ(codes[0xFF], "10");
  EXPECT_EQ(codes[0x01], "011");
  EXPECT_EQ(codes[0xFE], "010");
  EXPECT_EQ(codes[0x02], "0011");
  EXPECT_EQ(codes[0xFD], "0010");
  EXPECT_EQ(codes[0xFC], "0001");
  EXPECT_EQ(codes[0x03], std::string(252, '0'));
}

TEST(UnpackHuffman, TruncatedTable) {
  const Bytes in = BitsToBytes(TableBits(HandWeights()) + "11");
  for (size_t p = 0; p < 36; ++p) {  // 286 table bits: 36 bytes hold them
    const Bytes cut(in.begin(), in.begin() + static_cast<ptrdiff_t>(p));
    Bytes out(1, 0xEE);
    const UnpackResult r = Decode4(cut, out);
    EXPECT_EQ(r.status, UnpackStatus::kInputEnded) << p;
    EXPECT_EQ(r.written, 0u);
    EXPECT_EQ(out[0], 0xEE);
  }
}

TEST(UnpackHuffman, ZeroLengthReadsNothing) {
  const Bytes in = RandomBytes(100, 1);
  uint8_t out = 0xEE;
  for (const int method : {4, 5, 7}) {
    const UnpackResult r = Unpack(method, in.data(), in.size(), &out, 0, 0);
    EXPECT_EQ(r.status, UnpackStatus::kOk);
    EXPECT_EQ(r.read, 0u);
    EXPECT_EQ(Unpack(method, nullptr, 0, &out, 0, 0).status, UnpackStatus::kOk);
  }
}

Weights MakeWeights(unsigned kind, std::mt19937& rng) {
  Weights w{};
  std::array<uint8_t, 256> order;
  for (unsigned i = 0; i < 256; ++i) order[i] = static_cast<uint8_t>(i);
  std::shuffle(order.begin(), order.end(), rng);
  switch (kind) {
    case 0:  // any 32-bit weights
      for (auto& x : w) x = static_cast<uint32_t>(rng()) | 1;
      break;
    case 1:  // small, many equal and zero
      for (auto& x : w) x = rng() % 4;
      break;
    case 2:  // all zero: one chain, codes up to 255 bits
      break;
    case 3: {  // Fibonacci weights: a very deep, lopsided tree
      uint64_t a = 1, b = 1;
      for (unsigned i = 0; i < 47; ++i) {
        w[order[i]] = static_cast<uint32_t>(a);
        const uint64_t next = a + b;
        a = b;
        b = next;
      }
      break;
    }
    case 4:  // powers of two, all size classes
      for (unsigned i = 0; i < 256; ++i) w[order[i]] = 1u << (i % 32);
      break;
    case 5:  // one weight
      w[order[0]] = static_cast<uint32_t>(rng());
      break;
    default:  // sparse
      for (auto& x : w) x = rng() % 10 == 0 ? 1 + rng() % 1000000 : 0;
      break;
  }
  return w;
}

size_t LongestCode(const Weights& w) {
  size_t longest = 0;
  for (const auto& c : ReferenceCodes(w)) longest = std::max(longest, c.size());
  return longest;
}

TEST(UnpackHuffman, TreeShapesReachDeepCodes) {
  std::mt19937 rng(7);
  EXPECT_EQ(LongestCode(MakeWeights(2, rng)), 255u);
  EXPECT_GE(LongestCode(MakeWeights(3, rng)), 40u);
}

// The table decoder against the reference walk on random tables and random
// code bits, cut at random points.
TEST(UnpackHuffman, TableDecoderMatchesBitWalk) {
  std::mt19937 rng(12345);
  for (unsigned trial = 0; trial < 280; ++trial) {
    const Weights w = MakeWeights(trial % 7, rng);
    std::string bits = TableBits(w);
    const size_t code_bits = rng() % 6000;
    for (size_t i = 0; i < code_bits; ++i) bits += (rng() & 1) ? '1' : '0';
    const Bytes in = BitsToBytes(bits);
    const size_t count = rng() % 3000;

    const ReferenceResult expected = ReferenceHuffman(in, count);
    Bytes out(count, 0xEE);
    const UnpackResult r = Decode4(in, out);
    SCOPED_TRACE(testing::Message() << "trial " << trial);
    ASSERT_EQ(r.status, expected.status);
    ASSERT_EQ(r.read, expected.read);
    ASSERT_EQ(r.written, expected.out.size());
    out.resize(r.written);
    ASSERT_EQ(out, expected.out);
  }
}

void ExpectSamePackets(int raw_method, int huffman_method, const Bytes& packets, size_t out_size,
                       size_t history) {
  GuardedOutput raw(out_size, history, 0xEE);
  GuardedOutput coded(out_size, history, 0xEE);
  const Bytes huffman = Pack(4, packets.data(), packets.size());
  const UnpackResult a = UnpackTo(raw, raw_method, packets, history);
  const UnpackResult b = UnpackTo(coded, huffman_method, huffman, history);
  ASSERT_TRUE(raw.GuardsIntact());
  ASSERT_TRUE(coded.GuardsIntact());
  if (a.status == UnpackStatus::kInputEnded) {
    // The Huffman stream's padding bits may decode to a few more symbols.
    ASSERT_GE(b.written, a.written);
    const Bytes x = raw.Contents();
    const Bytes y = coded.Contents();
    ASSERT_TRUE(std::equal(x.begin(), x.begin() + static_cast<ptrdiff_t>(a.written), y.begin()));
    return;
  }
  ASSERT_EQ(b.status, a.status);
  ASSERT_EQ(b.written, a.written);
  ASSERT_EQ(coded.Contents(), raw.Contents());
}

TEST(UnpackHuffmanPackets, DecodeLikeTheRawPacketMethods) {
  // Hand streams: repeating copy, long distance (high byte first), cut copy,
  // bad distance.
  Bytes long_distance{0x7F};
  for (int i = 0; i < 128; ++i) long_distance.push_back(static_cast<uint8_t>(i));
  long_distance.insert(long_distance.end(), {0x82, 0x00, 0x7F, 0xBF, 0x01, 0x00});
  ExpectSamePackets(3, 5, {0x00, 0x41, 0x83, 0x00, 0x00}, 5, 0);
  ExpectSamePackets(3, 5, long_distance, 128 + 3 + 64, 200);
  ExpectSamePackets(3, 5, {0x00, 0x41, 0xFF, 0x00}, 10, 0);
  ExpectSamePackets(3, 5, {0x01, 7, 8, 0xC0, 0x02}, 3, 0);
  ExpectSamePackets(6, 7, {0x01, 1, 2, 0x41, 0x80, 0x01, 0xC1, 0x00, 0x04}, 7, 0);
  ExpectSamePackets(6, 7, {0x7F, 0x63}, 100, 0);
  ExpectSamePackets(6, 7, {0xC0, 0x01, 0x00}, 1, 256);
  ExpectSamePackets(6, 7, {0xC0, 0x01, 0x00}, 1, 255);

  std::mt19937 rng(99);
  for (unsigned trial = 0; trial < 400; ++trial) {
    const Bytes packets = RandomBytes(1 + rng() % 400, static_cast<uint32_t>(rng()));
    const size_t histories[] = {0, 1, 300, 65536};
    const size_t history = histories[rng() % 4];
    const size_t out_size = 1 + rng() % 6000;
    SCOPED_TRACE(testing::Message() << "trial " << trial);
    ExpectSamePackets(3, 5, packets, out_size, history);
    ExpectSamePackets(6, 7, packets, out_size, history);
  }
}

}  // namespace
}  // namespace packing_test
