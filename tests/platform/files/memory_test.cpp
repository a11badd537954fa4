#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "platform/files/memory.h"
#include "platform/wendax.h"

// Under the sanitizers a failed allocation returns null as it does without
// them, so the allocator's own fatal error is what the tests see.
extern "C" const char* __asan_default_options() { return "allocator_may_return_null=1"; }
extern "C" const char* __tsan_default_options() { return "allocator_may_return_null=1"; }

namespace {

bool All_Bytes(const void* block, size_t size, unsigned char value) {
  const auto* bytes = static_cast<const unsigned char*>(block);
  for (size_t i = 0; i < size; ++i)
    if (bytes[i] != value) return false;
  return true;
}

TEST(FatalText, PrefixAndEightHexDigits) {
  EXPECT_EQ(Fatal_Text(0), "Crash adress:00000000");
  EXPECT_EQ(Fatal_Text(0x1F), "Crash adress:0000001F");
  EXPECT_EQ(Fatal_Text(0xDEADBEEF), "Crash adress:DEADBEEF");
  EXPECT_EQ(Fatal_Text(0xFFFFFFFF), "Crash adress:FFFFFFFF");
}

TEST(Mem, AllocCallocReallocFree) {
  Wendax wx;
  auto* block = static_cast<unsigned char*>(Mem_Alloc(wx, 100));
  ASSERT_NE(block, nullptr);
  for (int i = 0; i < 100; ++i) block[i] = static_cast<unsigned char>(i);

  // Growing keeps the bytes, shrinking keeps the prefix.
  block = static_cast<unsigned char*>(Mem_Realloc(wx, block, 100000));
  ASSERT_NE(block, nullptr);
  bool kept = true;
  for (int i = 0; i < 100; ++i) kept &= block[i] == static_cast<unsigned char>(i);
  EXPECT_TRUE(kept);
  block[99999] = 7;
  block = static_cast<unsigned char*>(Mem_Realloc(wx, block, 10));
  ASSERT_NE(block, nullptr);
  kept = true;
  for (int i = 0; i < 10; ++i) kept &= block[i] == static_cast<unsigned char>(i);
  EXPECT_TRUE(kept);
  Mem_Free(block);

  // Calloc is zero-filled whatever the allocator handed out.
  for (size_t size : {size_t(1), size_t(33), size_t(4096), size_t(100000)}) {
    void* zeros = Mem_Calloc(wx, size);
    ASSERT_NE(zeros, nullptr);
    EXPECT_TRUE(All_Bytes(zeros, size, 0)) << size;
    Mem_Free(zeros);
  }

  // Realloc of no block allocates; freeing no block does nothing.
  void* fresh = Mem_Realloc(wx, nullptr, 16);
  ASSERT_NE(fresh, nullptr);
  std::memset(fresh, 1, 16);
  Mem_Free(fresh);
  Mem_Free(nullptr);
}

// Blocks come zero-filled from one allocation, from the last one down, do not
// overlap, and run out after the block count.
TEST(Pool, BlocksFromTheLastOneDown) {
  Wendax wx;
  Pool pool(wx, 24, 4);
  EXPECT_EQ(pool.Available(), 4u);
  std::vector<unsigned char*> blocks;
  for (int i = 0; i < 4; ++i) {
    auto* block = static_cast<unsigned char*>(pool.Take());
    ASSERT_NE(block, nullptr);
    EXPECT_TRUE(All_Bytes(block, 24, 0)) << "block " << i;
    std::memset(block, 0xA0 + i, 24);
    blocks.push_back(block);
    EXPECT_EQ(pool.Available(), size_t(3 - i));
  }
  for (int i = 1; i < 4; ++i) {
    EXPECT_EQ(blocks[size_t(i - 1)] - blocks[size_t(i)], 24) << "contiguous, descending";
  }
  for (int i = 0; i < 4; ++i) {
    EXPECT_TRUE(All_Bytes(blocks[size_t(i)], 24, static_cast<unsigned char>(0xA0 + i))) << "block " << i;
  }
  EXPECT_EQ(pool.Take(), nullptr);
  EXPECT_EQ(pool.Take(), nullptr);
  EXPECT_EQ(pool.Available(), 0u);
}

TEST(Pool, EmptyPools) {
  Wendax wx;
  Pool none(wx, 64, 0);
  EXPECT_EQ(none.Available(), 0u);
  EXPECT_EQ(none.Take(), nullptr);
  Pool zero_size(wx, 0, 2);
  EXPECT_EQ(zero_size.Available(), 2u);
  EXPECT_NE(zero_size.Take(), nullptr);
  EXPECT_NE(zero_size.Take(), nullptr);
  EXPECT_EQ(zero_size.Take(), nullptr);
}

// A failed allocation ends the process after the fatal message: status 1 (a
// failure is never reported as success), text "Crash adress:" and 8 hex
// digits under the caption "Tarkel Wendax".
class MemDeathTest : public testing::Test {
 protected:
  void SetUp() override { GTEST_FLAG_SET(death_test_style, "threadsafe"); }
};

TEST_F(MemDeathTest, FailedAllocationsAreFatal) {
  const char* kMessage = "Tarkel Wendax: Crash adress:00000000\n";
  EXPECT_EXIT(
      {
        Wendax wx;
        Mem_Alloc(wx, 0);
      },
      testing::ExitedWithCode(kFatalExitStatus), kMessage);
  EXPECT_EXIT(
      {
        Wendax wx;
        Mem_Alloc(wx, SIZE_MAX);
      },
      testing::ExitedWithCode(1), kMessage);
  EXPECT_EXIT(
      {
        Wendax wx;
        Mem_Calloc(wx, 0);
      },
      testing::ExitedWithCode(1), kMessage);
  EXPECT_EXIT(
      {
        Wendax wx;
        Mem_Calloc(wx, SIZE_MAX - 8);
      },
      testing::ExitedWithCode(1), kMessage);
  EXPECT_EXIT(
      {
        Wendax wx;
        void* block = Mem_Alloc(wx, 16);
        Mem_Realloc(wx, block, SIZE_MAX);
      },
      testing::ExitedWithCode(1), kMessage);
  EXPECT_EXIT(
      {
        Wendax wx;
        void* block = Mem_Alloc(wx, 16);
        Mem_Realloc(wx, block, 0);
      },
      testing::ExitedWithCode(1), kMessage);
  EXPECT_EXIT(
      {
        Wendax wx;
        Pool pool(wx, SIZE_MAX / 2 + 1, 2);  // the byte count does not fit
      },
      testing::ExitedWithCode(1), kMessage);
  EXPECT_EXIT(
      {
        Wendax wx;
        Pool pool(wx, 1, SIZE_MAX);
      },
      testing::ExitedWithCode(1), kMessage);
}

TEST_F(MemDeathTest, FatalErrorShowsTheValue) {
  EXPECT_EXIT(
      {
        Wendax wx;
        Fatal_Error(wx, 0xDEADBEEF);
      },
      testing::ExitedWithCode(1), "^Tarkel Wendax: Crash adress:DEADBEEF\n$");
  EXPECT_EXIT(
      {
        Wendax wx;
        Fatal_Error(wx, 0x0000ABCD);
      },
      testing::ExitedWithCode(1), "Crash adress:[0-9A-F]{8}\n");
}

// The message goes through the Wendax's sink (a display backend's box), once,
// with text and caption apart; without a sink the process still ends with 1.
TEST_F(MemDeathTest, FatalMessageGoesToTheSink) {
  EXPECT_EXIT(
      {
        Wendax wx;
        int calls = 0;
        wx.fatal_message = [&calls](std::string_view text, std::string_view caption) {
          ++calls;
          std::fprintf(stderr, "call %d text [%.*s] caption [%.*s]\n", calls, int(text.size()), text.data(),
                       int(caption.size()), caption.data());
        };
        Mem_Alloc(wx, 0);
      },
      testing::ExitedWithCode(1), "^call 1 text \\[Crash adress:00000000\\] caption \\[Tarkel Wendax\\]\n$");
  EXPECT_EXIT(
      {
        Wendax wx;
        wx.fatal_message = nullptr;
        Fatal_Error(wx, 5);
      },
      testing::ExitedWithCode(1), "^$");
}

}  // namespace
