// ZQM movies: the movie object the engine plays full screen and as
// overlays, on FFmpeg. A ZQM file is any file FFmpeg reads; see README.md
// for timing, looping, the audio track and the open options.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>

inline constexpr int ZQM_STREAM_VIDEO = 1;
inline constexpr int ZQM_STREAM_AUDIO = 2;
inline constexpr int ZQM_FORMAT_555 = 1;
inline constexpr int ZQM_FORMAT_565 = 2;
inline constexpr int ZQM_FORMAT_NONE = 0x7FFFFFFF;
inline constexpr int ZQM_AUDIO_STREAMS_MAX = 16;
// The registry value (a decimal number under HKEY_LOCAL_MACHINE) naming the
// audio track presented as audio stream 0.
inline constexpr const char* ZQM_AUDIO_TRACK_VALUE = "ZQMOVIE_AUDIO_TRACK";

// The options of both open operations: two leading zeros (unused), the loop
// count (0 or 1 play once, N plays N times, -1 for ever), and two byte
// flags (see README.md: the first asks for sound, the second marks a
// full-screen movie).
struct ZQM_OPEN_OPTIONS {
  int32_t zero0 = 0;
  int32_t zero1 = 0;
  int32_t loops = 0;
  uint8_t sound = 1;
  uint8_t full_screen = 0;
};

struct ZQM_STREAM_DESC {
  int32_t width = 0;  // video
  int32_t height = 0;
  int32_t channels = 0;  // audio
  int32_t rate = 0;
  int32_t bits = 0;
};

class ZQMovie {
 public:
  virtual ~ZQMovie() = default;
  // 0 on success. The data of Open_Memory must outlive the movie.
  virtual int Open_Memory(const void* data, size_t size, const ZQM_OPEN_OPTIONS& options) = 0;
  virtual int Open_File(const char* path, const ZQM_OPEN_OPTIONS& options) = 0;
  virtual void Close() = 0;
  // Streams of that kind (1 video, 2 audio).
  virtual int Stream_Count(int kind) = 0;
  virtual ZQM_STREAM_DESC Stream_Description(int index, int kind) = 0;
  // Draws the frame that is due, when it was not drawn yet, into the
  // destination of width x height pixels at pitch bytes a row, in format 2
  // (5-6-5) or 1 (5-5-5), clipped to it: true when a new frame was drawn.
  // Once the movie has ended it draws its last frame again (false).
  virtual bool Draw_Frame(int zero0, int zero1, int zero2, int width, int height, int pitch, void* dest,
                          int format) = 0;
  // Bytes of 16-bit PCM decoded and waiting on the audio stream.
  virtual int Audio_Available(int stream) = 0;
  // Takes the first size_a + size_b waiting bytes into the two areas
  // (silence where fewer are waiting).
  virtual void Audio_Fill(int stream, void* area_a, int size_a, void* area_b, int size_b) = 0;
  virtual void Enable_Stream(int index, int kind) = 0;
  virtual bool Audio_Ready(int stream, int kind) = 0;
  // Non-zero while the movie has not ended: until its last frame has been
  // shown for a frame's length (its sound taken, for a movie without video).
  virtual int Running() = 0;
  // Non-zero (lowest byte) when the next frame should be shown now.
  virtual int Frame_Due() = 0;
  // Made on every overlay just before (true) and after (false) a
  // full-screen movie: the overlay's clock stops meanwhile.
  virtual void Full_Screen_Around(bool before) = 0;
};

// Milliseconds of the clock the movie keeps time by.
using ZqmClock = std::function<int64_t()>;

// A movie on the steady clock, or on the given one (a virtual clock in
// headless runs). Null when it cannot be made.
ZQMovie* Zqm_New();
ZQMovie* Zqm_New(ZqmClock clock);
void Zqm_Delete(ZQMovie* movie);

// Scales 5-6-5 pictures of sw x sh pixels to dw x dh (bilinear, with
// libswscale), keeping its scaler between calls of the same sizes.
// Scale is false when a size is not positive.
class ZqmScaler {
 public:
  ZqmScaler() = default;
  ~ZqmScaler();
  ZqmScaler(const ZqmScaler&) = delete;
  ZqmScaler& operator=(const ZqmScaler&) = delete;
  bool Scale_565(const uint16_t* src, int sw, int sh, uint16_t* dst, int dw, int dh);

 private:
  struct SwsContext* context_ = nullptr;
};
