// The ZQM movie object on FFmpeg: demuxing from a file or from memory
// through a custom AVIOContext, one video stream decoded a frame ahead and
// converted with libswscale, audio streams decoded and converted with
// libswresample to 16-bit PCM waiting in a queue each, all timed by the
// movie's clock from the moment it was opened.
extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/imgutils.h>
#include <libavutil/opt.h>
#include <libswresample/swresample.h>
#include <libswscale/swscale.h>
}

#include <algorithm>
#include <chrono>
#include <cstring>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "host/registry_store.h"
#include "zqm/zqm.h"

namespace {

constexpr int kIoBufferBytes = 1 << 15;
// Audio decoded ahead of the video is kept up to this much a stream (4 s of
// 48 kHz stereo); a movie whose audio runs far ahead drops the oldest.
constexpr size_t kAudioQueueMax = size_t(4) * 48000 * 4;
// Audio of an audio-only movie is read this far ahead.
constexpr size_t kAudioAhead = 16384;

int64_t Steady_Ms() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

// The data of Open_Memory as an input FFmpeg reads and seeks.
struct MemoryInput {
  const uint8_t* data = nullptr;
  size_t size = 0;
  size_t position = 0;

  static int Read(void* opaque, uint8_t* buffer, int size) {
    auto* in = static_cast<MemoryInput*>(opaque);
    const size_t count = std::min(size_t(std::max(size, 0)), in->size - in->position);
    if (count == 0) return AVERROR_EOF;
    std::memcpy(buffer, in->data + in->position, count);
    in->position += count;
    return int(count);
  }
  static int64_t Seek(void* opaque, int64_t offset, int whence) {
    auto* in = static_cast<MemoryInput*>(opaque);
    if (whence & AVSEEK_SIZE) return int64_t(in->size);
    int64_t base = 0;
    switch (whence & ~AVSEEK_FORCE) {
      case SEEK_SET: base = 0; break;
      case SEEK_CUR: base = int64_t(in->position); break;
      case SEEK_END: base = int64_t(in->size); break;
      default: return -1;
    }
    const int64_t target = base + offset;
    if (target < 0 || target > int64_t(in->size)) return -1;
    in->position = size_t(target);
    return target;
  }
};

struct CodecDeleter {
  void operator()(AVCodecContext* c) const { avcodec_free_context(&c); }
};
struct FrameDeleter {
  void operator()(AVFrame* f) const { av_frame_free(&f); }
};
struct PacketDeleter {
  void operator()(AVPacket* p) const { av_packet_free(&p); }
};
struct SwrDeleter {
  void operator()(SwrContext* s) const { swr_free(&s); }
};
using CodecPtr = std::unique_ptr<AVCodecContext, CodecDeleter>;
using FramePtr = std::unique_ptr<AVFrame, FrameDeleter>;

struct AudioTrack {
  int index = -1;  // in the container
  CodecPtr decoder;
  std::unique_ptr<SwrContext, SwrDeleter> resampler;
  int channels = 0;
  int rate = 0;
  bool enabled = false;
  std::deque<uint8_t> queue;  // 16-bit PCM, interleaved
};

CodecPtr Open_Decoder(const AVStream* stream) {
  const AVCodec* codec = avcodec_find_decoder(stream->codecpar->codec_id);
  if (!codec) return nullptr;
  CodecPtr context(avcodec_alloc_context3(codec));
  if (!context || avcodec_parameters_to_context(context.get(), stream->codecpar) < 0) return nullptr;
  context->thread_count = 1;
  if (avcodec_open2(context.get(), codec, nullptr) < 0) return nullptr;
  return context;
}

// The track of the registry value, when it names an audio track.
std::optional<int> Chosen_Track() {
  RegistryStore store(Registry_Default_Path());
  std::optional<RegistryKey> root = store.Open_Key(RegistryRoot::kLocalMachine, "");
  if (!root) return std::nullopt;
  std::optional<std::string> text = store.Read_Value(*root, ZQM_AUDIO_TRACK_VALUE);
  if (!text || text->empty() || text->size() > 9 ||
      text->find_first_not_of("0123456789") != std::string::npos)
    return std::nullopt;
  return std::stoi(*text);
}

class FfmpegMovie final : public ZQMovie {
 public:
  explicit FfmpegMovie(ZqmClock clock) : clock_(std::move(clock)) {}
  ~FfmpegMovie() override { Close(); }

