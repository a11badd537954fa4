// The launcher program run on disc folders made here: without a window (and
// without a display), and in its window on the virtual X server this
// program runs under, driven by its test hook. Started programs are small
// shell scripts named X beside an X.exe entry that append to a marks file.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

#include <unistd.h>

#include "host/registry_store.h"
#include "packing/byte_order.h"
#include "tests/support/program_run.h"
#include "tests/support/temp_folder.h"
#include "tools/png_file.h"

namespace {

const std::string kAutorun = AUTORUN_PATH;

// A program that appends "NAME ARGS" to $MARKS, then sleeps.
std::string Marker(const std::string& name, int sleep_seconds = 0) {
  return "#!/bin/sh\necho \"" + name + " $*\" >> \"$MARKS\"\nsleep " + std::to_string(sleep_seconds) + "\n";
}

std::string Bmp(int width, int height) {
  std::vector<uint8_t> b = {'B', 'M'};
  const int row = (width * 3 + 3) & ~3;
  Push_Le32(b, uint32_t(54 + row * height));
  Push_Le32(b, 0);
  Push_Le32(b, 54);
  Push_Le32(b, 40);
  Push_Le32(b, uint32_t(width));
  Push_Le32(b, uint32_t(height));
  Push_Le16(b, 1);
  Push_Le16(b, 24);
  for (int i = 0; i < 6; ++i) Push_Le32(b, 0);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < row; ++x) b.push_back(uint8_t(x * 7 + y));
  return std::string(b.begin(), b.end());
}

std::string Wav(int milliseconds) {
  const uint32_t frames = uint32_t(22050 * milliseconds / 1000);
  std::vector<uint8_t> b = {'R', 'I', 'F', 'F'};
  Push_Le32(b, 36 + frames * 2);
  for (char c : std::string("WAVEfmt ")) b.push_back(uint8_t(c));
  Push_Le32(b, 16);
  Push_Le16(b, 1);
  Push_Le16(b, 1);
  Push_Le32(b, 22050);
  Push_Le32(b, 44100);
  Push_Le16(b, 2);
  Push_Le16(b, 16);
  for (char c : std::string("data")) b.push_back(uint8_t(c));
  Push_Le32(b, frames * 2);
  for (uint32_t i = 0; i < frames; ++i) Push_Le16(b, (i / 25) % 2 ? 0x2000 : 0xE000);
  return std::string(b.begin(), b.end());
}

class LauncherRun : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("KVR_REGISTRY", home.Path("registry").c_str(), 1);
    setenv("TMPDIR", home.Path("tmp").c_str(), 1);
    setenv("MARKS", home.Path("marks").c_str(), 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    setenv("ASAN_OPTIONS", "detect_leaks=0", 1);
    home.Make_Folder("tmp");
    disc.Write_Program("Game", Marker("game"));
  }
  void TearDown() override {
    // The next test's folders are made in the system's temporary folder.
    unsetenv("TMPDIR");
  }
  void Settings(const std::string& text) { disc.Write("Launch/settings.INI", text); }
  ProgramRun Run(std::vector<std::string> args, bool display) {
    args.insert(args.begin(), {"--disc", disc.Path(), "--trace", home.Path("trace")});
    const char* saved = std::getenv("DISPLAY");
    const std::string keep = saved ? saved : "";
    if (!display) unsetenv("DISPLAY");
    ProgramRun run = Run_Program(kAutorun, args);
    if (!display && saved) setenv("DISPLAY", keep.c_str(), 1);
    return run;
  }
  ProgramRun Run_Hook(const std::string& hook) {
    home.Write("hook", hook);
    return Run({"--test-hook", home.Path("hook")}, true);
  }
  std::string Trace() { return home.Read("trace").value_or(""); }
  // The marks once they equal `expected`, or as they are after five
  // seconds: a program not waited for may write after the launcher ends.
  std::string Marks(const std::string& expected) {
    std::string marks;
    for (int i = 0; i < 100; ++i) {
      if ((marks = home.Read("marks").value_or("")) == expected) break;
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return marks;
  }
  void Need_Display() {
    if (!std::getenv("DISPLAY")) GTEST_SKIP() << "no X display";
  }
  // Lines of the trace that start with one of the prefixes, in order.
  std::string Steps(const std::vector<std::string>& prefixes) {
    std::istringstream lines(Trace());
    std::string out;
    for (std::string line; std::getline(lines, line);)
      for (const std::string& p : prefixes)
        if (line.rfind(p, 0) == 0) {
          out += line.substr(0, line.find(' ')) + "|";
          break;
        }
    return out;
  }

  TempFolder home, disc;
};

