#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>

#include "platform/files/file_layer.h"
#include "platform/wendax.h"
#include "tests/platform/platform_test_support.h"

namespace {

// The sound timer thread reads a music file while the main thread loads,
// registers and drops memory files. Every read must see one whole file (the
// memory bytes or the disk bytes of the name, never a mix or freed memory);
// the sanitizers catch unlocked access.
TEST(FileLayerThreads, OpenReadCloseWhileFilesComeAndGo) {
  TempFolder tmp;
  const std::string disk_bytes = Sample_Data(3000);
  const std::string memory_bytes = std::string(2000, 'm') + "end";
  const std::string music_bytes = Sample_Data(777);
  tmp.Write("shared.bin", disk_bytes);
  tmp.Write("music.wav", music_bytes);
  const std::string shared = tmp.Path("shared.bin");
  const std::string music = tmp.Path("MUSIC.WAV");
  Wendax wx;

  constexpr int kRounds = 400;
  std::atomic<int> bad_reads{0}, memory_reads{0}, disk_reads{0}, bad_sizes{0}, failed_opens{0};

  std::thread loader([&] {
    for (int i = 0; i < kRounds; ++i) {
      Memory_File_Add(wx, shared, memory_bytes.data(), memory_bytes.size());
      int handle = File_Open(wx, music, kFileModeRead);
      if (handle < 0) {
        ++failed_opens;
        continue;
      }
      if (Read_All(wx, handle) != music_bytes) ++bad_reads;
      File_Close(wx, handle);
      Memory_File_Drop(wx, shared);
      if (i % 50 == 0) {
        Memory_File_Load(wx, music);
        Memory_File_Drop(wx, music);
      }
    }
  });

  std::thread reader([&] {
    for (int i = 0; i < kRounds; ++i) {
      int handle = File_Open(wx, shared, kFileModeRead);
      if (handle < 0) {
        ++failed_opens;
        continue;
      }
      char first = 0;
      File_Read(wx, handle, &first, 1);
      File_Seek(wx, handle, 0, kSeekStart);
      std::string got = Read_All(wx, handle);
      File_Close(wx, handle);
      if (got == memory_bytes) {
        ++memory_reads;
      } else if (got == disk_bytes) {
        ++disk_reads;
      } else {
        ++bad_reads;
      }
      int32_t size = File_Size(wx, shared);
      if (size != int32_t(memory_bytes.size()) && size != int32_t(disk_bytes.size())) ++bad_sizes;
    }
  });

  loader.join();
  reader.join();
  EXPECT_EQ(bad_reads.load(), 0);
  EXPECT_EQ(bad_sizes.load(), 0);
  EXPECT_EQ(failed_opens.load(), 0);
  EXPECT_EQ(memory_reads.load() + disk_reads.load(), kRounds);
  // Nothing stayed registered or open.
  int handle = File_Open(wx, shared, kFileModeRead);
  EXPECT_EQ(Read_All(wx, handle), disk_bytes);
  File_Close(wx, handle);
  for (int i = 0; i < kFileHandleCount; ++i) {
    ASSERT_EQ(File_Open(wx, music, kFileModeRead), i);
  }
}

}  // namespace
