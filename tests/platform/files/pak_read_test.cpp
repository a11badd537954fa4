#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "packing/packing_encode.h"
#include "platform/files/file_layer.h"
#include "platform/files/pak_file.h"
#include "platform/wendax.h"
#include "tests/platform/platform_test_support.h"

namespace {

// Reads `file_name` with Pak_Read; a failure must leave no data and the name
// as it was.
struct PakRead {
  int result;
  std::string name;
  std::string data;
};

PakRead Read_Pak(Wendax& wx, const std::string& file_name) {
  std::string name = file_name;
  std::vector<uint8_t> data = As_Bytes("stale data");
  int result = Pak_Read(wx, name, data);
  return {result, name, std::string(As_Text(data))};
}

void Expect_Refused(Wendax& wx, const std::string& file_name) {
  PakRead read = Read_Pak(wx, file_name);
  EXPECT_EQ(read.result, -1);
  EXPECT_EQ(read.name, file_name) << "the name is only replaced on success";
  EXPECT_EQ(read.data, "") << "no partly filled data";
  EXPECT_TRUE(Pak_Read_File(wx, file_name).data.empty()) << "the diagnosis holds no data either";
}

// Every method 0..5 reads back exactly, from disk (name found ignoring case)
// and from a memory file, for empty, tiny and long data.
TEST(PakRead, EveryMethodRoundTrips) {
  TempFolder tmp;
  Wendax wx;
  for (size_t size : {size_t(0), size_t(1), size_t(130), size_t(70000)}) {
    const std::string data = Sample_Data(size);
    for (int method = 0; method <= kPakMethodMax; ++method) {
      SCOPED_TRACE(testing::Message() << "method " << method << ", " << size << " bytes");
      const std::string file = Pak_File("SCRIPT.LST", method, data);
      tmp.Write("script.pak", file);
      PakRead read = Read_Pak(wx, tmp.Path("SCRIPT.PAK"));
      ASSERT_EQ(read.result, 0);
      EXPECT_EQ(read.name, "SCRIPT.LST");
      EXPECT_TRUE(read.data == data);

      Memory_File_Add(wx, "in_memory.pak", file.data(), file.size());
      read = Read_Pak(wx, "IN_MEMORY.PAK");
      Memory_File_Drop(wx, "in_memory.pak");
      ASSERT_EQ(read.result, 0);
      EXPECT_EQ(read.name, "SCRIPT.LST");
      EXPECT_TRUE(read.data == data);
    }
  }
  // Pak_Read releases its handle every time.
  for (int i = 0; i < kFileHandleCount; ++i) {
    ASSERT_EQ(File_Open(wx, tmp.Path("script.pak"), kFileModeRead), i);
  }
}

// The stored name is at most 15 characters: byte 23 always ends it.
TEST(PakRead, StoredName) {
  Wendax wx;
  std::string file = Pak_Bytes("PAKF", "ABCDEFGHIJKLMNOP", 0, 2, 2, "hi");  // 16 characters, no NUL
  Memory_File_Add(wx, "long.pak", file.data(), file.size());
  PakRead read = Read_Pak(wx, "long.pak");
  ASSERT_EQ(read.result, 0);
  EXPECT_EQ(read.name, "ABCDEFGHIJKLMNO");
  EXPECT_EQ(read.data, "hi");

  file = Pak_Bytes("PAKF", std::string_view("AB\0CD", 5), 0, 2, 2, "hi");
  Memory_File_Add(wx, "nul.pak", file.data(), file.size());
  read = Read_Pak(wx, "nul.pak");
  ASSERT_EQ(read.result, 0);
  EXPECT_EQ(read.name, "AB");

  file = Pak_Bytes("PAKF", "", 0, 0, 0, "");
  Memory_File_Add(wx, "noname.pak", file.data(), file.size());
  read = Read_Pak(wx, "noname.pak");
  ASSERT_EQ(read.result, 0);
  EXPECT_EQ(read.name, "");
  EXPECT_EQ(read.data, "");
}

// Not a packed file: missing, shorter than the header, or another magic.
TEST(PakRead, NotAPackedFile) {
  TempFolder tmp;
  Wendax wx;
  Expect_Refused(wx, tmp.Path("missing.pak"));
  EXPECT_EQ(Pak_Read_File(wx, tmp.Path("missing.pak")).status, PakStatus::kNoFile);

  const std::string good = Pak_File("X", 0, "data");
  struct Case {
    const char* label;
    std::string bytes;
  };
  const Case cases[] = {
      {"empty", ""},
      {"magic only", "PAKF"},
      {"35 bytes", good.substr(0, 35)},
      {"lower-case magic", "pakf" + good.substr(4)},
      {"other magic", "PAKG" + good.substr(4)},
      {"plain text", std::string(100, 'T')},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.label);
    tmp.Write("bad.pak", k.bytes);
    Expect_Refused(wx, tmp.Path("bad.pak"));
    EXPECT_EQ(Pak_Read_File(wx, tmp.Path("bad.pak")).status, PakStatus::kNotPak);
  }
}