TEST_F(LauncherRun, WindowlessStartsItsEntriesAndDoesNotWaitForTheLast) {
  disc.Write_Program("Tools/first", Marker("first", 1));
  disc.Write_Program("Tools/last", Marker("last", 4));
  Settings(
      "[General]\nAutorunType=1\n[Html]\nFilename=\\none.htm\n[Launch]\nCount=2\n"
      "LaunchType0=1\nFile0=\\TOOLS\\FIRST.EXE\nParameters0=-a \"b c\"\nLaunchAndWait0=true\n"
      "LaunchType1=1\nFile1=\\Tools\\last.exe\nLaunchAndWait1=true\n");
  const auto start = std::chrono::steady_clock::now();
  ProgramRun run = Run({}, false);
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_GE(seconds, 1.0);  // the first entry was waited for
  EXPECT_LT(seconds, 3.5);  // the last one was not
  EXPECT_EQ(Marks("first -a b c\nlast \n"), "first -a b c\nlast \n");
  EXPECT_EQ(Steps({"start", "wait", "waited", "run ended"}), "start|wait|waited|start|run|");
}

TEST_F(LauncherRun, RegistryLaunchEntriesAndTheNotInstalledMessage) {
  disc.Write_Program("Tools/first", Marker("first"));
  RegistryStore store(home.Path("registry"));
  std::optional<RegistryKey> key = store.Create_Key(RegistryRoot::kLocalMachine, "Software\\Game");
  ASSERT_TRUE(key);
  ASSERT_TRUE(store.Write_Value(*key, "Path", disc.Path("Tools/first.exe")));
  ASSERT_TRUE(store.Write_Value(*key, "Gone", disc.Path("Tools/deleted.exe")));
  Settings(
      "[Launch]\nCount=3\nLaunchType0=2\nRegKey0=\\hkey_local_machine\\SOFTWARE\\game\nRegValue0=Path\n"
      "LaunchAndWait0=true\nLaunchType1=2\nRegKey1=HKEY_LOCAL_MACHINE\\Software\\Game\nRegValue1=Gone\n"
      "LaunchType2=2\nRegKey2=HKEY_LOCAL_MACHINE\\Software\\None\nRegValue2=Path\n");
  ProgramRun run = Run({}, false);
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(Marks("first \n"), "first \n");
  const std::string message = "The selected item is not yet installed on your computer.";
  const size_t first = run.err.find(message);
  ASSERT_NE(first, std::string::npos) << run.err;
  EXPECT_NE(run.err.find(message, first + 1), std::string::npos);  // the deleted file and the missing key
}

TEST_F(LauncherRun, ViewerDueRuleFindsTheDesktopsDefaultApplication) {
  // A desktop of our own: the system's file types, one application for
  // text files, and no other applications.
  home.Make_Folder("data");
  ASSERT_EQ(symlink("/usr/share/mime", home.Path("data/mime").c_str()), 0);
  home.Write_Program("viewer", "#!/bin/sh\n");
  home.Write("config/mimeapps.list", "[Default Applications]\ntext/plain=kvrviewer.desktop\n");
  for (const char* name : {"XDG_DATA_DIRS", "XDG_CONFIG_DIRS", "XDG_CONFIG_HOME", "XDG_DATA_HOME"})
    setenv(name, home.Path(std::string(name).find("DATA") != std::string::npos ? "data" : "config").c_str(),
           1);
  disc.Write_Program("Setup/setup", Marker("setup"));
  struct Case {
    bool viewer;
    int when_viewer;
    const char* version;
    bool due;
  };
  const Case cases[] = {
      {true, 1, "", false},    // any viewer will do
      {true, 2, "", false},    // no version asked for
      {true, 2, "1.0", true},  // a viewer no package holds has no version
      {false, 1, "", true},
  };
  for (const Case& c : cases) {
    if (c.viewer)
      home.Write("data/applications/kvrviewer.desktop",
                 "[Desktop Entry]\nType=Application\nName=Viewer\nExec=" + home.Path("viewer") +
                     " %f\nMimeType=text/plain;\n");
    else
      std::remove(home.Path("data/applications/kvrviewer.desktop").c_str());
    Settings("[Install]\nCount=1\nFile0=\\Setup\\setup.exe\nWhen0=3\nFileExtension0=txt\nWhenViewer0=" +
             std::to_string(c.when_viewer) + "\nVersion0=" + c.version + "\nPrompt0=false\n");
    std::remove(home.Path("marks").c_str());
    EXPECT_EQ(Run({}, false).status, 0);
    EXPECT_EQ(Marks(c.due ? "setup \n" : ""), c.due ? "setup \n" : "")
        << "viewer " << c.viewer << " WhenViewer " << c.when_viewer;
  }
  EXPECT_TRUE(home.Entries("tmp").empty());  // the probe file is gone
  for (const char* name : {"XDG_DATA_DIRS", "XDG_CONFIG_DIRS", "XDG_CONFIG_HOME", "XDG_DATA_HOME"})
    unsetenv(name);
}

