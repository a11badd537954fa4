// The panorama file report: exact lines for sound and damaged files.
#include "tools/panorama_report.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/temp_folder.h"

namespace {

using Bytes = std::vector<uint8_t>;

void Put(Bytes& b, uint32_t v) {
  for (int i = 0; i < 4; ++i) b.push_back(uint8_t(v >> (8 * i)));
}

void Chunk(Bytes& b, uint32_t tag, const Bytes& payload, int64_t stored_length = -1) {
  Put(b, tag);
  Put(b, uint32_t(stored_length >= 0 ? stored_length : int64_t(payload.size()) + 8));
  b.insert(b.end(), payload.begin(), payload.end());
}

Bytes Ints(std::initializer_list<uint32_t> values, const Bytes& tail = {}) {
  Bytes b;
  for (uint32_t v : values) Put(b, v);
  b.insert(b.end(), tail.begin(), tail.end());
  return b;
}

Bytes Animation_Header(const std::string& name, uint32_t frames) {
  Bytes b(name.begin(), name.end());
  b.resize(32, 0);
  Put(b, frames);
  return b;
}

std::string Report(const Bytes& bytes, bool expect_ok = true) {
  TempFolder folder;
  folder.Write("f.kvr", std::string(bytes.begin(), bytes.end()));
  std::string text, error;
  EXPECT_EQ(Panorama_Report(folder.Path("f.kvr"), text, error), expect_ok) << error;
  return expect_ok ? text : error;
}

TEST(PanoramaReport, NamesEveryChunkAndWhatIsDamaged) {
  Bytes anim = Animation_Header("door", 2);
  Chunk(anim, 0xA0B1C211, Ints({1, 7, 60, 3}, {1, 2, 3}));
  Chunk(anim, 0xA0B1C211, {});
  Chunk(anim, 0xA0B1C221, Ints({5}));
  Chunk(anim, 0x77, {});
  Chunk(anim, 0xA0B1C221, Ints({0}));
  Chunk(anim, 0xA0B1C211, Ints({1, 0}));  // too short for B, dct_param and N
  Bytes file;
  Put(file, 0x12FA84AB);
  Put(file, 0x999);  // not used by readers
  Chunk(file, 0xA0B1C400, Ints({50, 4}, {9, 9, 9, 9}));
  Chunk(file, 0x55, {1, 2});
  Chunk(file, 0xA0B1C200, Ints({90, 100}, {1, 2}));
  Chunk(file, 0xA0B1C201, anim);
  Chunk(file, 0x66, {}, 4);
  EXPECT_EQ(Report(file),
            "kind: still picture\n"
            "KVR_CHUNK_FILE at 0, 2449 bytes\n"
            "  KVR_CHUNK_STATIC_PIC at 8, 12 bytes\n"
            "    dct_param: 50\n"
            "    data: 4 bytes\n"
            "  0x00000055 at 28, 2 bytes\n"
            "  KVR_CHUNK_STATIC_VR at 38, 10 bytes\n"
            "    dct_param: 90\n"
            "    data: 100 bytes (more than the chunk holds: the record is refused)\n"
            "  KVR_CHUNK_ANIMATION at 56, 119 bytes\n"
            "    name: \"door\"\n"
            "    frame count: 2\n"
            "    frames: 3 counted, 1 empty, 1 blocks, 1 damaged, 1 other chunks\n"
            "    loop: 5 (outside 0 .. 1: playback ends after the last frame)\n"
            "    loop chunks elsewhere: 1 (never used)\n"
            "  0x00000066 at 183, 0 bytes (the stored length 4 is below 8: the walk ends here)\n"
            "  end at 191: end of file\n");
}

TEST(PanoramaReport, CutChunksZeroTagsAndCutHeaders) {
  Bytes anim = Animation_Header(std::string(32, 'x'), 1);
  Chunk(anim, 0xA0B1C211, {});
  Bytes cut;
  Put(cut, 0x12FA84AB);
  Put(cut, 8);
  Chunk(cut, 0xA0B1C201, anim, 108);
  EXPECT_EQ(Report(cut),
            "kind: none\n"
            "KVR_CHUNK_FILE at 0, 0 bytes\n"
            "  KVR_CHUNK_ANIMATION at 8, 100 bytes (cut: the file holds 44 of them)\n"
            "    name: \"" +
                std::string(32, 'x') +
                "\"\n"
                "    frame count: 1\n"
                "    frames: 1 counted, 1 empty, 0 blocks\n"
                "    loop: none\n"
                "  end at 116: end of file\n");

  Bytes ended;
  Put(ended, 0x12FA84AB);
  Put(ended, 8);
  Chunk(ended, 0xA0B1C200, Ints({75, 0}));
  Chunk(ended, 0, {});
  Chunk(ended, 0xA0B1C400, Ints({75, 0}));
  EXPECT_EQ(Report(ended),
            "kind: panorama\n"
            "KVR_CHUNK_FILE at 0, 0 bytes\n"
            "  KVR_CHUNK_STATIC_VR at 8, 8 bytes\n"
            "    dct_param: 75\n"
            "    data: 0 bytes\n"
            "  end at 24: 0 tag\n");

  Bytes header_cut;
  Put(header_cut, 0x12FA84AB);
  Put(header_cut, 13);
  header_cut.insert(header_cut.end(), {0xAB, 0x84, 0xFA, 0x12, 0x20});
  EXPECT_EQ(Report(header_cut),
            "kind: none\n"
            "KVR_CHUNK_FILE at 0, 5 bytes\n"
            "  end at 8: end of file, inside a header of 5 bytes\n");
}

TEST(PanoramaReport, ListsTenThousandChunksAndCountsTheRest) {
  Bytes file;
  Put(file, 0x12FA84AB);
  Put(file, 8);
  for (int i = 0; i < 10002; ++i) Chunk(file, 0x44, {});
  const std::string text = Report(file);
  size_t lines = 0;
  for (char c : text) lines += c == '\n';
  EXPECT_EQ(lines, 2u + 10000u + 2u);
  const std::string tail =
      "  0x00000044 at 80000, 0 bytes\n  2 more chunks, not listed\n  end at 80024: end of file\n";
  ASSERT_GE(text.size(), tail.size());
  EXPECT_EQ(text.substr(text.size() - tail.size()), tail);
}

TEST(PanoramaReport, FilesThatAreNoPanoramaFilesAreRefused) {
  for (const Bytes& bytes : {Bytes{'R', 'I', 'F', 'F', 8, 0, 0, 0}, Bytes{0xAB, 0x84, 0xFA}, Bytes{}}) {
    const std::string error = Report(bytes, false);
    EXPECT_NE(error.find("is not a panorama file (it does not begin with a KVR_CHUNK_FILE chunk)"),
              std::string::npos)
        << error;
  }
  TempFolder folder;
  std::string text, error;
  EXPECT_FALSE(Panorama_Report(folder.Path("none.kvr"), text, error));
  EXPECT_EQ(error, "cannot open " + folder.Path("none.kvr") + ": No such file or directory");
  EXPECT_FALSE(Panorama_Report(folder.Path(""), text, error));
  EXPECT_NE(error.find("is not a regular file"), std::string::npos) << error;
}

TEST(PanoramaReport, TagNames) {
  EXPECT_EQ(Panorama_Tag_Name(0x12FA84AB), "KVR_CHUNK_FILE");
  EXPECT_EQ(Panorama_Tag_Name(int(0xA0B1C211u)), "KVR_CHUNK_FRAME");
  EXPECT_EQ(Panorama_Tag_Name(int(0xA0B1C221u)), "KVR_CHUNK_LOOP");
  EXPECT_EQ(Panorama_Tag_Name(int(0xA0B1C202u)), "0xA0B1C202");
  EXPECT_EQ(Panorama_Tag_Name(1), "0x00000001");
}

}  // namespace