TEST(PakRead, UnknownMethods) {
  Wendax wx;
  for (uint32_t method : {6u, 7u, 8u, 0xFFFFFFFFu, 0x80000000u}) {
    SCOPED_TRACE(method);
    std::string file = Pak_Bytes("PAKF", "M", method, 4, 4, "data");
    Memory_File_Drop(wx, "m.pak");
    Memory_File_Add(wx, "m.pak", file.data(), file.size());
    Expect_Refused(wx, "m.pak");
    EXPECT_EQ(Pak_Read_File(wx, "m.pak").status, PakStatus::kBadMethod);
  }
}

// An unpacked size the packed bytes cannot give is refused before anything
// is allocated; stored data cannot be longer than the bytes present.
TEST(PakRead, ImpossibleSizes) {
  Wendax wx;
  auto check = [&](const std::string& label, const std::string& file, PakStatus status) {
    SCOPED_TRACE(label);
    Memory_File_Drop(wx, "s.pak");
    Memory_File_Add(wx, "s.pak", file.data(), file.size());
    Expect_Refused(wx, "s.pak");
    EXPECT_EQ(Pak_Read_File(wx, "s.pak").status, status);
  };
  check("stored, one more than present", Pak_Bytes("PAKF", "S", 0, 4, 5, "data"), PakStatus::kMalformed);
  check("stored, packed size beyond the file", Pak_Bytes("PAKF", "S", 0, 100, 100, "data"),
        PakStatus::kMalformed);
  check("stored, 4 GB", Pak_Bytes("PAKF", "S", 0, 4, 0xFFFFFFFFu, "data"), PakStatus::kMalformed);
  // Two run-length bytes give at most 128 bytes.
  check("run-length, 129 from 2",
        Pak_Bytes("PAKF", "S", 1, 2, 129,
                  "\x7f"
                  "A"),
        PakStatus::kImpossibleSize);
  check("run-length, 4 GB",
        Pak_Bytes("PAKF", "S", 1, 2, 0xFFFFFFFFu,
                  "\x7f"
                  "A"),
        PakStatus::kImpossibleSize);
  check("long LZ, 2 GB",
        Pak_Bytes("PAKF", "S", 3, 4, 0x80000000u,
                  std::string("\x00"
                              "A"
                              "\x00"
                              "B",
                              4)),
        PakStatus::kImpossibleSize);
  check("Huffman, table only", Pak_Bytes("PAKF", "S", 4, 32, 1, std::string(32, '\0')),
        PakStatus::kImpossibleSize);
  check("Huffman LZ, no data", Pak_Bytes("PAKF", "S", 5, 0, 1, ""), PakStatus::kImpossibleSize);
}

// The largest size the header may claim for what is present still reads.
TEST(PakRead, SizeAtTheCeiling) {
  Wendax wx;
  std::string file = Pak_Bytes("PAKF", "R", 1, 2, 128,
                               "\x7f"
                               "A");
  Memory_File_Add(wx, "r.pak", file.data(), file.size());
  PakRead read = Read_Pak(wx, "r.pak");
  ASSERT_EQ(read.result, 0);
  EXPECT_EQ(read.data, std::string(128, 'A'));
  // Stored data may be shorter than the packed bytes: the rest is ignored.
  file = Pak_Bytes("PAKF", "S", 0, 6, 3, "abcdef");
  Memory_File_Add(wx, "short.pak", file.data(), file.size());
  read = Read_Pak(wx, "short.pak");
  ASSERT_EQ(read.result, 0);
  EXPECT_EQ(read.data, "abc");
}

