// Draw of the projection renderer against a per-pixel ray baseline, at
// 640 x 480 and 1920 x 1080, for a horizontal, a diagonal and a steep view
// (nearly straight down into a cube corner: the side tiles that show run
// behind the viewer and are cut at the near plane). Reports frames per second and
// nanoseconds per pixel, then the speed ratio per case and the share of
// pixels on which both renderers show the same tile within a texel.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "bench/ray_renderer.h"
#include "orv_vr/orv_vr.h"

namespace {

struct View {
  const char* name;
  float yaw, tilt, roll, fov;
};
constexpr View kViews[] = {
    {"horizontal", 0.4f, 1.5707964f, 0.0f, 1.5707964f},
    {"diagonal", 0.785f, 2.2f, 0.0f, 1.5707964f},
    {"steep", 0.785f, 0.1f, 0.0f, 1.5707964f},
};
struct Size {
  int width, height;
};
constexpr Size kSizes[] = {{640, 480}, {1920, 1080}};

// A panorama with detail everywhere, so that texel reads are not all alike.
void Fill_Panorama(uint16_t* store) {
  for (int k = 0; k < 24; ++k) {
    for (int i = 0; i < 65536; ++i) {
      const int u = i & 255, v = i >> 8;
      store[k * 65536 + i] = static_cast<uint16_t>((k * 2654435761u) ^ (u * 40503u) ^ (v * 9973u));
    }
  }
}

void Set_Counters(benchmark::State& state, int pixels) {
  state.counters["fps"] =
      benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
  // Shown in seconds per 1e9 pixels, which is nanoseconds per pixel.
  state.counters["s_per_Gpixel"] =
      benchmark::Counter(static_cast<double>(state.iterations()) * pixels * 1e-9,
                         benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void Bench_Orv_Vr(benchmark::State& state, View view, Size size) {
  ORV_VR vr;
  Fill_Panorama(vr.Buffer());
  vr.Init_Resolution(0, 0, float(size.width), float(size.height), size.width, 1);
  std::vector<uint16_t> frame(size_t(size.width) * size.height);
  for (auto _ : state) {
    vr.Draw(frame.data(), view.yaw, view.tilt, view.roll, view.fov);
    benchmark::DoNotOptimize(frame.data());
    benchmark::ClobberMemory();
  }
  Set_Counters(state, size.width * size.height);
}

void Bench_Ray(benchmark::State& state, View view, Size size) {
  std::vector<uint16_t> store(24 * 65536);
  Fill_Panorama(store.data());
  const RayRenderer ray(store.data(), size.width, size.height, size.width);
  std::vector<uint16_t> frame(size_t(size.width) * size.height);
  for (auto _ : state) {
    ray.Draw(frame.data(), view.yaw, view.tilt, view.roll, view.fov);
    benchmark::DoNotOptimize(frame.data());
    benchmark::ClobberMemory();
  }
  Set_Counters(state, size.width * size.height);
}

// Share of pixels where both renderers show the same tile within one texel
// in u and in v: drawn twice, with stores holding (tile << 8) | u and then
// (tile << 8) | v.
double Agreement(View view, Size size) {
  const size_t pixels = size_t(size.width) * size.height;
  std::vector<bool> near(pixels, true);
  for (int axis = 0; axis < 2; ++axis) {
    ORV_VR vr;
    uint16_t* store = vr.Buffer();
    for (int i = 0; i < 24 * 65536; ++i) {
      store[i] = static_cast<uint16_t>((i >> 16) << 8 | (axis ? (i >> 8) & 255 : i & 255));
    }
    vr.Init_Resolution(0, 0, float(size.width), float(size.height), size.width, 1);
    const RayRenderer ray(store, size.width, size.height, size.width);
    std::vector<uint16_t> a(pixels), b(pixels);
    vr.Draw(a.data(), view.yaw, view.tilt, view.roll, view.fov);
    ray.Draw(b.data(), view.yaw, view.tilt, view.roll, view.fov);
    for (size_t i = 0; i < pixels; ++i) {
      const int du = (a[i] & 255) - (b[i] & 255);
      near[i] = near[i] && (a[i] >> 8) == (b[i] >> 8) && du >= -1 && du <= 1;
    }
  }
  size_t same = 0;
  for (bool n : near) same += n;
  return double(same) / double(pixels);
}

std::string Case_Name(const View& v, const Size& s) {
  return std::to_string(s.width) + "x" + std::to_string(s.height) + "/" + v.name;
}

// Forwards to the console and keeps each run's time per frame.
class CollectingReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (run.run_type == Run::RT_Iteration && !run.error_occurred) {
        ns_per_frame[run.benchmark_name()] = run.GetAdjustedRealTime();
      }
    }
    ConsoleReporter::ReportRuns(runs);
  }
  std::map<std::string, double> ns_per_frame;
};

}  // namespace

int main(int argc, char** argv) {
  for (const Size& s : kSizes) {
    for (const View& v : kViews) {
      benchmark::RegisterBenchmark(("orv_vr/" + Case_Name(v, s)).c_str(), Bench_Orv_Vr, v, s)
          ->Unit(benchmark::kMicrosecond);
      benchmark::RegisterBenchmark(("ray/" + Case_Name(v, s)).c_str(), Bench_Ray, v, s)
          ->Unit(benchmark::kMicrosecond);
    }
  }
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  CollectingReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();

  std::printf("\n%-22s %12s %12s %8s %8s\n", "case", "orv_vr ns/px", "ray ns/px", "speedup", "within1");
  for (const Size& s : kSizes) {
    for (const View& v : kViews) {
      const std::string c = Case_Name(v, s);
      const auto orv = reporter.ns_per_frame.find("orv_vr/" + c);
      const auto ray = reporter.ns_per_frame.find("ray/" + c);
      if (orv == reporter.ns_per_frame.end() || ray == reporter.ns_per_frame.end()) continue;
      // Times are in the runs' unit, microseconds per frame.
      const double pixels = double(s.width) * s.height;
      std::printf("%-22s %12.3f %12.3f %7.2fx %7.1f%%\n", c.c_str(), orv->second * 1e3 / pixels,
                  ray->second * 1e3 / pixels, ray->second / orv->second, 100 * Agreement(v, s));
    }
  }
  return 0;
}
