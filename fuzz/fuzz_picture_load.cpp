// Loads the fuzz input as the memory file "in.<KVR_FUZZ_EXT>" with
// Picture_Load, converts the picture to 16 bits and draws it into a small
// 16-bit screen at a few places. Every picture that comes back must hold
// what its fields say.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "pictures/picture.h"
#include "platform/files/file_layer.h"
#include "platform/wendax.h"

#ifndef KVR_FUZZ_EXT
#error "KVR_FUZZ_EXT names the file name extension, e.g. pcx"
#endif
#define KVR_FUZZ_TEXT2(x) #x
#define KVR_FUZZ_TEXT(x) KVR_FUZZ_TEXT2(x)

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string name = std::string("in.") + KVR_FUZZ_TEXT(KVR_FUZZ_EXT);
  Wendax wx;
  Memory_File_Add(wx, name, data, size);
  PicturePtr picture = Picture_Load(wx, name);
  if (!picture) return 0;
  if (picture->data_size != int(picture->pixels.size())) __builtin_trap();
  if (picture->palette.size() < kPalette_Rgb_Bytes) __builtin_trap();
  // Every reader names the picture after the path; MTRD pictures read by
  // their own extension keep the name stored in them.
  const bool mtrd = name == "in.mtd" || name == "in.mta";
  if (!mtrd && picture->name != name) __builtin_trap();

  Picture_To_16(picture.get());
  if (picture->frame_count == 0) {
    if (picture->depth != 16 || picture->pack_method != 0) __builtin_trap();
    if (picture->pixels.size() != Picture_Plain_Size(picture->width, picture->height, 16)) __builtin_trap();
  }
  std::vector<uint16_t> pixels(32 * 24, 0);
  Screen16 screen{pixels.data(), 32, 24};
  Picture_Draw(picture.get(), screen, 3, 2);
  Picture_Draw(picture.get(), screen, -picture->width / 2, 20);
  Picture_Draw_Transparent_Centred(screen, picture.get(), 16, 12);
  return 0;
}
