// Open, Open_Tmp and Close, and objects sharing one stream.
#include <gtest/gtest.h>

#include <string>

#include "kvr_read/kvr_file.h"
#include "tests/kvr_read/chunk_bytes.h"

namespace kvr_test {
namespace {

class OpenClose : public ::testing::Test {
 protected:
  std::string Path(const char* name, const std::string& bytes) {
    folder_.Write(name, bytes);
    return folder_.Path(name);
  }
  char First_Byte(KVR_FILE& f) {
    char c = '?';
    f.Seek(0);
    f.Read(&c, 1);
    return c;
  }
  TempFolder folder_;
};

TEST_F(OpenClose, OpenReportsWhetherTheFileOpened) {
  KVR_FILE f;
  EXPECT_EQ(f.Open(Path("a", "A").c_str(), "rb"), 1);
  EXPECT_EQ(First_Byte(f), 'A');
  EXPECT_EQ(f.Open(folder_.Path("missing").c_str(), "rb"), 0);
  EXPECT_EQ(f.Tell(), -1);
  EXPECT_EQ(f.Open(nullptr, "rb"), 0);
  EXPECT_EQ(f.Open(Path("a", "A").c_str(), nullptr), 0);
  EXPECT_EQ(f.Tell(), -1);
}

TEST_F(OpenClose, OpenOnAnOpenObjectClosesTheOldStream) {
  const int before = Open_Descriptors();
  KVR_FILE f;
  ASSERT_EQ(f.Open(Path("a", "A").c_str(), "rb"), 1);
  ASSERT_EQ(f.Open(Path("b", "B").c_str(), "rb"), 1);
  EXPECT_EQ(Open_Descriptors(), before + 1);
  EXPECT_EQ(First_Byte(f), 'B');
  EXPECT_EQ(f.Open(folder_.Path("missing").c_str(), "rb"), 0);  // closes all the same
  EXPECT_EQ(Open_Descriptors(), before);
}

TEST_F(OpenClose, CloseIsHarmlessWhenNothingIsOpen) {
  const int before = Open_Descriptors();
  KVR_FILE f;
  f.Close();
  ASSERT_EQ(f.Open(Path("a", "A").c_str(), "rb"), 1);
  f.Close();
  f.Close();
  EXPECT_EQ(f.Tell(), -1);
  EXPECT_EQ(Open_Descriptors(), before);
}

TEST_F(OpenClose, DestructionClosesTheStream) {
  const int before = Open_Descriptors();
  {
    KVR_FILE f;
    ASSERT_EQ(f.Open(Path("a", "A").c_str(), "rb"), 1);
    EXPECT_EQ(Open_Descriptors(), before + 1);
  }
  EXPECT_EQ(Open_Descriptors(), before);
}

TEST_F(OpenClose, OpenTmpGivesAnAnonymousReadWriteBinaryFile) {
  const int deleted = Open_Deleted_Files();
  KVR_FILE f;
  ASSERT_EQ(f.Open_Tmp(), 1);
  EXPECT_EQ(Open_Deleted_Files(), deleted + 1);
  const std::string bytes("\x00\x0A\x0D\x1A\xFF\r\n", 7);
  f.Write(bytes.data(), 7);
  EXPECT_EQ(f.Tell(), 7);
  f.Seek(0);
  std::string back(7, '.');
  f.Read(back.data(), 7);
  EXPECT_EQ(back, bytes);
  f.Close();
  EXPECT_EQ(Open_Deleted_Files(), deleted);
}

TEST_F(OpenClose, OpenTmpOnAnOpenObjectClosesTheOldStream) {
  const int before = Open_Descriptors();
  KVR_FILE f;
  ASSERT_EQ(f.Open(Path("a", "A").c_str(), "rb"), 1);
  ASSERT_EQ(f.Open_Tmp(), 1);
  EXPECT_EQ(Open_Descriptors(), before + 1);
  EXPECT_EQ(f.Tell(), 0);
  ASSERT_EQ(f.Open_Tmp(), 1);
  EXPECT_EQ(Open_Descriptors(), before + 1);
}

class SharedStreams : public OpenClose {};

TEST_F(SharedStreams, AssignmentSharesTheStreamAndItsPosition) {
  KVR_FILE a;
  ASSERT_EQ(a.Open(Path("a", "0123456789").c_str(), "rb"), 1);
  KVR_FILE b;
  b = a;
  a.Seek(4);
  EXPECT_EQ(b.Tell(), 4);
  char c = 0;
  b.Read(&c, 1);
  EXPECT_EQ(c, '4');
  EXPECT_EQ(a.Tell(), 5);
  KVR_FILE copy(a);
  EXPECT_EQ(copy.Tell(), 5);
}

TEST_F(SharedStreams, CloseThroughOneClosesItForAllExactlyOnce) {
  const int before = Open_Descriptors();
  {
    KVR_FILE a;
    ASSERT_EQ(a.Open(Path("a", "0123").c_str(), "rb"), 1);
    KVR_FILE b;
    b = a;
    KVR_FILE c(b);
    b.Close();
    EXPECT_EQ(Open_Descriptors(), before);
    EXPECT_EQ(a.Tell(), -1);
    EXPECT_EQ(c.Tell(), -1);
    int tag = 7, size = 7;
    a.Get_Chunck(&tag, &size);
    EXPECT_EQ(tag, 0);
    EXPECT_EQ(size, 0);
    a.Close();  // closing again through another one is harmless
  }             // and so are the destructors
  EXPECT_EQ(Open_Descriptors(), before);
}

TEST_F(SharedStreams, DestroyingOneLeavesTheStreamToTheOthers) {
  const int before = Open_Descriptors();
  KVR_FILE kept;
  {
    KVR_FILE opener;
    ASSERT_EQ(opener.Open(Path("a", "0123").c_str(), "rb"), 1);
    kept = opener;
  }
  EXPECT_EQ(Open_Descriptors(), before + 1);
  EXPECT_EQ(First_Byte(kept), '0');
  kept = KVR_FILE();  // the last holder lets go: the stream closes
  EXPECT_EQ(Open_Descriptors(), before);
  EXPECT_EQ(kept.Tell(), -1);
}

TEST_F(SharedStreams, ReopeningOneClosesTheSharedStreamForTheOthers) {
  const int before = Open_Descriptors();
  KVR_FILE a;
  ASSERT_EQ(a.Open(Path("a", "A").c_str(), "rb"), 1);
  KVR_FILE b(a);
  ASSERT_EQ(a.Open(Path("b", "B").c_str(), "rb"), 1);
  EXPECT_EQ(b.Tell(), -1);
  EXPECT_EQ(First_Byte(a), 'B');
  EXPECT_EQ(Open_Descriptors(), before + 1);
}

TEST_F(SharedStreams, SelfAssignmentKeepsTheStream) {
  KVR_FILE a;
  ASSERT_EQ(a.Open(Path("a", "A").c_str(), "rb"), 1);
  KVR_FILE& same = a;
  a = same;
  EXPECT_EQ(First_Byte(a), 'A');
  KVR_FILE b(a);
  a = b;  // already sharing
  EXPECT_EQ(First_Byte(b), 'A');
}

}  // namespace
}  // namespace kvr_test
