#include <gtest/gtest.h>

#include <cstdlib>

#include "host/temp_folder.h"

namespace {

TEST(TempFolder, TmpdirWhenAbsoluteElseTmpAlwaysWithASlash) {
  EXPECT_EQ(Temp_Folder_From(nullptr), "/tmp/");
  EXPECT_EQ(Temp_Folder_From(""), "/tmp/");
  EXPECT_EQ(Temp_Folder_From("relative/dir"), "/tmp/");
  EXPECT_EQ(Temp_Folder_From("/var/tmp"), "/var/tmp/");
  EXPECT_EQ(Temp_Folder_From("/var/tmp/"), "/var/tmp/");
  EXPECT_EQ(Temp_Folder_From("/"), "/");
}

TEST(TempFolder, ReadsTmpdirFromTheEnvironment) {
  ::setenv("TMPDIR", "/scratch/user", 1);
  EXPECT_EQ(Temp_Folder(), "/scratch/user/");
  ::unsetenv("TMPDIR");
  EXPECT_EQ(Temp_Folder(), "/tmp/");
}

}  // namespace
