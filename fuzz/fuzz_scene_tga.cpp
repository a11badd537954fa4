// A TGA still read as the warp loader reads one, at a 40 x 30 picture
// instead of 640 x 480 (the same reader, a sixteenth of the rows and
// columns), then dithered into a 16-bit picture of exactly that size.
// Checks: a refused file leaves the pixels untouched; an accepted one gives
// 4-byte pixels, every fourth byte 0 for a 24-bit file.
#include <cstdint>
#include <cstdio>
#include <vector>

#include "fuzz/fuzz_scene_input.h"
#include "scene/scene_file.h"
#include "scene/scene_picture.h"
#include "scene/tga_read.h"

namespace {

constexpr int kWidth = 40;
constexpr int kHeight = 30;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
  FuzzSceneFile file(bytes, size);
  if (!file.Ok()) return 0;
  SceneFile f = Scene_Open(file.Path().c_str());
  if (!f) return 0;
  std::vector<unsigned char> pixels = {1, 2, 3};
  if (!Tga_Read(f.get(), kWidth, kHeight, pixels)) {
    if (pixels.size() != 3) __builtin_trap();
    return 0;
  }
  if (pixels.size() != size_t(kWidth) * kHeight * 4) __builtin_trap();
  if (size > 16 && bytes[16] == 24)
    for (size_t i = 3; i < pixels.size(); i += 4)
      if (pixels[i] != 0) __builtin_trap();
  std::vector<uint16_t> still(size_t(kWidth) * kHeight);
  Dither_Rgb_32_To_565(pixels.data(), still.data(), kWidth, kHeight, kWidth);
  return 0;
}
