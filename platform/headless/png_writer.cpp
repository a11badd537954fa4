#include "platform/headless/png_writer.h"

#include <png.h>

#include <cstdio>
#include <memory>
#include <vector>

namespace {

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};

std::vector<uint8_t> Rgb_Rows(const PresentedFrame& frame) {
  std::vector<uint8_t> rgb(size_t(frame.width) * size_t(frame.height) * 3);
  size_t i = 0;
  for (int y = 0; y < frame.height; ++y) {
    for (int x = 0; x < frame.width; ++x) {
      Rgb c = frame.Colour(x, y);
      rgb[i++] = c.red;
      rgb[i++] = c.green;
      rgb[i++] = c.blue;
    }
  }
  return rgb;
}

// libpng reports errors by longjmp: nothing with a destructor may live in
// this function's frame between setjmp and the end of writing.
bool Write_Png(std::FILE* file, int width, int height, const uint8_t* rgb) {
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  if (!png) return false;
  png_infop info = png_create_info_struct(png);
  if (!info) {
    png_destroy_write_struct(&png, nullptr);
    return false;
  }
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return false;
  }
  png_init_io(png, file);
  png_set_IHDR(png, info, png_uint_32(width), png_uint_32(height), 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  for (int y = 0; y < height; ++y) png_write_row(png, rgb + size_t(y) * size_t(width) * 3);
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return true;
}

}  // namespace

bool Save_Png(const PresentedFrame& frame, const std::string& path) {
  if (frame.width <= 0 || frame.height <= 0) return false;
  std::vector<uint8_t> rgb = Rgb_Rows(frame);
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "wb"));
  if (!file) return false;
  bool written = Write_Png(file.get(), frame.width, frame.height, rgb.data());
  std::FILE* raw = file.release();
  return std::fclose(raw) == 0 && written;
}
