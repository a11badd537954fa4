#include <gtest/gtest.h>

#include <string>

#include "platform/files/file_layer.h"
#include "platform/wendax.h"
#include "tests/platform/platform_test_support.h"

namespace {

// A chunk header (4-character id, 32-bit little-endian size) and its payload.
std::string Chunk(std::string_view id, uint32_t size, std::string_view payload = "") {
  std::string out(id.substr(0, 4));
  out.resize(4, '\0');
  for (int i = 0; i < 4; ++i) out.push_back(char(size >> (8 * i)));
  return out + std::string(payload);
}

std::string Chunk(std::string_view id, std::string_view payload) {
  return Chunk(id, uint32_t(8 + payload.size()), payload);
}

struct Found {
  int result;
  int32_t start;
  int32_t end;
  bool operator==(const Found&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Found& f) {
  return out << "{" << f.result << ", " << f.start << ", " << f.end << "}";
}

class ChunkSearch : public testing::Test {
 protected:
  void Use(const std::string& bytes) {
    if (handle_ >= 0) File_Close(wx_, handle_);
    Memory_File_Drop(wx_, "chunks");
    Memory_File_Add(wx_, "chunks", bytes.data(), bytes.size());
    size_ = int32_t(bytes.size());
    handle_ = File_Open(wx_, "chunks", kFileModeRead);
    ASSERT_GE(handle_, 0);
  }
  Found Find(std::string_view id, int32_t start, int32_t end, int32_t file_size = -1) {
    int result = File_Find_Chunk(wx_, handle_, file_size < 0 ? size_ : file_size, id, &start, &end);
    return {result, start, end};
  }

