// Decoding speed of the seven packing methods, in bytes of output per second,
// against a memcpy of the same 16 MiB in the same run. Every input is packed
// once before timing; the table at the end gives each decoder's speed as a
// fraction of memcpy's.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "packing/pack_internal.h"
#include "packing/packing.h"
#include "packing/packing_encode.h"

namespace {

constexpr size_t kOutputSize = size_t{16} << 20;
constexpr size_t kHistory = kPackHistoryMax;

class Random {
 public:
  explicit Random(uint64_t seed) : state_(seed) {}
  uint32_t Next() {  // xorshift64*
    state_ ^= state_ >> 12;
    state_ ^= state_ << 25;
    state_ ^= state_ >> 27;
    return static_cast<uint32_t>((state_ * 0x2545F4914F6CDD1DULL) >> 32);
  }
  uint32_t Below(uint32_t n) { return Next() % n; }

 private:
  uint64_t state_;
};

// Rows of 8-bit pixels shading slowly, with a little noise, like a photo.
void AppendGradient(std::vector<uint8_t>& out, Random& r, size_t n) {
  const uint32_t width = 256 + r.Below(512);
  const uint32_t base = r.Below(256);
  const uint32_t slope = 1 + r.Below(8);
  for (size_t i = 0; i < n; ++i) {
    const uint32_t x = static_cast<uint32_t>(i % width);
    const uint32_t y = static_cast<uint32_t>(i / width);
    const uint32_t noise = r.Below(16) == 0 ? r.Below(3) : 0;
    out.push_back(static_cast<uint8_t>(base + x * slope / 16 + y + noise));
  }
}

// Flat areas: runs of one value, now and then a few odd bytes.
void AppendRuns(std::vector<uint8_t>& out, Random& r, size_t n) {
  const size_t end = out.size() + n;
  while (out.size() < end) {
    const size_t run = r.Below(8) == 0 ? 1 + r.Below(4) : 3 + r.Below(300);
    out.insert(out.end(), std::min(run, end - out.size()), static_cast<uint8_t>(r.Below(256)));
  }
}

// Words of a small vocabulary, like script and dialogue text.
void AppendText(std::vector<uint8_t>& out, Random& r, size_t n) {
  static constexpr std::string_view kWords[] = {
      "[WARP]", "[TEST]", "SETCURSOR", "PLAYSOUND", "GOTOWARP", "the",      "hall", "study", "letter", "key",
      "lamp",   "door",   "opens",     "slowly",    "and",      "a",        "cold", "wind",  "enters", "room",
      "0",      "1",      "-1",        "255",       "HALL.VR",  "MENU.TGA", ";",    "="};
  const size_t end = out.size() + n;
  while (out.size() < end) {
    std::string_view word = kWords[r.Below(std::size(kWords))];
    word = word.substr(0, end - out.size());
    out.insert(out.end(), word.begin(), word.end());
    if (out.size() < end) out.push_back(r.Below(8) == 0 ? '\n' : ' ');
  }
}

// kHistory + kOutputSize bytes: blocks of 2..18 KiB of each kind in turn at
// random. The first kHistory bytes stand for what a decoder keeps in front
// of its output.
std::vector<uint8_t> MakeContent() {
  Random r(0x6B7672);
  std::vector<uint8_t> out;
  out.reserve(kHistory + kOutputSize);
  while (out.size() < kHistory + kOutputSize) {
    const size_t n = std::min<size_t>(2048 + r.Below(16384), kHistory + kOutputSize - out.size());
    switch (r.Below(3)) {
      case 0: AppendGradient(out, r, n); break;
      case 1: AppendRuns(out, r, n); break;
      default: AppendText(out, r, n); break;
    }
  }
  return out;
}

// The previous frame: the data with about a third of its 4 KiB blocks
// partly changed, so that methods 6 and 7 skip the rest.
std::vector<uint8_t> MakePrevious(const uint8_t* data, size_t size) {
  Random r(0x707265);
  std::vector<uint8_t> previous(data, data + size);
  for (size_t block = 0; block < size; block += 4096) {
    if (r.Below(3) != 0) continue;
    const size_t from = block + r.Below(2048);
    const size_t to = std::min(size, from + 64 + r.Below(2048));
    for (size_t i = from; i < to; ++i) previous[i] = static_cast<uint8_t>(previous[i] + 1 + r.Below(4));
  }
  return previous;
}

struct Inputs {
  std::vector<uint8_t> content;  // history, then the data
  std::vector<uint8_t> previous;
  std::vector<uint8_t> packed[kPackMethodMax + 1];

