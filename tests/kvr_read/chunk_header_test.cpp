// KVR_FILE's header operations: Get_Chunck, Read_Chunck and Next_Chunck at
// chunks, at the end of the file, on cut headers and with no stream open.
#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "kvr_read/kvr_chunks.h"
#include "kvr_read/kvr_file.h"
#include "tests/kvr_read/chunk_bytes.h"

namespace kvr_test {
namespace {

struct Peek {
  int tag = 0x5A5A5A5A;
  int size = 0x5A5A5A5A;
};

Peek Get(KVR_FILE& f) {
  Peek p;
  f.Get_Chunck(&p.tag, &p.size);
  return p;
}

Peek Read(KVR_FILE& f) {
  Peek p;
  f.Read_Chunck(&p.tag, &p.size);
  return p;
}

class ChunkHeaders : public ::testing::Test {
 protected:
  void Open(const std::string& bytes) { Open_Bytes(file_, folder_, "f.kvr", bytes); }
  TempFolder folder_;
  KVR_FILE file_;
};

TEST_F(ChunkHeaders, GetChunckReportsTagAndPayloadSizeAndStaysAtTheStart) {
  Open(Chunk(0x12FA84AB, std::string(10, 'x')) + Chunk(7, "ab"));
  for (int again = 0; again < 2; ++again) {
    const Peek p = Get(file_);
    EXPECT_EQ(p.tag, KVR_CHUNK_FILE);
    EXPECT_EQ(p.size, 10);
    EXPECT_EQ(file_.Tell(), 0);
  }
}

TEST_F(ChunkHeaders, ReadChunckStaysAtThePayload) {
  Open(Chunk(0x12FA84AB, std::string(10, 'x')));
  const Peek p = Read(file_);
  EXPECT_EQ(p.tag, KVR_CHUNK_FILE);
  EXPECT_EQ(p.size, 10);
  EXPECT_EQ(file_.Tell(), 8);
}

TEST_F(ChunkHeaders, TagsAreLittleEndian32BitNumbers) {
  Open(std::string("\xAB\x84\xFA\x12\x08\x00\x00\x00", 8) +
       std::string("\x00\xC2\xB1\xA0\x0C\x00\x00\x00", 8) + "abcd");
  EXPECT_EQ(Read(file_).tag, KVR_CHUNK_FILE);
  const Peek p = Read(file_);
  EXPECT_EQ(p.tag, KVR_CHUNK_STATIC_VR);
  EXPECT_EQ(static_cast<unsigned>(p.tag), 0xA0B1C200u);
  EXPECT_EQ(p.size, 4);
}

TEST_F(ChunkHeaders, AnEmptyChunkHasPayloadSizeZero) {
  Open(Chunk(static_cast<uint32_t>(KVR_CHUNK_FRAME), ""));
  const Peek p = Get(file_);
  EXPECT_EQ(p.tag, KVR_CHUNK_FRAME);
  EXPECT_EQ(p.size, 0);
}

TEST_F(ChunkHeaders, StoredLengthsBelowEightGivePayloadSizeZeroAndKeepTheTag) {
  for (int32_t length : {7, 1, 0, -1, -8, INT_MIN}) {
    Open(Header(99, length) + std::string(16, 'p'));
    const Peek p = Get(file_);
    EXPECT_EQ(p.tag, 99) << length;
    EXPECT_EQ(p.size, 0) << length;
    EXPECT_EQ(Read(file_).size, 0) << length;
  }
  Open(Header(99, INT_MAX));
  EXPECT_EQ(Get(file_).size, INT_MAX - 8);
}

TEST_F(ChunkHeaders, PeekingAtTheExactEndGivesZerosWithoutMoving) {
  Open(Chunk(5, "abcd"));
  file_.Seek(12);
  for (int again = 0; again < 2; ++again) {
    const Peek g = Get(file_);
    EXPECT_EQ(g.tag, 0);
    EXPECT_EQ(g.size, 0);
    const Peek r = Read(file_);
    EXPECT_EQ(r.tag, 0);
    EXPECT_EQ(r.size, 0);
    EXPECT_EQ(file_.Tell(), 12);
  }
}

TEST_F(ChunkHeaders, AHeaderCutByTheEndGivesZerosAndStopsAtTheEnd) {
  const std::string whole = Header(0x11223344, 20);
  for (size_t kept = 1; kept < 8; ++kept) {
    Open("abcd" + whole.substr(0, kept));
    for (bool peek : {true, false}) {
      file_.Seek(4);
      const Peek p = peek ? Get(file_) : Read(file_);
      EXPECT_EQ(p.tag, 0) << kept;
      EXPECT_EQ(p.size, 0) << kept;
      EXPECT_EQ(file_.Tell(), static_cast<int>(4 + kept)) << kept;
    }
  }
}

TEST_F(ChunkHeaders, NoStreamGivesZerosAndChangesNothing) {
  KVR_FILE none;
  const Peek g = Get(none);
  EXPECT_EQ(g.tag, 0);
  EXPECT_EQ(g.size, 0);
  const Peek r = Read(none);
  EXPECT_EQ(r.tag, 0);
  EXPECT_EQ(r.size, 0);
  char buf[4] = {'k', 'e', 'e', 'p'};
  none.Get_Chunck_Data(buf, 4);
  none.Read(buf, 4);
  EXPECT_EQ(std::string(buf, 4), "keep");
  none.Next_Chunck();
  none.Seek(3);
  EXPECT_EQ(none.Tell(), -1);
  none.Get_Chunck(nullptr, nullptr);
  none.Read_Chunck(nullptr, nullptr);
}

TEST_F(ChunkHeaders, NullOutputsAreSkipped) {
  Open(Chunk(5, "abcd"));
  int size = 1;
  file_.Get_Chunck(nullptr, &size);
  EXPECT_EQ(size, 4);
  int tag = 1;
  file_.Read_Chunck(&tag, nullptr);
  EXPECT_EQ(tag, 5);
  EXPECT_EQ(file_.Tell(), 8);
}

TEST_F(ChunkHeaders, AWriteOnlyStreamReadsAsTheEnd) {
  KVR_FILE f;
  ASSERT_EQ(f.Open(folder_.Path("w.kvr").c_str(), "wb"), 1);
  f.Write_Chunck(5, 0);
  f.Seek(0);
  const Peek p = Get(f);
  EXPECT_EQ(p.tag, 0);
  EXPECT_EQ(p.size, 0);
}

TEST_F(ChunkHeaders, NextChunckGoesToTheNextSibling) {
  Open(Chunk(1, "abc") + Chunk(2, "") + Chunk(3, "z"));
  file_.Next_Chunck();
  EXPECT_EQ(file_.Tell(), 11);
  file_.Next_Chunck();
  EXPECT_EQ(file_.Tell(), 19);
  EXPECT_EQ(Get(file_).tag, 3);
  file_.Next_Chunck();
  EXPECT_EQ(file_.Tell(), 28);
}

TEST_F(ChunkHeaders, NextChunckStaysOnAZeroTag) {
  Open(Chunk(1, "abc") + Header(0, 64) + Chunk(3, "z"));
  file_.Next_Chunck();
  for (int again = 0; again < 3; ++again) {
    file_.Next_Chunck();
    EXPECT_EQ(file_.Tell(), 11);
  }
}

TEST_F(ChunkHeaders, NextChunckAtTheEndDoesNotMove) {
  Open(Chunk(1, "abc"));
  file_.Seek(11);
  file_.Next_Chunck();
  EXPECT_EQ(file_.Tell(), 11);
  file_.Seek(5);  // 6 bytes left: a cut header is consumed and nothing more
  file_.Next_Chunck();
  EXPECT_EQ(file_.Tell(), 11);
}

// A length that cannot hold its own header would keep a walk on one chunk
// or send it backwards forever; it ends the walk at the end of the file.
TEST_F(ChunkHeaders, NextChunckOnALengthBelowEightGoesToTheEnd) {
  for (int32_t length : {0, 4, 7, -16, INT_MIN}) {
    const std::string bytes = Chunk(1, "abcdefgh") + Header(2, length) + Chunk(3, "xyz");
    Open(bytes);
    file_.Seek(16);
    file_.Next_Chunck();
    EXPECT_EQ(file_.Tell(), static_cast<int>(bytes.size())) << length;
    EXPECT_EQ(Get(file_).tag, 0) << length;
  }
}

TEST_F(ChunkHeaders, ALengthPastTheEndEndsTheWalk) {
  Open(Chunk(1, "abc") + Header(2, 1000) + "tail");
  file_.Next_Chunck();
  file_.Next_Chunck();
  EXPECT_EQ(file_.Tell(), 1011);
  EXPECT_EQ(Get(file_).tag, 0);
  file_.Next_Chunck();
  EXPECT_EQ(file_.Tell(), 1011);
}

}  // namespace
}  // namespace kvr_test