  int Open_Memory(const void* data, size_t size, const ZQM_OPEN_OPTIONS& options) override {
    Close();
    if (!data || size == 0) return -1;
    memory_ = MemoryInput{static_cast<const uint8_t*>(data), size, 0};
    auto* buffer = static_cast<uint8_t*>(av_malloc(kIoBufferBytes));
    if (!buffer) return -1;
    io_ = avio_alloc_context(buffer, kIoBufferBytes, 0, &memory_, MemoryInput::Read, nullptr,
                             MemoryInput::Seek);
    if (!io_) {
      av_free(buffer);
      return -1;
    }
    format_ = avformat_alloc_context();
    if (!format_) return Fail();
    format_->pb = io_;
    format_->flags |= AVFMT_FLAG_CUSTOM_IO;
    if (avformat_open_input(&format_, nullptr, nullptr, nullptr) < 0) return Fail();
    return Start(options);
  }

  int Open_File(const char* path, const ZQM_OPEN_OPTIONS& options) override {
    Close();
    if (!path || avformat_open_input(&format_, path, nullptr, nullptr) < 0) return Fail();
    return Start(options);
  }

  void Close() override {
    audio_.clear();
    video_.reset();
    sws_freeContext(sws_);
    sws_ = nullptr;
    pending_.reset();
    last_.reset();
    if (format_) avformat_close_input(&format_);
    if (io_) {
      av_freep(&io_->buffer);
      avio_context_free(&io_);
    }
    open_ = false;
    ended_ = true;
  }

  int Stream_Count(int kind) override {
    if (!open_) return 0;
    if (kind == ZQM_STREAM_VIDEO) return video_ ? 1 : 0;
    if (kind == ZQM_STREAM_AUDIO) return int(audio_.size());
    return 0;
  }

  ZQM_STREAM_DESC Stream_Description(int index, int kind) override {
    ZQM_STREAM_DESC d;
    if (kind == ZQM_STREAM_VIDEO && index == 0 && video_) {
      d.width = video_->width;
      d.height = video_->height;
    } else if (kind == ZQM_STREAM_AUDIO && index >= 0 && index < int(audio_.size())) {
      d.channels = audio_[size_t(index)].channels;
      d.rate = audio_[size_t(index)].rate;
      d.bits = 16;
    }
    return d;
  }

  bool Draw_Frame(int, int, int, int width, int height, int pitch, void* dest, int format) override {
    if (!open_ || !video_ || !dest || width <= 0 || height <= 0) return false;
    if (format != ZQM_FORMAT_565 && format != ZQM_FORMAT_555) return false;
    if (Due()) {
      last_ = std::move(pending_);
      Convert(*last_, format);
      Blit(width, height, pitch, dest);
      Decode_Ahead();
      return true;
    }
    if (ended_ && last_) {
      Convert(*last_, format);
      Blit(width, height, pitch, dest);
    }
    return false;
  }

  int Audio_Available(int stream) override {
    AudioTrack* track = Track(stream);
    if (!track) return 0;
    if (!video_) Fill_Audio_Only();
    return int(std::min<size_t>(track->queue.size(), INT32_MAX));
  }

  void Audio_Fill(int stream, void* area_a, int size_a, void* area_b, int size_b) override {
    AudioTrack* track = Track(stream);
    auto take = [&](void* area, int size) {
      if (!area || size <= 0) return;
      auto* out = static_cast<uint8_t*>(area);
      const size_t n = track ? std::min(size_t(size), track->queue.size()) : 0;
      if (n) {
        std::copy_n(track->queue.begin(), n, out);
        track->queue.erase(track->queue.begin(), track->queue.begin() + std::ptrdiff_t(n));
      }
      std::memset(out + n, 0, size_t(size) - n);
    };
    take(area_a, size_a);
    take(area_b, size_b);
  }

  void Enable_Stream(int index, int kind) override {
    if (kind == ZQM_STREAM_AUDIO) {
      if (AudioTrack* track = Track(index)) track->enabled = true;
    } else if (kind == ZQM_STREAM_VIDEO && index == 0) {
      video_enabled_ = true;
    }
  }

