// ZQM movies in the engine: the display mode a movie gets, overlays drawn
// into the still picture when due and clipped anywhere, released at the
// next warp picture, and the audio track written to the registry.
#include "engine/media/movie_overlays.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "engine/media/movie_play.h"
#include "engine/plugins/frame_hooks.h"
#include "engine/plugins/plugin_block.h"
#include "engine/run/run_services.h"
#include "host/registry_store.h"
#include "platform/display/display.h"
#include "platform/input/frame_clock.h"
#include "platform/input/virtual_keys.h"
#include "scene/scene_table.h"
#include "tests/engine/engine_test_support.h"
#include "tools/movie_writer.h"

namespace {

TEST(MovieFitMode, SmallestModeHoldingTheMovie) {
  struct Case {
    int width, height;
    DisplaySize mode;
  };
  const Case cases[] = {
      {320, 200, {320, 240}},   {320, 240, {320, 240}},    {321, 240, {512, 384}},
      {320, 241, {512, 384}},   {640, 480, {640, 480}},    {800, 600, {800, 600}},
      {1024, 768, {1024, 768}}, {1025, 768, {1280, 1024}}, {1280, 1024, {1280, 1024}},
      {1281, 10, {1600, 1200}}, {10, 1025, {1600, 1200}},  {0, 0, {320, 240}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(Movie_Fit_Mode(c.width, c.height), c.mode) << c.width << " x " << c.height;
}

// Frame k of a 64 x 32 movie at 10 frames a second: one 5-6-5 colour.
uint16_t Colour(int k) { return uint16_t((8 + k) << 11 | (20 + k) << 5 | (3 + k)); }

struct Overlays {
  RunServices services;
  HeadlessEngine h{{"N"}, &services};
  TempFolder folder;
  PicturePtr still = Picture_New("warpfix", 640, 480, 16);

  Overlays() {
    MovieContent c;
    c.width = 64;
    c.height = 32;
    c.frames_per_second = 10;
    for (int k = 0; k < 3; ++k) {
      std::vector<uint8_t> rgb(64 * 32 * 3);
      for (size_t i = 0; i < rgb.size(); i += 3)
        rgb[i] = uint8_t((8 + k) << 3), rgb[i + 1] = uint8_t((20 + k) << 2),
        rgb[i + 2] = uint8_t((3 + k) << 3);
      c.frames.push_back(rgb);
    }
    std::string error;
    EXPECT_TRUE(Movie_File_Write(c, folder.Path("Intro.zqm"), error)) << error;
    folder.Write("junk.zqm", "not a movie at all");
    h.engine.run.scene.still = still.get();
    h.engine.run.scene.hooks = &h.engine.scene_hooks;
  }
  uint16_t At(int x, int y) { return Scene_Still_Pixels(h.engine.run.scene)[y * 640 + x]; }
  std::string Path(const char* name) { return folder.Path(name); }
};

TEST(MovieOverlays, DrawnWhenDueAndClippedAnywhere) {
  Overlays o;
  Engine& engine = o.h.engine;
  ASSERT_TRUE(
      Movie_Add_Overlay(engine, o.Path("INTRO.ZQM"), 600, 470, 1));  // the name resolved ignoring case
  ASSERT_TRUE(Movie_Add_Overlay(engine, o.Path("intro.zqm"), -10, -5, -1));
  ASSERT_TRUE(Movie_Add_Overlay(engine, o.Path("intro.zqm"), 700, 100, 1));  // wholly outside
  Frame_Hooks(engine);
  EXPECT_EQ(o.At(600, 470), Colour(0));
  EXPECT_EQ(o.At(639, 479), Colour(0));
  EXPECT_EQ(o.At(599, 470), 0);
  EXPECT_EQ(o.At(0, 0), Colour(0));
  EXPECT_EQ(o.At(53, 26), Colour(0));
  EXPECT_EQ(o.At(54, 26), 0);
  o.h.card.Advance_Clock(100);
  Frame_Hooks(engine);
  EXPECT_EQ(o.At(620, 475), Colour(1));
  EXPECT_EQ(engine.movies.overlays.size(), 3u);

  // The next warp picture releases them all.
  EXPECT_EQ(Load_Scene_Picture(engine.run.scene, "NO_SUCH.PIC"), -1);
  EXPECT_TRUE(engine.movies.overlays.empty());
}

TEST(MovieOverlays, FailedOpensLeaveANodeToUseAgain) {
  Overlays o;
  Engine& engine = o.h.engine;
  EXPECT_FALSE(Movie_Add_Overlay(engine, o.Path("junk.zqm"), 0, 0, 1));
  EXPECT_FALSE(Movie_Add_Overlay(engine, o.Path("missing.zqm"), 0, 0, 1));
  EXPECT_EQ(engine.movies.overlays.size(), 1u);
  EXPECT_FALSE(engine.movies.overlays[0].movie);
  // Through the block statement: 0 loops read as 1.
  Plugin_Run_Block(engine, {"add_zqm_movie_bloc(" + o.Path("intro.ZQM") + ",10,20,0)"});
  ASSERT_EQ(engine.movies.overlays.size(), 1u);
  EXPECT_TRUE(engine.movies.overlays[0].movie);
  EXPECT_EQ(engine.movies.overlays[0].x, 10);
  Plugin_Run_Block(engine, {"add_zqm_movie_bloc(" + o.Path("intro.avi") + ",10,20)"});  // no ".ZQM": ignored
  EXPECT_EQ(engine.movies.overlays.size(), 1u);
}

TEST(MovieAudioTrack, WrittenToTheRegistry) {
  Overlays o;
  setenv("KVR_REGISTRY", o.Path("registry.txt").c_str(), 1);
  o.h.Set("N", 3);
  Plugin_Run_Block(o.h.engine, {"ZQMovie_Set_Audio_Track(N)"});
  RegistryStore store(o.Path("registry.txt"));
  std::optional<RegistryKey> root = store.Open_Key(RegistryRoot::kLocalMachine, "");
  ASSERT_TRUE(root);
  EXPECT_EQ(store.Read_Value(*root, ZQM_AUDIO_TRACK_VALUE), "3");
  Plugin_Run_Block(o.h.engine, {"ZQMovie_Set_Audio_Track()"});  // no argument: nothing
  EXPECT_EQ(store.Read_Value(*root, ZQM_AUDIO_TRACK_VALUE), "3");
  unsetenv("KVR_REGISTRY");
}

}  // namespace

namespace {

std::string Write_Movie(const TempFolder& folder, const char* name, int width, int height, int frames,
                        std::vector<MovieTrack> audio = {}) {
  MovieContent c;
  c.width = width;
  c.height = height;
  c.frames_per_second = 10;
  for (int k = 0; k < frames; ++k) {
    std::vector<uint8_t> rgb(size_t(width) * size_t(height) * 3);
    for (size_t i = 0; i < rgb.size(); i += 3)
      rgb[i] = uint8_t((8 + k) << 3), rgb[i + 1] = uint8_t((20 + k) << 2), rgb[i + 2] = uint8_t((3 + k) << 3);
    c.frames.push_back(rgb);
  }
  c.audio = std::move(audio);
  std::string error;
  EXPECT_TRUE(Movie_File_Write(c, folder.Path(name), error)) << error;
  return folder.Path(name);
}

TEST(MoviePlay, SmallMovieGetsItsModeAndTheLastFrameStays) {
  RunServices services;
  HeadlessEngine h({}, &services);
  TempFolder folder;
  const std::string path = Write_Movie(folder, "small.zqm", 320, 200, 3);
  EXPECT_EQ(Movie_Play(h.engine, path, 0), 1);
  // Shown at 320 x 240, 20 rows from the top.
  const PresentedFrame& shown = h.card.Last_Presented();
  EXPECT_EQ(shown.width, 320);
  EXPECT_EQ(shown.height, 240);
  EXPECT_EQ(shown.Value(0, 19), 0u);
  EXPECT_EQ(shown.Value(0, 20), Colour(2));
  EXPECT_EQ(shown.Value(319, 219), Colour(2));
  EXPECT_EQ(shown.Value(0, 220), 0u);
  // Then 640 x 480 again, the last frame centred in the engine's frame.
  EXPECT_EQ(h.card.Display_Mode_Set().width, 640);
  EXPECT_EQ(h.wx.display.frame_width, 640);
  std::span<uint16_t> frame = Wendax_Frame_Buffer(h.wx);
  EXPECT_EQ(frame[140 * 640 + 160], Colour(2));
  EXPECT_EQ(frame[139 * 640 + 160], 0);
  EXPECT_EQ(h.engine.run.frames, 3u);  // one show a frame
  EXPECT_FALSE(h.wx.sound_timer.Running());
}

TEST(MoviePlay, SpaceEndsItOtherKeysDoNot) {
  for (int key : {kVkSpace, int('A')}) {
    RunServices services;
    HeadlessEngine h({}, &services);
    TempFolder folder;
    const std::string path = Write_Movie(folder, "full.zqm", 640, 480, 3);
    // A key press as a window gets it: the key going down, then its character.
    h.card.Key_Down(key, key == kVkSpace ? 0x39 : 0x1E, false, 1);
    h.card.Character(key == kVkSpace ? ' ' : 'a', 1);
    EXPECT_EQ(Movie_Play(h.engine, path, key == kVkSpace ? -1 : 0), 1);
    EXPECT_EQ(h.card.Display_Mode_Set().width, 640);
    // Space ends the endless movie at once, on the frame shown last; any
    // other key leaves the movie to its end.
    const uint64_t shown = h.engine.run.frames;
    if (key == kVkSpace)
      EXPECT_LE(shown, 2u);
    else
      EXPECT_EQ(shown, 3u);
    EXPECT_EQ(Wendax_Frame_Buffer(h.wx)[0], Colour(int(shown) - 1)) << key;
  }
}

TEST(MoviePlay, SoundOfStreamZeroIsHeard) {
  RunServices services;
  HeadlessEngine h({}, &services);
  TempFolder folder;
  const std::string path =
      Write_Movie(folder, "talk.zqm", 64, 48, 10, {{44100, 1, std::vector<int16_t>(44100, 1500)}});
  h.audio->Capture(true);
  EXPECT_EQ(Movie_Play(h.engine, path, 0), 1);
  const std::vector<int16_t>& heard = h.audio->Captured();
  size_t loud = 0;
  for (size_t i = 0; i < heard.size(); i += 2) loud += std::abs(heard[i] - 1500) < 20;
  // Most of the movie's second is heard (the buffer starts at its third fill).
  EXPECT_GT(loud, 44100u / 2);
  EXPECT_EQ(Movie_Play(h.engine, folder.Path("none.zqm"), 0), 0);
  EXPECT_FALSE(h.wx.sound_timer.Running());
}

}  // namespace

namespace {

// Movies larger than 640 x 480: one the card has a mode for, and one it has
// none for, shown centred and clipped at 640 x 480. Either way the engine's
// frame gets the middle of the last frame.
TEST(MoviePlay, LargeMoviesAreClippedToTheirDisplay) {
  struct Case {
    int width, height;
    int shown_width;
  };
  for (const Case c : {Case{1024, 768, 1024}, Case{1200, 1000, 640}}) {
    RunServices services;
    HeadlessEngine h({}, &services);
    TempFolder folder;
    EXPECT_EQ(Movie_Play(h.engine, Write_Movie(folder, "big.zqm", c.width, c.height, 2), 1), 1);
    const PresentedFrame& shown = h.card.Last_Presented();
    EXPECT_EQ(shown.width, c.shown_width);
    EXPECT_EQ(shown.Value(0, 0), Colour(1));
    EXPECT_EQ(shown.Value(shown.width - 1, shown.height - 1), Colour(1));
    EXPECT_EQ(h.wx.display.frame_width, 640);
    std::span<uint16_t> frame = Wendax_Frame_Buffer(h.wx);
    EXPECT_EQ(frame[0], Colour(1));
    EXPECT_EQ(frame[479 * 640 + 639], Colour(1));
  }
}

}  // namespace
