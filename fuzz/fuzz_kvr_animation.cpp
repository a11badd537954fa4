// The animation functions of libkvr_read.so on the input as a file: its
// animations counted and named, then each of the first ones opened by its
// listed name and played into a picture of exactly the target's size (so
// the sanitizer sees any stray write) until it ends or for a bounded number
// of frames. The first byte's low bit picks the kind: a panorama (rows of
// 256) or a still picture (rows of 640). A listed name must open, and an
// ended animation has closed its file and stays ended.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz/fuzz_scene_input.h"
#include "kvr_read/kvr_read.h"

namespace {

constexpr int kMaxAnimations = 4;
constexpr int kMaxFrames = 200;

// The two pictures, exactly sized and made once per process: fresh pages
// for a 6 MiB picture every run would cost more than the animations.
std::vector<unsigned char>& Destination(int kind) {
  static std::vector<unsigned char> panorama(size_t(KVR_VR_WIDTH) * KVR_VR_HEIGHT * 4);
  static std::vector<unsigned char> still(size_t(KVR_PIC_WIDTH) * KVR_PIC_HEIGHT * 4);
  return kind == 1 ? panorama : still;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
  if (size > (4u << 20)) return 0;
  FuzzSceneFile file(bytes, size);
  if (!file.Ok()) return 0;
  const std::string path = file.Path();
  const int type = Kvr_Get_Vr_Type(path.c_str());
  if (type < KVR_TYPE_NONE || type > KVR_TYPE_PIC) __builtin_trap();
  const int count = Kvr_Get_Number_Animation(path.c_str());
  // Each animation chunk takes at least its 8 header bytes.
  if (count < 0 || static_cast<size_t>(count) > size / KVR_CHUNK_HEADER_SIZE) __builtin_trap();
  if (count == 0) return 0;

  std::vector<std::array<char, KVR_ANIM_NAME_SIZE + 1>> names(static_cast<size_t>(count));
  std::vector<char*> blocks;
  for (auto& n : names) {
    n.fill(0);
    blocks.push_back(n.data());
  }
  Kvr_Get_Animation(path.c_str(), blocks.data());

  const int kind = size > 0 && (bytes[0] & 1) ? 1 : 0;
  std::vector<unsigned char>& dest = Destination(kind);
  for (int i = 0; i < count && i < kMaxAnimations; ++i) {
    KVR_ANIM anim;
    if (Kvr_Open_Animation(path.c_str(), names[static_cast<size_t>(i)].data(), &anim) != 1)
      __builtin_trap();  // a listed name that does not open
    if (anim.current_frame != 0 || anim.file.Tell() < 0) __builtin_trap();
    int frame = 0;
    int result = 1;
    while (frame < kMaxFrames && (result = Kvr_Play_Animation(&anim, dest.data(), kind)) == 1) ++frame;
    if (result != 0 && result != 1) __builtin_trap();
    if (result == 0) {
      if (anim.file.Tell() != -1) __builtin_trap();  // ended with its file open
      if (Kvr_Play_Animation(&anim, dest.data(), kind) != 0) __builtin_trap();
    }
    Kvr_Close_Animation(&anim);
    Kvr_Close_Animation(&anim);
  }
  return 0;
}
