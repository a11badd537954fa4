// The six whole-picture unpackers.
#include <cstring>

#include "dct/picture_unpack.h"

#include "dct/dct.h"
#include "dct/jpeg_reader.h"

namespace dct_internal {

void Unpack_Picture(unsigned char* dest, int width, int height, bool smooth_chroma, Pixels format,
                    const unsigned char* data, int size) {
  if (!dest || width <= 0 || height <= 0) return;
  const size_t pitch = static_cast<size_t>(width) * Bytes_Per_Pixel(format);
  int rows = 0;
  JpegReader reader(data, size);
  if (reader.Read_Header() && reader.Width() == width && reader.Height() == height)
    rows = reader.Read_Rows(format, smooth_chroma, dest, pitch);
  std::memset(dest + size_t(rows) * pitch, 0, size_t(height - rows) * pitch);
}

}  // namespace dct_internal

namespace {

using dct_internal::Pixels;
using dct_internal::Unpack_Picture;

// The panorama strip is decoded without smoothing chroma between pixels: its
// tiles meet faces of other directions, and smoothing would carry their
// colour one row into each tile edge. A still picture is one picture and is
// smoothed.

void Unpack_Strip(unsigned char* dest, Pixels format, const unsigned char* data, int size) {
  Unpack_Picture(dest, 256, 6144, false, format, data, size);
}

void Unpack_Still(unsigned char* dest, Pixels format, const unsigned char* data, int size) {
  Unpack_Picture(dest, 640, 480, true, format, data, size);
}

unsigned char* Bytes(unsigned short* p) { return reinterpret_cast<unsigned char*>(p); }

}  // namespace

void Unpack_Picture_Rgb_15_16_256_6144(unsigned short* dest, unsigned char* data, int size, int) {
  Unpack_Strip(Bytes(dest), Pixels::kRgb555, data, size);
}

void Unpack_Picture_Rgb_16_16_256_6144(unsigned short* dest, unsigned char* data, int size, int) {
  Unpack_Strip(Bytes(dest), Pixels::kRgb565, data, size);
}

void Unpack_Picture_Rgb_15_16_640_480(unsigned short* dest, unsigned char* data, int size, int) {
  Unpack_Still(Bytes(dest), Pixels::kRgb555, data, size);
}

void Unpack_Picture_Rgb_16_16_640_480(unsigned short* dest, unsigned char* data, int size, int) {
  Unpack_Still(Bytes(dest), Pixels::kRgb565, data, size);
}

void Unpack_Picture_Rgb_32_256_6144(unsigned char* dest, unsigned char* data, int size, int) {
  Unpack_Strip(dest, Pixels::kBgr0, data, size);
}

void Unpack_Picture_Rgb_32_640_480(unsigned char* dest, unsigned char* data, int size, int) {
  Unpack_Still(dest, Pixels::kBgr0, data, size);
}
