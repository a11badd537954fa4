// kvrtool pak and unpak, run as programs.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "packing/byte_order.h"
#include "packing/packing.h"
#include "platform/files/pak_file.h"
#include "tests/support/temp_folder.h"
#include "tests/tools/tool_run.h"
#include "tools/pak_writer.h"

namespace {

const char* const kMethodNames[] = {"stored",         "run-length", "short-window LZ",
                                    "long-window LZ", "Huffman",    "Huffman-coded long-window LZ"};

std::string Info(const std::string& name, int method, size_t packed, size_t unpacked) {
  return "name: " + name + "\nmethod: " + std::to_string(method) + " (" + kMethodNames[method] +
         ")\npacked size: " + std::to_string(packed) + "\nunpacked size: " + std::to_string(unpacked) + "\n";
}

std::string Sample_Text(size_t size) {
  std::string data;
  uint32_t state = 7;
  while (data.size() < size) {
    state = state * 1664525u + 1013904223u;
    if (state >> 31)
      data += "[WARP] HALL.VR HALL.ZON\r\n";
    else
      data += char(state >> 16);
  }
  data.resize(size);
  return data;
}

std::string Pak_Bytes(int method, const std::string& name, const std::string& data) {
  PakBuild build = Pak_Build(method, name, reinterpret_cast<const uint8_t*>(data.data()), data.size());
  EXPECT_TRUE(build.ok()) << build.error;
  return std::string(build.bytes.begin(), build.bytes.end());
}

uint32_t Read_U32(const std::string& bytes, size_t at) {
  return Le_U32(reinterpret_cast<const uint8_t*>(bytes.data()) + at);
}

TEST(KvrtoolPak, RoundTripEveryMethodExactBytes) {
  for (size_t size : {size_t(0), size_t(1), size_t(3000), size_t(70000)}) {
    TempFolder folder;
    std::string data = Sample_Text(size);
    folder.Write("in.bin", data);
    for (int method = 0; method <= 5; ++method) {
      SCOPED_TRACE("method " + std::to_string(method) + ", " + std::to_string(size) + " bytes");
      ToolRun packed =
          Run_Kvrtool({"pak", "--method", std::to_string(method), "in.bin", "out.pak"}, folder.Path());
      ASSERT_EQ(packed.status, 0) << packed.err;
      EXPECT_EQ(packed.err, "");
      std::string file = folder.Read("out.pak").value_or("");
      ASSERT_GE(file.size(), kPakHeaderSize);
      size_t packed_size = file.size() - kPakHeaderSize;
      EXPECT_EQ(packed.out, Info("in.bin", method, packed_size, size));
      EXPECT_EQ(file.substr(0, 24), std::string("PAKF\0\0\0\0in.bin\0\0\0\0\0\0\0\0\0\0", 24));
      EXPECT_EQ(Read_U32(file, 24), uint32_t(method));
      EXPECT_EQ(Read_U32(file, 28), packed_size);
      EXPECT_EQ(Read_U32(file, 32), size);
      if (method == 0) {
        EXPECT_EQ(file.substr(kPakHeaderSize), data);
      }

      ToolRun unpacked = Run_Kvrtool({"unpak", "out.pak", "back.bin"}, folder.Path());
      ASSERT_EQ(unpacked.status, 0) << unpacked.err;
      EXPECT_EQ(unpacked.err, "");
      EXPECT_EQ(unpacked.out, packed.out);
      EXPECT_EQ(folder.Read("back.bin"), data);
      EXPECT_EQ(folder.Entries(), (std::vector<std::string>{"back.bin", "in.bin", "out.pak"}));
    }
  }
}

TEST(KvrtoolPak, StoredNames) {
  TempFolder folder;
  folder.Make_Folder("sub");
  folder.Write("sub/seventeen_chars.x", "abc");  // 17 characters
  folder.Write("sub/script.lst", "abc");

  ToolRun run = Run_Kvrtool({"pak", "--method", "0", "sub/script.lst", "a.pak"}, folder.Path());
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, Info("script.lst", 0, 3, 3));

  run =
      Run_Kvrtool({"pak", "--method=1", "--name=ABCDEFGHIJKLMNO", "sub/script.lst", "b.pak"}, folder.Path());
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(folder.Read("b.pak").value_or("").substr(8, 16), std::string("ABCDEFGHIJKLMNO\0", 16));

