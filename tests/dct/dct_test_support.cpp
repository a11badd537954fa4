#include "tests/dct/dct_test_support.h"

#include <gtest/gtest.h>
// jpeglib.h needs FILE and size_t declared first.
#include <cstddef>
#include <cstdio>
#include <jpeglib.h>

#include <cmath>
#include <cstdlib>
#include <cstring>

#include "dct/dct_encode.h"

namespace dct_test {

namespace {

uint8_t Wave(double v) { return static_cast<uint8_t>(std::lround(127.5 + 110 * std::sin(v))); }

}  // namespace

Pixels32 Smooth_Picture(int width, int height, int seed) {
  Pixels32 p(static_cast<size_t>(width) * height * 4);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      unsigned char* px = &p[(static_cast<size_t>(y) * width + x) * 4];
      px[0] = Wave(x / 37.0 + y / 53.0 + seed);
      px[1] = Wave(x / 61.0 - y / 29.0 + 2 * seed);
      px[2] = Wave((x + y) / 45.0 + 3 * seed + std::sin(y / 90.0));
      px[3] = 0;
    }
  return p;
}

Pixels32 Uniform_Picture(int width, int height, uint8_t b, uint8_t g, uint8_t r) {
  Pixels32 p(static_cast<size_t>(width) * height * 4);
  for (size_t i = 0; i < p.size(); i += 4) {
    p[i] = b;
    p[i + 1] = g;
    p[i + 2] = r;
    p[i + 3] = 0;
  }
  return p;
}

std::vector<unsigned char> Encode(const Pixels32& pixels, int width, int height, int quality) {
  std::vector<unsigned char> out;
  EXPECT_EQ(Dct_Encode_Picture(pixels.data(), width, height, quality, out), 1);
  return out;
}

Difference Compare_32(const unsigned char* decoded, const unsigned char* source, size_t pixels) {
  Difference d;
  long total = 0;
  for (size_t i = 0; i < pixels; ++i)
    for (int c = 0; c < 3; ++c) {
      const int e = std::abs(decoded[4 * i + c] - source[4 * i + c]);
      total += e;
      if (e > d.max) d.max = e;
    }
  d.mean = pixels ? static_cast<double>(total) / (3.0 * pixels) : 0;
  return d;
}

Bgr From_565(uint16_t p) { return Bgr{(p & 0x1F) << 3, (p >> 5 & 0x3F) << 2, (p >> 11) << 3}; }
Bgr From_555(uint16_t p) { return Bgr{(p & 0x1F) << 3, (p >> 5 & 0x1F) << 3, (p >> 10 & 0x1F) << 3}; }

uint16_t To_565(const unsigned char* bgr0) {
  return static_cast<uint16_t>((bgr0[2] >> 3) << 11 | (bgr0[1] >> 2) << 5 | bgr0[0] >> 3);
}

uint16_t To_555(const unsigned char* bgr0) {
  return static_cast<uint16_t>((bgr0[2] >> 3) << 10 | (bgr0[1] >> 3) << 5 | bgr0[0] >> 3);
}

std::vector<unsigned char> Libjpeg_Encode(const Pixels32& pixels, int width, int height, StreamKind kind,
                                          int quality) {
  jpeg_compress_struct c{};
  jpeg_error_mgr err{};
  c.err = jpeg_std_error(&err);
  jpeg_create_compress(&c);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&c, &buffer, &size);
  c.image_width = static_cast<JDIMENSION>(width);
  c.image_height = static_cast<JDIMENSION>(height);
  c.input_components = 4;
  c.in_color_space = JCS_EXT_BGRX;
  jpeg_set_defaults(&c);
  jpeg_set_quality(&c, quality, TRUE);
  if (kind == StreamKind::kGrey) jpeg_set_colorspace(&c, JCS_GRAYSCALE);
  if (kind == StreamKind::kProgressive) jpeg_simple_progression(&c);
  if (kind == StreamKind::kArithmetic) c.arith_code = TRUE;
  jpeg_start_compress(&c, TRUE);
  while (c.next_scanline < c.image_height) {
    JSAMPROW row = const_cast<JSAMPROW>(&pixels[static_cast<size_t>(c.next_scanline) * width * 4]);
    jpeg_write_scanlines(&c, &row, 1);
  }
  jpeg_finish_compress(&c);
  std::vector<unsigned char> out(buffer, buffer + size);
  jpeg_destroy_compress(&c);
  std::free(buffer);
  return out;
}

}  // namespace dct_test
