// Pack then unpack, for all seven methods; every prefix of packed streams;
// history in front of the output; skips against a previous output.
#include <gtest/gtest.h>

#include <random>

#include "tests/packing/packing_test_support.h"
#include "packing/pack_internal.h"
#include "packing/packing.h"
#include "packing/packing_encode.h"

namespace packing_test {
namespace {

bool IsHuffman(int method) { return method == 4 || method == 5 || method == 7; }

// Decodes `packed` into a fresh buffer holding `fill` (or `previous` when
// given) and checks it gives `data` exactly, consuming the whole stream.
void ExpectRoundTrip(int method, const Bytes& data, const Bytes& packed, const Bytes* previous = nullptr,
                     const Bytes* history = nullptr) {
  const size_t history_size = history ? history->size() : 0;
  GuardedOutput output(data.size(), history_size, 0x5A);
  if (previous) std::copy(previous->begin(), previous->end(), output.out());
  if (history) std::copy(history->begin(), history->end(), output.history_start());
  const UnpackResult r = UnpackTo(output, method, packed, history_size);
  ASSERT_EQ(r.status, UnpackStatus::kOk) << Unpack_Status_Text(r.status);
  ASSERT_EQ(r.written, data.size());
  if (IsHuffman(method) && !data.empty()) {
    // The last byte is only partly used unless the codes end on a byte edge.
    EXPECT_GE(r.read + 1, packed.size());
    EXPECT_LE(r.read, packed.size());
  } else {
    EXPECT_EQ(r.read, packed.size());
  }
  ASSERT_TRUE(output.GuardsIntact());
  ASSERT_EQ(output.Contents(), data);
}

struct Named {
  const char* name;
  Bytes data;
};

std::vector<Named> DataSets() {
  Bytes far = RandomBytes(70000, 5);  // a block repeated exactly 65536 bytes later
  std::copy(far.begin(), far.begin() + 300, far.begin() + 65536);
  return {
      {"empty", {}},
      {"one byte", {0x42}},
      {"two equal", {7, 7}},
      {"runs", Runs(20000, 1)},
      {"one long run", Bytes(100000, 0x00)},
      {"random", RandomBytes(30000, 2)},
      {"text", TextLike(30000, 3)},
      {"gradient", Gradient16(30000, 4)},
      {"mixed 100 KB", Mixed(100 * 1024, 6)},
      {"far window", far},
  };
}

class RoundTrip : public testing::TestWithParam<int> {};

TEST_P(RoundTrip, VariedData) {
  const int method = GetParam();
  for (const Named& set : DataSets()) {
    SCOPED_TRACE(set.name);
    const Bytes packed = Pack(method, set.data.data(), set.data.size());
    ExpectRoundTrip(method, set.data, packed);
    // Worst case: literals (or a table) cost a little. The format's tree is
    // not an optimal Huffman tree, so uniform bytes cost up to ~8.5 bits.
    const size_t slack = IsHuffman(method) ? set.data.size() / 14 : set.data.size() / 30;
    EXPECT_LE(packed.size(), set.data.size() + slack + 400);
  }
}

TEST_P(RoundTrip, CompressibleDataShrinks) {
  const int method = GetParam();
  const Bytes runs = Runs(20000, 11);
  const Bytes text = TextLike(20000, 12);
  EXPECT_LT(Pack(method, runs.data(), runs.size()).size(), runs.size() / 2);
  if (method != 1) {  // text has no runs
    EXPECT_LT(Pack(method, text.data(), text.size()).size(), text.size() * 3 / 4);
  }
}

INSTANTIATE_TEST_SUITE_P(AllMethods, RoundTrip, testing::Range(1, 8));

TEST(PackLz, FindsMatchesAtTheFarEndOfTheWindow) {
  for (const size_t distance : {65535u, 65536u}) {
    Bytes data = RandomBytes(70000, 8);
    std::copy(data.begin(), data.begin() + 640, data.begin() + static_cast<ptrdiff_t>(distance));
    for (const int method : {3, 5, 6, 7}) {
      SCOPED_TRACE(testing::Message() << "method " << method << " distance " << distance);
      const Bytes packed = Pack(method, data.data(), data.size());
      ExpectRoundTrip(method, data, packed);
      if (method == 3 || method == 6) {
        // Random bytes cost one header per 128 (64) literals; the 640
        // repeated bytes take ten 3-byte copies instead.
        const size_t max_literals = method == 3 ? 128 : 64;
        const size_t all_literals = data.size() + (data.size() + max_literals - 1) / max_literals;
        EXPECT_LT(packed.size() + 550, all_literals);
      }
    }
  }
}

TEST(PackLz, CopiesFromTheHistoryInFrontOfTheOutput) {
  // The history's last 200 bytes (200 back), text, then history bytes
  // exactly 65536 back.
  const Bytes history = Mixed(65536, 20);
  Bytes data(history.end() - 200, history.end());
  const Bytes text = TextLike(3000, 21);
  data.insert(data.end(), text.begin(), text.end());
  data.insert(data.end(), history.begin() + 3200, history.begin() + 5200);
  for (const int method : {2, 3, 6}) {
    SCOPED_TRACE(method);
    // The packer reads the history in front of the data, as the decoder does.
    Bytes whole = history;
    whole.insert(whole.end(), data.begin(), data.end());
    const Bytes packed =
        packing_internal::PackLz(method, whole.data() + history.size(), data.size(), nullptr, history.size());
    ExpectRoundTrip(method, data, packed, nullptr, &history);
    if (method != 2) {
      EXPECT_LT(packed.size(), 3000u);
    }
    // Huffman-coded: methods 5 and 7 carry the same packets.
    if (method != 2) {
      const Bytes coded = Pack(4, packed.data(), packed.size());
      ExpectRoundTrip(method == 3 ? 5 : 7, data, coded, nullptr, &history);
    }
    // Without the history the copies reach too far back.
    GuardedOutput output(data.size(), 0, 0);
    EXPECT_EQ(UnpackTo(output, method, packed, 0).status, UnpackStatus::kBadDistance);
    EXPECT_TRUE(output.GuardsIntact());
  }
}

TEST(PackLz, SkipsWhatThePreviousOutputHolds) {
  const Bytes previous = Mixed(200000, 30);
  Bytes data = previous;
  std::mt19937 rng(31);
  for (int change = 0; change < 40; ++change) {
    const size_t at = rng() % (data.size() - 1000);
    const size_t n = 1 + rng() % 900;
    for (size_t i = 0; i < n; ++i) data[at + i] = static_cast<uint8_t>(rng());
  }
  for (const int method : {6, 7}) {
    SCOPED_TRACE(method);
    const Bytes packed = Pack(method, data.data(), data.size(), previous.data());
    ExpectRoundTrip(method, data, packed, &previous);
    EXPECT_LT(packed.size(), 40000u);
    // Decoded over anything else, the skipped bytes keep that.
    GuardedOutput other(data.size(), 0, 0x00);
    ASSERT_EQ(UnpackTo(other, method, packed, 0).status, UnpackStatus::kOk);
    EXPECT_NE(other.Contents(), data);
  }
}

// Every prefix of a packed stream: the decoder stops with InputEnded, has
// written exactly what the prefix holds, and touched nothing else.
class Truncation : public testing::TestWithParam<int> {};

// What `prefix` bytes of the stream decode to. Huffman streams: count the
// whole codes in the prefix, then apply the packet lengths to those symbols.
size_t ExpectedWritten(int method, const Bytes& packed, const Bytes& packets, size_t prefix,
                       size_t out_size) {
  const std::span<const uint8_t> cut(packed.data(), prefix);
  switch (method) {
    case 4: return prefix == 0 ? 0 : ReferenceHuffman(cut, out_size).out.size();
    case 5:
    case 7: {
      if (prefix == 0) return 0;
      const size_t symbols = ReferenceHuffman(cut, packets.size()).out.size();
      return PacketOutput(method == 5 ? 3 : 6, {packets.data(), symbols}, out_size);
    }
    default: return PacketOutput(method, cut, out_size);
  }
}

TEST_P(Truncation, EveryPrefix) {
  const int method = GetParam();
  const Bytes previous = Mixed(5000, 40);
  Bytes data = previous;
  for (size_t i = 1000; i < 1400; ++i) data[i] = static_cast<uint8_t>(i * 7);
  const Bytes text = TextLike(1500, 41);
  std::copy(text.begin(), text.end(), data.begin() + 3000);

  const bool skips = method == 6 || method == 7;
  const uint8_t* old = skips ? previous.data() : nullptr;
  const Bytes packets = method == 5   ? Pack(3, data.data(), data.size())
                        : method == 7 ? Pack(6, data.data(), data.size(), old)
                                      : Bytes{};
  const Bytes packed = Pack(method, data.data(), data.size(), old);
  const Bytes fill = skips ? previous : Bytes(data.size(), 0x5A);
  ASSERT_GT(packed.size(), 200u);
  for (size_t p = 0; p <= packed.size(); ++p) {
    SCOPED_TRACE(testing::Message() << "prefix " << p << " of " << packed.size());
    GuardedOutput output(data.size(), 0, 0);
    std::copy(fill.begin(), fill.end(), output.out());
    const UnpackResult r = UnpackTo(output, method, {packed.data(), p}, 0);
    ASSERT_TRUE(output.GuardsIntact());
    ASSERT_EQ(r.status, p == packed.size() ? UnpackStatus::kOk : UnpackStatus::kInputEnded);
    ASSERT_LE(r.read, p);
    ASSERT_EQ(r.written, ExpectedWritten(method, packed, packets, p, data.size()));
    const Bytes got = output.Contents();
    const auto w = static_cast<ptrdiff_t>(r.written);
    ASSERT_TRUE(std::equal(got.begin(), got.begin() + w, data.begin()));
    ASSERT_TRUE(std::equal(got.begin() + w, got.end(), fill.begin() + w));
  }
}

INSTANTIATE_TEST_SUITE_P(AllMethods, Truncation, testing::Range(1, 8));

}  // namespace
}  // namespace packing_test