  run = Run_Kvrtool({"pak", "--method", "1", "--name", "ABCDEFGHIJKLMNOP", "sub/script.lst", "c.pak"},
                    folder.Path());
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("has 16 characters, at most 15 fit"), std::string::npos) << run.err;

  run = Run_Kvrtool({"pak", "--method", "1", "sub/seventeen_chars.x", "d.pak"}, folder.Path());
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("\"seventeen_chars.x\" has 17 characters, at most 15 fit; choose one with --name"),
            std::string::npos)
      << run.err;

  run = Run_Kvrtool({"pak", "--method", "1", "--name", "", "sub/script.lst", "e.pak"}, folder.Path());
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("the stored name is empty"), std::string::npos) << run.err;

  EXPECT_EQ(folder.Entries(), (std::vector<std::string>{"a.pak", "b.pak", "sub"}));
}

TEST(KvrtoolPak, InputProblems) {
  TempFolder folder;
  ToolRun run = Run_Kvrtool({"pak", "--method", "2", "none.bin", "out.pak"}, folder.Path());
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, "kvrtool pak: cannot open none.bin: No such file or directory\n");

  // A sparse file of 2^31 bytes: one more than the engine can read. It is
  // refused before anything is read.
  int fd = ::open(folder.Path("huge.bin").c_str(), O_WRONLY | O_CREAT, 0644);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(::ftruncate(fd, off_t(1) << 31), 0);
  ::close(fd);
  run = Run_Kvrtool({"pak", "--method", "0", "huge.bin", "out.pak"}, folder.Path());
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, "kvrtool pak: huge.bin has 2147483648 bytes, more than the 2147483647 allowed\n");

  folder.Write("in.bin", "data");
  folder.Make_Folder("dir");
  run = Run_Kvrtool({"pak", "--method", "0", "in.bin", "dir"}, folder.Path());
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, "kvrtool pak: cannot write dir: it is a folder\n");
  EXPECT_EQ(folder.Entries(), (std::vector<std::string>{"dir", "huge.bin", "in.bin"}));
  EXPECT_TRUE(folder.Entries("dir").empty());
}

