// Kvr_Get_Vr_Type, Kvr_Load_Static_Vr, Kvr_Load_Static_Pic: the kind of a
// panorama file and its static picture decoded to 4-byte pixels.
#include "dct/dct.h"
#include "kvr_read/kvr_read.h"
#include "kvr_read/kvr_walk.h"

namespace {

using Unpacker = void (*)(unsigned char* dest, unsigned char* data, int size, int param);

// Reads the first record tagged `wanted`, closes the file, then decodes the
// record into dest. dest is written only when the record was found and its
// byte count fits its chunk. A record cut by the end of the file is decoded
// as far as it goes: the unpacker blackens the rows it cannot decode.
int Load_Static(const char* path, unsigned char* dest, int wanted, Unpacker unpack) {
  if (!path || !dest) return 0;
  try {
    KVR_FILE file;
    if (!kvr_walk::Enter(file, path)) return 0;
    kvr_walk::PictureRecord record;
    const bool found = kvr_walk::Read_Picture_Record(file, wanted, record);
    file.Close();
    if (!found) return 0;
    unpack(dest, record.data.data(), static_cast<int>(record.data.size()), record.dct_param);
    return 1;
  } catch (...) {  // no memory for the compressed data
    return 0;
  }
}

}  // namespace

int Kvr_Get_Vr_Type(const char* path) {
  if (!path) return KVR_TYPE_NONE;
  KVR_FILE file;
  if (!kvr_walk::Enter(file, path)) return KVR_TYPE_NONE;
  const int tag = kvr_walk::First_Static_Tag(file);
  file.Close();
  if (tag == KVR_CHUNK_STATIC_VR) return KVR_TYPE_VR;
  if (tag == KVR_CHUNK_STATIC_PIC) return KVR_TYPE_PIC;
  return KVR_TYPE_NONE;
}

int Kvr_Load_Static_Vr(const char* path, unsigned char* dest) {
  return Load_Static(path, dest, KVR_CHUNK_STATIC_VR, Unpack_Picture_Rgb_32_256_6144);
}

int Kvr_Load_Static_Pic(const char* path, unsigned char* dest) {
  return Load_Static(path, dest, KVR_CHUNK_STATIC_PIC, Unpack_Picture_Rgb_32_640_480);
}

int Kvr_Get_Vr_Type(char* path) { return Kvr_Get_Vr_Type(static_cast<const char*>(path)); }
int Kvr_Load_Static_Vr(char* path, unsigned char* dest) {
  return Kvr_Load_Static_Vr(static_cast<const char*>(path), dest);
}
int Kvr_Load_Static_Pic(char* path, unsigned char* dest) {
  return Kvr_Load_Static_Pic(static_cast<const char*>(path), dest);
}
