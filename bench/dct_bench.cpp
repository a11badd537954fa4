// Decoding a 256 x 6144 panorama with the dct unpackers, beside a plain
// libjpeg-turbo decode of the same stream into the same pixel format in the
// same run; the table at the end gives what the dct layer costs (its CPU
// time over the plain decode's) and whether both gave the same pixels.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "bench/cpu_time_reporter.h"
#include "bench/jpeg_baseline.h"
#include "dct/dct.h"
#include "dct/dct_encode.h"

namespace {

using bench::Plain_Decode;
constexpr int kWidth = bench::kPanoramaWidth;
constexpr int kHeight = bench::kPanoramaHeight;
constexpr int kQuality = 85;
constexpr size_t kPixels = bench::kPanoramaPixels;

const std::vector<unsigned char>& Stream() {
  static const std::vector<unsigned char> stream = [] {
    std::vector<unsigned char> out;
    Dct_Encode_Picture(bench::Wave_Picture(kWidth, kHeight).data(), kWidth, kHeight, kQuality, out);
    return out;
  }();
  return stream;
}

std::vector<unsigned char> Decode_Dct(const std::string& kind) {
  std::vector<unsigned char> stream = Stream();
  const int n = static_cast<int>(stream.size());
  std::vector<unsigned char> out(kPixels * 4);
  auto* d16 = reinterpret_cast<unsigned short*>(out.data());
  if (kind == "16_16") Unpack_Picture_Rgb_16_16_256_6144(d16, stream.data(), n, kQuality);
  if (kind == "15_16") Unpack_Picture_Rgb_15_16_256_6144(d16, stream.data(), n, kQuality);
  if (kind == "32") Unpack_Picture_Rgb_32_256_6144(out.data(), stream.data(), n, kQuality);
  return out;
}

void Bench_Dct(benchmark::State& state, std::string kind) {
  std::vector<unsigned char> stream = Stream();
  const int n = static_cast<int>(stream.size());
  std::vector<uint32_t> dest(kPixels);  // room for every format, aligned
  auto* d16 = reinterpret_cast<unsigned short*>(dest.data());
  auto* d32 = reinterpret_cast<unsigned char*>(dest.data());
  for (auto _ : state) {
    if (kind == "16_16") Unpack_Picture_Rgb_16_16_256_6144(d16, stream.data(), n, kQuality);
    if (kind == "15_16") Unpack_Picture_Rgb_15_16_256_6144(d16, stream.data(), n, kQuality);
    if (kind == "32") Unpack_Picture_Rgb_32_256_6144(d32, stream.data(), n, kQuality);
    benchmark::DoNotOptimize(dest.data());
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(int64_t(state.iterations()) * int64_t(kPixels));
}

void Bench_Plain(benchmark::State& state, J_COLOR_SPACE space) {
  const std::vector<unsigned char>& stream = Stream();
  std::vector<uint32_t> dest(kPixels);
  const size_t pitch = size_t{kWidth} * (space == JCS_RGB565 ? 2 : 4);
  for (auto _ : state) {
    Plain_Decode(stream, space, reinterpret_cast<unsigned char*>(dest.data()), pitch);
    benchmark::DoNotOptimize(dest.data());
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(int64_t(state.iterations()) * int64_t(kPixels));
}

bool Same_Pixels(const std::string& kind, J_COLOR_SPACE space) {
  std::vector<unsigned char> plain(kPixels * 4);
  Plain_Decode(Stream(), space, plain.data(), size_t{kWidth} * (space == JCS_RGB565 ? 2 : 4));
  std::vector<unsigned char> ours = Decode_Dct(kind);
  if (space == JCS_EXT_BGRX)
    for (size_t i = 3; i < plain.size(); i += 4) plain[i] = 0;  // dct writes 0 there
  const size_t bytes = kPixels * (space == JCS_RGB565 ? 2 : 4);
  return std::equal(plain.begin(), plain.begin() + bytes, ours.begin());
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::RegisterBenchmark("dct/Rgb_16_16_256_6144", Bench_Dct, std::string("16_16"))
      ->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("libjpeg/rgb565", Bench_Plain, JCS_RGB565)->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("dct/Rgb_15_16_256_6144", Bench_Dct, std::string("15_16"))
      ->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("dct/Rgb_32_256_6144", Bench_Dct, std::string("32"))
      ->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("libjpeg/bgrx", Bench_Plain, JCS_EXT_BGRX)->Unit(benchmark::kMillisecond);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  std::fprintf(stderr, "panorama stream: %zu bytes at quality %d\n", Stream().size(), kQuality);
  bench::CpuTimeReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();

  struct Pair {
    const char* dct;
    const char* plain;
    const char* kind;
    J_COLOR_SPACE space;
  };
  const Pair pairs[] = {{"dct/Rgb_16_16_256_6144", "libjpeg/rgb565", "16_16", JCS_RGB565},
                        {"dct/Rgb_15_16_256_6144", "libjpeg/rgb565", "", JCS_RGB565},
                        {"dct/Rgb_32_256_6144", "libjpeg/bgrx", "32", JCS_EXT_BGRX}};
  std::printf("\n%-24s %12s %12s %8s %6s\n", "unpacker", "dct cpu ms", "plain cpu ms", "ratio", "same");
  for (const Pair& p : pairs) {
    const auto d = reporter.time.find(p.dct);
    const auto b = reporter.time.find(p.plain);
    if (d == reporter.time.end() || b == reporter.time.end()) continue;
    const char* same = *p.kind ? (Same_Pixels(p.kind, p.space) ? "yes" : "NO") : "-";
    std::printf("%-24s %12.2f %12.2f %8.3f %6s\n", p.dct, d->second, b->second, d->second / b->second, same);
  }
  return 0;
}
