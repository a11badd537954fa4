// Loading scene pictures as the engine does, beside a plain libjpeg-turbo
// decode of the same panorama stream from memory in the same run: the
// table at the end gives what the file walk, the reading and the dct layer
// add (CPU time over the plain decode's).
//   scene/Unpack_Static_Vr     the panorama file into the tile store
//   scene/Load_Scene_Picture   the same through the loader order, with the
//                              animation table of three animations rebuilt
//   scene/Play_Frame_40_blocks one animation frame of 40 changed blocks
//   scene/Load_Tga_640_480     a 24-bit TGA read and dithered to RGB565
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "bench/cpu_time_reporter.h"
#include "bench/jpeg_baseline.h"
#include "dct/dct_encode.h"
#include "pictures/picture.h"
#include "scene/scene_picture.h"

namespace {

constexpr int kQuality = 85;
constexpr int kAnimationFrames = 10;

std::string Le32(uint32_t v) {
  std::string s(4, '\0');
  for (int i = 0; i < 4; ++i) s[size_t(i)] = char(v >> (8 * i));
  return s;
}

std::string Chunk(int tag, const std::string& payload) {
  return Le32(uint32_t(tag)) + Le32(uint32_t(payload.size() + 8)) + payload;
}

const std::vector<unsigned char>& Stream() {
  static const std::vector<unsigned char> stream = [] {
    std::vector<unsigned char> out;
    Dct_Encode_Picture(bench::Wave_Picture(bench::kPanoramaWidth, bench::kPanoramaHeight).data(),
                       bench::kPanoramaWidth, bench::kPanoramaHeight, kQuality, out);
    return out;
  }();
  return stream;
}

// Frames of 40 blocks down the strip, each block numbers 16 apart.
std::string Animation(const std::string& name) {
  const auto picture = bench::Wave_Picture(bench::kPanoramaWidth, bench::kPanoramaHeight);
  std::string sequence;
  for (int f = 0; f < kAnimationFrames; ++f) {
    std::vector<int> blocks;
    for (int i = 0; i < 40; ++i) blocks.push_back(f + 16 * i * 9);
    std::vector<unsigned char> data;
    Dct_Encode_Blocks(picture.data(), bench::kPanoramaWidth, bench::kPanoramaHeight, blocks.data(),
                      int(blocks.size()), kQuality, data);
    std::string payload = Le32(uint32_t(blocks.size()));
    for (int b : blocks) payload += Le32(uint32_t(b));
    payload += Le32(kQuality) + Le32(uint32_t(data.size())) + std::string(data.begin(), data.end());
    sequence += Chunk(KVR_CHUNK_FRAME, payload);
  }
  sequence += Chunk(KVR_CHUNK_LOOP, Le32(0));
  std::string stored(KVR_ANIM_NAME_SIZE, '\0');
  stored.replace(0, name.size(), name);
  return Chunk(KVR_CHUNK_ANIMATION, stored + Le32(kAnimationFrames) + sequence);
}

struct Files {
  std::filesystem::path folder;
  std::string panorama;
  std::string tga;
  Files() {
    char name[] = "/tmp/scene_bench.XXXXXX";
    folder = mkdtemp(name);
    panorama = (folder / "scene.kvr").string();
    tga = (folder / "room.tga").string();
    const auto& s = Stream();
    const std::string record = Le32(kQuality) + Le32(uint32_t(s.size())) + std::string(s.begin(), s.end());
    std::ofstream(panorama, std::ios::binary)
        << Chunk(KVR_CHUNK_FILE, Chunk(KVR_CHUNK_STATIC_VR, record) + Animation("sea") + Animation("gulls") +
                                     Animation("flag"));
    std::string header(18, '\0');
    header[2] = 2;
    header[12] = char(640 & 0xFF);
    header[13] = char(640 >> 8);
    header[14] = char(480 & 0xFF);
    header[15] = char(480 >> 8);
    header[16] = 24;
    const auto room = bench::Wave_Picture(640, 480);
    std::string pixels;
    for (size_t i = 0; i < room.size(); i += 4) pixels.append(reinterpret_cast<const char*>(&room[i]), 3);
    std::ofstream(tga, std::ios::binary) << header << pixels;
  }
  ~Files() { std::filesystem::remove_all(folder); }
};

const Files& Test_Files() {
  static const Files files;
  return files;
}

struct BenchScene {
  std::vector<uint16_t> tiles = std::vector<uint16_t>(size_t(kSceneVrPixels));
  PicturePtr still = Picture_New("warpfix", 640, 480, 16);
  Scene scene;
  BenchScene() {
    scene.tile_store = tiles.data();
    scene.still = still.get();
  }
};

void Plain(benchmark::State& state) {
  std::vector<uint16_t> dest(bench::kPanoramaPixels);
  for (auto _ : state) {
    bench::Plain_Decode(Stream(), JCS_RGB565, reinterpret_cast<unsigned char*>(dest.data()),
                        bench::kPanoramaWidth * 2);
    benchmark::DoNotOptimize(dest.data());
  }
}

void Unpack_Vr(benchmark::State& state) {
  BenchScene s;
  const char* path = Test_Files().panorama.c_str();
  for (auto _ : state) {
    if (!Unpack_Static_Vr(path, s.tiles.data(), 16)) state.SkipWithError("unpack failed");
    benchmark::DoNotOptimize(s.tiles.data());
  }
}

void Load_Scene(benchmark::State& state) {
  BenchScene s;
  const char* path = Test_Files().panorama.c_str();
  for (auto _ : state) {
    if (Load_Scene_Picture(s.scene, path) != 0 || s.scene.table.count != 3)
      state.SkipWithError("load failed");
    benchmark::DoNotOptimize(s.tiles.data());
  }
}

void Play_Frame(benchmark::State& state) {
  BenchScene s;
  SceneAnimation r;
  if (!Open_Scene_Animation(Test_Files().panorama.c_str(), "gulls", &r)) state.SkipWithError("no animation");
  for (auto _ : state) {
    Play_Scene_Animation_Frame(&r, s.tiles.data(), 16, KVR_VR_WIDTH);
    benchmark::DoNotOptimize(s.tiles.data());
  }
  state.SetItemsProcessed(int64_t(state.iterations()) * 40);
}

void Load_Tga(benchmark::State& state) {
  BenchScene s;
  const char* path = Test_Files().tga.c_str();
  for (auto _ : state) {
    if (!Load_Tga_640_480(s.scene, path)) state.SkipWithError("load failed");
    benchmark::DoNotOptimize(s.still->pixels.data());
  }
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::RegisterBenchmark("libjpeg/rgb565", Plain)->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("scene/Unpack_Static_Vr", Unpack_Vr)->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("scene/Load_Scene_Picture", Load_Scene)->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("scene/Play_Frame_40_blocks", Play_Frame)->Unit(benchmark::kMicrosecond);
  benchmark::RegisterBenchmark("scene/Load_Tga_640_480", Load_Tga)->Unit(benchmark::kMillisecond);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  std::fprintf(stderr, "panorama stream: %zu bytes at quality %d\n", Stream().size(), kQuality);
  bench::CpuTimeReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();

  const auto base = reporter.time.find("libjpeg/rgb565");
  if (base == reporter.time.end()) return 0;
  std::printf("\n%-28s %12s %8s\n", "loader", "cpu ms", "vs plain");
  for (const char* name : {"scene/Unpack_Static_Vr", "scene/Load_Scene_Picture"}) {
    const auto t = reporter.time.find(name);
    if (t != reporter.time.end())
      std::printf("%-28s %12.2f %8.3f\n", name, t->second, t->second / base->second);
  }
  return 0;
}
