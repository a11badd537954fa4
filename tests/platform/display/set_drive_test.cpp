// Wendax_Set_Drive: the drive named by the first letter of a path.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "platform/files/folders.h"

namespace {

class SetDrive : public ::testing::Test {
 protected:
  void SetUp() override {
    start_ = Wendax_Get_Folder();
    const char* tmp = std::getenv("TMPDIR");
    root_ = std::string(tmp && *tmp ? tmp : "/tmp") + "/wendax_drive_" + std::to_string(::getpid());
    ASSERT_EQ(::mkdir(root_.c_str(), 0700), 0);
    ASSERT_EQ(::mkdir((root_ + "/E:").c_str(), 0700), 0);
    ASSERT_EQ(Wendax_Set_Folder(root_), 0);
  }
  void TearDown() override {
    Wendax_Set_Folder(start_);
    ::rmdir((root_ + "/E:").c_str());
    ::rmdir(root_.c_str());
  }
  std::string start_;
  std::string root_;
};

TEST_F(SetDrive, TheFirstLetterNamesTheDrive) {
  EXPECT_EQ(Wendax_Set_Drive("e:\\data\\file.txt"), 0);  // names are matched ignoring case
  EXPECT_EQ(Wendax_Get_Folder(), root_ + "/E:/");
  ASSERT_EQ(Wendax_Set_Folder(root_), 0);
  EXPECT_EQ(Wendax_Set_Drive("Q:\\"), -1);
  EXPECT_EQ(Wendax_Get_Folder(), root_ + "/");
  EXPECT_EQ(Wendax_Set_Drive(""), -1);
  EXPECT_EQ(Wendax_Set_Drive("1:\\"), -1);
  EXPECT_EQ(Wendax_Set_Drive("/tmp"), -1);
}

}  // namespace
