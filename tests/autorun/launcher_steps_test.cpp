// The rules the launcher's steps follow: version comparison and the viewer's
// package version, the page link rule, the remembered-step records in the
// registry store, the licence text, the splash timers and the test hook.
#include <gtest/gtest.h>

#include "autorun/install_versions.h"
#include "autorun/license_text.h"
#include "autorun/page_link.h"
#include "autorun/registry_util.h"
#include "autorun/remembered_steps.h"
#include "autorun/splash_timers.h"
#include "autorun/test_hook.h"
#include "host/text_1252.h"
#include "tests/support/temp_folder.h"

namespace {

TEST(CompareVersions, ComponentsByTheDigitRule) {
  struct Case {
    const char* a;
    const char* b;
    int result;
  };
  const Case cases[] = {
      {"5.9", "5.10", 2},          {"1a", "10", 0},           {"6.00", "6.0", 0},
      {"6.0.2800.1106", "6.0", 1}, {"1.2.3.4", "1.2.3.5", 2}, {"1.2.3.4.9", "1.2.3.4", 0},
      {"65536", "0", 0},           {"2", "1.99", 1},          {"", "0.0.0.0", 0},
  };
  for (const Case& c : cases) EXPECT_EQ(CompareVersions(c.a, c.b), c.result) << c.a << " vs " << c.b;
}

TEST(GetFileVersionText, TheOwningPackagesUpstreamVersion) {
  TempFolder dpkg;
  dpkg.Write("info/viewer:amd64.list", "/.\n/usr\n/usr/bin/viewer\n");
  dpkg.Write("info/other.list", "/usr/bin/other\n");
  dpkg.Write("status",
             "Package: other\nVersion: 9.9\n\nPackage: viewer\nStatus: install ok installed\n"
             "Version: 1:6.0.2800~rc1-2\n\n");
  std::string text;
  ASSERT_TRUE(GetFileVersionText("/usr/bin/viewer", true, text, dpkg.Path()));
  EXPECT_EQ(text, "6.00");
  ASSERT_TRUE(GetFileVersionText("/usr/bin/viewer", false, text, dpkg.Path()));
  EXPECT_EQ(text, "6.0.2800.0");
  EXPECT_FALSE(GetFileVersionText("/usr/local/bin/viewer", true, text, dpkg.Path()));
}

TEST(PageLink, ButtonNames) {
  struct Case {
    const char* uri;
    std::optional<std::string> name;
  };
  const Case cases[] = {
      {"rw:Play%20Game", "Play Game"},
      {"RW:Play Game", "Play Game"},
      {"rw:", ""},
      {"file:///disc/page.htm", std::nullopt},
      {"rw", std::nullopt},
      {"rw:Caf%C3%A9", "Caf\xE9"},  // the web view's UTF-8 codes
      {"rw:%E2%82%AC", "\x80"},     // the euro sign's Windows-1252 code
      {"rw:100%", "100%"},          // the page's own '%' stays
      {"rw:%e9%41", "%e9%41"},      // codes the web view does not write
      {"rw:a#b%20c", "a#b c"},
      {"rw:%E4%B8%80", "?"},  // no Windows-1252 code
  };
  for (const Case& c : cases) EXPECT_EQ(Link_Button_Name(c.uri), c.name) << c.uri;

  std::vector<CButtonData> buttons(3);
  buttons[0].Name = "Install";
  buttons[1].Name = "play game";
  buttons[2].Name = "PLAY GAME";
  EXPECT_EQ(Find_Button(buttons, "Play Game"), &buttons[1]);
  EXPECT_EQ(Find_Button(buttons, "Nothing"), nullptr);
}

TEST(Text1252, Utf8BackToWindows1252) {
  EXPECT_EQ(Utf8_To_1252(Text_1252_To_Utf8("Caf\xE9 \x80\x9F\xFF")), "Caf\xE9 \x80\x9F\xFF");
  EXPECT_EQ(Utf8_To_1252("\xC3"), "?");        // cut sequence
  EXPECT_EQ(Utf8_To_1252("\xC2\x81x"), "?x");  // a C1 control has no code
}

class Records : public ::testing::Test {
 protected:
  std::string Value(const std::string& path, const std::string& name) {
    std::optional<RegistryKey> key = store.Open_Key(RegistryRoot::kLocalMachine, kRegistryBaseKey + path);
    if (!key) return "(no key)";
    return store.Read_Value(*key, name).value_or("(no value)");
  }
  TempFolder folder;
  RegistryStore store{folder.Path("registry")};
};

TEST_F(Records, InstallAndLicenseRecordsUnderCustomerAndCd) {
  const StepRecords cd{store, "Test", "CD1"};
  const std::string key = Install_Entry_Key("\\Setup\\setup.exe");
  EXPECT_EQ(key, "#Setup#setup.exe");
  EXPECT_FALSE(IsMarked(cd, StepKind::kInstall, "Install Game", key));
  Mark(cd, StepKind::kInstall, "Install Game", key);
  Mark(cd, StepKind::kLicense, "Silent");
  EXPECT_EQ(Value("Test\\CD1\\Install\\Install Game", "#Setup#setup.exe"), "1");
  EXPECT_EQ(Value("Test\\CD1\\License", "Silent"), "1");
  EXPECT_TRUE(IsMarked(cd, StepKind::kInstall, "install game", key));
  EXPECT_FALSE(IsMarked(cd, StepKind::kInstall, "Other Button", key));
  EXPECT_TRUE(IsMarked(cd, StepKind::kLicense, "Silent"));
  EXPECT_FALSE(IsMarked(cd, StepKind::kLicense, "Install Game"));

  // With CdID empty the records lie directly under the CustomerID key.
  const StepRecords no_cd{store, "Test", ""};
  Mark(no_cd, StepKind::kLicense, "Play");
  EXPECT_EQ(Value("Test\\License", "Play"), "1");
  EXPECT_TRUE(IsMarked(no_cd, StepKind::kLicense, "Play"));

  // Only the data "1" counts.
  std::optional<RegistryKey> license =
      store.Open_Key(RegistryRoot::kLocalMachine, std::string(kRegistryBaseKey) + "Test\\CD1\\License");
  ASSERT_TRUE(license);
  for (const char* data : {"1 ", "0", "", "11"}) {
    ASSERT_TRUE(store.Write_Value(*license, "Silent", data));
    EXPECT_FALSE(IsMarked(cd, StepKind::kLicense, "Silent")) << "data \"" << data << "\"";
  }
}

TEST_F(Records, ReadRegStringByKeyPath) {
  std::optional<RegistryKey> key = store.Create_Key(RegistryRoot::kLocalMachine, "Software\\X");
  ASSERT_TRUE(key);
  ASSERT_TRUE(store.Write_Value(*key, "Path", "/opt/x/x.exe"));
  ASSERT_TRUE(store.Write_Value(*key, "Long", std::string(511, 'a')));
  ASSERT_TRUE(store.Write_Value(*key, "TooLong", std::string(512, 'a')));
  RegistryUtil reg(store);
  struct Case {
    const char* path;
    const char* value;
    bool found;
  };
  const Case cases[] = {
      {"HKEY_LOCAL_MACHINE\\Software\\X", "Path", true},
      {"\\hkey_local_machine\\SOFTWARE\\x", "Path", true},
      {"HKEY_LOCAL_MACHINE\\Software\\X", "Long", true},
      {"HKEY_LOCAL_MACHINE\\Software\\X", "TooLong", false},
      {"HKEY_CURRENT_USER\\Software\\X", "Path", false},
      {"HKEY_LOCAL_MACHINE", "Path", false},
      {"HKEY_LOCAL_MACHINE\\", "Path", false},
      {"HKLM\\Software\\X", "Path", false},
  };
  for (const Case& c : cases) {
    std::string out;
    EXPECT_EQ(reg.ReadRegString(c.path, c.value, out), c.found) << c.path << " " << c.value;
  }
}

TEST(LicenseText, AZeroByteCutsTheRestOfItsBlock) {
  TempFolder folder;
  std::string bytes(3000, 'a');
  for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = char('a' + i % 26);
  bytes[100] = '\0';
  folder.Write("license.txt", bytes);
  std::optional<std::string> text = License_Text_Read(folder.Path("license.txt"));
  ASSERT_TRUE(text);
  EXPECT_EQ(*text, bytes.substr(0, 100) + bytes.substr(1024));
  EXPECT_FALSE(License_Text_Read(folder.Path("missing.txt")));
  EXPECT_FALSE(License_Text_Read(folder.Path()));  // opens, but cannot be read
}

TEST(SplashTimers, PictureAndSoundEndings) {
  struct Case {
    int length, option, sound_length;
    bool sound_file;
    SplashSoundPlay play;
    int sound_ms;
    const char* timers;  // the order the timers fire: 'p' picture, 's' sound
    const char* steps;   // per timer: stop sound 'S', hide 'H', end 'E', nothing '-'
  };
  const Case cases[] = {
      {3, 3, 8, true, SplashSoundPlay::kLoop, 8000, "ps", "H SE"},
      {8, 3, 3, true, SplashSoundPlay::kLoop, 3000, "sp", "S E"},
      {2, 1, 9, true, SplashSoundPlay::kOnce, -1, "p", "E"},
      {2, 2, 9, true, SplashSoundPlay::kLoop, -1, "p", "SE"},
      {2, 3, 9, false, SplashSoundPlay::kNone, -1, "p", "E"},
      {2, 4, 9, true, SplashSoundPlay::kNone, -1, "p", "E"},
  };
  for (const Case& c : cases) {
    CSettingsSplash splash;
    splash.Length = c.length;
    splash.SoundOption = c.option;
    splash.SoundLength = c.sound_length;
    SplashTimers timers(splash, c.sound_file);
    EXPECT_EQ(timers.Start().sound, c.play);
    EXPECT_EQ(timers.Start().picture_ms, c.length * 1000);
    EXPECT_EQ(timers.Start().sound_ms, c.sound_ms);
    std::string steps;
    for (const char* t = c.timers; *t; ++t) {
      const SplashStep step = *t == 'p' ? timers.Picture_Timer() : timers.Sound_Timer();
      if (!steps.empty()) steps += ' ';
      std::string s =
          std::string(step.stop_sound ? "S" : "") + (step.hide ? "H" : "") + (step.end ? "E" : "");
      steps += s.empty() ? "-" : s;
    }
    EXPECT_EQ(steps, c.steps) << "option " << c.option << " length " << c.length;
  }
}

TEST(TestHook, ActionsAndAnswersInOrder) {
  std::string error;
  std::optional<TestHook> hook = TestHook::Parse(
      "# drive\nclick rw:Play%20Game\nanswer accept\n\nshot a b.png\r\n"
      "answer skip\nclose\n",
      error);
  ASSERT_TRUE(hook) << error;
  EXPECT_EQ(hook->Next_Action()->argument, "rw:Play%20Game");
  EXPECT_EQ(hook->Next_Action()->argument, "a b.png");
  EXPECT_EQ(hook->Next_Action()->verb, "close");
  EXPECT_FALSE(hook->Next_Action());
  EXPECT_EQ(hook->Next_Answer(), "accept");
  EXPECT_EQ(hook->Next_Answer(), "skip");
  for (const char* bad : {"click\n", "close now\n", "jump x\n"})
    EXPECT_FALSE(TestHook::Parse(bad, error)) << bad;
}

}  // namespace
