// The ZQM movie object on movies written by the tools: streams and their
// descriptions, the audio track the registry chooses, frames drawn when due
// on the movie's clock, exact 5-6-5 and 5-5-5 pixels, looping, the last
// frame after the end, sound, memory input, and files that are no movies.
#include "zqm/zqm.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

#include "host/registry_store.h"
#include "tests/support/temp_folder.h"
#include "tools/movie_writer.h"

namespace {

struct MovieDeleter {
  void operator()(ZQMovie* m) const { Zqm_Delete(m); }
};
using MoviePtr = std::unique_ptr<ZQMovie, MovieDeleter>;

// Frame k: one colour whose channels 5-6-5 keeps exactly.
std::vector<uint8_t> Frame(int width, int height, int k) {
  std::vector<uint8_t> rgb(size_t(width) * size_t(height) * 3);
  for (size_t i = 0; i < rgb.size(); i += 3) {
    rgb[i] = uint8_t(8 * (4 + 8 * k));
    rgb[i + 1] = uint8_t(4 * (10 + 20 * k));
    rgb[i + 2] = uint8_t(8 * (30 - 9 * k));
  }
  return rgb;
}

uint16_t Rgb565(int k) { return uint16_t((4 + 8 * k) << 11 | (10 + 20 * k) << 5 | (30 - 9 * k)); }
uint16_t Rgb555(int k) { return uint16_t((4 + 8 * k) << 10 | ((10 + 20 * k) >> 1) << 5 | (30 - 9 * k)); }

struct Rig {
  TempFolder folder;
  int64_t now = 1000;
  std::string path = folder.Path("clip.mkv");

