#include "engine/media/movie_play.h"

#include <algorithm>
#include <array>

#include "engine/engine.h"
#include "engine/media/movie_overlays.h"
#include "engine/media/music_stream.h"
#include "engine/media/sound_commands.h"
#include "engine/plugins/block_statements.h"
#include "engine/run/engine_run.h"
#include "host/path_resolve.h"
#include "host/registry_store.h"
#include "platform/display/display.h"
#include "platform/files/text.h"
#include "platform/input/frame_clock.h"
#include "platform/input/input.h"
#include "platform/sound/sound_output.h"
#include "platform/wendax.h"
#include "zqm/zqm.h"

namespace {

constexpr int kKeySpace = 32;
constexpr uint32_t kDueWaitMs = 2;  // polling step while the next frame is not due

struct MovieAudio {
  size_t size = 0;  // one second of the stream
  size_t write = 0;
  int fills = 0;
};

void Overlays_Around(Engine& engine, bool before) {
  for (MovieOverlay& node : engine.movies.overlays)
    if (node.movie) node.movie->Full_Screen_Around(before);
}

// The movie's frame into the frame buffer, centred and clipped; true when
// it was a new one.
bool Draw_Centred(Engine& engine, ZQMovie& movie, int width, int height, std::vector<uint16_t>& frame) {
  if (width <= 0 || height <= 0) return false;
  frame.resize(size_t(width) * size_t(height));
  const bool fresh = movie.Draw_Frame(0, 0, 0, width, height, width * 2, frame.data(), ZQM_FORMAT_565);
  Wendax& wx = engine.wx;
  const int sw = wx.display.frame_width, sh = wx.display.frame_height;
  std::span<uint16_t> screen = Wendax_Frame_Buffer(wx);
  if (screen.size() < size_t(sw) * size_t(sh)) return fresh;
  const int dx = (sw - width) / 2, dy = (sh - height) / 2;
  const int x0 = std::max(dx, 0), x1 = std::min(dx + width, sw);
  for (int row = std::max(dy, 0); row < std::min(dy + height, sh) && x0 < x1; ++row)
    std::copy_n(frame.data() + size_t(row - dy) * size_t(width) + size_t(x0 - dx), size_t(x1 - x0),
                screen.data() + size_t(row) * size_t(sw) + size_t(x0));
  return fresh;
}

// Moves the decoded sound of each stream into its looping buffer at its
// write position; a buffer starts playing at its third fill.
void Feed_Audio(Wendax& wx, ZQMovie& movie, std::vector<MovieAudio>& audio, std::vector<uint8_t>& scratch) {
  for (size_t i = 0; i < audio.size(); ++i) {
    MovieAudio& a = audio[i];
    if (!movie.Audio_Ready(int(i), ZQM_STREAM_AUDIO)) continue;
    const size_t n = std::min(size_t(std::max(movie.Audio_Available(int(i)), 0)), a.size);
    if (n == 0) continue;
    scratch.resize(n);
    const size_t first = std::min(n, a.size - a.write);
    movie.Audio_Fill(int(i), scratch.data(), int(first), scratch.data() + first, int(n - first));
    Movie_Voice_Write(wx, int(i), a.write, {scratch.data(), first});
    if (n > first) Movie_Voice_Write(wx, int(i), 0, {scratch.data() + first, n - first});
    a.write = (a.write + n) % a.size;
    if (a.fills == 2) Movie_Voice_Play(wx, int(i), 255, 0);
    ++a.fills;
  }
}

bool Set_Display(Wendax& wx, int width, int height) {
  Wendax_Request_Mode(wx, width, height, 16);
  return Wendax_Set_Mode(wx) == 0;
}

}  // namespace

DisplaySize Movie_Fit_Mode(int width, int height) {
  constexpr std::array<DisplaySize, 5> kModes = {
      {{320, 240}, {512, 384}, {640, 480}, {800, 600}, {1024, 768}}};
  for (const DisplaySize& mode : kModes)
    if (width <= mode.width && height <= mode.height) return mode;
  if (width <= 1280 && height <= 1024) return {1280, 1024};
  return {1600, 1200};
}

