#include "tools/file_io.h"

#include <gtest/gtest.h>

#include "tests/support/temp_folder.h"

namespace {

using Bytes = std::vector<uint8_t>;

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
