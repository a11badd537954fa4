#include "tools/pak_writer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/files/pak_file.h"
#include "tools/pak_report.h"

namespace {

using Bytes = std::vector<uint8_t>;

Bytes Sample_Data(size_t size) {
  Bytes data(size);
  uint32_t state = 99;
  for (size_t i = 0; i < size; ++i) {
    state = state * 1103515245u + 12345u;
    // Runs, repeats and noise, so every method has something to find.
    data[i] = (i / 300) % 3 == 0 ? uint8_t('a' + i % 7) : (i / 300) % 3 == 1 ? 0x20 : uint8_t(state >> 24);
  }
  return data;
}

TEST(PakHeader, ExactBytes) {
  Bytes header = Pak_Header("SCRIPT.LST", 3, 0x01020304, 0xA0B0C0D0);
  Bytes expected = {'P', 'A', 'K', 'F', 0, 0, 0, 0, 'S', 'C', 'R',  'I',  'P',  'T',  '.',  'L',  'S',  'T',
                    0,   0,   0,   0,   0, 0, 3, 0, 0,   0,   0x04, 0x03, 0x02, 0x01, 0xD0, 0xC0, 0xB0, 0xA0};
  EXPECT_EQ(header, expected);
  // A name of 15 characters leaves the 16th byte zero.
  header = Pak_Header("ABCDEFGHIJKLMNO", 0, 0, 0);
  EXPECT_EQ(std::string(header.begin() + 8, header.begin() + 24), std::string("ABCDEFGHIJKLMNO\0", 16));
}

TEST(PakNameProblem, LengthAndNulBoundaries) {
  EXPECT_EQ(Pak_Name_Problem("A"), "");
  EXPECT_EQ(Pak_Name_Problem(std::string(15, 'N')), "");
  EXPECT_NE(Pak_Name_Problem(std::string(16, 'N')).find("at most 15"), std::string::npos);
  EXPECT_NE(Pak_Name_Problem(""), "");
  EXPECT_NE(Pak_Name_Problem(std::string("A\0B", 3)), "");
}

TEST(PakBuild, RefusesBadMethodsAndNames) {
  Bytes data = {1, 2, 3};
  for (int method : {-1, 6, 7}) {
    PakBuild build = Pak_Build(method, "X", data.data(), data.size());
    EXPECT_FALSE(build.ok()) << method;
    EXPECT_TRUE(build.bytes.empty());
  }
  EXPECT_FALSE(Pak_Build(0, std::string(16, 'N'), data.data(), data.size()).ok());
  EXPECT_FALSE(Pak_Build(0, "", data.data(), data.size()).ok());
}

// Every method, for empty, tiny, and long data (longer than the long-window
// LZ distance), reads back with the engine's reader to exactly the input.
TEST(PakBuild, EveryMethodReadsBack) {
  for (size_t size : {size_t(0), size_t(1), size_t(2), size_t(129), size_t(5000), size_t(70000)}) {
    Bytes data = Sample_Data(size);
    for (int method = 0; method <= kPakMethodMax; ++method) {
      PakBuild build = Pak_Build(method, "DATA.BIN", data.data(), data.size());
      ASSERT_TRUE(build.ok()) << "method " << method << " size " << size << ": " << build.error;
      ASSERT_EQ(build.bytes.size(), kPakHeaderSize + build.packed_size);
      PakResult read = Pak_Decode(build.bytes.data(), build.bytes.size());
      ASSERT_TRUE(read.ok()) << "method " << method << " size " << size << ": " << Pak_Failure_Text(read);
      EXPECT_EQ(read.header.stored_name, "DATA.BIN");
      EXPECT_EQ(read.header.method, method);
      EXPECT_EQ(read.header.packed_size, build.packed_size);
      EXPECT_EQ(read.header.unpacked_size, size);
      EXPECT_EQ(read.data, data) << "method " << method << " size " << size;
    }
  }
}

TEST(PakBuild, StoredMethodKeepsTheBytes) {
  Bytes data = {0, 0xFF, 'x'};
  PakBuild build = Pak_Build(0, "S", data.data(), data.size());
  ASSERT_TRUE(build.ok());
  Bytes expected = Pak_Header("S", 0, 3, 3);
  expected.insert(expected.end(), data.begin(), data.end());
  EXPECT_EQ(build.bytes, expected);
}

TEST(PakReport, InfoAndFailureTexts) {
  PakHeader header;
  header.stored_name = "A\\B\x01\xe9";
  header.method = 5;
  header.packed_size = 10;
  header.unpacked_size = 4294967295u;
  EXPECT_EQ(Pak_Info_Text(header),
            "name: A\\x5CB\\x01\\xE9\n"
            "method: 5 (Huffman-coded long-window LZ)\n"
            "packed size: 10\n"
            "unpacked size: 4294967295\n");

  Bytes bad_method = Pak_Header("X", 9, 0, 0);
  EXPECT_EQ(Pak_Failure_Text(Pak_Decode(bad_method.data(), bad_method.size())),
            std::string(Pak_Status_Text(PakStatus::kBadMethod)) + " 9 (0 to 5 exist)");

  // Stored data cut short: the header claims 8 bytes, the file holds 3.
  Bytes cut = Pak_Header("X", 0, 8, 8);
  cut.insert(cut.end(), {1, 2, 3});
  EXPECT_EQ(Pak_Failure_Text(Pak_Decode(cut.data(), cut.size())),
            std::string(Pak_Status_Text(PakStatus::kMalformed)) +
                ": 8 bytes claimed, 3 stored; the file ends after 3 of its 8 packed bytes");
}

}  // namespace
