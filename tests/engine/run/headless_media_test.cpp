// Games played headless: sounds and music in the captured WAV (--audio),
// a positional sound following the view, a block that computes and
// branches, an MTRD video, and ZQM movies full screen, as an overlay and
// through Media_PlayVideo, seen in screenshots; a game saved, quit and
// loaded again; a transition script while a disc is missing; a countdown.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>

#include "host/registry_store.h"
#include "platform/headless/null_audio.h"
#include "tests/support/program_run.h"
#include "tests/support/temp_folder.h"
#include "tools/movie_writer.h"
#include "tools/mtrd_writer.h"
#include "tools/png_file.h"
#include "tools/picture_writers.h"
#include "tools/zone_writer.h"

namespace {

std::string Text(const std::vector<uint8_t>& bytes) { return std::string(bytes.begin(), bytes.end()); }

// A 44100 Hz mono WAV of one constant value: its mix is that value times
// the channel's gains, so each sound's share can be told apart.
std::string Constant_Wav(int16_t value, size_t frames) {
  return Text(Wav_Bytes(std::vector<int16_t>(frames, value), 44100, 1));
}

struct Capture {
  std::vector<int16_t> samples;  // interleaved left, right
  // Mean of left - right over the frames [first, last) of the frame clock
  // (20 ms each).
  double Mean_Difference(int first, int last) const {
    const size_t from = size_t(first) * 882, to = size_t(last) * 882;
    double sum = 0;
    for (size_t f = from; f < to; ++f) sum += samples[2 * f] - samples[2 * f + 1];
    return sum / double(to - from);
  }
  double Mean_Left(int first, int last) const {
    double sum = 0;
    for (size_t f = size_t(first) * 882; f < size_t(last) * 882; ++f) sum += samples[2 * f];
    return sum / double((last - first) * 882);
  }
};

Capture Read_Capture(const std::string& bytes) {
  Capture c;
  if (bytes.size() < 44) return c;
  for (size_t i = 44; i + 1 < bytes.size(); i += 2)
    c.samples.push_back(int16_t(uint8_t(bytes[i]) | uint8_t(bytes[i + 1]) << 8));
  return c;
}

TEST(HeadlessSound, SoundsMusicAndAPositionalSoundFollowingTheView) {
  TempFolder folder;
  PicturePtr room = Picture_New("ROOM.TGA", 640, 480, 24);
  folder.Write("ROOM.TGA", Text(Tga_Write(*room).bytes));
  folder.Write("ROOM.ZON", Text(Zone_File_Bytes({{0, 99, 0, 99}})));
  folder.Write("BIRD.WAV", Constant_Wav(8000, 44100));
  folder.Write("HUM.WAV", Constant_Wav(1000, 4410));
  folder.Write("TUNE.WAV", Constant_Wav(1000, 30000));
  // The first click plays the bird a quarter turn to the right; the second
  // turns the view half a turn, which puts it on the left.
  folder.Write("script.lst",
               "[BOOL] CLICKED\n[BOOL] X\n[BOOL] Y\n[BOOL] T\n[BOOL] F\n"
               "[WARP] ROOM.TGA ROOM.ZON\n"
               "[TEST] 0 0\nIFAND CLICKED\nSETANGLE 0 4096\nPLAYSOUND3D BIRD.WAV 255 2048 0\nSET CLICKED 1\n"
               "[TEST] -1 0\nPLAYSOUND HUM.WAV 255 0\nPLAYMUSIQUE TUNE.WAV 255\n"
               "PLUGIN\nset(X,3)\nadd(Y,X,4)\ncmp(T,F,Y,>,5)\nENDPLUGIN\n"
               "IFAND T\nPLUGIN\nTaken(Y)\nENDPLUGIN\n"
               "IFAND F\nPLUGIN\nNot_Taken(Y)\nENDPLUGIN\n");
  folder.Write("session.txt", "5 click\n30 click\n55 quit\n");
  const ProgramRun run = Run_Program(KVR_VIEWER_PATH,
                                     {"--headless", "--session", folder.Path("session.txt"), "--trace",
                                      folder.Path("trace.json"), "--audio", "heard.wav", folder.Path()},
                                     folder.Path());
  ASSERT_EQ(run.status, 0) << run.err;

  std::vector<std::string> trace;
  std::istringstream lines(folder.Read("trace.json").value_or(""));
  for (std::string line; std::getline(lines, line);)
    if (line.find("\"plugin\"") != std::string::npos || line.find("\"debug\"") != std::string::npos ||
        line.find("\"end\"") != std::string::npos)
      trace.push_back(line);
  const std::vector<std::string> expected = {
      R"x({"frame":2,"event":"plugin","statement":"set(X,3)"})x",
      R"x({"frame":2,"event":"plugin","statement":"add(Y,X,4)"})x",
      R"x({"frame":2,"event":"plugin","statement":"cmp(T,F,Y,>,5)"})x",
      R"x({"frame":2,"event":"plugin","statement":"Taken(Y)"})x",
      R"x({"frame":2,"event":"debug","text":"Taken(Y)"})x",
      R"x({"frame":55,"event":"end"})x",
  };
  EXPECT_EQ(trace, expected);

  // The file covers the whole run, 882 frames a frame shown.
  const Capture heard = Read_Capture(folder.Read("heard.wav").value_or(""));
  ASSERT_EQ(heard.samples.size(), 55u * 882 * 2);
  // Before the click: hum and music, the same on both sides.
  EXPECT_NEAR(heard.Mean_Left(3, 5), 2 * 1000 * 0.9965, 20);
  EXPECT_EQ(heard.Mean_Difference(3, 5), 0.0);
  // The bird: volume 255 - F facing off to the side, panned 254 away from
  // the quiet side: 8000 x 0.604 x (1 - 0.054) between the two.
  EXPECT_NEAR(heard.Mean_Difference(8, 29), -4570, 30);
  EXPECT_NEAR(heard.Mean_Difference(33, 54), 4570, 30);
}

// PLAYVIDEO in a headless run: the video's frames and sound take their
// time on the virtual clock, the sound is heard, and the game goes on after
// it with the sound output closed, as a video with sound leaves it.
TEST(HeadlessSound, PlayVideoWithSound) {
  TempFolder folder;
  PicturePtr room = Picture_New("ROOM.TGA", 640, 480, 24);
  folder.Write("ROOM.TGA", Text(Tga_Write(*room).bytes));
  MtrdVideoContent clip;
  clip.width = 64;
  clip.height = 48;
  clip.frames_per_second = 10;
  for (int k = 0; k < 3; ++k) clip.frames.push_back(std::vector<uint8_t>(64 * 48 * 2, uint8_t(40 * (k + 1))));
  clip.sample_rate = 22050;
  clip.pcm = Wav_Bytes(std::vector<int16_t>(3 * 2205, 3000), 22050, 1);
  clip.pcm.erase(clip.pcm.begin(), clip.pcm.begin() + 44);
  std::vector<uint8_t> bytes;
  std::string error;
  ASSERT_TRUE(Mtrd_Video_Bytes(clip, bytes, error)) << error;
  folder.Write("CLIP.MTD", Text(bytes));
  folder.Write("HUM.WAV", Constant_Wav(1000, 4410));
  folder.Write("script.lst", "[WARP] ROOM.TGA\n[TEST] -1 0\nPLAYSOUND HUM.WAV 255 0\nplayvideo clip.mtd\n");
  // With no sound device the frame period paces it: 3 frames of 100 ms on
  // the 20 ms frame clock, and the run reaches its frame limit after it.
  const ProgramRun mute = Run_Program(KVR_VIEWER_PATH, {"--headless", "--no-sound", "--max-frames", "10",
                                                        "--trace", folder.Path("trace.json"), folder.Path()});
  ASSERT_EQ(mute.status, 0) << mute.err;
  EXPECT_NE(folder.Read("trace.json").value_or("").find("{\"frame\":10,\"event\":\"end\"}"),
            std::string::npos);
  const ProgramRun run = Run_Program(KVR_VIEWER_PATH, {"--headless", "--max-frames", "10", "--audio",
                                                       folder.Path("heard.wav"), folder.Path()});
  ASSERT_EQ(run.status, 0) << run.err;
  const Capture heard = Read_Capture(folder.Read("heard.wav").value_or(""));
  // The hum and the video together (about 997 + 2990) for the video's
  // 300 ms, right after the entry test starts both; nothing after it.
  size_t both = 0, silent_after = 0;
  bool video_seen = false;
  for (size_t f = 0; f < heard.samples.size() / 2; ++f) {
    const int16_t v = heard.samples[2 * f];
    if (std::abs(v - 3990) < 30) both++, video_seen = true;
    if (v == 0 && video_seen) silent_after++;
  }
  EXPECT_NEAR(double(both), 0.3 * 44100, 0.02 * 44100);
  EXPECT_GE(silent_after, 7u * 882);  // the frames after the video, output closed
}

// A movie of one colour a frame (r, g, b for frame 0, brighter after).
MovieContent Solid_Movie(int width, int height, int frames, uint8_t r, uint8_t g, uint8_t b) {
  MovieContent c;
  c.width = width;
  c.height = height;
  c.frames_per_second = 10;
  for (int k = 0; k < frames; ++k) {
    std::vector<uint8_t> rgb(size_t(width) * size_t(height) * 3);
    for (size_t i = 0; i < rgb.size(); i += 3)
      rgb[i] = uint8_t(r + 8 * k), rgb[i + 1] = uint8_t(g + 4 * k), rgb[i + 2] = uint8_t(b + 8 * k);
    c.frames.push_back(rgb);
  }
  return c;
}

TEST(HeadlessMovies, OverlayFullScreenAndMediaPlayVideo) {
  TempFolder folder;
  PicturePtr room = Picture_New("ROOM.TGA", 640, 480, 24);
  folder.Write("ROOM.TGA", Text(Tga_Write(*room).bytes));
  folder.Write("ROOM.ZON", Text(Zone_File_Bytes({{0, 99, 0, 99}})));
  std::string error;
  ASSERT_TRUE(Movie_File_Write(Solid_Movie(64, 32, 3, 0xC0, 0, 0), folder.Path("OVER.ZQM"), error)) << error;
  MovieContent full = Solid_Movie(320, 200, 3, 0, 0xF8 - 16, 0);
  full.audio.push_back({44100, 1, std::vector<int16_t>(44100 * 3 / 10, 2500)});
  ASSERT_TRUE(Movie_File_Write(full, folder.Path("FULL.ZQM"), error)) << error;
  ASSERT_TRUE(Movie_File_Write(Solid_Movie(64, 48, 2, 0, 0, 0xC0), folder.Path("CLIP.MKV"), error)) << error;
  folder.Write("script.lst",
               "[WARP] ROOM.TGA ROOM.ZON\n"
               "[TEST] 0 0\nPLUGIN\nplay_movie(full.zqm)\nMedia_PlayVideo(clip.mkv)\nENDPLUGIN\n"
               "[TEST] -1 0\nPLUGIN\nadd_zqm_movie_bloc(over.zqm,600,470)\nENDPLUGIN\n");
  folder.Make_Folder("shots");
  folder.Write("session.txt",
               "4 shot overlay\n5 click\n7 shot movie\n10 shot video\n15 shot after\n17 quit\n");
  const ProgramRun run =
      Run_Program(KVR_VIEWER_PATH,
                  {"--headless", "--session", folder.Path("session.txt"), "--shots", folder.Path("shots"),
                   "--trace", folder.Path("trace.json"), "--audio", folder.Path("heard.wav"), folder.Path()});
  ASSERT_EQ(run.status, 0) << run.err;
  auto shot = [&](const char* name) {
    RgbaImage image;
    std::string e;
    const std::string bytes = folder.Read(std::string("shots/") + name + ".png").value_or("");
    EXPECT_TRUE(Png_Decode({reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()}, image, e))
        << name << e;
    return image;
  };
  auto pixel = [](const RgbaImage& image, int x, int y) {
    if (x >= image.width || y >= image.height) return std::array<int, 3>{-1, -1, -1};
    const uint8_t* p = &image.rgba[(size_t(y) * size_t(image.width) + size_t(x)) * 4];
    return std::array<int, 3>{p[0] >> 3, p[1] >> 2, p[2] >> 3};
  };
  const RgbaImage overlay = shot("overlay");
  EXPECT_EQ(pixel(overlay, 620, 475)[0] & ~3, 0xC0 >> 3);
  EXPECT_EQ(pixel(overlay, 599, 475), (std::array<int, 3>{0, 0, 0}));
  const RgbaImage movie = shot("movie");
  EXPECT_EQ(movie.width, 320);  // the movie's display mode
  EXPECT_EQ(pixel(movie, 10, 10), (std::array<int, 3>{0, 0, 0}));
  EXPECT_EQ(pixel(movie, 10, 20)[1], (0xF8 - 16 + 4 * 1) >> 2);
  const RgbaImage video = shot("video");
  EXPECT_EQ(video.width, 640);
  EXPECT_EQ(pixel(video, 0, 0)[2] & ~1, 0xC0 >> 3);
  EXPECT_EQ(pixel(video, 639, 479)[2] & ~1, 0xC0 >> 3);
  const RgbaImage after = shot("after");
  EXPECT_EQ(pixel(after, 620, 475)[0] & ~3, 0xC0 >> 3);  // the overlay goes on over the picture
  EXPECT_EQ(pixel(after, 300, 200), (std::array<int, 3>{0, 0, 0}));

  const Capture heard = Read_Capture(folder.Read("heard.wav").value_or(""));
  size_t loud = 0;
  for (size_t f = 0; f < heard.samples.size() / 2; ++f) loud += std::abs(heard.samples[2 * f] - 2491) < 20;
  // The movie's buffer starts playing at its third fill, so the last
  // tenth of a second of its 0.3 s is heard.
  EXPECT_GT(loud, 44100u / 20);
}

}  // namespace