  bool Audio_Ready(int stream, int kind) override {
    if (kind != ZQM_STREAM_AUDIO) return false;
    return Audio_Available(stream) > 0;
  }

  int Running() override {
    if (!open_) return 0;
    if (!video_) Fill_Audio_Only();
    // The last frame stays for its own length before the movie ends.
    if (video_ && !pending_ && input_ended_ && Now() - start_ms_ >= last_ms_ + Frame_Length_Ms())
      ended_ = true;
    if (!video_ && input_ended_ && std::all_of(audio_.begin(), audio_.end(), [](const AudioTrack& t) {
          return !t.enabled || t.queue.empty();
        }))
      ended_ = true;
    return ended_ ? 0 : 1;
  }

  // While the last frame stays on, nothing is due; once the movie has ended
  // there is nothing to wait for.
  int Frame_Due() override {
    if (!video_ || Due()) return 1;
    if (input_ended_ && !pending_) return Running() ? 0 : 1;
    return 0;
  }

  void Full_Screen_Around(bool before) override {
    if (before) {
      paused_at_ = Now();
    } else if (paused_at_) {
      start_ms_ += Now() - *paused_at_;
      paused_at_.reset();
    }
  }

 private:
  int Fail() {
    Close();
    return -1;
  }

  int64_t Now() const { return clock_ ? clock_() : Steady_Ms(); }

  int Start(const ZQM_OPEN_OPTIONS& options) {
    if (avformat_find_stream_info(format_, nullptr) < 0) return Fail();
    for (unsigned i = 0; i < format_->nb_streams; ++i) {
      const AVStream* stream = format_->streams[i];
      const AVMediaType type = stream->codecpar->codec_type;
      if (type == AVMEDIA_TYPE_VIDEO && !video_ && stream->codecpar->width > 0 &&
          stream->codecpar->height > 0) {
        video_ = Open_Decoder(stream);
        if (video_) video_index_ = int(i);
      } else if (type == AVMEDIA_TYPE_AUDIO && options.sound && audio_.size() < ZQM_AUDIO_STREAMS_MAX) {
        Add_Audio(int(i));
      }
    }
    // The track the registry names is presented as stream 0.
    if (std::optional<int> chosen = Chosen_Track(); chosen && *chosen > 0 && *chosen < int(audio_.size()))
      std::rotate(audio_.begin(), audio_.begin() + *chosen, audio_.begin() + *chosen + 1);
    if (!video_ && audio_.empty()) return Fail();
    loops_left_ = options.loops < 0 ? -1 : std::max(options.loops, 1);
    open_ = true;
    ended_ = false;
    input_ended_ = false;
    offset_ms_ = 0;
    start_ms_ = Now();
    Decode_Ahead();
    return 0;
  }

  void Add_Audio(int index) {
    const AVStream* stream = format_->streams[index];
    AudioTrack track;
    track.index = index;
    track.decoder = Open_Decoder(stream);
    if (!track.decoder) return;
    const AVCodecContext* c = track.decoder.get();
    track.channels = std::clamp(c->ch_layout.nb_channels, 1, 2);
    track.rate = c->sample_rate;
    if (track.rate <= 0) return;
    AVChannelLayout out_layout;
    av_channel_layout_default(&out_layout, track.channels);
    AVChannelLayout in_layout;
    if (av_channel_layout_copy(&in_layout, &c->ch_layout) < 0) return;
    SwrContext* swr = nullptr;
    const bool ready = swr_alloc_set_opts2(&swr, &out_layout, AV_SAMPLE_FMT_S16, track.rate, &in_layout,
                                           c->sample_fmt, c->sample_rate, 0, nullptr) >= 0 &&
                       swr_init(swr) >= 0;
    av_channel_layout_uninit(&in_layout);
    av_channel_layout_uninit(&out_layout);
    if (!ready) {
      swr_free(&swr);
      return;
    }
    track.resampler.reset(swr);
    audio_.push_back(std::move(track));
  }

  AudioTrack* Track(int stream) {
    if (!open_ || stream < 0 || stream >= int(audio_.size())) return nullptr;
    return &audio_[size_t(stream)];
  }

  bool Due() {
    if (!pending_) return false;
    return Now() - start_ms_ >= pending_ms_;
  }

