#include "bench/jpeg_baseline.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace bench {

std::vector<unsigned char> Wave_Picture(int width, int height) {
  std::vector<unsigned char> p(size_t(width) * size_t(height) * 4);
  uint32_t grain = 12345;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      unsigned char* px = &p[(size_t(y) * size_t(width) + size_t(x)) * 4];
      for (int c = 0; c < 3; ++c) {
        grain = grain * 1664525u + 1013904223u;
        const double wave = 128 + 90 * std::sin(x / (19.0 + 7 * c) + y / (41.0 + 5 * c) + c);
        const double v = wave + int(grain >> 28) - 8;
        px[c] = static_cast<unsigned char>(v < 0 ? 0 : v > 255 ? 255 : v);
      }
      px[3] = 0;
    }
  return p;
}

void Plain_Decode(const std::vector<unsigned char>& stream, J_COLOR_SPACE space, unsigned char* dest,
                  size_t pitch) {
  jpeg_decompress_struct c{};
  jpeg_error_mgr err{};
  c.err = jpeg_std_error(&err);
  jpeg_create_decompress(&c);
  jpeg_mem_src(&c, stream.data(), static_cast<unsigned long>(stream.size()));
  jpeg_read_header(&c, TRUE);
  c.out_color_space = space;
  c.dither_mode = JDITHER_NONE;
  c.do_fancy_upsampling = FALSE;
  jpeg_start_decompress(&c);
  while (c.output_scanline < c.output_height) {
    JSAMPROW rows[16];
    const JDIMENSION n = std::min<JDIMENSION>(16, c.output_height - c.output_scanline);
    for (JDIMENSION i = 0; i < n; ++i) rows[i] = dest + (c.output_scanline + i) * pitch;
    jpeg_read_scanlines(&c, rows, n);
  }
  jpeg_abort_decompress(&c);
  jpeg_destroy_decompress(&c);
}

}  // namespace bench