  Wendax wx_;
  int handle_ = -1;
  int32_t size_ = 0;
};

// HEAD at 0 (16 bytes), DATA at 16 (12), TAIL at 28 (8); the file is 36 bytes.
const std::string kThree = Chunk("HEAD", "12345678") + Chunk("DATA", "abcd") + Chunk("TAIL", "");

TEST_F(ChunkSearch, FindsEachChunkIgnoringCase) {
  Use(kThree);
  EXPECT_EQ(Find("HEAD", 0, size_), (Found{0, 0, 16}));
  EXPECT_EQ(Find("DATA", 0, size_), (Found{0, 16, 28}));
  EXPECT_EQ(Find("data", 0, size_), (Found{0, 16, 28}));
  EXPECT_EQ(Find("TaIl", 0, size_), (Found{0, 28, 36}));
  EXPECT_EQ(File_Last_Result(wx_), 0);
  // From a later start the earlier chunks are not seen.
  EXPECT_EQ(Find("DATA", 16, size_), (Found{0, 16, 28}));
  EXPECT_EQ(Find("HEAD", 16, size_), (Found{-1, 16, 16}));
  EXPECT_EQ(File_Last_Result(wx_), -1);
  // The handle reads on normally after a search.
  File_Seek(wx_, handle_, 24, kSeekStart);
  char payload[4];
  ASSERT_EQ(File_Read(wx_, handle_, payload, 4), 4);
  EXPECT_EQ(std::string(payload, 4), "abcd");
}

// On failure end = start; ids of other lengths never match a 4-byte tag.
TEST_F(ChunkSearch, NotFound) {
  Use(kThree);
  EXPECT_EQ(Find("NONE", 0, size_), (Found{-1, 0, 0}));
  EXPECT_EQ(Find("HEA", 0, size_), (Found{-1, 0, 0}));
  EXPECT_EQ(Find("HEADX", 0, size_), (Found{-1, 0, 0}));
  EXPECT_EQ(Find("", 0, size_), (Found{-1, 0, 0}));
  EXPECT_EQ(Find("DATA", 4, size_), (Found{-1, 4, 4})) << "a start inside a chunk walks garbage";
}

// A chunk is only looked at when its whole header fits before the end (the
// smaller of the given end and the file size); a found chunk may reach past it.
TEST_F(ChunkSearch, EndLimitsTheWalk) {
  Use(kThree);
  EXPECT_EQ(Find("DATA", 0, 16), (Found{-1, 0, 0}));
  EXPECT_EQ(Find("DATA", 0, 23), (Found{-1, 0, 0}));
  EXPECT_EQ(Find("DATA", 0, 24), (Found{0, 16, 28}));
  EXPECT_EQ(Find("TAIL", 0, 35), (Found{-1, 0, 0}));
  EXPECT_EQ(Find("TAIL", 0, 36), (Found{0, 28, 36}));
  // An end beyond the file is cut to the file size.
  EXPECT_EQ(Find("TAIL", 0, 1000), (Found{0, 28, 36}));
  EXPECT_EQ(Find("TAIL", 0, 1000, 35), (Found{-1, 0, 0}));
  EXPECT_EQ(Find("DATA", 0, 1000, 24), (Found{0, 16, 28}));
  // A start at or past the end, or before the file, finds nothing.
  EXPECT_EQ(Find("HEAD", 36, 36), (Found{-1, 36, 36}));
  EXPECT_EQ(Find("HEAD", 100, 36), (Found{-1, 100, 100}));
  EXPECT_EQ(Find("HEAD", -8, 36), (Found{-1, -8, -8}));
  EXPECT_EQ(Find("HEAD", 0, 0), (Found{-1, 0, 0}));
  EXPECT_EQ(Find("HEAD", 0, -5), (Found{-1, 0, 0}));
}

// A truncated header at the end (fewer than 8 bytes left) ends the search.
TEST_F(ChunkSearch, TruncatedHeader) {
  Use(Chunk("HEAD", "1234") + "DAT");
  EXPECT_EQ(Find("DAT", 0, size_), (Found{-1, 0, 0}));
  Use(Chunk("HEAD", "1234") + Chunk("DATA", 8).substr(0, 7));
  EXPECT_EQ(Find("DATA", 0, size_), (Found{-1, 0, 0}));
  Use("HEA");
  EXPECT_EQ(Find("HEA", 0, size_), (Found{-1, 0, 0}));
  Use("");
  EXPECT_EQ(Find("HEAD", 0, size_), (Found{-1, 0, 0}));
}

// A chunk whose size runs past the end of the file is reported with its own
// end, so the caller sees that it is cut; walking past it finds nothing.
TEST_F(ChunkSearch, SizeRunningPastTheEnd) {
  Use(Chunk("HEAD", "1234") + Chunk("DATA", 100, "only a few"));
  EXPECT_EQ(Find("DATA", 0, size_), (Found{0, 12, 112}));
  EXPECT_EQ(Find("MORE", 0, size_), (Found{-1, 0, 0}));
  // Sizes up to 2^32 - 1 are counted without wrapping.
  Use(Chunk("HEAD", "1234") + Chunk("DATA", 0xFFFFFFFFu, "x") + Chunk("TAIL", ""));
  EXPECT_EQ(Find("DATA", 0, size_), (Found{0, 12, INT32_MAX}));
  EXPECT_EQ(Find("TAIL", 0, size_), (Found{-1, 0, 0}));
}

// Sizes that would send the walk backwards or keep it in place end it: 0, and
// sizes that would be negative as signed 32-bit values, and sizes too small
// to hold their own header.
TEST_F(ChunkSearch, SizesThatWouldLoop) {
  Use(Chunk("HEAD", "1234") + Chunk("ZERO", 0) + Chunk("TAIL", ""));
  EXPECT_EQ(Find("TAIL", 0, size_), (Found{-1, 0, 0}));
  EXPECT_EQ(Find("ZERO", 0, size_), (Found{-1, 0, 0}));
  EXPECT_EQ(Find("HEAD", 0, size_), (Found{0, 0, 12}));

  // -8 and -12 as signed sizes would step back onto this or the previous header.
  for (uint32_t size : {0xFFFFFFF8u, 0xFFFFFFF4u, 0x80000000u}) {
    SCOPED_TRACE(size);
    Use(Chunk("HEAD", "1234") + Chunk("BACK", size, "12345678") + Chunk("TAIL", ""));
    EXPECT_EQ(Find("TAIL", 0, size_), (Found{-1, 0, 0}));
  }

  // A size of 1 to 7 cannot hold the header: the chunk is malformed, and the
  // search ends there rather than reading headers out of its own bytes.
  for (uint32_t size = 1; size < 8; ++size) {
    SCOPED_TRACE(size);
    Use(Chunk("HEAD", "1234") + Chunk("TINY", size) + Chunk("TAIL", ""));
    EXPECT_EQ(Find("TINY", 0, size_), (Found{-1, 0, 0}));
    EXPECT_EQ(Find("TAIL", 0, size_), (Found{-1, 0, 0}));
  }
  // A size of exactly 8 is an empty chunk.
  Use(Chunk("HEAD", "1234") + Chunk("NONE", 8) + Chunk("TAIL", ""));
  EXPECT_EQ(Find("NONE", 0, size_), (Found{0, 12, 20}));
  EXPECT_EQ(Find("TAIL", 0, size_), (Found{0, 20, 28}));
}

// Each chunk found is the first of its id from the start; a search can
// continue from where the previous one ended.
TEST_F(ChunkSearch, RepeatedIdsFromWhereThePreviousEnded) {
  Use(Chunk("ANIM", "1") + Chunk("SAMP", "22") + Chunk("ANIM", "333") + Chunk("ANIM", ""));
  Found first = Find("ANIM", 0, size_);
  EXPECT_EQ(first, (Found{0, 0, 9}));
  Found second = Find("ANIM", first.end, size_);
  EXPECT_EQ(second, (Found{0, 19, 30}));
  Found third = Find("ANIM", second.end, size_);
  EXPECT_EQ(third, (Found{0, 30, 38}));
  EXPECT_EQ(Find("ANIM", third.end, size_), (Found{-1, 38, 38}));
}

// A tag holding a NUL compares as the text before it.
TEST_F(ChunkSearch, TagsAreTexts) {
  Use(Chunk(std::string_view("AB\0\0", 4), "x") + Chunk("SAMP", "y"));
  EXPECT_EQ(Find("ab", 0, size_), (Found{0, 0, 9}));
  EXPECT_EQ(Find("AB\0\0", 0, size_), (Found{0, 0, 9}));
  EXPECT_EQ(Find("samp", 0, size_), (Found{0, 9, 18}));
  EXPECT_EQ(Find("SAM", 0, size_), (Found{-1, 0, 0}));
}

TEST_F(ChunkSearch, BadHandles) {
  Use(kThree);
  int32_t start = 0, end = size_;
  EXPECT_EQ(File_Find_Chunk(wx_, -1, size_, "HEAD", &start, &end), -1);
  EXPECT_EQ(end, start);
  EXPECT_EQ(File_Last_Result(wx_), -1);
  end = size_;
  EXPECT_EQ(File_Find_Chunk(wx_, kFileHandleCount, size_, "HEAD", &start, &end), -1);
  EXPECT_EQ(end, 0);
  end = size_;
  EXPECT_EQ(File_Find_Chunk(wx_, handle_ + 1, size_, "HEAD", &start, &end), -1);
  EXPECT_EQ(end, 0);
}

// The same walk on a disk file, the way the picture readers use it.
TEST(ChunkSearchDisk, FindsInADiskFile) {
  TempFolder tmp;
  const std::string bytes =
      Chunk("MTRD", 8 + 12 + 9, Chunk("VERS", "1282") + Chunk("NAME", "n")) + Chunk("XTRA", "");
  tmp.Write("pic.mtd", bytes);
  Wendax wx;
  int handle = File_Open(wx, tmp.Path("PIC.MTD"), kFileModeRead);
  ASSERT_GE(handle, 0);
  int32_t size = File_Size(wx, tmp.Path("pic.mtd"));
  ASSERT_EQ(size, int32_t(bytes.size()));
  int32_t start = 0, end = size;
  ASSERT_EQ(File_Find_Chunk(wx, handle, size, "mtrd", &start, &end), 0);
  EXPECT_EQ(start, 0);
  EXPECT_EQ(end, 29);
  int32_t inner = start + 8, inner_end = end;
  ASSERT_EQ(File_Find_Chunk(wx, handle, size, "NAME", &inner, &inner_end), 0);
  EXPECT_EQ(inner, 20);
  EXPECT_EQ(inner_end, 29);
  inner = start + 8;
  inner_end = end;
  EXPECT_EQ(File_Find_Chunk(wx, handle, size, "XTRA", &inner, &inner_end), -1)
      << "the search stays inside the given end";
  EXPECT_EQ(inner_end, 8);
  start = 0;
  end = size;
  EXPECT_EQ(File_Find_Chunk(wx, handle, size, "XTRA", &start, &end), 0);
  EXPECT_EQ(start, 29);
  EXPECT_EQ(File_Close(wx, handle), 0) << "searching did not mark the handle";
}

}  // namespace
