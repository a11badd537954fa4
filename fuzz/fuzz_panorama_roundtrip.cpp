// Panorama files written and read back with the tools' writer and reader.
// The input builds a content (kind, static record, animations with names,
// frames and loop points, some of them invalid): when Panorama_Check
// accepts it, the written file must read back equal and write again to the
// same bytes; when it refuses it, nothing is written. The input is also
// read as a panorama file: a refusal must say why, what is read must come
// from the file's bytes, and once it passes the check it must survive the
// same round trip.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "dct/dct.h"
#include "tools/panorama_reader.h"
#include "tools/panorama_writer.h"

namespace {

// Bounds that keep one run short: frames and blocks over the whole content.
constexpr int kMaxAnimations = 6;
constexpr int kMaxFrames = 300;
constexpr int kMaxFramesEach = 64;
constexpr int kMaxBlocks = 400;
constexpr int kMaxBlocksEach = 16;
constexpr size_t kMaxData = 256;
constexpr size_t kMaxName = 34;  // past the 31 a file stores

void Trap_Unless(bool holds) {
  if (!holds) __builtin_trap();
}

int Param(FuzzedDataProvider& in) {
  return in.ConsumeBool() ? in.ConsumeIntegralInRange(0, 100) : in.ConsumeIntegral<int>();
}

std::vector<uint8_t> Data(FuzzedDataProvider& in) {
  return in.ConsumeBytes<uint8_t>(in.ConsumeIntegralInRange<size_t>(0, kMaxData));
}

PanoramaFrame Frame(FuzzedDataProvider& in, int picture_blocks, int& blocks_left) {
  PanoramaFrame frame;
  const int count = in.ConsumeIntegralInRange(0, std::min(blocks_left, kMaxBlocksEach));
  blocks_left -= count;
  // From -1 to one past the last block; repeats come with the input.
  for (int i = 0; i < count; ++i) frame.blocks.push_back(in.ConsumeIntegralInRange(-1, picture_blocks));
  // An empty frame only rarely carries what its chunk cannot store.
  if (count > 0 || in.ConsumeIntegral<uint8_t>() == 0) {
    frame.dct_param = Param(in);
    frame.data = Data(in);
  }
  return frame;
}

PanoramaContent Content(FuzzedDataProvider& in) {
  PanoramaContent content;
  content.kind = in.ConsumeBool() ? PanoramaKind::kPic : PanoramaKind::kVr;
  content.dct_param = Param(in);
  content.data = Data(in);
  const int picture_blocks =
      (Panorama_Width(content.kind) / DCT_BLOCK_SIZE) * (Panorama_Height(content.kind) / DCT_BLOCK_SIZE);
  int frames_left = kMaxFrames;
  int blocks_left = kMaxBlocks;
  const int animations = in.ConsumeIntegralInRange(0, kMaxAnimations);
  for (int a = 0; a < animations && in.remaining_bytes() > 0; ++a) {
    PanoramaAnimation animation;
    animation.name = in.ConsumeRandomLengthString(kMaxName);
    const int frames = in.ConsumeIntegralInRange(0, std::min(frames_left, kMaxFramesEach));
    frames_left -= frames;
    for (int f = 0; f < frames; ++f) animation.frames.push_back(Frame(in, picture_blocks, blocks_left));
    if (in.ConsumeBool()) animation.loop = in.ConsumeIntegralInRange(-1, frames);
    content.animations.push_back(std::move(animation));
  }
  return content;
}

// `content` passed the check: written, read back and written again.
void Round_Trip(const PanoramaContent& content) {
  std::vector<uint8_t> bytes;
  std::vector<uint8_t> again;
  PanoramaContent read;
  std::string error;
  Trap_Unless(Panorama_File_Bytes(content, bytes, error));
  Trap_Unless(Panorama_Read(bytes, read, error) && read == content);
  Trap_Unless(Panorama_File_Bytes(read, again, error) && again == bytes);
}

// The bytes of `content` that a file must have held.
size_t Bytes_Held(const PanoramaContent& content) {
  size_t held = content.data.size();
  for (const PanoramaAnimation& animation : content.animations)
    for (const PanoramaFrame& frame : animation.frames) held += frame.data.size() + 4 * frame.blocks.size();
  return held;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string error;
  FuzzedDataProvider in(data, size);
  const PanoramaContent built = Content(in);
  if (Panorama_Check(built, error)) {
    Round_Trip(built);
  } else {
    std::vector<uint8_t> out = {1};
    Trap_Unless(!Panorama_File_Bytes(built, out, error) && out.empty());
  }

  PanoramaContent read;
  error.clear();
  if (!Panorama_Read(std::vector<uint8_t>(data, data + size), read, error)) {
    Trap_Unless(!error.empty());
    return 0;
  }
  Trap_Unless(Bytes_Held(read) <= size);
  if (Panorama_Check(read, error)) Round_Trip(read);
  return 0;
}