int Movie_Play(Engine& engine, const std::string& file, int loops) {
  Wendax& wx = engine.wx;
  Sound_Timer_Start(engine);
  Overlays_Around(engine, true);
  ZqmPtr movie(Zqm_New(Movie_Clock(engine)));
  ZQM_OPEN_OPTIONS options;
  options.loops = loops;
  options.full_screen = 1;
  if (!movie || movie->Open_File(Path_Resolve(file).c_str(), options) != 0) {
    Sound_Timer_Stop(engine);
    Overlays_Around(engine, false);  // the overlays' clocks go on again
    return 0;
  }
  int width = 0, height = 0;
  DisplaySize display{640, 480};
  if (movie->Stream_Count(ZQM_STREAM_VIDEO) > 0) {
    const ZQM_STREAM_DESC video = movie->Stream_Description(0, ZQM_STREAM_VIDEO);
    width = video.width;
    height = video.height;
    display = Movie_Fit_Mode(width, height);
    // A display the card does not offer keeps 640 x 480: the movie is
    // centred and clipped in it.
    if (display != DisplaySize{640, 480} && !Set_Display(wx, display.width, display.height))
      display = {640, 480};
  }
  movie->Enable_Stream(0, ZQM_STREAM_VIDEO);
  std::vector<MovieAudio> audio;
  const int streams = std::min(movie->Stream_Count(ZQM_STREAM_AUDIO), kMovieVoices);
  if (Sound_Device_Flag(wx) == 0) {
    for (int i = 0; i < streams; ++i) {
      const ZQM_STREAM_DESC d = movie->Stream_Description(i, ZQM_STREAM_AUDIO);
      const size_t second = size_t(d.rate) * size_t(d.channels) * size_t(d.bits) / 8;
      if (!Movie_Voice_Open(wx, i, d.rate, d.bits, d.channels, second)) break;
      audio.push_back({second, 0, 0});
    }
  }
  if (streams > 0) movie->Enable_Stream(0, ZQM_STREAM_AUDIO);
  if (display != DisplaySize{width, height}) {
    std::span<uint16_t> screen = Wendax_Frame_Buffer(wx);
    std::fill(screen.begin(), screen.end(), uint16_t{0});
  }
  std::vector<uint16_t> frame;
  std::vector<uint8_t> scratch;
  bool keys[256] = {};
  bool ended = false;
  for (;;) {
    if (Draw_Centred(engine, *movie, width, height, frame))
      Engine_Show(engine);
    else
      Wendax_Sleep(wx, kDueWaitMs);  // a pass without a new frame still lets time pass
    Feed_Audio(wx, *movie, audio, scratch);
    for (int key; (key = Wendax_Get_Key(wx)) != 0;) keys[key & 0xFF] = true;
    // A frame not yet due: the clock moves on (in headless runs, the
    // virtual one), so the wait always ends.
    while (!(movie->Frame_Due() & 0xFF) && movie->Running()) Wendax_Sleep(wx, kDueWaitMs);
    if (!movie->Running()) {
      ended = true;
      break;
    }
    if (keys[kKeySpace] || engine.run.quit) break;
  }
  for (size_t i = 0; i < audio.size(); ++i) Movie_Voice_Close(wx, int(i));
  if (display != DisplaySize{640, 480}) Set_Display(wx, 640, 480);
  // A movie that ran to its end leaves its last frame in the engine's
  // frame, centred; one stopped by Space leaves what was shown.
  if (ended) Draw_Centred(engine, *movie, width, height, frame);
  movie.reset();
  Sound_Timer_Stop(engine);
  Overlays_Around(engine, false);
  return 1;
}

int Media_PlayVideo(Engine& engine, int argc, char** argv) {
  if (argc < 2 || !argv[1]) return 0;
  Wendax& wx = engine.wx;
  ZqmPtr movie(Zqm_New(Movie_Clock(engine)));
  ZQM_OPEN_OPTIONS options;
  options.loops = 1;
  options.full_screen = 1;
  if (!movie || movie->Open_File(Path_Resolve(argv[1]).c_str(), options) != 0) return 0;
  int width = 0, height = 0;
  if (movie->Stream_Count(ZQM_STREAM_VIDEO) > 0) {
    const ZQM_STREAM_DESC video = movie->Stream_Description(0, ZQM_STREAM_VIDEO);
    width = video.width;
    height = video.height;
    movie->Enable_Stream(0, ZQM_STREAM_VIDEO);
  }
  std::vector<MovieAudio> audio;
  if (movie->Stream_Count(ZQM_STREAM_AUDIO) > 0) {
    movie->Enable_Stream(0, ZQM_STREAM_AUDIO);
    const ZQM_STREAM_DESC d = movie->Stream_Description(0, ZQM_STREAM_AUDIO);
    const size_t second = size_t(d.rate) * size_t(d.channels) * size_t(d.bits) / 8;
    if (Sound_Device_Flag(wx) == 0 && Movie_Voice_Open(wx, 0, d.rate, d.bits, d.channels, second))
      audio.push_back({second, 0, 0});
  }
  std::span<uint16_t> screen = Wendax_Frame_Buffer(wx);
  std::fill(screen.begin(), screen.end(), uint16_t{0});
  std::vector<uint16_t> frame;
  std::vector<uint8_t> scratch;
  ZqmScaler scaler;
  const bool fits = screen.size() == size_t(kScreenWidth) * kScreenHeight;
  while (movie->Running() && !engine.run.quit) {
    frame.resize(size_t(std::max(width, 1)) * size_t(std::max(height, 1)));
    if (width > 0 && fits &&
        movie->Draw_Frame(0, 0, 0, width, height, width * 2, frame.data(), ZQM_FORMAT_565) &&
        scaler.Scale_565(frame.data(), width, height, screen.data(), kScreenWidth, kScreenHeight))
      Engine_Show(engine);
    else
      Wendax_Sleep(wx, kDueWaitMs);
    Feed_Audio(wx, *movie, audio, scratch);
    bool space = false;
    for (int key; (key = Wendax_Get_Key(wx)) != 0;) space |= key == kKeySpace;
    if (space) break;
    // Between passes the music goes on: the sound timer does not run here.
    Sound_Poll(wx);
    MusicStream& music = engine.sound.music;
    if (!music.file.empty())
      Music_Refill(wx, music, Sound_Scaled(music.volume, engine.defaults.global_volume), 0);
  }
  for (size_t i = 0; i < audio.size(); ++i) Movie_Voice_Close(wx, int(i));
  return 0;
}

int ZQMovie_Set_Audio_Track(Engine& engine, int argc, char** argv) {
  if (argc < 2 || !argv[1]) return 0;
  const int32_t track = Arg_Value(engine.script.get(), argv[1]);
  RegistryStore store(Registry_Default_Path());
  std::optional<RegistryKey> root = store.Create_Key(RegistryRoot::kLocalMachine, "");
  if (root) store.Write_Value(*root, ZQM_AUDIO_TRACK_VALUE, Int_To_Text(track));
  return 0;
}
