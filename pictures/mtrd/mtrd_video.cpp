// MTRD videos: opening and the frame-by-frame decoder.
#include "pictures/mtrd/mtrd_video.h"

#include <algorithm>
#include <cstring>
#include <optional>

#include "packing/packing.h"
#include "pictures/mtrd/mtrd_sound.h"
#include "platform/files/file_layer.h"

namespace {

constexpr size_t kVideoScratchExtra = 4096;

bool Picture_Method(int32_t method) { return method == 3 || method == 5 || method == 6 || method == 7; }
bool Sound_Method(int32_t method) { return method == 3 || method == 5; }

// The chunk's payload into the scratch buffer, cut to the scratch limit;
// the bytes read, or nothing when the file gives fewer. The buffer grows to
// the longest payload read, which the file holds: a header's large frame
// size takes no memory for its packed data until chunks that large come.
std::optional<size_t> Read_Chunk(Video& v, const MtrdChunk& chunk) {
  const size_t count = std::min(size_t(std::max(chunk.Payload_Size(), 0)), v.scratch_limit);
  if (v.scratch.size() < count) v.scratch.resize(count);
  if (!Mtrd_Read_Payload(v.file, chunk, v.scratch.data(), count)) return std::nullopt;
  return count;
}

void Decode_Picture(Video& v, const MtrdChunk& chunk) {
  const std::optional<size_t> count = Read_Chunk(v, chunk);
  const int32_t method = v.info.header.pack_method;
  if (!count || !Picture_Method(method)) return;
  Unpack(method, v.scratch.data(), *count, v.frame.data() + kVideoHistoryBytes, v.info.frame_bytes,
         kVideoHistoryBytes);
}

void Decode_Sound(Video& v, const MtrdChunk& chunk) {
  const std::optional<size_t> count = Read_Chunk(v, chunk);
  const int32_t version = v.info.header.version;
  const int32_t method = version == 1280 ? 3 : v.info.sound.pack_method;
  uint8_t* block = v.sound.data() + kVideoHistoryBytes;
  if (count && Sound_Method(method))
    Unpack(method, v.scratch.data(), *count, block, v.sound_block, kVideoHistoryBytes);
  if (version == 1280)
    Mtrd_Sound_Expand_1280(block, v.sound_block, v.pcm.data());
  else if (!v.pcm.empty())
    Mtrd_Sound_Expand_1284(block, v.pcm.size(), v.info.sound.stereo != 0, v.pcm.data());
}

}  // namespace

Video::~Video() {
  if (wx && handle >= 0) File_Close(*wx, handle);
}

std::unique_ptr<Video> Video_Open(Wendax& wx, std::string_view path) {
  auto v = std::make_unique<Video>();
  v->handle = File_Open(wx, path, kFileModeRead);
  if (v->handle < 0) return nullptr;
  v->wx = &wx;
  const int32_t size = File_Size(wx, path);
  if (!Mtrd_Open(wx, v->handle, size, 0, size, &v->file) || !Mtrd_Read_Video(v->file, &v->info))
    return nullptr;
  const MtrdVideo& info = v->info;
  v->frame.assign(kVideoHistoryBytes + info.frame_bytes, 0);
  size_t sound_bytes = 0;
  if (v->Has_Sound()) {
    sound_bytes = size_t(info.sound_bytes_per_frame);
    v->sound_block =
        size_t(Mtrd_Sound_Unpacked_Bytes(info.header.version, info.sound.bits, int64_t(sound_bytes)));
    v->sound.assign(kVideoHistoryBytes + v->sound_block, 0);
    if (Mtrd_Sound_Is_Coded(info.header.version, info.sound.bits)) v->pcm.assign(sound_bytes, 0);
  }
  // Twice the larger block, as packed data never needs more; plus room for
  // the code tables a packed stream of a tiny block starts with.
  v->scratch_limit = 2 * std::max(info.frame_bytes, sound_bytes) + kVideoScratchExtra;
  v->anim_from = v->samp_from = v->file.payload;
  return v;
}

int32_t Video_Next_Frame(Video& v) {
  const int32_t k = v.frame_counter;
  const MtrdVideo& info = v.info;
  if (info.header.depth != 0) {
    // The history: the bytes in front of the frame end with the frame's own.
    const size_t kept = std::min(info.frame_bytes, kVideoHistoryBytes);
    uint8_t* pixels = v.frame.data() + kVideoHistoryBytes;
    std::memmove(pixels - kept, pixels + info.frame_bytes - kept, kept);
    MtrdChunk chunk;
    if (k == 0) {
      const int32_t method = info.header.pack_method;
      if (method == 6 || method == 7) std::fill_n(pixels, info.frame_bytes, uint8_t{0});
      Decode_Picture(v, info.first_frame);
    } else if (Mtrd_Find_From(v.file, "ANIM", v.anim_from, &chunk) == MtrdLookup::kFound) {
      v.anim_from = chunk.end;
      Decode_Picture(v, chunk);
    }
  }
  MtrdChunk chunk;
  if (v.Has_Sound() && Mtrd_Find_From(v.file, "SAMP", v.samp_from, &chunk) == MtrdLookup::kFound) {
    if (k == 0)
      std::fill_n(v.sound.begin(), kVideoHistoryBytes, uint8_t{0});
    else  // the history moves on by the previous block
      std::memmove(v.sound.data(), v.sound.data() + v.sound_block, kVideoHistoryBytes);
    v.samp_from = chunk.end;
    Decode_Sound(v, chunk);
  }
  int64_t next = int64_t(k) + 1;
  if (next > info.header.frame_count) {
    next = 0;
    v.anim_from = v.samp_from = v.file.payload;
  }
  v.frame_counter = int32_t(next);
  return v.frame_counter;
}

void Video_Close(std::unique_ptr<Video> video) { video.reset(); }