  explicit Rig(int frames = 3) {
    setenv("KVR_REGISTRY", folder.Path("registry.txt").c_str(), 1);
    MovieContent c;
    c.width = 32;
    c.height = 16;
    c.frames_per_second = 10;
    for (int k = 0; k < frames; ++k) c.frames.push_back(Frame(32, 16, k));
    c.audio.push_back({8000, 1, std::vector<int16_t>(8000 * frames / 10, 1000)});
    std::vector<int16_t> stereo;
    for (int i = 0; i < 11025 * frames / 10; ++i) stereo.insert(stereo.end(), {2000, -2000});
    c.audio.push_back({11025, 2, stereo});
    std::string error;
    EXPECT_TRUE(Movie_File_Write(c, path, error)) << error;
  }
  ~Rig() { unsetenv("KVR_REGISTRY"); }
  MoviePtr Open(int loops) {
    MoviePtr movie(Zqm_New([this] { return now; }));
    ZQM_OPEN_OPTIONS options;
    options.loops = loops;
    EXPECT_EQ(movie->Open_File(path.c_str(), options), 0);
    return movie;
  }
};

// Draws into a 32 x 16 buffer; the first pixel, or -1 when nothing new.
int Draw(ZQMovie& movie, int format = ZQM_FORMAT_565) {
  std::vector<uint16_t> pixels(32 * 16, 0);
  if (!movie.Draw_Frame(0, 0, 0, 32, 16, 64, pixels.data(), format)) return -1;
  for (uint16_t p : pixels)
    if (p != pixels[0]) return -2;
  return pixels[0];
}

TEST(ZqmMovie, StreamsAndTheirDescriptions) {
  Rig rig;
  MoviePtr movie = rig.Open(0);
  EXPECT_EQ(movie->Stream_Count(ZQM_STREAM_VIDEO), 1);
  EXPECT_EQ(movie->Stream_Count(ZQM_STREAM_AUDIO), 2);
  const ZQM_STREAM_DESC video = movie->Stream_Description(0, ZQM_STREAM_VIDEO);
  EXPECT_EQ(video.width, 32);
  EXPECT_EQ(video.height, 16);
  const ZQM_STREAM_DESC a0 = movie->Stream_Description(0, ZQM_STREAM_AUDIO);
  EXPECT_EQ(a0.rate, 8000);
  EXPECT_EQ(a0.channels, 1);
  EXPECT_EQ(a0.bits, 16);
  EXPECT_EQ(movie->Stream_Description(2, ZQM_STREAM_AUDIO).rate, 0);

  // The registry's track comes first.
  RegistryStore store(rig.folder.Path("registry.txt"));
  std::optional<RegistryKey> root = store.Create_Key(RegistryRoot::kLocalMachine, "");
  ASSERT_TRUE(root);
  ASSERT_TRUE(store.Write_Value(*root, ZQM_AUDIO_TRACK_VALUE, "1"));
  MoviePtr chosen = rig.Open(0);
  EXPECT_EQ(chosen->Stream_Description(0, ZQM_STREAM_AUDIO).rate, 11025);
  EXPECT_EQ(chosen->Stream_Description(0, ZQM_STREAM_AUDIO).channels, 2);
  EXPECT_EQ(chosen->Stream_Description(1, ZQM_STREAM_AUDIO).rate, 8000);
}

// 10 frames a second: frame k is due 100 k ms after the open.
TEST(ZqmMovie, FramesWhenDueThenTheLastAgain) {
  Rig rig;
  MoviePtr movie = rig.Open(0);
  EXPECT_EQ(movie->Frame_Due() & 0xFF, 1);
  EXPECT_EQ(Draw(*movie), Rgb565(0));
  EXPECT_EQ(Draw(*movie), -1);  // drawn already
  rig.now += 99;
  EXPECT_EQ(movie->Frame_Due() & 0xFF, 0);
  EXPECT_EQ(Draw(*movie), -1);
  rig.now += 1;
  EXPECT_NE(movie->Frame_Due() & 0xFF, 0);
  EXPECT_EQ(Draw(*movie, ZQM_FORMAT_555), Rgb555(1));
  rig.now += 100;
  EXPECT_EQ(Draw(*movie), Rgb565(2));
  EXPECT_NE(movie->Running(), 0);
  rig.now += 100;
  EXPECT_EQ(movie->Running(), 0);
  std::vector<uint16_t> last(32 * 16, 0);
  EXPECT_FALSE(movie->Draw_Frame(0, 0, 0, 32, 16, 64, last.data(), ZQM_FORMAT_565));
  EXPECT_EQ(last[0], Rgb565(2));  // the last frame, drawn again
}

TEST(ZqmMovie, LoopCounts) {
  for (int loops : {0, 1, 2, -1}) {
    Rig rig;
    MoviePtr movie = rig.Open(loops);
    std::vector<int> shown;
    for (int step = 0; step < 9 && movie->Running(); ++step, rig.now += 100) {
      const int pixel = Draw(*movie);
      shown.push_back(pixel == Rgb565(0) ? 0 : pixel == Rgb565(1) ? 1 : pixel == Rgb565(2) ? 2 : pixel);
    }
    const std::vector<int> once = {0, 1, 2};
    const std::vector<int> twice = {0, 1, 2, 0, 1, 2};
    const std::vector<int> ever = {0, 1, 2, 0, 1, 2, 0, 1, 2};
    EXPECT_EQ(shown, loops == 2 ? twice : loops == -1 ? ever : once) << loops;
  }
}

TEST(ZqmMovie, SoundOfTheEnabledStream) {
  Rig rig;
  MoviePtr movie = rig.Open(0);
  movie->Enable_Stream(0, ZQM_STREAM_VIDEO);
  movie->Enable_Stream(1, ZQM_STREAM_AUDIO);  // the stereo track
  int waiting = 0;
  for (int step = 0; step < 4; ++step, rig.now += 100) {
    Draw(*movie);
    waiting = movie->Audio_Available(1);
  }
  ASSERT_TRUE(movie->Audio_Ready(1, ZQM_STREAM_AUDIO));
  EXPECT_FALSE(movie->Audio_Ready(0, ZQM_STREAM_AUDIO));  // not enabled
  ASSERT_GE(waiting, 8);
  std::vector<int16_t> a(2), b(4, 7);
  movie->Audio_Fill(1, a.data(), 4, b.data(), 8);
  EXPECT_EQ(a, (std::vector<int16_t>{2000, -2000}));
  EXPECT_EQ(b, (std::vector<int16_t>{2000, -2000, 2000, -2000}));
  EXPECT_EQ(movie->Audio_Available(1), waiting - 12);
}

TEST(ZqmMovie, FromMemoryAndRefusals) {
  Rig rig;
  const std::optional<std::string> bytes = rig.folder.Read("clip.mkv");
  ASSERT_TRUE(bytes);
  MoviePtr movie(Zqm_New([&] { return rig.now; }));
  ZQM_OPEN_OPTIONS options;
  ASSERT_EQ(movie->Open_Memory(bytes->data(), bytes->size(), options), 0);
  EXPECT_EQ(movie->Stream_Count(ZQM_STREAM_AUDIO), 2);
  EXPECT_EQ(Draw(*movie), Rgb565(0));
  // Sound not asked for: no audio streams.
  options.sound = 0;
  ASSERT_EQ(movie->Open_Memory(bytes->data(), bytes->size(), options), 0);
  EXPECT_EQ(movie->Stream_Count(ZQM_STREAM_AUDIO), 0);

  const std::string junk(4096, 'x');
  EXPECT_NE(movie->Open_Memory(junk.data(), junk.size(), options), 0);
  EXPECT_NE(movie->Open_Memory(bytes->data(), 100, options), 0);
  EXPECT_NE(movie->Open_File(rig.folder.Path("none.mkv").c_str(), options), 0);
  EXPECT_EQ(movie->Running(), 0);
  EXPECT_EQ(movie->Stream_Count(ZQM_STREAM_VIDEO), 0);
  EXPECT_FALSE(movie->Draw_Frame(0, 0, 0, 32, 16, 64, nullptr, ZQM_FORMAT_565));
}

// Around a full-screen movie an overlay's clock stands still.
TEST(ZqmMovie, FullScreenPausesTheClock) {
  Rig rig;
  MoviePtr movie = rig.Open(0);
  EXPECT_EQ(Draw(*movie), Rgb565(0));
  movie->Full_Screen_Around(true);
  rig.now += 5000;
  movie->Full_Screen_Around(false);
  EXPECT_EQ(movie->Frame_Due() & 0xFF, 0);
  rig.now += 100;
  EXPECT_EQ(Draw(*movie), Rgb565(1));
}

}  // namespace