namespace {

std::string Copy_Demo(const TempFolder& folder, const char* name) {
  std::ifstream in(std::string(KVR_DEMO_DISC) + "/" + name, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  folder.Write(name, bytes.str());
  return bytes.str();
}

// A game saved from the menu a lock key leads to, quit, started again and
// loaded: the saved view and printed text are on the screen again, the
// variables hold their values and the endless hum plays, the three-loop
// tick does not.
TEST(HeadlessSaves, SaveQuitStartAgainAndLoad) {
  TempFolder folder;
  for (const char* name : {"HALL.VR", "MENU.TGA", "MINIFON2.MTR", "cursor1.pcx", "cursor2.pcx"})
    Copy_Demo(folder, name);
  PicturePtr start = Picture_New("START.TGA", 640, 480, 24);
  folder.Write("START.TGA", Text(Tga_Write(*start).bytes));
  folder.Write("WIN.TGA", Text(Tga_Write(*start).bytes));
  folder.Write("ALL.ZON", Text(Zone_File_Bytes({{0, 639, 0, 479}})));
  folder.Write("HALL.ZON", Text(Zone_File_Bytes({{0.05f, 1.5f, 1.0f, 2.2f}})));
  folder.Write("HUM.WAV", Constant_Wav(1000, 4410));
  folder.Write("TICK.WAV", Constant_Wav(3000, 44100 * 10));
  folder.Write(
      "script.lst",
      "[BOOL] SCORE\n[BOOL] USED\n[BOOL] FREE\n[BOOL] LOADED\n"
      "[WARP] START.TGA ALL.ZON\n"
      "[TEST] 0 0\nPLUGIN\nLoadSave_Init_Slots(1)\nLoadSave_Test_Slot(1,USED,FREE)\nLoadSave_Load(1)\n"
      "ENDPLUGIN\nIFAND USED\nEND\nGOTOWARP HALL.VR\n"
      "[TEST] -1 0\nSETANGLE 0 200\nPLUGIN\nLoadSave_Enter_Script(LOADED)\nENDPLUGIN\n"
      "[WARP] HALL.VR HALL.ZON\n"
      "[TEST] 0 0\nIFAND SCORE\nGOTOWARP WIN.TGA\nSETANGLE 100 700\nPRINT HELLO MINIFON2.MTR\n"
      "SET SCORE 1\nPLAYSOUND TICK.WAV 255 3\nPLUGIN\nLoadSave_Capture_Context()\nENDPLUGIN\n"
      "[TEST] -1 0\nLOCKKEY 0 MENU.TGA\nPLAYSOUND HUM.WAV 255 0\n"
      "[WARP] MENU.TGA ALL.ZON\n"
      "[TEST] 0 0\nPLUGIN\nLoadSave_Save(1)\nENDPLUGIN\nEND\n"
      "[WARP] WIN.TGA ALL.ZON\n");
  folder.Make_Folder("shots");
  auto play = [&](const char* session, const char* trace, const char* audio) {
    folder.Write("session.txt", session);
    const ProgramRun run =
        Run_Program(KVR_VIEWER_PATH,
                    {"--headless", "--session", folder.Path("session.txt"), "--shots", folder.Path("shots"),
                     "--trace", folder.Path(trace), "--audio", folder.Path(audio), folder.Path()});
    EXPECT_EQ(run.status, 0) << run.err;
    return folder.Read(trace).value_or("");
  };
  const std::string first = play("3 click\n10 click\n16 shot before\n18 key Escape\n24 click\n40 quit\n",
                                 "first.json", "first.wav");
  ASSERT_TRUE(folder.Exists("Saved_1.bin")) << first;
  const std::string second = play("3 click\n16 shot after\n18 click\n24 quit\n", "second.json", "second.wav");
  EXPECT_EQ(folder.Read("shots/after.png"), folder.Read("shots/before.png"));
  EXPECT_NE(second.find("\"name\":\"WIN.TGA\""), std::string::npos) << second;  // SCORE was 1
  const Capture heard = Read_Capture(folder.Read("second.wav").value_or(""));
  const Capture before = Read_Capture(folder.Read("first.wav").value_or(""));
  // The hum alone, as in the first run between the hall's entry and the
  // click that added the tick.
  ASSERT_GT(heard.samples.size(), 16u * 882 * 2);
  ASSERT_GT(before.samples.size(), 16u * 882 * 2);
  EXPECT_NEAR(heard.Mean_Left(12, 16), before.Mean_Left(6, 9), 1.0);
  EXPECT_GT(before.Mean_Left(12, 16), before.Mean_Left(6, 9) + 1000);  // there the tick played too
}

}  // namespace

namespace {

// The next script's disc is missing: the transition script runs until the
// player's click in it adds the installed folder from the registry, and the
// chain goes on with the next script there.
TEST(HeadlessChain, TransitionScriptWhileTheNextDiscIsMissing) {
  TempFolder folder;
  PicturePtr room = Picture_New("ROOM.TGA", 640, 480, 24);
  folder.Write("ROOM.TGA", Text(Tga_Write(*room).bytes));
  folder.Write("ALL.ZON", Text(Zone_File_Bytes({{0, 639, 0, 479}})));
  folder.Write("disc2/ROOM.TGA", Text(Tga_Write(*room).bytes));
  folder.Write("registry.txt", "");
  folder.Write("script.lst",
               "[WARP] ROOM.TGA\n[TEST] -1 0\nPLUGIN\nMultiCD_Set_Next_Script(cd2:next.lst)\n"
               "MultiCD_Set_Transition_Script(wait.lst)\nENDPLUGIN\nEND\n");
  folder.Write("wait.lst",
               "[WARP] ROOM.TGA ALL.ZON\n[TEST] 0 0\nPLUGIN\n"
               "MultiCD_Use_Install_Path(\"SOFTWARE\\Game\\Disc2\")\nENDPLUGIN\nEND\n");
  folder.Write("disc2/next.lst", "[WARP] ROOM.TGA\n[TEST] -1 0\nEND\n");
  {
    RegistryStore store(folder.Path("registry.txt"));
    std::optional<RegistryKey> key = store.Create_Key(RegistryRoot::kLocalMachine, "SOFTWARE\\Game");
    ASSERT_TRUE(key);
    store.Write_Value(*key, "Disc2", folder.Path("disc2"));
  }
  folder.Write("session.txt", "12 click\n40 quit\n");
  setenv("KVR_REGISTRY", folder.Path("registry.txt").c_str(), 1);
  const ProgramRun run = Run_Program(KVR_VIEWER_PATH, {"--headless", "--session", folder.Path("session.txt"),
                                                       "--trace", folder.Path("trace.json"), folder.Path()});
  unsetenv("KVR_REGISTRY");
  ASSERT_EQ(run.status, 0) << run.err;
  std::vector<std::string> scripts;
  std::istringstream trace(folder.Read("trace.json").value_or(""));
  for (std::string line; std::getline(trace, line);)
    if (line.find("\"event\":\"script\"") != std::string::npos)
      scripts.push_back(
          line.substr(line.find("\"name\":") + 8, line.rfind('"') - line.find("\"name\":") - 8));
  ASSERT_GE(scripts.size(), 3u);
  EXPECT_EQ(scripts.front(), "script.lst");
  EXPECT_EQ(scripts[1], "wait.lst");
  EXPECT_EQ(scripts.back(), "next.lst");
}

// A countdown of one second queues test 99, which runs on the frame after
// it ran out.
TEST(HeadlessCountdown, RunsOutAndQueuesTest99) {
  TempFolder folder;
  PicturePtr room = Picture_New("ROOM.TGA", 640, 480, 24);
  folder.Write("ROOM.TGA", Text(Tga_Write(*room).bytes));
  folder.Write("script.lst",
               "[WARP] ROOM.TGA\n[TEST] 99 0\nEND\n[TEST] -1 0\nPLUGIN\nStartTimer(1,0)\nENDPLUGIN\n");
  const ProgramRun run =
      Run_Program(KVR_VIEWER_PATH, {"--headless", "--trace", folder.Path("trace.json"), folder.Path()});
  ASSERT_EQ(run.status, 0) << run.err;
  const std::string trace = folder.Read("trace.json").value_or("");
  // Started in the entry test of frame 2; 1000 ms are left at frame 52, and
  // the first frame after that has the test run once it is shown.
  EXPECT_NE(trace.find("{\"frame\":54,\"event\":\"test\",\"warp\":\"ROOM.TGA\",\"position\":0,\"id\":99"),
            std::string::npos)
      << trace;
}

}  // namespace
