// The decoders of videos and movies against a plain copy of the frame they
// make: a 640 x 480 MTRD frame with its sound block (Video_Next_Frame), a
// 640 x 480 ZQM frame converted to 5-6-5 (Draw_Frame), and a 320 x 240
// frame scaled to 640 x 480 as Media_PlayVideo shows it. Each ratio says
// how many frame copies one decode costs; the frame rate a decoder keeps up
// with is printed beside it.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "bench/cpu_time_reporter.h"
#include "pictures/mtrd/mtrd_video.h"
#include "platform/display/display.h"
#include "platform/files/file_layer.h"
#include "platform/files/folders.h"
#include "platform/headless/headless_display.h"
#include "platform/wendax.h"
#include "tools/movie_writer.h"
#include "tools/mtrd_writer.h"
#include "zqm/zqm.h"

namespace {

constexpr int kWidth = 640, kHeight = 480, kFrames = 30;
constexpr size_t kFrameBytes = size_t(kWidth) * kHeight * 2;

// Frame k: diagonal bands that move by k pixels, so packing against the
// previous frame has real work to do.
uint8_t Level(int x, int y, int k) { return uint8_t(((x + y + 3 * k) >> 2) * 5); }

std::vector<uint8_t> Mtrd_Bytes() {
  MtrdVideoContent c;
  c.width = kWidth;
  c.height = kHeight;
  c.frames_per_second = 15;
  for (int k = 0; k < kFrames; ++k) {
    std::vector<uint8_t> px(kFrameBytes);
    for (int y = 0; y < kHeight; ++y)
      for (int x = 0; x < kWidth; ++x) {
        const uint16_t v = uint16_t((Level(x, y, k) >> 3) << 11 | (Level(y, x, k) >> 2) << 5 | (x >> 5));
        px[(size_t(y) * kWidth + size_t(x)) * 2] = uint8_t(v);
        px[(size_t(y) * kWidth + size_t(x)) * 2 + 1] = uint8_t(v >> 8);
      }
    c.frames.push_back(std::move(px));
  }
  c.sample_rate = 22050;
  c.pcm.resize(size_t(22050 / 15) * 2 * kFrames);
  for (size_t i = 0; i < c.pcm.size(); ++i) c.pcm[i] = uint8_t(i * 37 >> 3);
  std::vector<uint8_t> bytes;
  std::string error;
  if (!Mtrd_Video_Bytes(c, bytes, error)) std::abort();
  return bytes;
}

std::string Movie_Path() {
  static const std::string path = [] {
    char name[] = "/tmp/kvr-media-bench-XXXXXX";
    const std::string folder = mkdtemp(name);
    MovieContent c;
    c.width = kWidth;
    c.height = kHeight;
    for (int k = 0; k < kFrames; ++k) {
      std::vector<uint8_t> rgb(size_t(kWidth) * kHeight * 3);
      for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
          uint8_t* p = &rgb[(size_t(y) * kWidth + size_t(x)) * 3];
          p[0] = Level(x, y, k), p[1] = Level(y, x, k), p[2] = uint8_t(x >> 2);
        }
      c.frames.push_back(std::move(rgb));
    }
    std::string error;
    if (!Movie_File_Write(c, folder + "/bench.zqm", error)) std::abort();
    return folder + "/bench.zqm";
  }();
  return path;
}

void BM_Frame_Copy(benchmark::State& state) {
  std::vector<uint8_t> from(kFrameBytes, 7), to(kFrameBytes);
  for (auto _ : state) {
    std::memcpy(to.data(), from.data(), kFrameBytes);
    benchmark::DoNotOptimize(to.data());
    benchmark::ClobberMemory();
  }
}

void BM_Mtrd_Frame(benchmark::State& state) {
  HeadlessConfig config;
  config.modes = {{kWidth, kHeight, 16, 0}};
  HeadlessDisplay display(config);
  Wendax wx(display);
  const std::string folder = Wendax_Get_Folder();
  Wendax_Init(wx);  // it moves to the program's folder
  std::filesystem::current_path(folder);
  Memory_File_Add(wx, "bench.mtd", Mtrd_Bytes());
  std::unique_ptr<Video> video = Video_Open(wx, "bench.mtd");
  if (!video) {
    state.SkipWithError("the video does not open");
    return;
  }
  for (auto _ : state) {
    benchmark::DoNotOptimize(Video_Next_Frame(*video));  // back to frame 0 after the last
    benchmark::DoNotOptimize(video->Pixels());
  }
}

void BM_Zqm_Frame(benchmark::State& state) {
  int64_t now_ms = 0;
  std::unique_ptr<ZQMovie, void (*)(ZQMovie*)> movie(Zqm_New([&] { return now_ms; }), Zqm_Delete);
  ZQM_OPEN_OPTIONS options;
  options.loops = -1;
  if (!movie || movie->Open_File(Movie_Path().c_str(), options) != 0) {
    state.SkipWithError("the movie does not open");
    return;
  }
  movie->Enable_Stream(0, ZQM_STREAM_VIDEO);
  std::vector<uint16_t> frame(size_t(kWidth) * kHeight);
  for (auto _ : state) {
    now_ms += 67;  // one frame period at 15 frames a second
    benchmark::DoNotOptimize(
        movie->Draw_Frame(0, 0, 0, kWidth, kHeight, kWidth * 2, frame.data(), ZQM_FORMAT_565));
  }
}

void BM_Scale(benchmark::State& state) {
  std::vector<uint16_t> small(320 * 240), big(size_t(kWidth) * kHeight);
  for (size_t i = 0; i < small.size(); ++i) small[i] = uint16_t(i * 2654435761u >> 16);
  ZqmScaler scaler;
  for (auto _ : state)
    benchmark::DoNotOptimize(scaler.Scale_565(small.data(), 320, 240, big.data(), kWidth, kHeight));
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::RegisterBenchmark("frame/copy", BM_Frame_Copy);
  benchmark::RegisterBenchmark("mtrd/next_frame", BM_Mtrd_Frame);
  benchmark::RegisterBenchmark("zqm/draw_frame", BM_Zqm_Frame);
  benchmark::RegisterBenchmark("zqm/scale_320_to_640", BM_Scale);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  bench::CpuTimeReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  const double copy = reporter.time["frame/copy"];
  for (const char* name : {"mtrd/next_frame", "zqm/draw_frame", "zqm/scale_320_to_640"}) {
    const double t = reporter.time[name];
    if (copy <= 0 || t <= 0) continue;
    std::printf("%-22s %8.1f frame copies, %8.0f frames a second\n", name, t / copy, 1e9 / t);
  }
  return 0;
}