TEST(KvrtoolPak, ReplacedOutputKeepsItsMode) {
  TempFolder folder;
  folder.Write("in.bin", "new");
  folder.Write("out.pak", "old");
  ::chmod(folder.Path("out.pak").c_str(), 0600);
  ToolRun run = Run_Kvrtool({"pak", "--method", "0", "in.bin", "out.pak"}, folder.Path());
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(folder.Read("out.pak"), Pak_Bytes(0, "in.bin", "new"));
  struct stat st;
  ASSERT_EQ(::stat(folder.Path("out.pak").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, mode_t(0600));
}

// Every bad packed file: exit status 1, the reason on stderr, nothing on
// stdout, and OUT neither created nor changed.
TEST(KvrtoolUnpak, BadFilesWriteNothing) {
  std::string good = Pak_Bytes(3, "DATA.BIN", Sample_Text(3000));
  uint32_t good_packed = Read_U32(good, 28);
  std::string truncated = good.substr(0, kPakHeaderSize + good_packed / 2);

  std::string bad_method = Pak_Bytes(0, "X", "abc");
  bad_method[24] = 9;
  std::string impossible = Pak_Bytes(1, "X", std::string(20, 'z'));
  impossible.replace(32, 4, "\x00\xCA\x9A\x3B", 4);  // 1000000000 bytes from a few packed ones
  std::string stored_short = Pak_Bytes(0, "X", "abcdef");
  stored_short.replace(32, 4, "\x07\x00\x00\x00", 4);  // 7 bytes claimed, 6 stored
  // Short-window LZ whose first packet copies from before the start.
  std::vector<uint8_t> header = Pak_Header("X", 2, 2, 4);
  std::string bad_distance = std::string(header.begin(), header.end()) + std::string("\x83\x00", 2);
  // A Huffman stream cut to 100 bytes, with a header that says so.
  std::string cut_huffman = Pak_Bytes(4, "X", Sample_Text(500));
  ASSERT_GT(cut_huffman.size(), kPakHeaderSize + 100);
  cut_huffman = cut_huffman.substr(0, kPakHeaderSize + 100);
  cut_huffman.replace(28, 4, "\x64\x00\x00\x00", 4);

  struct Case {
    const char* label;
    std::string bytes;
    std::vector<std::string> fragments;
  };
  const std::vector<Case> cases = {
      {"not PAKF", "PAKX" + good.substr(4), {"kvrtool unpak: in.pak: not a PAKF file\n"}},
      {"shorter than a header", std::string("PAKF\0\0\0\0", 8), {"kvrtool unpak: in.pak: not a PAKF file\n"}},
      {"empty", "", {"kvrtool unpak: in.pak: not a PAKF file\n"}},
      {"bad method", bad_method, {"kvrtool unpak: in.pak: unknown packing method 9 (0 to 5 exist)\n"}},
      {"impossible size",
       impossible,
       {std::string("kvrtool unpak: in.pak: ") + Pak_Status_Text(PakStatus::kImpossibleSize) +
        ": 1000000000 bytes unpacked claimed from "}},
      {"stored data too short",
       stored_short,
       {std::string(Pak_Status_Text(PakStatus::kMalformed)) + ": 7 bytes claimed, 6 stored\n"}},
      {"truncated",
       truncated,
       {std::string(Pak_Status_Text(PakStatus::kMalformed)) + ": " +
            Unpack_Status_Text(UnpackStatus::kInputEnded),
        " of " + std::to_string(good_packed / 2) + " packed bytes, ", " of 3000 bytes unpacked",
        "; the file ends after " + std::to_string(good_packed / 2) + " of its " +
            std::to_string(good_packed) + " packed bytes\n"}},
      {"copy before the start",
       bad_distance,
       {std::string(Pak_Status_Text(PakStatus::kMalformed)) + ": " +
            Unpack_Status_Text(UnpackStatus::kBadDistance),
        " of 4 bytes unpacked\n"}},
      {"Huffman stream cut",
       cut_huffman,
       {std::string(Pak_Status_Text(PakStatus::kMalformed)) + ": " +
            Unpack_Status_Text(UnpackStatus::kInputEnded),
        " of 100 packed bytes, ", " of 500 bytes unpacked\n"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    for (bool existing : {false, true}) {
      TempFolder folder;
      folder.Write("in.pak", c.bytes);
      if (existing) folder.Write("out.bin", "keep me");
      ToolRun run = Run_Kvrtool({"unpak", "in.pak", "out.bin"}, folder.Path());
      EXPECT_EQ(run.status, 1);
      EXPECT_EQ(run.out, "");
      for (const std::string& fragment : c.fragments)
        EXPECT_NE(run.err.find(fragment), std::string::npos) << run.err << "\nmissing: " << fragment;
      EXPECT_EQ(run.err.rfind("kvrtool unpak: in.pak: ", 0), 0u) << run.err;
      if (existing) {
        EXPECT_EQ(folder.Read("out.bin"), "keep me");
        EXPECT_EQ(folder.Entries(), (std::vector<std::string>{"in.pak", "out.bin"}));
      } else {
        EXPECT_EQ(folder.Entries(), std::vector<std::string>{"in.pak"});
      }
    }
  }
}

TEST(KvrtoolUnpak, MissingInput) {
  TempFolder folder;
  ToolRun run = Run_Kvrtool({"unpak", "none.pak", "out.bin"}, folder.Path());
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, "kvrtool unpak: cannot open none.pak: No such file or directory\n");
  EXPECT_TRUE(folder.Entries().empty());
}

TEST(KvrtoolUnpak, ShortFileThatStillUnpacksIsAcceptedWithAWarning) {
  TempFolder folder;
  std::string file = Pak_Bytes(0, "X", "hello");
  file.replace(28, 4, "\x0F\x00\x00\x00", 4);  // claims 15 packed bytes, holds 5
  folder.Write("in.pak", file);
  ToolRun run = Run_Kvrtool({"unpak", "in.pak", "out.bin"}, folder.Path());
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.err,
            "kvrtool unpak: warning: in.pak: the file ends after 5 of its 15 packed bytes, but they "
            "unpack completely\n");
  EXPECT_EQ(run.out, Info("X", 0, 15, 5));
  EXPECT_EQ(folder.Read("out.bin"), "hello");

  // Bytes after the packed data are not part of it.
  folder.Write("in.pak", Pak_Bytes(2, "Y", "abcabcabc") + "trailing");
  run = Run_Kvrtool({"unpak", "in.pak", "out.bin"}, folder.Path());
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(folder.Read("out.bin"), "abcabcabc");
}

}  // namespace
