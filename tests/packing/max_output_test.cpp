// Unpack_Max_Output against the densest streams each method allows, and
// against random streams.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>

#include "tests/packing/packing_test_support.h"
#include "packing/packing.h"

namespace packing_test {
namespace {

// Decodes `in` into an output larger than the bound allows and returns how
// much was written.
size_t Produced(int method, const Bytes& in, size_t history) {
  const size_t room = Unpack_Max_Output(method, in.size()) + 1000;
  GuardedOutput output(room, history, 0);
  const UnpackResult r = UnpackTo(output, method, in, history);
  EXPECT_TRUE(output.GuardsIntact());
  EXPECT_NE(r.status, UnpackStatus::kBadDistance);
  return r.written;
}

Bytes RepeatBytes(const Bytes& unit, size_t n) {
  Bytes out;
  for (size_t i = 0; i < n; ++i) out.insert(out.end(), unit.begin(), unit.end());
  return out;
}

TEST(UnpackMaxOutput, ReachedByTheDensestPacketStreams) {
  for (const size_t n : {1u, 2u, 100u, 1001u}) {
    SCOPED_TRACE(n);
    // An odd trailing byte is a header with nothing after it.
    const Bytes odd{0x7F};
    Bytes runs = RepeatBytes({0x7F, 0x33}, n / 2);
    if (n % 2) runs.insert(runs.end(), odd.begin(), odd.end());
    EXPECT_EQ(Produced(1, runs, 0), Unpack_Max_Output(1, runs.size()));

    Bytes long_copies = RepeatBytes({0xFF, 0xFF}, n / 2);  // 128 bytes from 256 back
    if (n % 2) long_copies.push_back(0xFF);
    EXPECT_EQ(Produced(2, long_copies, 256), Unpack_Max_Output(2, long_copies.size()));

    Bytes short_copies = RepeatBytes({0xFF, 0x00}, n / 2);  // 64 bytes from 1 back
    if (n % 2) short_copies.push_back(0xFF);
    EXPECT_EQ(Produced(3, short_copies, 1), Unpack_Max_Output(3, short_copies.size()));

    const Bytes skips(n, 0x7F);
    EXPECT_EQ(Produced(6, skips, 0), Unpack_Max_Output(6, skips.size()));
  }
}

TEST(UnpackMaxOutput, ReachedByTheDensestHuffmanStreams) {
  // All weights zero: FF is the only one-bit code ("1"), so every 1 bit
  // after the 32-byte table is an FF. In method 5 FF FF copies 64 bytes
  // from 256 back.
  for (const size_t n : {0u, 1u, 2u, 50u}) {
    SCOPED_TRACE(n);
    Bytes in(32, 0x00);
    in.insert(in.end(), n, 0xFF);
    EXPECT_EQ(Produced(4, in, 0), Unpack_Max_Output(4, in.size()));
    EXPECT_EQ(Produced(5, in, 256), Unpack_Max_Output(5, in.size()));
    // Method 7 reads FF FF FF as a 64-byte copy from 65536 back.
    EXPECT_LE(Produced(7, in, 65536), Unpack_Max_Output(7, in.size()));
  }
  // Method 7's densest skip: 7F is "11" when it is the only weight (1).
  Weights w{};
  w[0x7F] = 1;
  for (const size_t n : {1u, 4u, 400u}) {
    const Bytes in = BitsToBytes(TableBits(w) + Repeat("11", n));
    const size_t produced = Produced(7, in, 0);
    EXPECT_GE(produced, 64 * n);
    EXPECT_LE(produced, Unpack_Max_Output(7, in.size()));
  }
}

TEST(UnpackMaxOutput, NeverExceededByRandomStreams) {
  std::mt19937 rng(2024);
  for (unsigned trial = 0; trial < 300; ++trial) {
    const Bytes in = RandomBytes(1 + rng() % 300, static_cast<uint32_t>(rng()));
    for (int method = 1; method <= 7; ++method) {
      const size_t room = std::min<size_t>(Unpack_Max_Output(method, in.size()) + 100, 1 << 20);
      GuardedOutput output(room, 65536, 0);
      const UnpackResult r = UnpackTo(output, method, in, 65536);
      ASSERT_LE(r.written, Unpack_Max_Output(method, in.size())) << "method " << method;
      ASSERT_TRUE(output.GuardsIntact());
    }
  }
}

TEST(UnpackMaxOutput, SmallInputsAndSaturation) {
  EXPECT_EQ(Unpack_Max_Output(1, 0), 0u);
  EXPECT_EQ(Unpack_Max_Output(1, 1), 0u);
  EXPECT_EQ(Unpack_Max_Output(1, 2), 128u);
  EXPECT_EQ(Unpack_Max_Output(3, 3), 64u);
  EXPECT_EQ(Unpack_Max_Output(6, 1), 64u);
  EXPECT_EQ(Unpack_Max_Output(4, 32), 0u);
  EXPECT_EQ(Unpack_Max_Output(4, 33), 8u);
  EXPECT_EQ(Unpack_Max_Output(5, 33), 256u);
  EXPECT_EQ(Unpack_Max_Output(7, 33), 512u);
  EXPECT_EQ(Unpack_Max_Output(0, 100), 0u);
  EXPECT_EQ(Unpack_Max_Output(8, 100), 0u);
  for (int method = 1; method <= 7; ++method) {
    EXPECT_EQ(Unpack_Max_Output(method, SIZE_MAX), SIZE_MAX) << method;
  }
  EXPECT_EQ(Unpack_Max_Output(6, SIZE_MAX / 64 + 1), SIZE_MAX);
  EXPECT_EQ(Unpack_Max_Output(6, SIZE_MAX / 64), SIZE_MAX / 64 * 64);
}

}  // namespace
}  // namespace packing_test
