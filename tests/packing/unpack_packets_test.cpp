// Exact-byte tests of the packet decoders (methods 1, 2, 3, 6).
#include <gtest/gtest.h>

#include "tests/packing/packing_test_support.h"
#include "packing/packing.h"

namespace packing_test {
namespace {

struct Case {
  Bytes in;
  size_t out_size;
  UnpackStatus status;
  size_t read;
  Bytes out;  // the first `written` bytes; written = out.size()
  size_t history = 0;
};

// Decodes into a guarded buffer whose untouched bytes are 0xEE.
void Check(int method, const Case& c) {
  GuardedOutput output(c.out_size, c.history, 0xEE);
  const UnpackResult r = UnpackTo(output, method, c.in, c.history);
  EXPECT_EQ(r.status, c.status) << Unpack_Status_Text(r.status);
  EXPECT_EQ(r.read, c.read);
  ASSERT_EQ(r.written, c.out.size());
  Bytes expected = c.out;
  expected.resize(c.out_size, 0xEE);
  EXPECT_EQ(output.Contents(), expected);
  EXPECT_TRUE(output.GuardsIntact());
}

using S = UnpackStatus;

TEST(UnpackRle, RunsAndLiterals) {
  Check(1, {{0x02, 0x41}, 3, S::kOk, 2, {0x41, 0x41, 0x41}});
  Check(1, {{0x81, 0x41, 0x42}, 2, S::kOk, 3, {0x41, 0x42}});
  Check(1, {{0x7F, 0x07}, 128, S::kOk, 2, Bytes(128, 0x07)});
  Check(1, {{0x80, 0x09, 0x00, 0x05}, 2, S::kOk, 4, {0x09, 0x05}});
  Bytes max_literal{0xFF};
  for (int i = 0; i < 128; ++i) max_literal.push_back(static_cast<uint8_t>(i));
  Check(1, {max_literal, 128, S::kOk, 129, Bytes(max_literal.begin() + 1, max_literal.end())});
}

TEST(UnpackRle, ZeroLengthStillConsumesOnePacket) {
  Check(1, {{0x02, 0x41, 0x81, 0x41}, 0, S::kOk, 2, {}});
  Check(1, {{0x82, 1, 2, 3, 0x00, 0x00}, 0, S::kOk, 4, {}});
  Check(1, {{}, 0, S::kInputEnded, 0, {}});
}

TEST(UnpackRle, LastPacketIsCutAtTheEnd) {
  // The cut packet is consumed whole, so `read` lands on the next packet.
  Check(1, {{0x7F, 0x41, 0x00, 0x42}, 5, S::kOk, 2, Bytes(5, 0x41)});
  Check(1, {{0x83, 1, 2, 3, 4, 0x00, 0x42}, 2, S::kOk, 5, {1, 2}});
  // Bytes of the cut part that are missing are not needed: the output is full.
  Check(1, {{0x83, 1, 2}, 2, S::kOk, 3, {1, 2}});
}

TEST(UnpackRle, TruncatedPackets) {
  Check(1, {{0x02}, 3, S::kInputEnded, 1, {}});
  Check(1, {{0x83, 1, 2}, 4, S::kInputEnded, 3, {1, 2}});
  Check(1, {{0x01, 0x41}, 3, S::kInputEnded, 2, {0x41, 0x41}});
}

TEST(UnpackLzShort, LiteralsAndCopies) {
  Check(2, {{0x00, 0x41, 0x80, 0x00}, 2, S::kOk, 4, {0x41, 0x41}});
  Check(2, {{0x01, 0x41, 0x42, 0x82, 0x01}, 5, S::kOk, 5, {0x41, 0x42, 0x41, 0x42, 0x41}});
  // FF: 128 bytes, repeating one byte.
  Bytes run{0x41};
  run.resize(129, 0x41);
  Check(2, {{0x00, 0x41, 0xFF, 0x00}, 129, S::kOk, 4, run});
}

TEST(UnpackLzShort, DistanceLimitsAndHistory) {
  // d = FF reaches 256 bytes back, into the history.
  Check(2, {{0x80, 0xFF}, 1, S::kOk, 2, {5}, 256});
  Check(2, {{0x80, 0xFF}, 1, S::kBadDistance, 2, {}, 255});
  Check(2, {{0x00, 0x41, 0x80, 0x01}, 3, S::kBadDistance, 4, {0x41}});
  Check(2, {{0x00, 0x41, 0x80, 0x01}, 2, S::kOk, 4, {0x41, static_cast<uint8_t>(0 * 13 + 5)}, 1});
}

TEST(UnpackLzLong, ShortAndLongCopies) {
  // C0 00: one byte from one byte back.
  Check(3, {{0x00, 0x41, 0xC0, 0x00}, 2, S::kOk, 4, {0x41, 0x41}});
  // 83 00 00: four bytes from one byte back, repeating it.
  Check(3, {{0x00, 0x41, 0x83, 0x00, 0x00}, 5, S::kOk, 5, Bytes(5, 0x41)});
  // Distance bytes are high first: 01 00 is 257 bytes back.
  Bytes expected;
  for (int i = 0; i < 257; ++i) expected.push_back(static_cast<uint8_t>(i * 3));
  Bytes literals_1(expected.begin(), expected.begin() + 128);
  Bytes literals_2(expected.begin() + 128, expected.begin() + 256);
  Bytes stream{0x7F};
  stream.insert(stream.end(), literals_1.begin(), literals_1.end());
  stream.push_back(0x7F);
  stream.insert(stream.end(), literals_2.begin(), literals_2.end());
  stream.push_back(0x00);
  stream.push_back(expected[256]);
  stream.insert(stream.end(), {0x81, 0x01, 0x00});
  expected.push_back(expected[0]);
  expected.push_back(expected[1]);
  Check(3, {stream, 259, S::kOk, stream.size(), expected});
}

TEST(UnpackLzLong, DistanceLimitsAndHistory) {
  // BF FF FF: 64 bytes from 65536 back, the first history byte on.
  Bytes from_history;
  for (int i = 0; i < 64; ++i) from_history.push_back(static_cast<uint8_t>(i * 13 + 5));
  Check(3, {{0xBF, 0xFF, 0xFF}, 64, S::kOk, 3, from_history, 65536});
  Check(3, {{0xBF, 0xFF, 0xFF}, 64, S::kBadDistance, 3, {}, 65535});
  Check(3, {{0x01, 7, 8, 0xC0, 0x02}, 3, S::kBadDistance, 5, {7, 8}});
  Check(3, {{0x01, 7, 8, 0xC1, 0x02}, 3, S::kOk, 5, {7, 8, 5}, 1});
}

TEST(UnpackLzLong, TruncatedAndCutPackets) {
  Check(3, {{0x00, 0x41, 0x83, 0x00}, 5, S::kInputEnded, 4, {0x41}});
  Check(3, {{0x00, 0x41, 0xC3}, 5, S::kInputEnded, 3, {0x41}});
  Check(3, {{0x00, 0x41, 0xFF, 0x00}, 10, S::kOk, 4, Bytes(10, 0x41)});
  Check(3, {{0x03, 1, 2}, 4, S::kInputEnded, 3, {1, 2}});
  Check(3, {{0x03, 1, 2, 3, 4, 0x00, 9}, 3, S::kOk, 5, {1, 2, 3}});
  Check(3, {{}, 0, S::kOk, 0, {}});
  Check(3, {{}, 1, S::kInputEnded, 0, {}});
}

TEST(UnpackLzSkip, SkipsLeaveTheOutput) {
  // A skip over the whole output leaves it unchanged.
  Check(6, {{0x7F, 0x63}, 100, S::kOk, 2, Bytes(100, 0xEE)});
  Check(6, {{0x7F}, 10, S::kOk, 1, Bytes(10, 0xEE)});
  // Literal, skip, short copy (reads a skipped byte), long copy.
  Check(6, {{0x01, 1, 2, 0x41, 0x80, 0x01, 0xC1, 0x00, 0x04}, 7, S::kOk, 9, {1, 2, 0xEE, 0xEE, 0xEE, 1, 2}});
}

TEST(UnpackLzSkip, DistanceLimitsAndTruncation) {
  Check(6, {{0xFF, 0xFF, 0xFF}, 1, S::kOk, 3, {5}, 65536});
  Check(6, {{0xFF, 0xFF, 0xFF}, 1, S::kBadDistance, 3, {}, 65535});
  Check(6, {{0x80, 0x00}, 1, S::kBadDistance, 2, {}});
  Check(6, {{0x40, 0x80}, 2, S::kInputEnded, 2, {0xEE}});
  Check(6, {{0x3F, 1, 2}, 5, S::kInputEnded, 3, {1, 2}});
  // The literal header range stops at 3F: 40 is a skip, not a literal.
  Check(6, {{0x40, 0x00, 0x07}, 2, S::kOk, 3, {0xEE, 0x07}});
}

TEST(Unpack, DispatchesAndRefusesBadMethods) {
  const Bytes in{0x02, 0x41};
  uint8_t out[3] = {};
  EXPECT_EQ(Unpack(1, in.data(), in.size(), out, 3).written, 3u);
  EXPECT_EQ(Unpack(0, in.data(), in.size(), out, 3).status, UnpackStatus::kBadMethod);
  EXPECT_EQ(Unpack(8, in.data(), in.size(), out, 3).status, UnpackStatus::kBadMethod);
  EXPECT_STREQ(Unpack_Status_Text(UnpackStatus::kBadDistance), "bad distance");
}

}  // namespace
}  // namespace packing_test
