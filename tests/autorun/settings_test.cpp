// The launcher's settings: the private-profile reading rules, the model's
// defaults and edge cases, and the Save side's key layout read back.
#include "autorun/settings.h"

#include <gtest/gtest.h>

#include "autorun/profile_file.h"
#include "autorun/settings_json.h"
#include "host/text_1252.h"
#include "tests/support/temp_folder.h"

namespace {

TEST(ProfileFile, ReadingRules) {
  ProfileFile p = ProfileFile::Parse(
      "; comment\r\n[General]\r\n  AutorunType = 02  \r\nname=\"quoted value\"\r\nq='x'\r\nodd=\"x'\r\n"
      "AUTORUNTYPE=7\r\n;key=hidden\r\n[general]\r\nCdID=second\r\n[Other]\r\nlong=" +
      std::string(600, 'v') + "\r\nnovalue\r\n");
  struct Case {
    const char* section;
    const char* key;
    std::optional<std::string> value;
  };
  const Case cases[] = {
      {"GENERAL", "autoruntype", "02"},     // names ignore case, blanks dropped, the first key counts
      {"General", "name", "quoted value"},  // one pair of quotes removed
      {"General", "q", "x"},
      {"General", "odd", "\"x'"},         // quotes that do not match stay
      {"General", "key", std::nullopt},   // a comment line
      {"General", "CdID", std::nullopt},  // the second [general] is not read
      {"Other", "long", std::string(kProfileValueMax, 'v')},
      {"Other", "novalue", ""},
      {"Missing", "x", std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(p.Get(c.section, c.key), c.value) << c.section << "/" << c.key;
}

TEST(ProfileFile, SetReplacesTheFirstKeyOrAddsKeysAndSections) {
  ProfileFile p = ProfileFile::Parse("; top\n[A]\nx=1\n\n[B]\ny=2\n");
  p.Set("a", "X", "9");
  p.Set("A", "z", "3");
  p.Set("C", "w", "4");
  EXPECT_EQ(p.Text(), "; top\r\n[A]\r\nX=9\r\nz=3\r\n\r\n[B]\r\ny=2\r\n[C]\r\nw=4\r\n");
}

TEST(Settings, LauncherDirAndPaths) {
  EXPECT_EQ(Launcher_Dir("D:\\disc\\autorun.exe"), "D:\\disc");
  EXPECT_EQ(Launcher_Dir("/media/disc/autorun"), "/media/disc");
  EXPECT_EQ(Launcher_Dir("autorun"), "");
  EXPECT_EQ(Launcher_Dir("\\autorun.exe"), "");
  EXPECT_EQ(Settings_Path("D:\\disc"), "D:\\disc\\Launch\\Settings.ini");
  EXPECT_EQ(Resolve_Program_Path("D:\\", "\\Launch\\setup.exe"), "D:\\Launch\\setup.exe");
  EXPECT_EQ(Resolve_Media_Path("D:\\disc", "\\Launch\\splash.bmp"), "D:\\disc\\Launch\\splash.bmp");
  EXPECT_EQ(Resolve_Icon_Path("\\Launch\\game.ico"), "Launch\\game.ico");
}

TEST(Settings, AtoiRules) {
  const std::pair<const char*, int> cases[] = {{"02", 2},
                                               {"two", 0},
                                               {"  -7x", -7},
                                               {"+5", 5},
                                               {"", 0},
                                               {"99999999999", 2147483647},
                                               {"-99999999999", -2147483647 - 1}};
  for (auto [text, value] : cases) EXPECT_EQ(Atoi(text), value) << text;
}

TEST(Settings, DefaultsAndEdgeCases) {
  TempFolder folder;
  folder.Write("Settings.ini",
               "[General]\nAutorunType=two\n[Html]\nWindowName=\nWidth=640\n"
               "[Button]\nCount=3\nName0=Play\nButtonNumber0=2\nName1=Readme\nName2=Setup\nButtonNumber2=2\n"
               "ButtonType2=1\nWindowClose2=FALSE\n"
               "[Launch2]\nCount=-3\n[Launch]\nCount=2\nFile0=\\game.exe\nKiosk0=TRUE\nKiosk1=1\n"
               "[Install2]\nCount=1\nFile0=\\setup.exe\n");
  CAutorunSettings s;
  s.SetFile(folder.Path("Settings.ini"));
  ASSERT_TRUE(s.Load());
  EXPECT_EQ(s.AutorunType, 0);  // "two" reads as 0: the windowless mode
  EXPECT_EQ(s.CustomerID, "Test");
  EXPECT_EQ(s.Html.WindowName, "AutoRun");  // an empty value keeps the default
  EXPECT_EQ(s.Html.Width, 640);
  EXPECT_EQ(s.Html.Height, 300);
  ASSERT_EQ(s.Launch.Items.size(), 2u);
  EXPECT_TRUE(s.Launch.Items[0].Kiosk);
  EXPECT_FALSE(s.Launch.Items[1].Kiosk);  // "1" is not true
  EXPECT_EQ(s.Launch.Items[1].LaunchType, 1);
  ASSERT_EQ(s.Button.Buttons.size(), 3u);
  const CButtonData& play = s.Button.Buttons[0];
  EXPECT_EQ(play.ButtonNumber, 2);
  EXPECT_TRUE(play.Launch.Items.empty());  // Count -3
  ASSERT_EQ(play.Install.Items.size(), 1u);
  EXPECT_TRUE(play.Install.Items[0].LaunchAndWait);
  const CButtonData& readme = s.Button.Buttons[1];
  EXPECT_EQ(readme.Launch.Suffix(), "");  // no ButtonNumber: the global sections
  EXPECT_EQ(readme.Launch.Items.size(), 2u);
  EXPECT_EQ(readme.ButtonType, 2);
  EXPECT_TRUE(readme.WindowClose);
  const CButtonData& setup = s.Button.Buttons[2];
  EXPECT_EQ(setup.Install.Items.size(), 1u);  // shares button 0's sections
  EXPECT_EQ(setup.ButtonType, 1);
  EXPECT_FALSE(setup.WindowClose);

  CAutorunSettings missing;
  missing.SetFile(folder.Path("none.ini"));
  EXPECT_TRUE(missing.Load());
  EXPECT_EQ(missing.Icon.Type, 1);
  EXPECT_EQ(missing.Html.PresetLocation, 1);
}

TEST(Settings, SaveWritesTheLayoutThatLoadReads) {
  TempFolder folder;
  CAutorunSettings s;
  s.SetFile(folder.Path("Settings.ini"));
  s.AutorunType = 2;
  s.Html.WindowName = "Varnokh II";
  s.Icon.Type = 2;
  CLaunchItem game;
  game.File = "\\Game.exe";
  game.LaunchAndWait = true;
  s.Launch.Items = {game};
  CButtonData button;
  button.SetFile(s.File);
  button.Name = "Play";
  button.SetNumber(4);
  button.Splash.Image = true;
  s.Button.Buttons = {button};
  ASSERT_TRUE(s.Save());
  const std::string text = folder.Read("Settings.ini").value_or("");
  for (const char* line :
       {"[General]\r\nAutorunType=2\r\n", "[Launch]\r\nCount=1\r\nLaunchType0=1\r\nFile0=\\Game.exe\r\n",
        "LaunchAndWait0=true\r\n",
        "[Button]\r\nCount=1\r\nMaxButtonNumber=0\r\nName0=Play\r\n"
        "ButtonNumber0=4\r\n",
        "[Splash4]\r\nImage=true\r\n", "[Icon]\r\nType=2\r\n"})
    EXPECT_NE(text.find(line), std::string::npos) << line;

  CAutorunSettings back;
  back.SetFile(s.File);
  back.Load();
  EXPECT_EQ(back.AutorunType, 2);
  EXPECT_EQ(back.Html.WindowName, "Varnokh II");
  ASSERT_EQ(back.Launch.Items.size(), 1u);
  EXPECT_TRUE(back.Launch.Items[0].LaunchAndWait);
  ASSERT_EQ(back.Button.Buttons.size(), 1u);
  EXPECT_EQ(back.Button.Buttons[0].ButtonNumber, 4);
  EXPECT_TRUE(back.Button.Buttons[0].Splash.Image);
}

TEST(Settings, JsonHoldsEveryKeyAndNullForAnAbsentButtonNumber) {
  TempFolder folder;
  folder.Make_Folder("Launch");
  folder.Write(
      "Launch/settings.INI",
      "[General]\nAutorunType=2\nCdID=Caf\xE9\n[Button]\nCount=2\nName0=Play\nButtonNumber0=3\n"
      "Name1=Quit\nButtonType1=3\n[Driver]\nCount=1\nDir0=\\drv\n[Launch3]\nCount=1\nFile0=\\Game.exe\n");
  const std::string dir = folder.Path().substr(0, folder.Path().size() - 1);
  const std::string file = Native_Path(Settings_Path(dir));
  EXPECT_EQ(file, folder.Path("Launch/settings.INI"));  // found ignoring case
  CAutorunSettings s;
  s.SetFile(file);
  s.Load();
  const std::string json = Settings_Json(s, dir);
  for (const std::string& part :
       {std::string("{\"launcher_dir\":\"") + dir + "\",\"settings_file\":\"" + file + "\"",
        std::string("\"General\":{\"AutorunType\":2,\"CustomerID\":\"Test\",\"CdID\":\"Caf\xC3\xA9\","
                    "\"TargetDir\":\"\",\"AutorunUpdated\":false}"),
        std::string("\"Icon\":{\"Type\":1,\"Filename\":\"\",\"Number\":0}"),
        std::string("\"Install\":[],\"Launch\":[],\"Driver\":[\"\\\\drv\"]"),
        std::string("{\"Name\":\"Play\",\"ButtonNumber\":3,\"ButtonType\":2,\"WindowClose\":true"),
        std::string("\"Launch\":[{\"LaunchType\":1,\"File\":\"\\\\Game.exe\",\"RegKey\":\"\""),
        std::string("{\"Name\":\"Quit\",\"ButtonNumber\":null,\"ButtonType\":3")})
    EXPECT_NE(json.find(part), std::string::npos) << part << "\nin " << json;
  EXPECT_EQ(json.substr(json.size() - 3), "]}}");
}

TEST(Text1252, ToUtf8) {
  EXPECT_EQ(Text_1252_To_Utf8("Caf\xE9 \x80 \x93x\x94 \x81"),
            "Caf\xC3\xA9 \xE2\x82\xAC \xE2\x80\x9Cx\xE2\x80\x9D \xEF\xBF\xBD");
  EXPECT_EQ(Text_1252_To_Utf8("plain"), "plain");
}

}  // namespace
