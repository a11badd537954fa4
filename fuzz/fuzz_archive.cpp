// A data archive from arbitrary bytes: the input's first two bytes give the
// index's length, the index follows, and the rest is cut in two halves as
// data files 1 and 2. Every entry is drawn whole and in part at positions
// on and off the target's edges, then the cache is flushed: no crash, no
// read past a file, no write outside the target.
#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <utility>
#include <string>
#include <vector>

#include "engine/archive/data_archive.h"

namespace {

struct Folder {
  std::string path;
  Folder() {
    char name[] = "/tmp/kvr_fuzz_archive_XXXXXX";
    if (!mkdtemp(name)) std::abort();
    path = std::string(name) + "/";
  }
  ~Folder() {
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
  }
  void Write(const char* name, const uint8_t* data, size_t size) const {
    std::FILE* file = std::fopen((path + name).c_str(), "wb");
    if (!file || (size && std::fwrite(data, 1, size, file) != size)) std::abort();
    std::fclose(file);
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const Folder folder;
  if (size < 2) return 0;
  const size_t index = std::min(size - 2, size_t(data[0] | data[1] << 8));
  const uint8_t* rest = data + 2 + index;
  const size_t rest_size = size - 2 - index, half = rest_size / 2;
  folder.Write(kArchiveIndexName, data + 2, index);
  folder.Write("BData1.arn", rest, half);
  folder.Write("BData2.arn", rest + half, rest_size - half);

  static std::vector<uint16_t> pixels(640 * 480);
  const ArchiveTarget target{pixels.data(), 640, 480};
  DataArchive archive(folder.path);
  archive.Archive_Load_Index();
  const std::vector<ArchiveEntry> entries = archive.Entries();
  for (const ArchiveEntry& entry : entries) {
    for (const auto& [x, y] : {std::pair{0, 0}, {600, 470}, {-30, -20}, {639, 479}, {-100000, 5}})
      archive.Archive_Draw(entry.name, x, y, target);
    const ArchiveRect dest{-5, 470, 700, 500}, source{1, 1, 1000, 3};
    archive.Archive_Draw_Part(entry.name, dest, &source, target);
    archive.Archive_Draw_Part(entry.name, {620, -3, 650, 10}, nullptr, target);
  }
  archive.Archive_Flush();
  return 0;
}