TEST_F(LauncherRun, StartupChecksAndInspection) {
  ProgramRun missing = Run({}, false);
  EXPECT_EQ(missing.status, 1);
  EXPECT_NE(missing.err.find("AutoRun cannot continue and will abort execution."), std::string::npos);
  EXPECT_EQ(Run({"--dump-settings"}, false).status, 1);

  Settings(
      "[General]\nAutorunType=2\n[Html]\nWindowName=Caf\xE9\nWidth=5000\nHeight=300\nPresetLocation=6\n");
  ProgramRun dump = Run({"--dump-settings"}, false);
  EXPECT_EQ(dump.status, 0);
  EXPECT_NE(dump.out.find("\"WindowName\":\"Caf\xC3\xA9\""), std::string::npos) << dump.out;
  ProgramRun place = Run({"--placement", "0,24,1024,744"}, false);
  EXPECT_EQ(place.out, "{\"x\":1,\"y\":25,\"width\":1024,\"height\":300}\n");
  EXPECT_EQ(Run({"--placement", "0,24,1024"}, false).status, 2);

  disc.Write("Game", "not a program");  // neither Game.exe nor a native Game
  EXPECT_EQ(Run({}, false).status, 1);
}

TEST_F(LauncherRun, WindowlessAgreementDeclinedAcceptedAndRemembered) {
  Need_Display();
  std::string text = "Terms for the caf\xE9.\r\n";
  text += std::string(1, '\0') + std::string(2000, 'x');  // cut by the zero byte
  disc.Write("Launch/license.txt", text);
  // LauncherDir and File are joined directly: the value needs its '\'.
  Settings(
      "[General]\nCdID=CD1\n[License]\nActive=true\nDisplay=1\nFile=\\Launch\\LICENSE.TXT\n"
      "[Launch]\nCount=1\nFile0=\\Game.exe\n");
  EXPECT_EQ(Run_Hook("answer next\n").status, 0);  // "Next >>" stays closed until accepted
  EXPECT_EQ(Run_Hook("answer decline\n").status, 0);
  EXPECT_NE(Trace().find("license text Terms for the caf\xC3\xA9.\n"), std::string::npos) << Trace();
  EXPECT_EQ(Marks(""), "");
  EXPECT_EQ(Run_Hook("answer accept\n").status, 0);
  EXPECT_EQ(Marks("game \n"), "game \n");
  EXPECT_EQ(Run_Hook("").status, 0);  // remembered for "Silent": no dialog
  EXPECT_EQ(Marks("game \ngame \n"), "game \ngame \n");
  EXPECT_EQ(Steps({"dialog", "license"}), "");

  // Without a display the agreement cannot be shown: declined, status 1.
  std::remove(home.Path("registry").c_str());
  ProgramRun run = Run({}, false);
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("needs a display"), std::string::npos);
  EXPECT_EQ(Marks("game \ngame \n"), "game \ngame \n");
}

TEST_F(LauncherRun, SplashWithRepeatedSoundKeepsTheRunForSoundLength) {
  Need_Display();
  disc.Write("Launch/splash.bmp", Bmp(64, 48));
  disc.Write("Launch/chime.wav", Wav(300));
  Settings(
      "[Splash]\nImage=true\nImageFile=\\Launch\\Splash.bmp\nLength=1\nSound=true\nSoundFile=\\Launch\\chime."
      "wav\n"
      "SoundOption=3\nSoundLength=2\n[Launch]\nCount=1\nFile0=\\Game.exe\n");
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(Run_Hook("").status, 0);
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  EXPECT_GE(seconds, 2.0);
  EXPECT_EQ(Steps({"splash", "start"}), "splash|splash|splash|splash|splash|start|");
  EXPECT_NE(Trace().find(
                "splash shown 64x48\nsplash sound loop\nsplash hidden\nsplash sound stopped\nsplash ended"),
            std::string::npos)
      << Trace();
}

