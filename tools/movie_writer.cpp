#include "tools/movie_writer.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/opt.h>
#include <libswscale/swscale.h>
}

#include <algorithm>
#include <cstdio>
#include <memory>
#include <unistd.h>

namespace {

constexpr int kAudioFrameSamples = 1024;

struct Encoder {
  AVCodecContext* codec = nullptr;
  AVStream* stream = nullptr;
  ~Encoder() { avcodec_free_context(&codec); }
};

std::string Av_Error(int status) {
  char text[AV_ERROR_MAX_STRING_SIZE] = {};
  av_strerror(status, text, sizeof text);
  return text;
}

class Muxer {
 public:
  ~Muxer() {
    if (format_) {
      if (format_->pb) avio_closep(&format_->pb);
      avformat_free_context(format_);
    }
  }

  bool Open(const std::string& path, std::string& error) {
    const int status = avformat_alloc_output_context2(&format_, nullptr, "matroska", path.c_str());
    if (status < 0 || !format_) return Fail("no Matroska muxer: " + Av_Error(status), error);
    path_ = path;
    return true;
  }

  bool Add_Video(const MovieContent& c, Encoder& e, std::string& error) {
    const AVCodec* codec = avcodec_find_encoder(AV_CODEC_ID_FFV1);
    if (!codec) return Fail("FFmpeg has no FFV1 encoder", error);
    if (!New_Stream(codec, e, error)) return false;
    e.codec->width = c.width;
    e.codec->height = c.height;
    e.codec->pix_fmt = AV_PIX_FMT_0RGB32;
    e.codec->time_base = AVRational{1, c.frames_per_second};
    e.codec->framerate = AVRational{c.frames_per_second, 1};
    e.stream->avg_frame_rate = e.codec->framerate;
    return Open_Encoder(codec, e, error);
  }

  bool Add_Audio(const MovieTrack& t, Encoder& e, std::string& error) {
    const AVCodec* codec = avcodec_find_encoder(AV_CODEC_ID_PCM_S16LE);
    if (!codec) return Fail("FFmpeg has no PCM encoder", error);
    if (!New_Stream(codec, e, error)) return false;
    e.codec->sample_fmt = AV_SAMPLE_FMT_S16;
    e.codec->sample_rate = t.rate;
    av_channel_layout_default(&e.codec->ch_layout, t.channels);
    e.codec->time_base = AVRational{1, t.rate};
    return Open_Encoder(codec, e, error);
  }

  bool Start(std::string& error) {
    int status = avio_open(&format_->pb, path_.c_str(), AVIO_FLAG_WRITE);
    if (status < 0) return Fail("cannot write " + path_ + ": " + Av_Error(status), error);
    status = avformat_write_header(format_, nullptr);
    if (status < 0) return Fail("cannot write the movie's header: " + Av_Error(status), error);
    return true;
  }

  // Sends the frame (null: the end) and writes every packet it gives.
  bool Encode(Encoder& e, const AVFrame* frame, std::string& error) {
    int status = avcodec_send_frame(e.codec, frame);
    if (status < 0) return Fail("encoding failed: " + Av_Error(status), error);
    std::unique_ptr<AVPacket, void (*)(AVPacket*)> packet(av_packet_alloc(),
                                                          [](AVPacket* p) { av_packet_free(&p); });
    while ((status = avcodec_receive_packet(e.codec, packet.get())) == 0) {
      av_packet_rescale_ts(packet.get(), e.codec->time_base, e.stream->time_base);
      packet->stream_index = e.stream->index;
      status = av_interleaved_write_frame(format_, packet.get());
      if (status < 0) return Fail("cannot write the movie: " + Av_Error(status), error);
    }
    return status == AVERROR(EAGAIN) || status == AVERROR_EOF ||
           Fail("encoding failed: " + Av_Error(status), error);
  }

  bool Finish(std::string& error) {
    const int status = av_write_trailer(format_);
    if (status < 0) return Fail("cannot finish the movie: " + Av_Error(status), error);
    if (avio_closep(&format_->pb) < 0) return Fail("cannot write " + path_, error);
    return true;
  }

 private:
  static bool Fail(const std::string& message, std::string& error) {
    error = message;
    return false;
  }

  bool New_Stream(const AVCodec* codec, Encoder& e, std::string& error) {
    e.stream = avformat_new_stream(format_, nullptr);
    e.codec = avcodec_alloc_context3(codec);
    if (!e.stream || !e.codec) return Fail("out of memory", error);
    if (format_->oformat->flags & AVFMT_GLOBALHEADER) e.codec->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    return true;
  }

