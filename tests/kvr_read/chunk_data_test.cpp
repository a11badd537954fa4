// Get_Chunck_Data, Read, Tell and Seek.
#include <gtest/gtest.h>

#include <string>

#include "kvr_read/kvr_file.h"
#include "tests/kvr_read/chunk_bytes.h"

namespace kvr_test {
namespace {

class ChunkData : public ::testing::Test {
 protected:
  void Open(const std::string& bytes) { Open_Bytes(file_, folder_, "f.kvr", bytes); }
  TempFolder folder_;
  KVR_FILE file_;
};

TEST_F(ChunkData, CopiesThePayloadStartAndReturnsToTheChunk) {
  Open("pre!" + Chunk(9, "payload-bytes") + Chunk(10, "next"));
  file_.Seek(4);
  std::string buf(7, '.');
  file_.Get_Chunck_Data(buf.data(), 7);
  EXPECT_EQ(buf, "payload");
  EXPECT_EQ(file_.Tell(), 4);
  int tag = 0, size = 0;
  file_.Get_Chunck(&tag, &size);  // the same chunk can be peeked again
  EXPECT_EQ(tag, 9);
  EXPECT_EQ(size, 13);
  EXPECT_EQ(file_.Tell(), 4);
}

TEST_F(ChunkData, AShortPayloadReadsOnIntoTheFollowingBytes) {
  Open(Chunk(9, "ab") + Chunk(10, "cd"));
  std::string buf(6, '.');
  file_.Get_Chunck_Data(buf.data(), 6);
  EXPECT_EQ(buf, std::string("ab\x0A\0\0\0", 6));
  EXPECT_EQ(file_.Tell(), 0);
}

// The file ends inside the payload: what it holds is copied, the rest of the
// buffer is kept, and the position is the chunk's start again.
TEST_F(ChunkData, APayloadCutByTheEndIsCopiedAsFarAsItGoes) {
  const std::string bytes = "pre!" + Chunk(9, "abcdef");
  Open(bytes.substr(0, bytes.size() - 3));
  file_.Seek(4);
  std::string buf(8, '.');
  file_.Get_Chunck_Data(buf.data(), 8);
  EXPECT_EQ(buf, "abc.....");
  EXPECT_EQ(file_.Tell(), 4);
  file_.Get_Chunck_Data(buf.data(), 8);  // the end-of-file state does not stick
  EXPECT_EQ(file_.Tell(), 4);
}

TEST_F(ChunkData, AHeaderCutByTheEndCopiesNothingAndStays) {
  Open("pre!" + Header(9, 40).substr(0, 5));
  for (int start : {4, 9}) {
    file_.Seek(start);
    std::string buf(4, '.');
    file_.Get_Chunck_Data(buf.data(), 4);
    EXPECT_EQ(buf, "....");
    EXPECT_EQ(file_.Tell(), start);
  }
}

TEST_F(ChunkData, NoLengthOrNoBufferCopiesNothingAndStays) {
  Open(Chunk(9, "abcdef"));
  file_.Seek(0);
  std::string buf(4, '.');
  file_.Get_Chunck_Data(buf.data(), 0);
  file_.Get_Chunck_Data(buf.data(), -5);
  file_.Get_Chunck_Data(nullptr, 4);
  EXPECT_EQ(buf, "....");
  EXPECT_EQ(file_.Tell(), 0);
}

TEST_F(ChunkData, ReadCopiesRawBytesAndKeepsTheRestAtTheEnd) {
  Open("0123456789");
  std::string buf(6, '.');
  file_.Seek(2);
  file_.Read(buf.data(), 3);
  EXPECT_EQ(buf, "234...");
  EXPECT_EQ(file_.Tell(), 5);
  file_.Seek(7);
  file_.Read(buf.data(), 6);
  EXPECT_EQ(buf, "789...");
  file_.Read(buf.data(), -1);
  file_.Read(nullptr, 3);
  EXPECT_EQ(buf, "789...");
}

TEST_F(ChunkData, SeekAndTellCountFromTheStart) {
  Open("0123456789");
  EXPECT_EQ(file_.Tell(), 0);
  file_.Seek(6);
  EXPECT_EQ(file_.Tell(), 6);
  file_.Seek(-3);  // refused: the position stays
  EXPECT_EQ(file_.Tell(), 6);
  file_.Seek(0);
  char c = 0;
  file_.Read(&c, 1);
  EXPECT_EQ(c, '0');
}

}  // namespace
}  // namespace kvr_test