  int64_t Frame_Ms(const AVFrame& frame) const {
    const AVStream* stream = format_->streams[video_index_];
    int64_t pts = frame.best_effort_timestamp;
    if (pts == AV_NOPTS_VALUE) pts = frame.pts;
    if (pts == AV_NOPTS_VALUE) return last_ms_ + 40;
    return av_rescale_q(
               pts - std::max<int64_t>(stream->start_time == AV_NOPTS_VALUE ? 0 : stream->start_time, 0),
               stream->time_base, AVRational{1, 1000}) +
           offset_ms_;
  }

  // Reads until the next video frame is decoded, or the input has ended
  // after its last loop. Audio met on the way goes to its queue.
  void Decode_Ahead() {
    if (!video_ || pending_) return;
    FramePtr frame(av_frame_alloc());
    std::unique_ptr<AVPacket, PacketDeleter> packet(av_packet_alloc());
    if (!frame || !packet) return;
    while (!input_ended_ && !pending_) {
      if (avcodec_receive_frame(video_.get(), frame.get()) == 0) {
        Take_Frame(std::move(frame));
        return;
      }
      Read_Packet(*packet);
    }
  }

  void Take_Frame(FramePtr frame) {
    pending_ms_ = std::max(Frame_Ms(*frame), last_ms_);
    last_ms_ = pending_ms_;
    pending_ = std::move(frame);
  }

  void Fill_Audio_Only() {
    std::unique_ptr<AVPacket, PacketDeleter> packet(av_packet_alloc());
    if (!packet) return;
    auto enough = [&] {
      for (const AudioTrack& t : audio_)
        if (t.enabled && t.queue.size() < kAudioAhead) return false;
      return true;
    };
    while (!input_ended_ && !enough()) Read_Packet(*packet);
  }

  // One packet to its decoder. At the end of the input the video's last
  // frames are drained, then the movie loops or ends. False at the end.
  bool Read_Packet(AVPacket& packet) {
    const int status = av_read_frame(format_, &packet);
    if (status < 0) {
      if (video_) {
        avcodec_send_packet(video_.get(), nullptr);  // drain the last frames
        FramePtr frame(av_frame_alloc());
        if (frame && avcodec_receive_frame(video_.get(), frame.get()) == 0) {
          Take_Frame(std::move(frame));
          return true;
        }
      }
      Loop_Or_End();
      return false;
    }
    if (packet.stream_index == video_index_ && video_) {
      avcodec_send_packet(video_.get(), &packet);
    } else {
      for (AudioTrack& track : audio_)
        if (track.index == packet.stream_index && track.enabled) Decode_Audio(track, packet);
    }
    av_packet_unref(&packet);
    return true;
  }

  void Loop_Or_End() {
    if (loops_left_ == 1) {
      input_ended_ = true;
      return;
    }
    if (loops_left_ > 1) --loops_left_;
    // Time goes on from the last frame by one frame's length.
    const int64_t frame_length = video_ ? Frame_Length_Ms() : 0;
    offset_ms_ = last_ms_ + frame_length;
    if (av_seek_frame(format_, -1, 0, AVSEEK_FLAG_BACKWARD) < 0) {
      input_ended_ = true;
      return;
    }
    if (video_) avcodec_flush_buffers(video_.get());
    for (AudioTrack& track : audio_) avcodec_flush_buffers(track.decoder.get());
  }

  int64_t Frame_Length_Ms() const {
    const AVStream* stream = format_->streams[video_index_];
    AVRational rate = stream->avg_frame_rate.num > 0 ? stream->avg_frame_rate : stream->r_frame_rate;
    if (rate.num <= 0 || rate.den <= 0) return 40;
    return std::max<int64_t>(1, av_rescale(1000, rate.den, rate.num));
  }

