// The dct unpackers on arbitrary data (layout in fuzz_dct_input.h). Checks:
// nothing is written outside the destination; a picture unpacker writes
// every pixel (the fourth byte of each 4-byte pixel becomes 0); a block
// unpacker changes no pixel outside the listed blocks.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "dct/dct.h"
#include "fuzz/fuzz_dct_input.h"

namespace {

constexpr size_t kGuard = 4096;
constexpr uint8_t kFill = 0xC3;  // never a fourth byte the unpackers write

struct PictureKind {
  int width;
  int height;
  int bytes;  // per pixel
};

// Kinds 0-5 in order: 15_16, 16_16 and 32 at 256 x 6144, then at 640 x 480.
PictureKind Picture_Of(int kind) {
  const bool strip = kind < 3;
  const int format = kind % 3;
  return PictureKind{strip ? 256 : 640, strip ? 6144 : 480, format == 2 ? 4 : 2};
}

// Bytes of the picture with guard zones on both sides.
struct Destination {
  explicit Destination(size_t bytes) : all(bytes + 2 * kGuard, kFill), size(bytes) {}
  unsigned char* Pixels() { return all.data() + kGuard; }
  bool Guards_Intact() const {
    const std::vector<unsigned char> fill(kGuard, kFill);
    return std::memcmp(all.data(), fill.data(), kGuard) == 0 &&
           std::memcmp(all.data() + kGuard + size, fill.data(), kGuard) == 0;
  }
  std::vector<unsigned char> all;
  size_t size;
};

void Unpack_Picture(int kind, unsigned char* dest, unsigned char* data, int size) {
  auto* d16 = reinterpret_cast<unsigned short*>(dest);
  switch (kind) {
    case 0: Unpack_Picture_Rgb_15_16_256_6144(d16, data, size, 0); break;
    case 1: Unpack_Picture_Rgb_16_16_256_6144(d16, data, size, 0); break;
    case 2: Unpack_Picture_Rgb_32_256_6144(dest, data, size, 0); break;
    case 3: Unpack_Picture_Rgb_15_16_640_480(d16, data, size, 0); break;
    case 4: Unpack_Picture_Rgb_16_16_640_480(d16, data, size, 0); break;
    default: Unpack_Picture_Rgb_32_640_480(dest, data, size, 0); break;
  }
}

void Check_Picture(DctFuzzInput& in) {
  const PictureKind k = Picture_Of(in.kind);
  Destination d(static_cast<size_t>(k.width) * k.height * k.bytes);
  Unpack_Picture(in.kind, d.Pixels(), in.data.data(), static_cast<int>(in.data.size()));
  if (!d.Guards_Intact()) __builtin_trap();
  if (k.bytes == 4) {
    const unsigned char* p = d.Pixels();
    unsigned char any = 0;
    for (size_t i = 3; i < d.size; i += 4) any |= p[i];
    if (any != 0) __builtin_trap();
  }
}

// Whether each block of the picture is listed (numbered over `columns`).
std::vector<bool> Listed_Blocks(const DctFuzzInput& in, int blocks) {
  std::vector<bool> listed(static_cast<size_t>(blocks), false);
  for (int n : in.blocks)
    if (n >= 0 && n < blocks) listed[static_cast<size_t>(n)] = true;
  return listed;
}

// Every row of every block not listed must still hold the fill.
bool Unlisted_Untouched(const Destination& d, const DctFuzzInput& in, int height, int bytes) {
  const int columns = in.width / 16, blocks = columns * (height / 16);
  const std::vector<bool> listed = Listed_Blocks(in, blocks);
  const std::vector<unsigned char> fill(16 * 4, kFill);
  const size_t pitch = static_cast<size_t>(in.width) * bytes;
  const unsigned char* pixels = d.all.data() + kGuard;
  for (int n = 0; n < blocks; ++n) {
    if (listed[static_cast<size_t>(n)]) continue;
    const unsigned char* first = pixels + static_cast<size_t>(n / columns) * 16 * pitch +
                                 static_cast<size_t>(n % columns) * 16 * bytes;
    for (int r = 0; r < 16; ++r)
      if (std::memcmp(first + r * pitch, fill.data(), static_cast<size_t>(16 * bytes)) != 0) return false;
  }
  return true;
}

bool All_Fill(const Destination& d) {
  const unsigned char* pixels = d.all.data() + kGuard;
  return pixels[0] == kFill && std::memcmp(pixels, pixels + 1, d.size - 1) == 0;
}

void Check_Blocks(DctFuzzInput& in) {
  const bool known = in.width == 256 || in.width == 640;
  const int height = in.width == 640 ? 480 : 6144;
  const int bytes = in.kind == 6 ? 2 : 4;
  // Room for the tallest picture at a width no unpacker takes.
  const size_t pixels = static_cast<size_t>(known ? in.width : 640) * height;
  Destination d(pixels * bytes);
  int* blocks = in.blocks.empty() ? nullptr : in.blocks.data();
  const int size = static_cast<int>(in.data.size());
  DCT dct;
  if (in.kind == 6)
    dct.Unpack_Bloc_Rgb_16(reinterpret_cast<unsigned short*>(d.Pixels()), blocks, in.count, in.width,
                           in.data.data(), size, 0, in.depth);
  else
    dct.Unpack_Bloc_Rgb_32_2(d.Pixels(), blocks, in.count, in.width, in.data.data(), size, 0);
  if (!d.Guards_Intact()) __builtin_trap();
  if (known ? !Unlisted_Untouched(d, in, height, bytes) : !All_Fill(d)) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
  if (size < kDctFuzzHeader) return 0;
  DctFuzzInput in = Dct_Fuzz_Parse(bytes, size);
  if (in.kind < 6)
    Check_Picture(in);
  else
    Check_Blocks(in);
  return 0;
}
