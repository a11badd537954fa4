// The main loop's own cost and the cost of a warp change, each against its
// baseline in the same run: a headless frame of a panorama warp with a
// cursor and printed text against ORV_VR::Draw alone, and a warp change
// from the click to the next shown frame (compressed panorama) against
// Load_Scene_Picture alone. The ratios are printed after the runs.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "bench/cpu_time_reporter.h"
#include "engine/engine.h"
#include "engine/run/engine_run.h"
#include "engine/run/run_trace.h"
#include "engine/script_chain.h"
#include "platform/display/display.h"
#include "platform/headless/headless_display.h"
#include "platform/input/input.h"
#include "platform/input/virtual_keys.h"
#include "platform/wendax.h"
#include "tools/panorama_writer.h"
#include "tools/picture_writers.h"
#include "tools/zone_writer.h"

namespace {

using Clock = std::chrono::steady_clock;

// A folder with two compressed panoramas, a zone around the view's
// direction, a cursor, a font and a script that prints a text and goes from
// one warp to the other on a click.
struct BenchGame {
  std::string folder;

  BenchGame() {
    char name[] = "/tmp/kvr-engine-bench-XXXXXX";
    folder = mkdtemp(name);
    std::vector<uint8_t> strip(size_t(256) * 6144 * 4);
    for (size_t i = 0; i < strip.size(); ++i) strip[i] = uint8_t((i * 7 + (i >> 12) * 13) & 0xFF);
    for (const char* warp : {"A.VR", "B.VR"}) {
      PanoramaContent content;
      std::string error;
      std::vector<uint8_t> bytes;
      if (!Panorama_Encode_Static(strip.data(), 85, content, error) ||
          !Panorama_File_Bytes(content, bytes, error))
        std::abort();
      Write(warp, bytes);
    }
    Write("Z.ZON", Zone_File_Bytes({{6.0f, 0.5f, 1.0f, 2.0f}}));
    PicturePtr cursor = Picture_New("c", 24, 24, 8);
    cursor->palette[3] = cursor->palette[4] = cursor->palette[5] = 255;
    for (size_t i = 0; i < cursor->pixels.size(); i += 3) cursor->pixels[i] = 1;
    Write("cursor1.pcx", Pcx_Write(*cursor).bytes);
    Write("cursor2.pcx", Pcx_Write(*cursor).bytes);
    std::filesystem::copy_file(KVR_SOURCE_DIR "/demo/sample/MINIFON2.MTR", folder + "/MINIFON2.MTR");
    const std::string script =
        "[WARP] A.VR Z.ZON\n[TEST] 0 0\nGOTOWARP B.VR\n[TEST] -1 0\nPRINT THE_HALL_AT_NIGHT MINIFON2.MTR\n"
        "[WARP] B.VR Z.ZON\n[TEST] 0 0\nGOTOWARP A.VR\n[TEST] -1 0\nPRINT THE_HALL_AT_NIGHT MINIFON2.MTR\n";
    Write("script.lst", std::vector<uint8_t>(script.begin(), script.end()));
  }
  ~BenchGame() { std::filesystem::remove_all(folder); }
  void Write(const std::string& name, const std::vector<uint8_t>& bytes) const {
    std::ofstream(folder + "/" + name, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  }
};

const BenchGame& Game() {
  static const BenchGame game;
  return game;
}

// Times the frames of a run: every frame after the first `settle`, and the
// span from the first click's test to the next shown frame.
class TimingTrace : public RunTrace {
 public:
  explicit TimingTrace(uint64_t frames) : frames_(frames) {}
  void Warp(Engine&, int, std::string_view, int) override {}
  void Test(Engine&, std::string_view, int, int, int, TestCause cause) override {
    if (cause == TestCause::kClick && click_.time_since_epoch().count() == 0) click_ = Clock::now();
  }
  void Plugin(Engine&, std::string_view) override {}
  void Script(Engine&, std::string_view) override {}
  void Debug(Engine&, std::string_view) override {}
  void End(Engine&) override {}
  void Frame(Engine& engine) override {
    const Clock::time_point now = Clock::now();
    if (click_.time_since_epoch().count() != 0 && change_ == 0) change_ = Seconds(click_, now);
    if (engine.run.frames > kSettle) loop_ += Seconds(last_, now);
    last_ = now;
    if (engine.run.frames >= frames_) engine.run.quit = true;
  }
  static constexpr uint64_t kSettle = 8;
  double loop_ = 0;    // seconds of the frames after the settling ones
  double change_ = 0;  // seconds from the click to the next shown frame