  void Decode_Audio(AudioTrack& track, const AVPacket& packet) {
    if (avcodec_send_packet(track.decoder.get(), &packet) < 0) return;
    FramePtr frame(av_frame_alloc());
    if (!frame) return;
    while (avcodec_receive_frame(track.decoder.get(), frame.get()) == 0) {
      const int out_samples = swr_get_out_samples(track.resampler.get(), frame->nb_samples);
      if (out_samples <= 0) continue;
      std::vector<uint8_t> out(size_t(out_samples) * size_t(track.channels) * 2);
      uint8_t* planes[1] = {out.data()};
      const int got = swr_convert(track.resampler.get(), planes, out_samples,
                                  const_cast<const uint8_t**>(frame->extended_data), frame->nb_samples);
      if (got <= 0) continue;
      track.queue.insert(track.queue.end(), out.begin(),
                         out.begin() + std::ptrdiff_t(size_t(got) * size_t(track.channels) * 2));
      if (track.queue.size() > kAudioQueueMax)
        track.queue.erase(track.queue.begin(),
                          track.queue.begin() + std::ptrdiff_t(track.queue.size() - kAudioQueueMax));
    }
  }

  void Convert(const AVFrame& frame, int format) {
    const AVPixelFormat out = format == ZQM_FORMAT_555 ? AV_PIX_FMT_RGB555LE : AV_PIX_FMT_RGB565LE;
    sws_ = sws_getCachedContext(sws_, frame.width, frame.height, AVPixelFormat(frame.format), frame.width,
                                frame.height, out, SWS_POINT, nullptr, nullptr, nullptr);
    converted_width_ = converted_height_ = 0;
    if (!sws_) return;
    converted_.assign(size_t(frame.width) * size_t(frame.height) * 2, 0);
    uint8_t* planes[1] = {converted_.data()};
    int strides[1] = {frame.width * 2};
    if (sws_scale(sws_, frame.data, frame.linesize, 0, frame.height, planes, strides) != frame.height) return;
    converted_width_ = frame.width;
    converted_height_ = frame.height;
  }

  // The converted frame at the destination's top left, clipped to it.
  void Blit(int width, int height, int pitch, void* dest) const {
    const int w = std::min(width, converted_width_), h = std::min(height, converted_height_);
    if (w <= 0 || h <= 0 || pitch < w * 2) return;
    auto* out = static_cast<uint8_t*>(dest);
    for (int y = 0; y < h; ++y)
      std::memcpy(out + size_t(y) * size_t(pitch),
                  converted_.data() + size_t(y) * size_t(converted_width_) * 2, size_t(w) * 2);
  }

  ZqmClock clock_;
  MemoryInput memory_;
  AVIOContext* io_ = nullptr;
  AVFormatContext* format_ = nullptr;
  CodecPtr video_;
  int video_index_ = -1;
  bool video_enabled_ = false;
  std::vector<AudioTrack> audio_;
  SwsContext* sws_ = nullptr;
  FramePtr pending_;  // decoded, not yet shown
  int64_t pending_ms_ = 0;
  FramePtr last_;  // the frame shown last
  int64_t last_ms_ = 0;
  std::vector<uint8_t> converted_;
  int converted_width_ = 0;
  int converted_height_ = 0;
  bool open_ = false;
  bool ended_ = true;
  bool input_ended_ = false;
  int loops_left_ = 1;
  int64_t offset_ms_ = 0;
  int64_t start_ms_ = 0;
  std::optional<int64_t> paused_at_;
};

}  // namespace

ZQMovie* Zqm_New() { return Zqm_New(nullptr); }

ZQMovie* Zqm_New(ZqmClock clock) {
  av_log_set_level(AV_LOG_QUIET);
  return new (std::nothrow) FfmpegMovie(std::move(clock));
}

void Zqm_Delete(ZQMovie* movie) { delete movie; }

ZqmScaler::~ZqmScaler() { sws_freeContext(context_); }

bool ZqmScaler::Scale_565(const uint16_t* src, int sw, int sh, uint16_t* dst, int dw, int dh) {
  if (!src || !dst || sw <= 0 || sh <= 0 || dw <= 0 || dh <= 0) return false;
  context_ = sws_getCachedContext(context_, sw, sh, AV_PIX_FMT_RGB565LE, dw, dh, AV_PIX_FMT_RGB565LE,
                                  SWS_BILINEAR, nullptr, nullptr, nullptr);
  if (!context_) return false;
  const uint8_t* in[1] = {reinterpret_cast<const uint8_t*>(src)};
  const int in_stride[1] = {sw * 2};
  uint8_t* out[1] = {reinterpret_cast<uint8_t*>(dst)};
  const int out_stride[1] = {dw * 2};
  return sws_scale(context_, in, in_stride, 0, sh, out, out_stride) == dh;
}
