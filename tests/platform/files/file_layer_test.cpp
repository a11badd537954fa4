#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "platform/files/file_layer.h"
#include "platform/wendax.h"
#include "tests/platform/platform_test_support.h"

namespace {

const std::string kThirty = "0123456789abcdefghijABCDEFGHIJ";  // 30 bytes

// Every handle 0..39 can be open at once (memory and disk files alike); the
// 41st open fails; a close frees exactly that entry, which the next open takes.
TEST(FileHandles, FortyThenRefusedThenFreedSlotReused) {
  TempFolder tmp;
  tmp.Write("disk.bin", "disk");
  Wendax wx;
  Memory_File_Add(wx, "mem.bin", "mem", 3);
  std::vector<int> handles;
  std::set<int> distinct;
  for (int i = 0; i < kFileHandleCount; ++i) {
    int handle =
        i % 2 ? File_Open(wx, tmp.Path("disk.bin"), kFileModeRead) : File_Open(wx, "mem.bin", kFileModeRead);
    EXPECT_EQ(handle, i) << "the first free entry is used";
    EXPECT_EQ(File_Last_Result(wx), 0);
    handles.push_back(handle);
    distinct.insert(handle);
  }
  EXPECT_EQ(distinct.size(), size_t(kFileHandleCount));

  EXPECT_EQ(File_Open(wx, "mem.bin", kFileModeRead), -1);
  EXPECT_EQ(File_Last_Result(wx), -1);
  EXPECT_EQ(File_Open(wx, tmp.Path("disk.bin"), kFileModeRead), -1);
  EXPECT_EQ(File_Open(wx, tmp.Path("new.bin"), kFileModeWrite), -1);
  EXPECT_FALSE(tmp.Exists("new.bin")) << "a refused write open creates nothing";

  // The open handles still work.
  char buffer[8] = {};
  EXPECT_EQ(File_Read(wx, handles[39], buffer, 8), 4);
  EXPECT_EQ(std::string(buffer, 4), "disk");

  EXPECT_EQ(File_Close(wx, 17), 0);
  EXPECT_EQ(File_Close(wx, 3), 0);
  EXPECT_EQ(File_Open(wx, "mem.bin", kFileModeRead), 3);
  EXPECT_EQ(File_Open(wx, "mem.bin", kFileModeRead), 17);
  EXPECT_EQ(File_Open(wx, "mem.bin", kFileModeRead), -1);

  for (int handle = 0; handle < kFileHandleCount; ++handle) {
    EXPECT_EQ(File_Close(wx, handle), 0) << handle;
  }
  EXPECT_EQ(File_Open(wx, "mem.bin", kFileModeRead), 0);
}

// Handles outside 0..39, closed ones, and any handle before the first open
// refuse every call and set the last result to -1.
TEST(FileHandles, InvalidHandlesRefuseEverything) {
  Wendax wx;
  char buffer[4] = {'k', 'k', 'k', 'k'};
  EXPECT_EQ(File_Read(wx, 0, buffer, 4), 0);  // no table yet
  EXPECT_EQ(File_Last_Result(wx), -1);
  EXPECT_EQ(File_Close(wx, 0), -1);

  Memory_File_Add(wx, "m", "abcd", 4);
  int open = File_Open(wx, "m", kFileModeRead);
  ASSERT_EQ(open, 0);
  int closed = File_Open(wx, "m", kFileModeRead);
  ASSERT_EQ(closed, 1);
  ASSERT_EQ(File_Close(wx, closed), 0);

  for (int handle : {-1, closed, 2, kFileHandleCount - 1, kFileHandleCount, 1000, INT32_MIN}) {
    SCOPED_TRACE(handle);
    ASSERT_EQ(File_Read(wx, open, buffer, 0), 0);
    ASSERT_EQ(File_Last_Result(wx), 0);
    EXPECT_EQ(File_Read(wx, handle, buffer, 4), 0);
    EXPECT_EQ(File_Last_Result(wx), -1);
    File_Tell(wx, open);
    File_Seek(wx, handle, 0, kSeekStart);
    EXPECT_EQ(File_Last_Result(wx), -1);
    File_Tell(wx, open);
    EXPECT_EQ(File_Tell(wx, handle), 0);
    EXPECT_EQ(File_Last_Result(wx), -1);
    File_Tell(wx, open);
    EXPECT_EQ(File_Write(wx, handle, buffer, 4), 0);
    EXPECT_EQ(File_Last_Result(wx), -1);
    File_Tell(wx, open);
    EXPECT_EQ(File_Close(wx, handle), -1);
    EXPECT_EQ(File_Last_Result(wx), -1);
  }
  EXPECT_EQ(std::string(buffer, 4), "kkkk");
  // The good handle was not disturbed.
  EXPECT_EQ(Read_All(wx, open), "abcd");
}

TEST(FileOpen, ModesOtherThanReadAndWriteOpenNothing) {
  TempFolder tmp;
  tmp.Write("a.bin", "a");
  Wendax wx;
  for (int mode : {2, 3, -1, 100}) {
    EXPECT_EQ(File_Open(wx, tmp.Path("a.bin"), mode), -1) << mode;
    EXPECT_EQ(File_Last_Result(wx), -1);
    EXPECT_EQ(File_Open(wx, tmp.Path("b.bin"), mode), -1) << mode;
  }
  EXPECT_FALSE(tmp.Exists("b.bin"));
  EXPECT_EQ(tmp.Read("a.bin"), "a");
  EXPECT_EQ(File_Open(wx, tmp.Path("missing.bin"), kFileModeRead), -1);
  EXPECT_EQ(File_Last_Result(wx), -1);
  EXPECT_FALSE(tmp.Exists("missing.bin")) << "reading never creates";
}

// Reading 100 bytes at 20 of a 30-byte disk file gives 10; the next read gives
// 0 and marks the handle, which then refuses reads, seeks and tells until it
// is closed, and the close reports the failure.
TEST(DiskFile, ShortReadThenEndMarksTheHandle) {
  TempFolder tmp;
  tmp.Write("thirty.bin", kThirty);
  Wendax wx;
  int handle = File_Open(wx, tmp.Path("thirty.bin"), kFileModeRead);
  ASSERT_GE(handle, 0);
  File_Seek(wx, handle, 20, kSeekStart);
  EXPECT_EQ(File_Last_Result(wx), 0);
  EXPECT_EQ(File_Tell(wx, handle), 20);
  std::vector<char> buffer(100, '#');
  EXPECT_EQ(File_Read(wx, handle, buffer.data(), 100), 10);
  EXPECT_EQ(File_Last_Result(wx), 0);
  EXPECT_EQ(std::string(buffer.data(), 10), "ABCDEFGHIJ");
  EXPECT_EQ(buffer[10], '#') << "nothing written past the bytes read";
  EXPECT_EQ(File_Tell(wx, handle), 30);

  EXPECT_EQ(File_Read(wx, handle, buffer.data(), 100), 0);
  EXPECT_EQ(File_Last_Result(wx), -1);

  // Marked: a seek back does nothing and the read still fails.
  File_Seek(wx, handle, 0, kSeekStart);
  EXPECT_EQ(File_Last_Result(wx), -1);
  EXPECT_EQ(File_Read(wx, handle, buffer.data(), 1), 0);
  EXPECT_EQ(File_Last_Result(wx), -1);
  EXPECT_EQ(File_Tell(wx, handle), 0);
  EXPECT_EQ(File_Last_Result(wx), -1);

  EXPECT_EQ(File_Close(wx, handle), -1);
  EXPECT_EQ(File_Last_Result(wx), -1);
  // The entry is free again and a new handle on it is clean.
  int again = File_Open(wx, tmp.Path("thirty.bin"), kFileModeRead);
  EXPECT_EQ(again, handle);
  EXPECT_EQ(File_Read(wx, again, buffer.data(), 5), 5);
  EXPECT_EQ(File_Last_Result(wx), 0);
  EXPECT_EQ(File_Close(wx, again), 0);
}

// A request for 0 bytes reads nothing and does not mark the handle, even at
// the end of the file; bad arguments fail without marking it.
TEST(DiskFile, EmptyAndBadReadRequests) {
  TempFolder tmp;
  tmp.Write("five.bin", "12345");
  Wendax wx;
  int handle = File_Open(wx, tmp.Path("five.bin"), kFileModeRead);
  ASSERT_GE(handle, 0);
  File_Seek(wx, handle, 0, kSeekEnd);
  char buffer[8] = {};
  EXPECT_EQ(File_Read(wx, handle, buffer, 0), 0);
  EXPECT_EQ(File_Last_Result(wx), 0);
  EXPECT_EQ(File_Read(wx, handle, nullptr, 0), 0);
  EXPECT_EQ(File_Last_Result(wx), 0);
  EXPECT_EQ(File_Read(wx, handle, buffer, -1), 0);
  EXPECT_EQ(File_Last_Result(wx), -1);
  EXPECT_EQ(File_Read(wx, handle, nullptr, 4), 0);
  EXPECT_EQ(File_Last_Result(wx), -1);
  File_Seek(wx, handle, 1, kSeekStart);
  EXPECT_EQ(File_Last_Result(wx), 0) << "the bad requests did not mark the handle";
  EXPECT_EQ(File_Read(wx, handle, buffer, 8), 4);
  EXPECT_EQ(std::string(buffer, 4), "2345");
  EXPECT_EQ(File_Close(wx, handle), 0);
}

TEST(DiskFile, SeekOriginsAndTell) {
  TempFolder tmp;
  tmp.Write("thirty.bin", kThirty);
  Wendax wx;
  int handle = File_Open(wx, tmp.Path("thirty.bin"), kFileModeRead);
  ASSERT_GE(handle, 0);
  EXPECT_EQ(File_Tell(wx, handle), 0);
  EXPECT_EQ(File_Last_Result(wx), 0);
  char c = 0;
  File_Seek(wx, handle, 10, kSeekStart);
  EXPECT_EQ(File_Tell(wx, handle), 10);
  File_Seek(wx, handle, 5, kSeekCurrent);
  EXPECT_EQ(File_Tell(wx, handle), 15);
  File_Seek(wx, handle, -3, kSeekCurrent);
  EXPECT_EQ(File_Tell(wx, handle), 12);
  ASSERT_EQ(File_Read(wx, handle, &c, 1), 1);
  EXPECT_EQ(c, 'c');
  File_Seek(wx, handle, -1, kSeekEnd);
  EXPECT_EQ(File_Tell(wx, handle), 29);
  ASSERT_EQ(File_Read(wx, handle, &c, 1), 1);
  EXPECT_EQ(c, 'J');
  File_Seek(wx, handle, 0, kSeekEnd);
  EXPECT_EQ(File_Tell(wx, handle), 30);
  EXPECT_EQ(File_Last_Result(wx), 0);
  EXPECT_EQ(File_Close(wx, handle), 0);
}

// A seek before the start of a disk file fails and marks the handle.
TEST(DiskFile, SeekBeforeStartMarksTheHandle) {
  TempFolder tmp;
  tmp.Write("thirty.bin", kThirty);
  Wendax wx;
  int handle = File_Open(wx, tmp.Path("thirty.bin"), kFileModeRead);
  ASSERT_GE(handle, 0);
  File_Seek(wx, handle, 4, kSeekStart);
  File_Seek(wx, handle, -5, kSeekCurrent);
  EXPECT_EQ(File_Last_Result(wx), -1);
  char c = 0;
  EXPECT_EQ(File_Read(wx, handle, &c, 1), 0);
  EXPECT_EQ(File_Last_Result(wx), -1);
  EXPECT_EQ(File_Tell(wx, handle), 0);
  EXPECT_EQ(File_Close(wx, handle), -1);
}

// Write mode opens an existing file for update at its start without cutting
// it, and creates a missing one.
TEST(DiskFile, WriteUpdatesInPlaceOrCreates) {
  TempFolder tmp;
  tmp.Write("hello.txt", "hello world");
  Wendax wx;
  int handle = File_Open(wx, tmp.Path("hello.txt"), kFileModeWrite);
  ASSERT_GE(handle, 0);
  EXPECT_EQ(File_Tell(wx, handle), 0);
  EXPECT_EQ(File_Write(wx, handle, "J", 1), 1);
  EXPECT_EQ(File_Last_Result(wx), 0);
  File_Seek(wx, handle, 6, kSeekStart);
  EXPECT_EQ(File_Write(wx, handle, "W", 1), 1);
  File_Seek(wx, handle, 0, kSeekEnd);
  EXPECT_EQ(File_Write(wx, handle, "!!", 2), 2);
  EXPECT_EQ(File_Write(wx, handle, "", 0), 0);
  EXPECT_EQ(File_Last_Result(wx), 0);
  EXPECT_EQ(File_Write(wx, handle, nullptr, 3), 0);
  EXPECT_EQ(File_Last_Result(wx), -1);
  EXPECT_EQ(File_Write(wx, handle, "x", -1), 0);
  EXPECT_EQ(File_Last_Result(wx), -1);
  // Write mode reads too (update mode); a seek separates writing and reading.
  File_Seek(wx, handle, 0, kSeekStart);
  char buffer[16] = {};
  EXPECT_EQ(File_Read(wx, handle, buffer, 16), 13);
  EXPECT_EQ(std::string(buffer, 13), "Jello World!!");
  EXPECT_EQ(File_Close(wx, handle), 0);
  EXPECT_EQ(tmp.Read("hello.txt"), "Jello World!!");

  handle = File_Open(wx, tmp.Path("fresh.bin"), kFileModeWrite);
  ASSERT_GE(handle, 0);
  EXPECT_TRUE(tmp.Exists("fresh.bin"));
  EXPECT_EQ(File_Write(wx, handle, "\0\1\2", 3), 3);
  EXPECT_EQ(File_Close(wx, handle), 0);
  EXPECT_EQ(tmp.Read("fresh.bin"), std::string("\0\1\2", 3));
  EXPECT_EQ(File_Size(wx, tmp.Path("fresh.bin")), 3);

  // A missing folder cannot be written into.
  EXPECT_EQ(File_Open(wx, tmp.Path("no_folder/x.bin"), kFileModeWrite), -1);
  EXPECT_EQ(File_Last_Result(wx), -1);
}

// Writing to a handle opened for reading fails and marks the handle.
TEST(DiskFile, WriteToReadHandleFails) {
  TempFolder tmp;
  tmp.Write("ro.txt", "keep");
  Wendax wx;
  int handle = File_Open(wx, tmp.Path("ro.txt"), kFileModeRead);
  ASSERT_GE(handle, 0);
  EXPECT_EQ(File_Write(wx, handle, "XXXX", 4), 0);
  EXPECT_EQ(File_Last_Result(wx), -1);
  char c = 0;
  EXPECT_EQ(File_Read(wx, handle, &c, 1), 0);
  EXPECT_EQ(File_Close(wx, handle), -1);
  EXPECT_EQ(tmp.Read("ro.txt"), "keep");
}

// Folders are not files: neither mode opens one, and its size is 0.
TEST(DiskFile, FoldersAreRefused) {
  TempFolder tmp;
  tmp.Make_Folder("Folder");
  tmp.Write("Folder/inside.txt", "in");
  Wendax wx;
  EXPECT_EQ(File_Open(wx, tmp.Path("Folder"), kFileModeRead), -1);
  EXPECT_EQ(File_Last_Result(wx), -1);
  EXPECT_EQ(File_Open(wx, tmp.Path("FOLDER"), kFileModeRead), -1);
  EXPECT_EQ(File_Open(wx, tmp.Path("Folder"), kFileModeWrite), -1);
  EXPECT_EQ(File_Open(wx, tmp.Path("folder\\"), kFileModeWrite), -1);
  EXPECT_EQ(File_Last_Result(wx), -1);
  EXPECT_EQ(File_Size(wx, tmp.Path("Folder")), 0);
  EXPECT_EQ(File_Last_Result(wx), -1);
  Memory_File_Load(wx, tmp.Path("Folder"));
  EXPECT_EQ(File_Last_Result(wx), -1);
  EXPECT_EQ(File_Open(wx, tmp.Path("Folder"), kFileModeRead), -1);
  EXPECT_EQ(tmp.Read("Folder/inside.txt"), "in");
  EXPECT_EQ(File_Open(wx, tmp.Path(), kFileModeRead), -1);
  // A refused folder does not use up an entry.
  tmp.Write("f.txt", "f");
  EXPECT_EQ(File_Open(wx, tmp.Path("f.txt"), kFileModeRead), 0);
}

TEST(DiskFile, SizeOfFiles) {
  TempFolder tmp;
  tmp.Write("thirty.bin", kThirty);
  tmp.Write("empty.bin", "");
  Wendax wx;
  EXPECT_EQ(File_Size(wx, tmp.Path("thirty.bin")), 30);
  EXPECT_EQ(File_Last_Result(wx), 0);
  EXPECT_EQ(File_Size(wx, tmp.Path("empty.bin")), 0);
  EXPECT_EQ(File_Last_Result(wx), 0);
  EXPECT_EQ(File_Size(wx, tmp.Path("missing.bin")), 0);
  EXPECT_EQ(File_Last_Result(wx), -1);
  EXPECT_EQ(File_Size(wx, tmp.Path("THIRTY.BIN")), 30);
  // File_Size keeps no entry open.
  for (int i = 0; i < kFileHandleCount; ++i) {
    ASSERT_EQ(File_Open(wx, tmp.Path("thirty.bin"), kFileModeRead), i);
  }
}

// Disk names are looked up ignoring case, with '\' or '/' as separator, for
// reading, writing, sizes and removal.
TEST(DiskFile, NamesIgnoreCaseAndSeparator) {
  TempFolder tmp;
  tmp.Make_Folder("Data");
  tmp.Write("Data/Cursor1.pcx", "pcx!");
  Wendax wx;
  int handle = File_Open(wx, tmp.Path("DATA\\CURSOR1.PCX"), kFileModeRead);
  ASSERT_GE(handle, 0);
  EXPECT_EQ(Read_All(wx, handle), "pcx!");
  File_Close(wx, handle);
  EXPECT_EQ(File_Size(wx, tmp.Path("data/cursor1.PCX")), 4);

  // Writing an existing file under another case updates it: no second file.
  handle = File_Open(wx, tmp.Path("DATA/CURSOR1.PCX"), kFileModeWrite);
  ASSERT_GE(handle, 0);
  EXPECT_EQ(File_Write(wx, handle, "PC", 2), 2);
  EXPECT_EQ(File_Close(wx, handle), 0);
  EXPECT_EQ(tmp.Entries("Data"), std::vector<std::string>{"Cursor1.pcx"});
  EXPECT_EQ(tmp.Read("Data/Cursor1.pcx"), "PCx!");

  // A new file goes into the existing folder under the name as written.
  handle = File_Open(wx, tmp.Path("DATA\\Saved_1.bin"), kFileModeWrite);
  ASSERT_GE(handle, 0);
  EXPECT_EQ(File_Close(wx, handle), 0);
  EXPECT_EQ(tmp.Entries(), std::vector<std::string>{"Data"});
  EXPECT_EQ(tmp.Entries("Data"), (std::vector<std::string>{"Cursor1.pcx", "Saved_1.bin"}));

  EXPECT_EQ(File_Remove(wx, tmp.Path("data\\SAVED_1.BIN")), 0);
  EXPECT_EQ(File_Last_Result(wx), 0);
  EXPECT_EQ(tmp.Entries("Data"), std::vector<std::string>{"Cursor1.pcx"});
}

TEST(DiskFile, RemoveFilesOnly) {
  TempFolder tmp;
  tmp.Write("gone.txt", "x");
  tmp.Make_Folder("Empty");
  Wendax wx;
  EXPECT_EQ(File_Remove(wx, tmp.Path("gone.txt")), 0);
  EXPECT_EQ(File_Last_Result(wx), 0);
  EXPECT_FALSE(tmp.Exists("gone.txt"));
  EXPECT_NE(File_Remove(wx, tmp.Path("gone.txt")), 0);
  EXPECT_EQ(File_Last_Result(wx), -1);
  // A folder is not a file: removing it by a file name fails and keeps it.
  EXPECT_NE(File_Remove(wx, tmp.Path("Empty")), 0);
  EXPECT_EQ(File_Last_Result(wx), -1);
  EXPECT_TRUE(tmp.Exists("Empty"));
  // Removing a memory file's name touches only the disk.
  Memory_File_Add(wx, tmp.Path("mem.txt"), "m", 1);
  EXPECT_NE(File_Remove(wx, tmp.Path("mem.txt")), 0);
  EXPECT_EQ(File_Size(wx, tmp.Path("mem.txt")), 1);
}

// Every call sets the last result; a success after a failure clears it.
TEST(DiskFile, LastResultFollowsEachCall) {
  TempFolder tmp;
  tmp.Write("a.bin", "ab");
  Wendax wx;
  EXPECT_EQ(File_Last_Result(wx), 0);
  EXPECT_EQ(File_Open(wx, tmp.Path("none"), kFileModeRead), -1);
  EXPECT_EQ(File_Last_Result(wx), -1);
  int handle = File_Open(wx, tmp.Path("a.bin"), kFileModeRead);
  EXPECT_EQ(File_Last_Result(wx), 0);
  File_Size(wx, tmp.Path("none"));
  EXPECT_EQ(File_Last_Result(wx), -1);
  char buffer[2];
  EXPECT_EQ(File_Read(wx, handle, buffer, 2), 2);
  EXPECT_EQ(File_Last_Result(wx), 0);
  File_Size(wx, tmp.Path("none"));
  File_Seek(wx, handle, 0, kSeekStart);
  EXPECT_EQ(File_Last_Result(wx), 0);
  File_Size(wx, tmp.Path("none"));
  File_Tell(wx, handle);
  EXPECT_EQ(File_Last_Result(wx), 0);
  File_Size(wx, tmp.Path("none"));
  EXPECT_EQ(File_Size(wx, tmp.Path("a.bin")), 2);
  EXPECT_EQ(File_Last_Result(wx), 0);
  File_Size(wx, tmp.Path("none"));
  EXPECT_EQ(File_Close(wx, handle), 0);
  EXPECT_EQ(File_Last_Result(wx), 0);
  File_Size(wx, tmp.Path("none"));
  Memory_File_Add(wx, "m", "", 0);
  EXPECT_EQ(File_Last_Result(wx), 0);
  File_Size(wx, tmp.Path("none"));
  Memory_File_Drop(wx, "m");
  EXPECT_EQ(File_Last_Result(wx), 0);
}

// Each Wendax has its own handle table, memory files and last result.
TEST(FileHandles, WendaxObjectsAreIndependent) {
  Wendax a, b;
  Memory_File_Add(a, "only_a", "a", 1);
  EXPECT_EQ(File_Open(a, "only_a", kFileModeRead), 0);
  EXPECT_EQ(File_Open(b, "only_a", kFileModeRead), -1);
  EXPECT_EQ(File_Last_Result(a), 0);
  EXPECT_EQ(File_Last_Result(b), -1);
  Memory_File_Add(b, "only_b", "b", 1);
  EXPECT_EQ(File_Open(b, "only_b", kFileModeRead), 0) << "b's table starts empty";
}

}  // namespace