 private:
  static double Seconds(Clock::time_point a, Clock::time_point b) {
    return std::chrono::duration<double>(b - a).count();
  }
  uint64_t frames_;
  Clock::time_point last_{};
  Clock::time_point click_{};
};

// Plays the bench game headless for `frames` frames, clicking at `click`
// (0: never).
TimingTrace Play(uint64_t frames, uint64_t click) {
  HeadlessConfig config;
  config.modes = {{640, 480, 16, 0}};
  config.frames_kept = 1;
  HeadlessDisplay display(config);
  if (click) {
    display.Mouse_Button(kVkLButton, true, click);
    display.Mouse_Button(kVkLButton, false, click);
  }
  Wendax wx(display);
  Wendax_Init(wx);
  Wendax_Request_Mode(wx, 640, 480, 16);
  Wendax_Set_Mode(wx);
  Wendax_Reset_Cursor(wx);
  Engine engine(wx);
  TimingTrace trace(frames);
  engine.trace = &trace;
  engine.search_path.Add(Game().folder);
  MainRunner runner;
  Run_Script_Chain(engine, runner, "script.lst");
  Wendax_Close_Screen(wx);
  Wendax_Close(wx);
  return trace;
}

constexpr uint64_t kFrames = 208;

void BM_Frame(benchmark::State& state) {
  for (auto _ : state)
    state.SetIterationTime(Play(kFrames, 0).loop_ / double(kFrames - TimingTrace::kSettle));
}

void BM_Draw(benchmark::State& state) {
  ORV_VR vr;
  vr.Init_Resolution(0, 0, 640, 480, 640, 1);
  Scene scene;
  scene.tile_store = vr.Buffer();
  Load_Scene_Picture(scene, (Game().folder + "/A.VR").c_str());
  std::vector<unsigned short> frame(640 * 480);
  for (auto _ : state) {
    vr.Draw(frame.data(), -1.570795f, 1.570795f, 0.0f, 90.0f * 0.01745328f);
    benchmark::DoNotOptimize(frame.data());
  }
}

void BM_Warp_Change(benchmark::State& state) {
  for (auto _ : state) state.SetIterationTime(Play(20, 12).change_);
}

void BM_Scene_Load(benchmark::State& state) {
  std::vector<uint16_t> tiles(kSceneVrPixels);
  PicturePtr still = Picture_New("warpfix", 640, 480, 16);
  Scene scene;
  scene.tile_store = tiles.data();
  scene.still = still.get();
  const std::string path = Game().folder + "/B.VR";
  for (auto _ : state) benchmark::DoNotOptimize(Load_Scene_Picture(scene, path.c_str()));
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::RegisterBenchmark("engine/frame", BM_Frame)->UseManualTime()->Unit(benchmark::kMicrosecond);
  benchmark::RegisterBenchmark("orv_vr/draw", BM_Draw)->Unit(benchmark::kMicrosecond);
  benchmark::RegisterBenchmark("engine/warp_change", BM_Warp_Change)
      ->UseManualTime()
      ->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("scene/load", BM_Scene_Load)->Unit(benchmark::kMillisecond);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  bench::CpuTimeReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  // Wall times on both sides: manual times are measured on the clock.
  auto time = [&](const char* name) { return reporter.real.count(name) ? reporter.real[name] : 0.0; };
  const double frame = time("engine/frame/manual_time"), draw = time("orv_vr/draw");
  const double change = time("engine/warp_change/manual_time"), load = time("scene/load");
  if (draw > 0)
    std::printf("\nframe / draw: %.3f (the loop's own cost: %+.1f %%)\n", frame / draw,
                100 * (frame / draw - 1));
  if (load > 0) std::printf("warp change / scene load: %.3f\n", change / load);
  return 0;
}
