#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/files/file_layer.h"
#include "platform/wendax.h"
#include "tests/platform/platform_test_support.h"

namespace {

const std::string kThirty = "0123456789abcdefghijABCDEFGHIJ";  // 30 bytes

TEST(MemoryFile, FoundIgnoringCaseAndSeparator) {
  Wendax wx;
  Memory_File_Add(wx, "cursor1.pcx", "pcx", 3);
  Memory_File_Add(wx, "data\\w01.tst", "tst", 3);
  int handle = File_Open(wx, "CURSOR1.PCX", kFileModeRead);
  ASSERT_GE(handle, 0);
  EXPECT_EQ(File_Last_Result(wx), 0);
  EXPECT_EQ(Read_All(wx, handle), "pcx");
  handle = File_Open(wx, "DATA/W01.TST", kFileModeRead);
  ASSERT_GE(handle, 0);
  EXPECT_EQ(Read_All(wx, handle), "tst");
  EXPECT_EQ(File_Size(wx, "Data/W01.tst"), 3);
  EXPECT_EQ(File_Size(wx, "cursor1.PCX"), 3);
  EXPECT_EQ(File_Open(wx, "cursor1.pc", kFileModeRead), -1);
  EXPECT_EQ(File_Open(wx, "cursor1.pcx ", kFileModeRead), -1);
  EXPECT_EQ(File_Open(wx, "data:w01.tst", kFileModeRead), -1);
}

// Reading looks at the memory files first; writing, sizes after a drop and
// removal go to the disk file of the same name.
TEST(MemoryFile, FoundBeforeTheDiskFile) {
  TempFolder tmp;
  tmp.Write("both.txt", "disk bytes");
  Wendax wx;
  Memory_File_Add(wx, tmp.Path("BOTH.TXT"), "memory", 6);
  EXPECT_EQ(File_Size(wx, tmp.Path("both.txt")), 6);
  int handle = File_Open(wx, tmp.Path("both.txt"), kFileModeRead);
  ASSERT_GE(handle, 0);
  EXPECT_EQ(Read_All(wx, handle), "memory");
  File_Close(wx, handle);

  // Write mode opens the disk file; memory files are never written.
  handle = File_Open(wx, tmp.Path("both.txt"), kFileModeWrite);
  ASSERT_GE(handle, 0);
  EXPECT_EQ(File_Write(wx, handle, "DISK", 4), 4);
  EXPECT_EQ(File_Close(wx, handle), 0);
  EXPECT_EQ(tmp.Read("both.txt"), "DISK bytes");
  handle = File_Open(wx, tmp.Path("both.txt"), kFileModeRead);
  EXPECT_EQ(Read_All(wx, handle), "memory");
  File_Close(wx, handle);

  Memory_File_Drop(wx, tmp.Path("both.txt"));
  EXPECT_EQ(File_Size(wx, tmp.Path("both.txt")), 10);
  handle = File_Open(wx, tmp.Path("both.txt"), kFileModeRead);
  EXPECT_EQ(Read_All(wx, handle), "DISK bytes");
  File_Close(wx, handle);
}

// A name may be registered twice: lookups find the first, and a drop frees
// every entry of that name (ignoring case) and no other.
TEST(MemoryFile, DuplicatesAndDrop) {
  Wendax wx;
  Memory_File_Add(wx, "save", "first", 5);
  Memory_File_Add(wx, "other", "keep", 4);
  Memory_File_Add(wx, "SAVE", "second!", 7);
  EXPECT_EQ(File_Size(wx, "Save"), 5);
  int handle = File_Open(wx, "save", kFileModeRead);
  EXPECT_EQ(Read_All(wx, handle), "first");
  File_Close(wx, handle);

  Memory_File_Drop(wx, "sAvE");
  EXPECT_EQ(File_Last_Result(wx), 0);
  EXPECT_EQ(File_Open(wx, "save", kFileModeRead), -1);
  EXPECT_EQ(File_Size(wx, "save"), 0);
  EXPECT_EQ(File_Size(wx, "other"), 4);
  Memory_File_Drop(wx, "never registered");
  EXPECT_EQ(File_Size(wx, "other"), 4);

  // After a drop, a new registration of the name is the one found.
  Memory_File_Add(wx, "save", "third", 5);
  handle = File_Open(wx, "save", kFileModeRead);
  EXPECT_EQ(Read_All(wx, handle), "third");
}

// The memory file holds a copy: changing the caller's buffer later changes
// nothing. Bytes are kept exactly, NULs included; empty files exist.
TEST(MemoryFile, HoldsACopyOfTheBytes) {
  Wendax wx;
  std::string source("a\0b\xff", 4);
  Memory_File_Add(wx, "copy", source.data(), source.size());
  source[0] = 'Z';
  std::vector<uint8_t> moved = As_Bytes("moved in");
  Memory_File_Add(wx, "moved", std::move(moved));
  Memory_File_Add(wx, "empty", "", 0);
  Memory_File_Add(wx, "null", nullptr, 10);

  int handle = File_Open(wx, "copy", kFileModeRead);
  EXPECT_EQ(Read_All(wx, handle), std::string("a\0b\xff", 4));
  handle = File_Open(wx, "moved", kFileModeRead);
  EXPECT_EQ(Read_All(wx, handle), "moved in");
  handle = File_Open(wx, "empty", kFileModeRead);
  EXPECT_GE(handle, 0) << "an empty memory file opens";
  EXPECT_EQ(Read_All(wx, handle), "");
  EXPECT_EQ(File_Size(wx, "empty"), 0);
  EXPECT_EQ(File_Last_Result(wx), 0);
  EXPECT_EQ(File_Size(wx, "null"), 0);
}

// Reading 100 bytes at 20 of 30 gives 10; then 0 bytes. A memory file is not
// marked by that, so a seek back reads again.
TEST(MemoryFile, ReadsClampAtTheEnd) {
  Wendax wx;
  Memory_File_Add(wx, "thirty", kThirty.data(), kThirty.size());
  int handle = File_Open(wx, "thirty", kFileModeRead);
  ASSERT_GE(handle, 0);
  EXPECT_EQ(File_Tell(wx, handle), 0) << "a memory file opens at position 0";
  File_Seek(wx, handle, 20, kSeekStart);
  std::vector<char> buffer(100, '#');
  EXPECT_EQ(File_Read(wx, handle, buffer.data(), 100), 10);
  EXPECT_EQ(std::string(buffer.data(), 10), "ABCDEFGHIJ");
  EXPECT_EQ(buffer[10], '#');
  EXPECT_EQ(File_Tell(wx, handle), 30);
  EXPECT_EQ(File_Read(wx, handle, buffer.data(), 100), 0);
  EXPECT_EQ(File_Tell(wx, handle), 30);

  File_Seek(wx, handle, 0, kSeekStart);
  EXPECT_EQ(File_Last_Result(wx), 0);
  EXPECT_EQ(File_Read(wx, handle, buffer.data(), 4), 4);
  EXPECT_EQ(std::string(buffer.data(), 4), "0123");
  EXPECT_EQ(File_Read(wx, handle, buffer.data(), 0), 0);
  EXPECT_EQ(File_Tell(wx, handle), 4);
  EXPECT_EQ(File_Read(wx, handle, buffer.data(), -5), 0);
  EXPECT_EQ(File_Last_Result(wx), -1);
  EXPECT_EQ(File_Tell(wx, handle), 4);
  EXPECT_EQ(File_Close(wx, handle), 0);
}

// Memory positions are clamped to 0..size+1; at size+1 reads give nothing.
TEST(MemoryFile, SeekClampsAtBothEnds) {
  Wendax wx;
  Memory_File_Add(wx, "thirty", kThirty.data(), kThirty.size());
  int handle = File_Open(wx, "thirty", kFileModeRead);
  ASSERT_GE(handle, 0);
  char c = 0;
  struct Case {
    int32_t offset;
    int origin;
    int32_t start;  // position before the seek
    int32_t expected;
  };
  const Case cases[] = {
      {-5, kSeekStart, 10, 0},        {0, kSeekStart, 10, 0},        {29, kSeekStart, 0, 29},
      {30, kSeekStart, 0, 30},        {31, kSeekStart, 0, 31},       {1000, kSeekStart, 0, 31},
      {INT32_MAX, kSeekStart, 0, 31}, {INT32_MIN, kSeekStart, 5, 0}, {3, kSeekCurrent, 2, 5},
      {-100, kSeekCurrent, 2, 0},     {100, kSeekCurrent, 2, 31},    {INT32_MAX, kSeekCurrent, 31, 31},
      {0, kSeekEnd, 3, 30},           {-1, kSeekEnd, 3, 29},         {1, kSeekEnd, 3, 31},
      {-30, kSeekEnd, 3, 0},          {-31, kSeekEnd, 3, 0},         {INT32_MIN, kSeekEnd, 3, 0},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(testing::Message() << k.offset << " from " << k.origin << " at " << k.start);
    File_Seek(wx, handle, k.start, kSeekStart);
    ASSERT_EQ(File_Tell(wx, handle), k.start);
    File_Seek(wx, handle, k.offset, k.origin);
    EXPECT_EQ(File_Last_Result(wx), 0) << "memory seeks do not fail";
    EXPECT_EQ(File_Tell(wx, handle), k.expected);
    int count = File_Read(wx, handle, &c, 1);
    if (k.expected < 30) {
      EXPECT_EQ(count, 1);
      EXPECT_EQ(c, kThirty[size_t(k.expected)]);
    } else {
      EXPECT_EQ(count, 0);
    }
  }
  // Reading at size + 1 does not move the position.
  File_Seek(wx, handle, 40, kSeekStart);
  EXPECT_EQ(File_Read(wx, handle, &c, 1), 0);
  EXPECT_EQ(File_Tell(wx, handle), 31);
}

TEST(MemoryFile, WritesAreRefused) {
  Wendax wx;
  Memory_File_Add(wx, "ro", "read only", 9);
  int handle = File_Open(wx, "ro", kFileModeRead);
  ASSERT_GE(handle, 0);
  EXPECT_EQ(File_Write(wx, handle, "XX", 2), 0);
  EXPECT_EQ(File_Last_Result(wx), -1);
  EXPECT_EQ(Read_All(wx, handle), "read only");
  EXPECT_EQ(File_Close(wx, handle), 0);
}

// A handle open on a dropped (or replaced) memory file keeps reading its bytes
// until it is closed; new opens no longer find it.
TEST(MemoryFile, DropWhileOpenKeepsTheHandleReadable) {
  Wendax wx;
  Memory_File_Add(wx, "music.wav", kThirty.data(), kThirty.size());
  int handle = File_Open(wx, "music.wav", kFileModeRead);
  ASSERT_GE(handle, 0);
  char buffer[10];
  ASSERT_EQ(File_Read(wx, handle, buffer, 10), 10);

  Memory_File_Drop(wx, "MUSIC.WAV");
  EXPECT_EQ(File_Open(wx, "music.wav", kFileModeRead), -1);
  EXPECT_EQ(File_Size(wx, "music.wav"), 0);
  Memory_File_Add(wx, "music.wav", "new bytes", 9);

  EXPECT_EQ(File_Read(wx, handle, buffer, 10), 10);
  EXPECT_EQ(std::string(buffer, 10), "abcdefghij");
  File_Seek(wx, handle, -1, kSeekEnd);
  EXPECT_EQ(File_Tell(wx, handle), 29) << "the size is still the dropped file's";
  EXPECT_EQ(File_Read(wx, handle, buffer, 10), 1);
  EXPECT_EQ(buffer[0], 'J');
  EXPECT_EQ(File_Close(wx, handle), 0);

  handle = File_Open(wx, "music.wav", kFileModeRead);
  EXPECT_EQ(Read_All(wx, handle), "new bytes");
}

// Load reads the whole file (found ignoring case) into a memory file under
// the name given; later changes on disk do not reach it.
TEST(MemoryFile, LoadCopiesTheWholeFile) {
  TempFolder tmp;
  std::string big = Sample_Data(100000);
  tmp.Write("Script.lst", big);
  Wendax wx;
  Memory_File_Load(wx, tmp.Path("SCRIPT.LST"));
  EXPECT_EQ(File_Last_Result(wx), 0);
  tmp.Write("Script.lst", "changed");
  EXPECT_EQ(File_Size(wx, tmp.Path("script.lst")), int32_t(big.size()));
  int handle = File_Open(wx, tmp.Path("script.LST"), kFileModeRead);
  ASSERT_GE(handle, 0);
  EXPECT_EQ(Read_All(wx, handle), big);
  File_Close(wx, handle);

  Memory_File_Drop(wx, tmp.Path("SCRIPT.LST"));
  handle = File_Open(wx, tmp.Path("script.lst"), kFileModeRead);
  EXPECT_EQ(Read_All(wx, handle), "changed");
  File_Close(wx, handle);
}

// Nothing is loaded from a missing or empty file, and the last result says so.
TEST(MemoryFile, LoadOfMissingOrEmptyFile) {
  TempFolder tmp;
  tmp.Write("empty.txt", "");
  Wendax wx;
  Memory_File_Load(wx, tmp.Path("missing.txt"));
  EXPECT_EQ(File_Last_Result(wx), -1);
  EXPECT_EQ(File_Open(wx, tmp.Path("missing.txt"), kFileModeRead), -1);

  Memory_File_Load(wx, tmp.Path("empty.txt"));
  EXPECT_EQ(File_Last_Result(wx), -1);
  tmp.Write("empty.txt", "later");
  int handle = File_Open(wx, tmp.Path("empty.txt"), kFileModeRead);
  EXPECT_EQ(Read_All(wx, handle), "later") << "no empty memory file hides the disk file";
  File_Close(wx, handle);
  // Load uses no handle of its own for long: all 40 stay available.
  for (int i = 0; i < kFileHandleCount; ++i) {
    ASSERT_EQ(File_Open(wx, tmp.Path("empty.txt"), kFileModeRead), i);
  }
}

// Loading a name that is already a memory file copies that memory file.
TEST(MemoryFile, LoadOfAMemoryFile) {
  Wendax wx;
  Memory_File_Add(wx, "saved", "context", 7);
  Memory_File_Load(wx, "SAVED");
  EXPECT_EQ(File_Last_Result(wx), 0);
  Memory_File_Drop(wx, "saved");  // drops both
  EXPECT_EQ(File_Open(wx, "saved", kFileModeRead), -1);
}

}  // namespace