// A file cut short, or packed data that end early or are corrupt, give -1 and
// no data for every method; a cut that leaves the needed bytes still reads.
TEST(PakRead, TruncatedAndCorruptData) {
  TempFolder tmp;
  Wendax wx;
  const std::string data = Sample_Data(5000);
  for (int method = 0; method <= kPakMethodMax; ++method) {
    SCOPED_TRACE(testing::Message() << "method " << method);
    const std::string file = Pak_File("CUT.BIN", method, data);
    ASSERT_GT(file.size(), kPakHeaderSize + 16);
    for (size_t keep :
         {kPakHeaderSize, kPakHeaderSize + 1, kPakHeaderSize + 16, file.size() / 2, file.size() - 1}) {
      SCOPED_TRACE(testing::Message() << "cut to " << keep);
      tmp.Write("cut.pak", file.substr(0, keep));
      Expect_Refused(wx, tmp.Path("cut.pak"));
      PakStatus status = Pak_Read_File(wx, tmp.Path("cut.pak")).status;
      EXPECT_TRUE(status == PakStatus::kMalformed || status == PakStatus::kImpossibleSize)
          << Pak_Status_Text(status);
    }
    // Extra bytes after the packed data are not read.
    tmp.Write("long.pak", file + "trailing junk");
    PakRead read = Read_Pak(wx, tmp.Path("long.pak"));
    EXPECT_EQ(read.result, 0);
    EXPECT_TRUE(read.data == data);
  }

  // A copy reaching before the start of the output is corrupt.
  std::string far_copy = Pak_Bytes("PAKF", "D", 2, 2, 4, std::string("\x83\x00", 2));
  Memory_File_Add(wx, "far.pak", far_copy.data(), far_copy.size());
  Expect_Refused(wx, "far.pak");
  EXPECT_EQ(Pak_Read_File(wx, "far.pak").status, PakStatus::kMalformed);
  std::string far_long = Pak_Bytes("PAKF", "D", 3, 5, 3,
                                   std::string("\x00"
                                               "A"
                                               "\x81\x00\x01",
                                               5));
  Memory_File_Add(wx, "far3.pak", far_long.data(), far_long.size());
  Expect_Refused(wx, "far3.pak");
  EXPECT_EQ(Pak_Read_File(wx, "far3.pak").status, PakStatus::kMalformed);
}

// The header's packed size is a limit: data beyond it are not used, even
// when the file holds them.
TEST(PakRead, PackedSizeLimitsTheInput) {
  Wendax wx;
  const std::string data(300, 'Z');
  std::vector<uint8_t> packed = Pack(1, reinterpret_cast<const uint8_t*>(data.data()), data.size());
  ASSERT_GE(packed.size(), 4u);
  std::string file =
      Pak_Bytes("PAKF", "L", 1, uint32_t(packed.size() - 2), uint32_t(data.size()), As_Text(packed));
  Memory_File_Add(wx, "limit.pak", file.data(), file.size());
  Expect_Refused(wx, "limit.pak");
  PakResult result = Pak_Read_File(wx, "limit.pak");
  EXPECT_EQ(result.packed_available, packed.size() - 2);
  // The same when the decoder is handed every byte of the file.
  result = Pak_Decode(reinterpret_cast<const uint8_t*>(file.data()), file.size());
  EXPECT_FALSE(result.ok());
  EXPECT_EQ(result.packed_available, packed.size() - 2);
  EXPECT_TRUE(result.data.empty());
}

// The full diagnosis for tools: header fields and how far the decoder got.
TEST(PakRead, DiagnosisFields) {
  Wendax wx;
  std::string file = Pak_File("INFO.TXT", 3, Sample_Data(1000));
  Memory_File_Add(wx, "info.pak", file.data(), file.size());
  PakResult result = Pak_Read_File(wx, "info.pak");
  ASSERT_TRUE(result.ok()) << Pak_Status_Text(result.status);
  EXPECT_EQ(result.header.stored_name, "INFO.TXT");
  EXPECT_EQ(result.header.method, 3);
  EXPECT_EQ(result.header.packed_size, file.size() - kPakHeaderSize);
  EXPECT_EQ(result.header.unpacked_size, 1000u);
  EXPECT_EQ(result.packed_available, file.size() - kPakHeaderSize);
  EXPECT_EQ(result.unpack.written, 1000u);
  EXPECT_EQ(result.data.size(), 1000u);
}

}  // namespace
