// Video_Play: an MTRD video centred on the screen, each frame presented once
// and kept on screen for the sound block it came with, or for the frame
// period when there is no sound.
#include <algorithm>
#include <array>
#include <cstring>

#include "pictures/mtrd/mtrd_video.h"
#include "pictures/picture_bytes.h"
#include "platform/display/display.h"
#include "platform/input/frame_clock.h"
#include "platform/input/input.h"
#include "platform/sound/sound_output.h"
#include "platform/wendax.h"

namespace {

constexpr int kKeyEscape = 27;
constexpr uint32_t kWaitStepMs = 5;  // while the sound stream has not taken a block

using Table565 = std::array<uint16_t, 256>;

Table565 Palette_Table(const std::vector<uint8_t>& palette) {
  Table565 table{};
  for (size_t i = 0; i < 256 && 3 * i + 2 < palette.size(); ++i)
    table[i] = Rgb_To_565(palette[3 * i], palette[3 * i + 1], palette[3 * i + 2]);
  return table;
}

// The frame at (x, y) of the frame buffer, clipped on every side.
void Draw(Wendax& wx, const Video& v, const Table565& table, int x, int y) {
  const MtrdHeader& h = v.info.header;
  if (h.depth == 0) return;
  std::span<uint16_t> screen = Wendax_Frame_Buffer(wx);
  const int sw = wx.display.frame_width, sh = wx.display.frame_height;
  if (screen.size() < size_t(sw) * size_t(sh)) return;
  const int x0 = std::max(x, 0), x1 = std::min<int64_t>(int64_t(x) + h.width, sw);
  const int y0 = std::max(y, 0), y1 = std::min<int64_t>(int64_t(y) + h.height, sh);
  if (x0 >= x1 || y0 >= y1) return;
  const uint8_t* pixels = v.Pixels();
  for (int row = y0; row < y1; ++row) {
    uint16_t* out = screen.data() + size_t(row) * size_t(sw) + size_t(x0);
    const size_t src_row = size_t(row - y), src_col = size_t(x0 - x), count = size_t(x1 - x0);
    if (h.depth == 8) {
      const uint8_t* in = pixels + src_row * size_t(h.width) + src_col;
      for (size_t i = 0; i < count; ++i) out[i] = table[in[i]];
    } else {
      const uint8_t* in = pixels + (src_row * size_t(h.width) + src_col) * 2;
      for (size_t i = 0; i < count; ++i) out[i] = uint16_t(in[2 * i] | in[2 * i + 1] << 8);
    }
  }
}

std::span<const uint8_t> Block(const Video& v) { return {v.Pcm(), size_t(v.info.sound_bytes_per_frame)}; }

// Keeps the frame on screen until the stream takes the block; false
// when Escape was pressed. A stream that has gone (the device closed under
// it) no longer paces the video.
bool Wait_For_Stream(Wendax& wx, std::span<const uint8_t> block, bool& streaming) {
  for (;;) {
    Sound_Poll(wx);
    if (Wendax_Get_Key(wx) == kKeyEscape) return false;
    if (Stream_State(wx) == StreamPhase::kOff) {
      streaming = false;
      return true;
    }
    if (Stream_Refill(wx, block, 255, 0) == 1) return true;
    Wendax_Sleep(wx, kWaitStepMs);
  }
}

// Without sound: the frame stays while the time shown does not exceed the
// period; the excess is carried into the next frame.
void Wait_For_Period(Wendax& wx, Video& v) {
  const int32_t period = 1000 / v.info.sound.frames_per_second;
  for (;;) {
    // A clock that does not move still ends the wait: a step is 1 ms at least.
    v.time_ms += std::max(wx.clock.delta, 1);
    if (v.time_ms > period) break;
    Wendax_Show(wx);
  }
  v.time_ms %= period;
}

}  // namespace

void Video_Play(Wendax& wx, std::string_view path) {
  std::unique_ptr<Video> video = Video_Open(wx, path);
  if (!video) return;
  Video& v = *video;
  const Table565 table = v.info.header.depth == 8 ? Palette_Table(v.info.palette) : Table565{};
  const int x = (wx.display.frame_width - v.info.header.width) / 2;
  const int y = (wx.display.frame_height - v.info.header.height) / 2;
  if (v.Has_Sound()) Sound_Init(wx);
  Video_Next_Frame(v);
  // The video streams its sound only when the stream is its own: with no
  // device, or with the music's stream on, it plays silently on the frame
  // period rather than wait on a stream that would never take its blocks.
  bool streaming = false;
  bool started = false;
  bool escaped = false;
  for (bool first = true;; first = false) {
    Draw(wx, v, table, x, y);
    if (v.Has_Sound() && first) {
      started =
          Stream_Start(wx, {v.Pcm(), size_t(v.info.sound_bytes_per_frame)}, v.info.sound.sample_rate,
                       v.info.sound.bits, v.info.sound.stereo, 2 * v.info.sound_bytes_per_frame, 255, 0) == 0;
      streaming = started;
    } else if (streaming && !Wait_For_Stream(wx, Block(v), streaming)) {
      escaped = true;
      break;
    }
    if (!streaming) Wait_For_Period(wx, v);
    Wendax_Show(wx);
    if (Wendax_Get_Key(wx) == kKeyEscape) {
      escaped = true;
      break;
    }
    if (Video_Next_Frame(v) == 0) break;
  }
  // The stream still holds the last two blocks: two blocks of silence, each
  // taken once the one before it plays, let them be heard to their end
  // (Escape still stops at once).
  if (streaming && !escaped) {
    const std::vector<uint8_t> silence(size_t(v.info.sound_bytes_per_frame),
                                       v.info.sound.bits == 8 ? 0x80 : 0);
    for (int i = 0; i < 2 && streaming && Wait_For_Stream(wx, silence, streaming); ++i) {
    }
  }
  if (started) {
    Stream_Stop(wx);
    Sound_Close(wx);
  }
  Video_Close(std::move(video));
}
