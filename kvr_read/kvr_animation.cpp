// The animations of a panorama file: counting and naming them, opening one
// by name and playing it frame by frame into a 4-byte picture.
#include <cstring>

#include "dct/dct.h"
#include "kvr_read/kvr_read.h"
#include "kvr_read/kvr_walk.h"

namespace {

// The width of the picture an animation draws into, by the caller's kind.
int Target_Width(int kind) { return kind == KVR_TYPE_VR ? KVR_VR_WIDTH : KVR_PIC_WIDTH; }

}  // namespace

int Kvr_Get_Number_Animation(const char* path) {
  if (!path) return 0;
  KVR_FILE file;
  if (!kvr_walk::Enter(file, path)) return 0;
  const int count = kvr_walk::For_Each_Animation(file, [](KVR_FILE&) {});
  file.Close();
  return count;
}

// Each block is cleared before the name is copied into it, so an animation
// chunk cut by the end of the file still gives 32 defined bytes.
void Kvr_Get_Animation(const char* path, char** names) {
  if (!path || !names) return;
  KVR_FILE file;
  if (!kvr_walk::Enter(file, path)) return;
  int i = 0;
  kvr_walk::For_Each_Animation(file, [&](KVR_FILE& f) {
    char* block = names[i++];
    if (!block) return;
    std::memset(block, 0, KVR_ANIM_NAME_SIZE);
    f.Get_Chunck_Data(block, KVR_ANIM_NAME_SIZE);
  });
  file.Close();
}

int Kvr_Open_Animation(const char* path, const char* name, KVR_ANIM* anim) {
  if (!path || !name || !anim) return 0;
  return kvr_walk::Open_Animation(*anim, path, name);
}

// A null dest plays nothing and leaves the animation where it was. Running
// out of memory for a frame ends the animation, as it could not go on.
int Kvr_Play_Animation(KVR_ANIM* anim, unsigned char* dest, int kind) {
  if (!anim || !dest) return 0;
  const int width = Target_Width(kind);
  DCT dct;  // held for the length of the call, as the unpackers expect
  try {
    return kvr_walk::Play_Frame(*anim, false, [&](kvr_walk::FrameBlocks& frame) {
      dct.Unpack_Bloc_Rgb_32_2(dest, frame.blocks.data(), static_cast<int>(frame.blocks.size()), width,
                               frame.data.data(), static_cast<int>(frame.data.size()), frame.dct_param);
    });
  } catch (...) {
    anim->file.Close();
    return 0;
  }
}

void Kvr_Close_Animation(KVR_ANIM* anim) {
  if (anim) anim->file.Close();
}

int Kvr_Get_Number_Animation(char* path) { return Kvr_Get_Number_Animation(static_cast<const char*>(path)); }
void Kvr_Get_Animation(char* path, char** names) { Kvr_Get_Animation(static_cast<const char*>(path), names); }
int Kvr_Open_Animation(char* path, char* name, KVR_ANIM* anim) {
  return Kvr_Open_Animation(static_cast<const char*>(path), static_cast<const char*>(name), anim);
}
