#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/files/file_layer.h"
#include "platform/files/folders.h"
#include "platform/wendax.h"
#include "tests/platform/platform_test_support.h"

namespace {

// The current folder belongs to the process: each test puts it back.
class Folders : public testing::Test {
 protected:
  void SetUp() override { saved_ = Wendax_Get_Folder(); }
  void TearDown() override { EXPECT_EQ(Wendax_Set_Folder(saved_), 0); }

  static std::string Real(const std::string& path) {
    std::string real = std::filesystem::canonical(path).string();
    return real.back() == '/' ? real : real + "/";
  }

  std::string saved_;
};

TEST_F(Folders, GetEndsWithOneSeparator) {
  std::string folder = Wendax_Get_Folder();
  ASSERT_FALSE(folder.empty());
  EXPECT_EQ(folder.front(), '/');
  EXPECT_EQ(folder.back(), '/');
  EXPECT_EQ(folder, Real("."));
  ASSERT_EQ(Wendax_Set_Folder("/"), 0);
  EXPECT_EQ(Wendax_Get_Folder(), "/");
}

// The folder's name is resolved ignoring case, '\' separating like '/'.
TEST_F(Folders, SetResolvesIgnoringCase) {
  TempFolder tmp;
  tmp.Make_Folder("Game/Disc1");
  tmp.Write("Game/Disc1/Script.lst", "script");
  ASSERT_EQ(Wendax_Set_Folder(tmp.Path("GAME\\DISC1")), 0);
  EXPECT_EQ(Wendax_Get_Folder(), Real(tmp.Path("Game/Disc1")));

  // Relative names now resolve from there, for the file layer as well.
  Wendax wx;
  int handle = File_Open(wx, "SCRIPT.LST", kFileModeRead);
  ASSERT_GE(handle, 0);
  EXPECT_EQ(Read_All(wx, handle), "script");
  File_Close(wx, handle);
  ASSERT_EQ(Wendax_Set_Folder(".."), 0);
  EXPECT_EQ(Wendax_Get_Folder(), Real(tmp.Path("Game")));
  ASSERT_EQ(Wendax_Set_Folder("disc1"), 0);
  EXPECT_EQ(Wendax_Get_Folder(), Real(tmp.Path("Game/Disc1")));
}

// Missing folders, files and empty names are refused; the current folder
// stays where it was.
TEST_F(Folders, SetRefusesWhatIsNoFolder) {
  TempFolder tmp;
  tmp.Write("file.txt", "x");
  ASSERT_EQ(Wendax_Set_Folder(tmp.Path()), 0);
  const std::string here = Wendax_Get_Folder();
  EXPECT_EQ(Wendax_Set_Folder(tmp.Path("missing")), -1);
  EXPECT_EQ(Wendax_Set_Folder(tmp.Path("FILE.TXT")), -1);
  EXPECT_EQ(Wendax_Set_Folder(""), -1);
  EXPECT_EQ(Wendax_Get_Folder(), here);
}

}  // namespace