  bool Open_Encoder(const AVCodec* codec, Encoder& e, std::string& error) {
    int status = avcodec_open2(e.codec, codec, nullptr);
    if (status < 0) return Fail("cannot open the encoder: " + Av_Error(status), error);
    status = avcodec_parameters_from_context(e.stream->codecpar, e.codec);
    if (status < 0) return Fail("cannot set the stream: " + Av_Error(status), error);
    e.stream->time_base = e.codec->time_base;
    return true;
  }

  AVFormatContext* format_ = nullptr;
  std::string path_;
};

bool Check(const MovieContent& c, std::string& error) {
  const size_t bytes = size_t(std::max(c.width, 0)) * size_t(std::max(c.height, 0)) * 3;
  if (c.width < 1 || c.height < 1 || c.width > 8192 || c.height > 8192)
    error = "frames must be 1 to 8192 pixels wide and high";
  else if (c.frames.empty())
    error = "a movie needs one frame at least";
  else if (c.frames_per_second < 1 || c.frames_per_second > 1000)
    error = "the frame rate must be 1 to 1000";
  else
    for (const std::vector<uint8_t>& f : c.frames)
      if (f.size() != bytes) error = "every frame must be width x height RGB pixels";
  for (const MovieTrack& t : c.audio)
    if (t.rate < 1 || t.rate > 384000 || (t.channels != 1 && t.channels != 2))
      error = "audio must be mono or stereo";
  return error.empty();
}

bool Write_Streams(const MovieContent& c, const std::string& path, std::string& error) {
  Muxer mux;
  Encoder video;
  std::vector<Encoder> audio(c.audio.size());
  if (!mux.Open(path, error) || !mux.Add_Video(c, video, error)) return false;
  for (size_t i = 0; i < c.audio.size(); ++i)
    if (!mux.Add_Audio(c.audio[i], audio[i], error)) return false;
  if (!mux.Start(error)) return false;

  std::unique_ptr<AVFrame, void (*)(AVFrame*)> frame(av_frame_alloc(), [](AVFrame* f) { av_frame_free(&f); });
  frame->format = AV_PIX_FMT_0RGB32;
  frame->width = c.width;
  frame->height = c.height;
  if (av_frame_get_buffer(frame.get(), 0) < 0) {
    error = "out of memory";
    return false;
  }
  SwsContext* sws = sws_getContext(c.width, c.height, AV_PIX_FMT_RGB24, c.width, c.height, AV_PIX_FMT_0RGB32,
                                   SWS_POINT, nullptr, nullptr, nullptr);
  std::unique_ptr<SwsContext, void (*)(SwsContext*)> sws_owner(sws, sws_freeContext);
  for (size_t k = 0; k < c.frames.size(); ++k) {
    if (av_frame_make_writable(frame.get()) < 0) return false;
    const uint8_t* in[1] = {c.frames[k].data()};
    const int in_stride[1] = {c.width * 3};
    sws_scale(sws, in, in_stride, 0, c.height, frame->data, frame->linesize);
    frame->pts = int64_t(k);
    if (!mux.Encode(video, frame.get(), error)) return false;
  }
  if (!mux.Encode(video, nullptr, error)) return false;

  for (size_t i = 0; i < c.audio.size(); ++i) {
    const MovieTrack& t = c.audio[i];
    const size_t total = t.samples.size() / size_t(t.channels);
    for (size_t at = 0; at < total; at += kAudioFrameSamples) {
      std::unique_ptr<AVFrame, void (*)(AVFrame*)> a(av_frame_alloc(), [](AVFrame* f) { av_frame_free(&f); });
      a->format = AV_SAMPLE_FMT_S16;
      a->sample_rate = t.rate;
      av_channel_layout_default(&a->ch_layout, t.channels);
      a->nb_samples = int(std::min<size_t>(kAudioFrameSamples, total - at));
      if (av_frame_get_buffer(a.get(), 0) < 0) return false;
      std::copy_n(t.samples.data() + at * size_t(t.channels), size_t(a->nb_samples) * size_t(t.channels),
                  reinterpret_cast<int16_t*>(a->data[0]));
      a->pts = int64_t(at);
      if (!mux.Encode(audio[i], a.get(), error)) return false;
    }
    if (!mux.Encode(audio[i], nullptr, error)) return false;
  }
  return mux.Finish(error);
}

}  // namespace

bool Movie_File_Write(const MovieContent& content, const std::string& path, std::string& error) {
  if (!Check(content, error)) return false;
  av_log_set_level(AV_LOG_QUIET);
  const std::string temporary = path + ".tmp" + std::to_string(::getpid());
  if (!Write_Streams(content, temporary, error)) {
    std::remove(temporary.c_str());
    return false;
  }
  if (std::rename(temporary.c_str(), path.c_str()) != 0) {
    std::remove(temporary.c_str());
    error = "cannot replace " + path;
    return false;
  }
  return true;
}
