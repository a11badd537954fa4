// Reads the fuzz input as an MTRD file held in memory: Mtrd_Read_Picture,
// then the picture unpacked and converted as the engine does after loading,
// and Mtrd_Read_Video on the same file. Whatever comes back must hold what
// its fields say.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "pictures/mtrd/mtrd_format.h"
#include "pictures/mtrd/mtrd_picture.h"
#include "packing/packing.h"
#include "pictures/picture.h"
#include "platform/files/file_layer.h"
#include "platform/wendax.h"

namespace {

void Check_Picture(const Picture& p) {
  if (p.data_size != int(p.pixels.size()) || p.palette.size() != kPalette_Rgb_Bytes) __builtin_trap();
  if (p.name.empty() || p.name.size() > kPictureNameMax) __builtin_trap();
  if (p.version < kMtrdVersionFirst || p.version > kMtrdVersionLast) __builtin_trap();
  if (p.depth != 8 && p.depth != 16 && p.depth != 24 && p.depth != 32) __builtin_trap();
  if (p.pack_method < 0 || p.pack_method > kPackMethodMax || p.frame_count < 0) __builtin_trap();
  const size_t plain = Picture_Plain_Size(p.width, p.height, p.depth);
  if (plain == 0 || (p.pack_method == 0 && p.pixels.size() != plain)) __builtin_trap();
  if (p.frame_count == 0 && !p.frames.empty()) __builtin_trap();
}

void Check_Video(const MtrdVideo& v) {
  const MtrdHeader& h = v.header;
  if (h.frame_count < 1 || v.sound.frames_per_second < 1 || v.sound.frames_per_second > 1000)
    __builtin_trap();
  if (h.depth == 0) {
    if (h.version != 1284 || v.frame_bytes != 0 || !v.palette.empty()) __builtin_trap();
  } else if (v.frame_bytes != Picture_Plain_Size(h.width, h.height, h.depth) || v.frame_bytes == 0 ||
             v.palette.size() != kPalette_Rgb_Bytes) {
    __builtin_trap();
  }
  if (v.sound.sample_rate != 0 &&
      (v.sound_bytes_per_frame < 1 || v.sound_bytes_per_frame > kMtrdSoundBytesMax))
    __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Wendax wx;
  Memory_File_Add(wx, "in.mtd", data, size);
  const int handle = File_Open(wx, "in.mtd", kFileModeRead);
  const int32_t file_size = int32_t(size);
  if (PicturePtr picture = Mtrd_Read_Picture(wx, handle, file_size, 0, file_size)) {
    Check_Picture(*picture);
    Picture_Unpack(picture.get());
    if (picture->frame_count == 0 && picture->pack_method != 0) __builtin_trap();
    Picture_To_16(picture.get());
  }
  MtrdFile file;
  MtrdVideo video;
  if (Mtrd_Open(wx, handle, file_size, 0, file_size, &file) && Mtrd_Read_Video(file, &video))
    Check_Video(video);
  File_Close(wx, handle);
  return 0;
}
