#include "autorun/startup_check.h"

#include <gtest/gtest.h>

#include "tests/support/temp_folder.h"

namespace {

TEST(StartupCheck, SettingsAndGameMustBeThere) {
  TempFolder disc;
  const std::string dir = disc.Path().substr(0, disc.Path().size() - 1) + "\\";
  EXPECT_FALSE(Startup_Files_Present(dir));
  disc.Write("LAUNCH/settings.ini", "[General]\n");
  EXPECT_FALSE(Startup_Files_Present(dir));  // no game
  disc.Write("game.EXE", "MZ");
  EXPECT_TRUE(Startup_Files_Present(dir));  // found ignoring case

  TempFolder native;
  const std::string native_dir = native.Path().substr(0, native.Path().size() - 1) + "\\";
  native.Write("Launch/Settings.ini", "");
  native.Write("Game", "#!/bin/sh\n");  // not executable: no game
  EXPECT_FALSE(Startup_Files_Present(native_dir));
  native.Write_Program("Game", "#!/bin/sh\n");
  EXPECT_TRUE(Startup_Files_Present(native_dir));
  EXPECT_EQ(kStartupMessage.substr(kStartupMessage.size() - 49),
            "AutoRun cannot continue and will abort execution.");
}

}  // namespace