class LauncherWindowRun : public LauncherRun {
 protected:
  void SetUp() override {
    LauncherRun::SetUp();
    disc.Write_Program("Setup/setup", Marker("setup"));
    disc.Write_Program("Tools/long", Marker("long", 5));
    disc.Write(
        "Launch/page.htm",
        "<html><head><meta charset=\"windows-1252\"></head>"
        "<body style=\"margin:0;background:#2050a0;color:#ffffff\"><h1>Caf\xE9</h1>"
        "<a href=\"rw:Install%20Game\">Install</a> <a href=\"rw:Play\">Play</a> "
        "<a href=\"rw:Nothing\">Nothing</a> <a href=\"rw:Quit\" target=\"_blank\">Quit</a></body></html>");
    Settings(
        "[General]\nAutorunType=2\nCdID=CD1\n[Html]\nFilename=\\Launch\\page.htm\nWindowName=Caf\xE9 Disc\n"
        "Width=400\nHeight=300\n[Button]\nCount=3\n"
        "Name0=Install Game\nButtonType0=1\nButtonNumber0=1\nWindowClose0=false\n"
        "Name1=Play\nButtonType1=2\nButtonNumber1=2\nWindowClose1=true\n"
        "Name2=Quit\nButtonType2=3\n"
        "[Install1]\nCount=1\nFile0=\\Setup\\setup.exe\nMessage0=Install the caf\xE9?\nSkip0=true\n"
        "[Launch2]\nCount=1\nFile0=\\Tools\\long.exe\nLaunchAndWait0=true\n");
  }
};

TEST_F(LauncherWindowRun, PageLinksRunButtonsOnceThenTheProductIsInstalled) {
  Need_Display();
  ProgramRun run =
      Run_Hook("shot " + home.Path("shot.png") +
               "\nclick rw:Install%20Game\nanswer ok\nclick rw:Install%20Game\nanswer ok\nclick rw:Nothing\n"
               "click rw:Quit\n");
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(Marks("setup \n"), "setup \n");
  const std::string trace = Trace();
  EXPECT_NE(trace.find("window title Caf\xC3\xA9 Disc\n"), std::string::npos) << trace;
  EXPECT_NE(trace.find("install prompt Install the caf\xC3\xA9? (skip)"), std::string::npos);
  EXPECT_NE(trace.find("message information The product is already installed."), std::string::npos);
  EXPECT_NE(trace.find("link to no button: Nothing"), std::string::npos);
  EXPECT_EQ(Steps({"button ", "start", "window closed"}), "button|start|button|button|button|button|window|");
  RegistryStore store(home.Path("registry"));
  std::optional<RegistryKey> key = store.Open_Key(
      RegistryRoot::kLocalMachine, "SOFTWARE\\Tessaly Software\\Runwright\\Test\\CD1\\Install\\Install Game");
  ASSERT_TRUE(key);
  EXPECT_EQ(store.Read_Value(*key, "#Setup#setup.exe"), "1");

  // The screenshot shows the page: its background fills most of the window.
  std::optional<std::string> png = home.Read("shot.png");
  ASSERT_TRUE(png);
  RgbaImage image;
  std::string error;
  ASSERT_TRUE(Png_Decode({reinterpret_cast<const uint8_t*>(png->data()), png->size()}, image, error))
      << error;
  EXPECT_EQ(image.width, 400);
  EXPECT_EQ(image.height, 300);
  size_t page = 0, other = 0;
  for (size_t i = 0; i + 3 < image.rgba.size(); i += 4) {
    const bool blue = image.rgba[i] == 0x20 && image.rgba[i + 1] == 0x50 && image.rgba[i + 2] == 0xA0;
    (blue ? page : other)++;
  }
  EXPECT_GT(page, image.rgba.size() / 4 * 6 / 10);
  EXPECT_GT(other, 100u);  // the heading, the links and the menu
}

TEST_F(LauncherWindowRun, WindowCloseButtonClosesWithoutWaitingAndEscapeCloses) {
  Need_Display();
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(Run_Hook("click rw:Play\nwait 5000\n").status, 0);
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  EXPECT_LT(seconds, 4.5);
  EXPECT_EQ(Marks("long \n"), "long \n");
  EXPECT_EQ(Steps({"button", "window hidden", "window closed", "wait"}), "button|window|button|window|");

  EXPECT_EQ(Run_Hook("about\nanswer ok\nkey Escape\n").status, 0);
  EXPECT_NE(Trace().find("dialog about\nanswer ok\n"), std::string::npos) << Trace();
  EXPECT_NE(Trace().find("window closed"), std::string::npos);
}

TEST_F(LauncherWindowRun, MissingPageEndsTheLauncher) {
  Need_Display();
  std::remove(disc.Path("Launch/page.htm").c_str());
  ProgramRun run = Run_Hook("answer ok\n");
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("Base file for AutoRun window not found."), std::string::npos);
}

}  // namespace
