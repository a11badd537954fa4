#include "host/file_replace.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "tests/support/temp_folder.h"

namespace {

using Bytes = std::vector<uint8_t>;

mode_t Mode_Of(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0 ? st.st_mode & 07777 : 0;
}

TEST(FileReplace, CreatesAndReplacesLeavingNoTemporaryFile) {
  TempFolder folder;
  std::string error;
  mode_t old_mask = ::umask(027);
  bool written = File_Replace(folder.Path("new.bin"), Bytes{1, 2, 3}, kReplaceModeShared, error);
  bool private_written = File_Replace(folder.Path("store"), "text", kReplaceModePrivate, error);
  ::umask(old_mask);
  ASSERT_TRUE(written && private_written) << error;
  EXPECT_EQ(folder.Read("new.bin"), std::string("\1\2\3"));
  EXPECT_EQ(Mode_Of(folder.Path("new.bin")), mode_t(0640));
  EXPECT_EQ(folder.Read("store"), "text");
  EXPECT_EQ(Mode_Of(folder.Path("store")), mode_t(0600));

  // A replaced file keeps its permission bits.
  ::chmod(folder.Path("new.bin").c_str(), 0604);
  ASSERT_TRUE(File_Replace(folder.Path("new.bin"), Bytes{}, kReplaceModePrivate, error)) << error;
  EXPECT_EQ(folder.Read("new.bin"), std::string());
  EXPECT_EQ(Mode_Of(folder.Path("new.bin")), mode_t(0604));
  EXPECT_EQ(folder.Entries(), (std::vector<std::string>{"new.bin", "store"}));
}

TEST(FileReplace, FailuresLeaveEverythingAsItWas) {
  TempFolder folder;
  std::string error;
  EXPECT_FALSE(File_Replace(folder.Path("missing/out.bin"), Bytes{1}, kReplaceModeShared, error));
  EXPECT_NE(error.find("missing/out.bin"), std::string::npos);

  folder.Make_Folder("sub");
  error.clear();
  EXPECT_FALSE(File_Replace(folder.Path("sub"), Bytes{1}, kReplaceModeShared, error));
  EXPECT_NE(error.find("folder"), std::string::npos);
  EXPECT_EQ(folder.Entries(), std::vector<std::string>{"sub"});
  EXPECT_TRUE(folder.Entries("sub").empty());
}

}  // namespace