  const uint8_t* Data() const { return content.data() + kHistory; }
};

bool UsesHistory(int method) { return method == 3 || method == 5 || method == 6 || method == 7; }

std::vector<uint8_t> PackOne(int method, const Inputs& in) {
  using packing_internal::PackHuffman;
  using packing_internal::PackLz;
  const uint8_t* data = in.Data();
  const uint8_t* previous = in.previous.data();
  switch (method) {
    case 3: return PackLz(3, data, kOutputSize, nullptr, kHistory);
    case 5: {
      const std::vector<uint8_t> packets = PackLz(3, data, kOutputSize, nullptr, kHistory);
      return PackHuffman(packets.data(), packets.size());
    }
    case 6: return PackLz(6, data, kOutputSize, previous, kHistory);
    case 7: {
      const std::vector<uint8_t> packets = PackLz(6, data, kOutputSize, previous, kHistory);
      return PackHuffman(packets.data(), packets.size());
    }
    default: return Pack(method, data, kOutputSize);
  }
}

const Inputs& GetInputs() {
  static const Inputs inputs = [] {
    Inputs in;
    in.content = MakeContent();
    in.previous = MakePrevious(in.Data(), kOutputSize);
    for (int method = 1; method <= kPackMethodMax; ++method) in.packed[method] = PackOne(method, in);
    return in;
  }();
  return inputs;
}

void BM_Memcpy(benchmark::State& state) {
  const Inputs& in = GetInputs();
  std::vector<uint8_t> out(kOutputSize);
  for (auto _ : state) {
    std::memcpy(out.data(), in.Data(), kOutputSize);
    benchmark::DoNotOptimize(out.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(kOutputSize));
}

void BM_Unpack(benchmark::State& state, int method) {
  const Inputs& in = GetInputs();
  const std::vector<uint8_t>& packed = in.packed[method];
  const size_t history = UsesHistory(method) ? kHistory : 0;
  // The history in front of the output, and the previous frame in it: skips
  // leave those bytes, which equal the data, so every pass decodes the same.
  std::vector<uint8_t> buffer(in.content.begin(), in.content.begin() + kHistory);
  buffer.insert(buffer.end(), in.previous.begin(), in.previous.end());
  uint8_t* out = buffer.data() + kHistory;

  const UnpackResult check = Unpack(method, packed.data(), packed.size(), out, kOutputSize, history);
  if (!check.ok() || check.read > packed.size() || std::memcmp(out, in.Data(), kOutputSize) != 0) {
    state.SkipWithError("the decoded data differ from the packed data");
    return;
  }
  for (auto _ : state) {
    UnpackResult r = Unpack(method, packed.data(), packed.size(), out, kOutputSize, history);
    benchmark::DoNotOptimize(r);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(kOutputSize));
  state.counters["packed_%"] = 100.0 * double(packed.size()) / double(kOutputSize);
}

// The usual console output, then every benchmark's speed against memcpy.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  explicit RatioReporter(bool color) : ConsoleReporter(color ? OO_Color : OO_None) {}

  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      const auto rate = run.counters.find("bytes_per_second");
      if (run.run_type != Run::RT_Iteration || rate == run.counters.end()) continue;
      Rate& r = rates_[run.run_name.function_name];
      r.sum += rate->second.value;
      ++r.count;
      if (r.order == 0) r.order = ++next_order_;
    }
  }

  void Finalize() override {
    ConsoleReporter::Finalize();
    const auto base = rates_.find("memcpy");
    if (base == rates_.end()) return;
    const double memcpy_rate = base->second.Mean();
    std::vector<std::pair<int, std::string>> order;
    for (const auto& [name, r] : rates_) order.emplace_back(r.order, name);
    std::sort(order.begin(), order.end());
    std::printf("\n%-28s %12s %10s\n", "benchmark", "MiB/s", "vs memcpy");
    for (const auto& [_, name] : order) {
      const double rate = rates_[name].Mean();
      std::printf("%-28s %12.1f %10.3f\n", name.c_str(), rate / double(1 << 20), rate / memcpy_rate);
    }
  }

 private:
  struct Rate {
    double sum = 0;
    int count = 0;
    int order = 0;
    double Mean() const { return sum / count; }
  };
  std::map<std::string, Rate> rates_;
  int next_order_ = 0;
};

}  // namespace

int main(int argc, char** argv) {
  static constexpr const char* kNames[] = {
      "", "rle", "lz_short", "lz_long", "huffman", "huffman_lz_long", "lz_skip", "huffman_lz_skip"};
  benchmark::RegisterBenchmark("memcpy", BM_Memcpy)->Unit(benchmark::kMillisecond);
  for (int method = 1; method <= kPackMethodMax; ++method) {
    const std::string name = "unpack_" + std::to_string(method) + "_" + kNames[method];
    benchmark::RegisterBenchmark(name.c_str(), BM_Unpack, method)->Unit(benchmark::kMillisecond);
  }
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  std::fprintf(stderr, "packing %zu MiB with the seven methods...\n", kOutputSize >> 20);
  GetInputs();
  RatioReporter reporter(::isatty(STDOUT_FILENO) != 0);
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
