#include "tools/file_io.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "tests/support/temp_folder.h"

namespace {

using Bytes = std::vector<uint8_t>;

mode_t Mode_Of(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0 ? st.st_mode & 07777 : 0;
}

TEST(WriteFileAtomic, CreatesAndReplacesLeavingNoTemporaryFile) {
  TempFolder folder;
  std::string error;
  mode_t old_mask = ::umask(027);
  bool written = Write_File_Atomic(folder.Path("new.bin"), Bytes{1, 2, 3}, error);
  ::umask(old_mask);
  ASSERT_TRUE(written) << error;
  EXPECT_EQ(folder.Read("new.bin"), std::string("\1\2\3"));
  EXPECT_EQ(Mode_Of(folder.Path("new.bin")), mode_t(0640));

  // A replaced file keeps its permission bits.
  ::chmod(folder.Path("new.bin").c_str(), 0604);
  ASSERT_TRUE(Write_File_Atomic(folder.Path("new.bin"), Bytes{}, error)) << error;
  EXPECT_EQ(folder.Read("new.bin"), std::string());
  EXPECT_EQ(Mode_Of(folder.Path("new.bin")), mode_t(0604));
  EXPECT_EQ(folder.Entries(), std::vector<std::string>{"new.bin"});
}

TEST(WriteFileAtomic, FailuresLeaveEverythingAsItWas) {
  TempFolder folder;
  std::string error;
  EXPECT_FALSE(Write_File_Atomic(folder.Path("missing/out.bin"), Bytes{1}, error));
  EXPECT_NE(error.find("missing/out.bin"), std::string::npos);

  folder.Make_Folder("sub");
  error.clear();
  EXPECT_FALSE(Write_File_Atomic(folder.Path("sub"), Bytes{1}, error));
  EXPECT_NE(error.find("folder"), std::string::npos);
  EXPECT_EQ(folder.Entries(), std::vector<std::string>{"sub"});
  EXPECT_TRUE(folder.Entries("sub").empty());
}

TEST(ReadWholeFile, SizeLimitAndFileKinds) {
  TempFolder folder;
  folder.Write("ten", "0123456789");
  Bytes bytes;
  std::string error;
  ASSERT_TRUE(Read_Whole_File(folder.Path("ten"), 10, bytes, error)) << error;
  EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "0123456789");
  EXPECT_FALSE(Read_Whole_File(folder.Path("ten"), 9, bytes, error));
  EXPECT_TRUE(bytes.empty());
  EXPECT_NE(error.find("more than the 9"), std::string::npos) << error;

  folder.Write("empty", "");
  ASSERT_TRUE(Read_Whole_File(folder.Path("empty"), 0, bytes, error)) << error;
  EXPECT_TRUE(bytes.empty());

  EXPECT_FALSE(Read_Whole_File(folder.Path("none"), 100, bytes, error));
  EXPECT_NE(error.find(folder.Path("none")), std::string::npos);
  folder.Make_Folder("dir");
  EXPECT_FALSE(Read_Whole_File(folder.Path("dir"), 100, bytes, error));
  EXPECT_NE(error.find("not a regular file"), std::string::npos);
}

TEST(ReadFileStart, TakesAtMostTheCount) {
  TempFolder folder;
  folder.Write("f", "abcdef");
  Bytes bytes;
  std::string error;
  ASSERT_TRUE(Read_File_Start(folder.Path("f"), 4, bytes, error));
  EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "abcd");
  ASSERT_TRUE(Read_File_Start(folder.Path("f"), 4000000000u, bytes, error));
  EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "abcdef");
  ASSERT_TRUE(Read_File_Start(folder.Path("f"), 0, bytes, error));
  EXPECT_TRUE(bytes.empty());
}

}  // namespace
