// Writes the seed inputs of every fuzz target into CORPUS/<target>/seed_*:
//   fuzz_make_seeds CORPUS [SCRIPT]
// SCRIPT (a sample script, e.g. demo/sample/script.lst) is added to the
// script seeds, plain and packed.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/fuzz_unpack_input.h"
#include "packing/pack_internal.h"
#include "packing/packing_encode.h"
#include "tools/pak_writer.h"

namespace {

using Bytes = std::vector<uint8_t>;

Bytes Of(std::string_view text) { return Bytes(text.begin(), text.end()); }

void Write(const std::filesystem::path& folder, const std::string& name, const Bytes& bytes) {
  std::filesystem::create_directories(folder);
  std::ofstream out(folder / ("seed_" + name), std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

// A little of everything a picture or a script holds: a gradient, runs and
// text, with pieces of the fuzz history text.
Bytes Mixed(size_t size) {
  Bytes out;
  for (size_t i = 0; out.size() < size; ++i) {
    switch ((i / 3) % 3) {
      case 0:
        for (int x = 0; x < 40; ++x) out.push_back(uint8_t(i * 5 + x / 3));
        break;
      case 1: out.insert(out.end(), 10 + i % 50, uint8_t(i * 37)); break;
      default: {
        std::string_view text = kFuzzHistoryText.substr(i % 20, 30);
        out.insert(out.end(), text.begin(), text.end());
      }
    }
  }
  out.resize(size);
  return out;
}

// What the fuzz target's output holds before decoding, with a few stretches
// changed: methods 6 and 7 skip the rest.
Bytes AgainstPrevious(size_t size) {
  Bytes out(size);
  for (size_t i = 0; i < size; ++i) out[i] = FuzzPreviousByte(i);
  for (size_t i = 100; i + 40 < size; i += 300)
    for (size_t j = 0; j < 40; ++j) out[i + j] = uint8_t(kFuzzHistoryText[j]);
  return out;
}

Bytes UnpackSeed(size_t out_size, uint8_t history_selector, const Bytes& packed) {
  Bytes seed = {uint8_t(out_size), uint8_t(out_size >> 8), history_selector};
  seed.insert(seed.end(), packed.begin(), packed.end());
  return seed;
}

bool TakesHistory(int method) { return method != 1 && method != 4; }
bool HasSkips(int method) { return method == 6 || method == 7; }

// Packs `data` for the fuzz target's layout: against its history (for the
// methods that copy) and its previous output (for the methods that skip).
Bytes PackForTarget(int method, const Bytes& data, uint8_t history_selector) {
  using namespace packing_internal;
  if (!TakesHistory(method)) return Pack(method, data.data(), data.size());
  const size_t history = FuzzHistorySize(history_selector);
  Bytes joined(history);
  for (size_t i = 0; i < history; ++i) joined[i] = FuzzHistoryByte(i, history);
  joined.insert(joined.end(), data.begin(), data.end());
  const uint8_t* start = joined.data() + history;
  Bytes previous(data.size());
  for (size_t i = 0; i < previous.size(); ++i) previous[i] = FuzzPreviousByte(i);
  const int lz = method == 5 ? 3 : method == 7 ? 6 : method;
  Bytes packets = PackLz(lz, start, data.size(), HasSkips(method) ? previous.data() : nullptr, history);
  return method == 5 || method == 7 ? PackHuffman(packets.data(), packets.size()) : packets;
}

void UnpackSeeds(const std::filesystem::path& corpus) {
  const Bytes text = Of("[WARP] STUDY.VR STUDY.ZON\n[TEST] 1 0\nIFAND HAS_KEY\nSET LAMP_ON\n");
  for (int method = 1; method <= 7; ++method) {
    const auto folder = corpus / ("fuzz_unpack_" + std::to_string(method));
    Write(folder, "mixed", UnpackSeed(1000, 0, PackForTarget(method, Mixed(1000), 0)));
    Write(folder, "text", UnpackSeed(text.size(), 0, PackForTarget(method, text, 0)));
    Write(folder, "empty", UnpackSeed(0, 0, Pack(method, nullptr, 0)));
    if (TakesHistory(method)) {
      Write(folder, "history_full", UnpackSeed(600, 255, PackForTarget(method, Mixed(600), 255)));
      Write(folder, "history_short", UnpackSeed(text.size(), 1, PackForTarget(method, text, 1)));
    }
    if (HasSkips(method)) {
      Write(folder, "skips", UnpackSeed(1500, 0, PackForTarget(method, AgainstPrevious(1500), 0)));
    }
  }
  // Small packets of the format tables.
  const auto one = [&](int method, const std::string& name, size_t out_size, Bytes packed) {
    Write(corpus / ("fuzz_unpack_" + std::to_string(method)), name, UnpackSeed(out_size, 0, packed));
  };
  one(1, "run", 3, {0x02, 0x41});
  one(1, "literals", 2, {0x81, 0x41, 0x42});
  one(3, "copy_near", 2, {0x00, 0x41, 0xC0, 0x00});
  one(3, "copy_repeat", 5, {0x00, 0x41, 0x83, 0x00, 0x00});
  one(6, "skip_all", 64, {0x7F});
  Bytes single(200, 'x');  // one non-zero weight: every code as long as its depth
  one(4, "one_weight", single.size(), Pack(4, single.data(), single.size()));
}

Bytes PakOf(int method, std::string_view name, const Bytes& data) {
  PakBuild built = Pak_Build(method, name, data.data(), data.size());
  if (!built.ok()) std::fprintf(stderr, "pak %d %s: %s\n", method, name.data(), built.error.c_str());
  return built.bytes;
}

void EngineSeeds(const std::filesystem::path& corpus, const Bytes& sample) {
  const auto scripts = corpus / "fuzz_script_load";
  const Bytes script =
      Of("[BOOL] HAS_KEY\n[BOOL] LAMP_ON\n"
         "[WARP] HALL.VR HALL.ZON\n[TEST] 0 0\nSET HAS_KEY\nGOTOWARP STUDY.VR\n"
         "[TEST] -1 0\nPLUGIN\nbloc anim 1\nendplugin\nPLAYSOUND WIND.WAV 200 1\n"
         "[WARP] MENU.TGA MENU.ZON\n[TEST] 1 0\nIFAND HAS_KEY,LAMP_ON\nEND\n");
  Write(scripts, "script", script);
  Write(scripts, "plugin_open", Of("[WARP] A.VR\n[TEST] 0 0\nPLUGIN\nno end\n"));
  Write(scripts, "nameless_warp", Of("[WARP]\n[TEST] 0 0\nEND\n[WARP] B.TGA,B.ZON\n[TEST] 2 1\n"));
  Write(scripts, "packed_3", PakOf(3, "script.lst", script));
  if (!sample.empty()) {
    Write(scripts, "sample", sample);
    for (int method : {0, 1, 4, 5})
      Write(scripts, "sample_" + std::to_string(method), PakOf(method, "script.lst", sample));
  }

  const auto paks = corpus / "fuzz_pak_read";
  const Bytes mixed = Mixed(700);
  for (int method = 0; method <= 5; ++method) {
    Write(paks, "mixed_" + std::to_string(method), PakOf(method, "PICTURE.TGA", mixed));
    Write(paks, "script_" + std::to_string(method), PakOf(method, "script.lst", script));
  }
  Bytes cut = PakOf(2, "cut.bin", mixed);
  cut.resize(cut.size() / 2);
  Write(paks, "cut", cut);
  Write(paks, "empty", PakOf(1, "EMPTY", {}));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: fuzz_make_seeds CORPUS [SCRIPT]\n");
    return 2;
  }
  Bytes sample;
  if (argc > 2) {
    std::ifstream in(argv[2], std::ios::binary);
    sample.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  UnpackSeeds(argv[1]);
  EngineSeeds(argv[1], sample);
  return 0;
}
