// The static pictures and the animation list of a panorama file.
#include <cstring>

#include "dct/dct.h"
#include "kvr_read/kvr_walk.h"
#include "scene/scene_file.h"
#include "scene/scene_picture.h"

namespace {

using Unpacker = void (*)(unsigned short*, unsigned char*, int, int);

// Reads the first record tagged `wanted` and unpacks it into dest with the
// RGB555 or the RGB565 unpacker.
int Unpack_Static(const char* path, uint16_t* dest, int format, int wanted, Unpacker rgb15, Unpacker rgb16) {
  if (!dest) return 0;
  DCT dct;  // held for the length of the call, as the unpackers expect
  KVR_FILE file;
  if (!kvr_walk::Enter(file, Scene_Path(path).c_str())) return 0;
  kvr_walk::PictureRecord record;
  const bool found = kvr_walk::Read_Picture_Record(file, wanted, record);
  file.Close();
  if (!found) return 0;
  (format == 15 ? rgb15 : rgb16)(dest, record.data.data(), static_cast<int>(record.data.size()),
                                 record.dct_param);
  return 1;
}

}  // namespace

int Unpack_Static_Vr(const char* path, uint16_t* dest, int format) {
  return Unpack_Static(path, dest, format, KVR_CHUNK_STATIC_VR, Unpack_Picture_Rgb_15_16_256_6144,
                       Unpack_Picture_Rgb_16_16_256_6144);
}

int Unpack_Static_Pic(const char* path, uint16_t* dest, int format) {
  return Unpack_Static(path, dest, format, KVR_CHUNK_STATIC_PIC, Unpack_Picture_Rgb_15_16_640_480,
                       Unpack_Picture_Rgb_16_16_640_480);
}

int Count_Scene_Animations(const char* path) {
  KVR_FILE file;
  if (!kvr_walk::Enter(file, Scene_Path(path).c_str())) return 0;
  return kvr_walk::For_Each_Animation(file, [](KVR_FILE&) {});
}

void Get_Scene_Animation_Names(const char* path, SceneAnimationName* names, int max) {
  if (!names || max <= 0) return;
  KVR_FILE file;
  if (!kvr_walk::Enter(file, Scene_Path(path).c_str())) return;
  int i = 0;
  kvr_walk::For_Each_Animation(file, [&](KVR_FILE& f) {
    if (i >= max) return;
    names[i].fill(0);
    f.Get_Chunck_Data(names[i].data(), KVR_ANIM_NAME_SIZE);
    ++i;
  });
}
