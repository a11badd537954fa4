#include "tools/png_file.h"

#include <png.h>

#include <cstring>

namespace {

// What libpng's callbacks work on. Plain data only: libpng leaves its
// functions by longjmp, which runs no destructors.
struct PngStream {
  const uint8_t* data = nullptr;  // reading
  size_t size = 0;
  size_t at = 0;
  std::vector<uint8_t>* out = nullptr;  // writing
  char message[200] = "";
};

PngStream& Stream_Of(png_structp png) { return *static_cast<PngStream*>(png_get_io_ptr(png)); }
PngStream& Error_Stream_Of(png_structp png) { return *static_cast<PngStream*>(png_get_error_ptr(png)); }

void On_Error(png_structp png, png_const_charp message) {
  PngStream& stream = Error_Stream_Of(png);
  std::strncpy(stream.message, message, sizeof stream.message - 1);
  png_longjmp(png, 1);
}

void On_Warning(png_structp, png_const_charp) {}  // ancillary problems do not stop reading

void On_Read(png_structp png, png_bytep buffer, png_size_t count) {
  PngStream& stream = Stream_Of(png);
  if (count > stream.size - stream.at) png_error(png, "the file ends early");
  std::memcpy(buffer, stream.data + stream.at, count);
  stream.at += count;
}

void On_Write(png_structp png, png_bytep buffer, png_size_t count) {
  Stream_Of(png).out->insert(Stream_Of(png).out->end(), buffer, buffer + count);
}

void On_Flush(png_structp) {}

// Transforms every colour type and depth to 8-bit RGBA.
void Ask_Rgba(png_structp png) {
  png_set_expand(png);  // palette to RGB, grey below 8 bits to 8, tRNS to alpha
  png_set_strip_16(png);
  png_set_gray_to_rgb(png);
  png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);  // only where there is no alpha
  png_set_interlace_handling(png);
}

// Nothing with a destructor lives in this frame; the vectors belong to the
// caller, which frees them whichever way this returns.
bool Read_Rgba(png_structp png, png_infop info, RgbaImage& image, std::vector<png_bytep>& rows) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_read_info(png, info);
  const png_uint_32 width = png_get_image_width(png, info);
  const png_uint_32 height = png_get_image_height(png, info);
  if (uint64_t(width) * height > kPngPixelsMax) {
    std::strcpy(Error_Stream_Of(png).message, "the image has too many pixels");
    return false;
  }
  Ask_Rgba(png);
  png_read_update_info(png, info);
  if (png_get_rowbytes(png, info) != size_t(width) * 4) png_error(png, "unexpected row size");
  image.width = int(width);
  image.height = int(height);
  image.rgba.assign(size_t(width) * height * 4, 0);
  rows.resize(height);
  for (png_uint_32 y = 0; y < height; ++y) rows[y] = image.rgba.data() + size_t(y) * width * 4;
  png_read_image(png, rows.data());
  png_read_end(png, nullptr);
  return true;
}

// Rows of `channels` bytes a pixel: 3 RGB, 4 RGBA.
bool Write_Rows(png_structp png, png_infop info, int width, int height, int channels,
                const uint8_t* samples) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_set_IHDR(png, info, png_uint_32(width), png_uint_32(height), 8,
               channels == 4 ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  for (int y = 0; y < height; ++y) png_write_row(png, samples + size_t(y) * size_t(width) * size_t(channels));
  png_write_end(png, nullptr);
  return true;
}

}  // namespace

bool Png_Decode(std::span<const uint8_t> bytes, RgbaImage& image, std::string& error) {
  image = {};
  if (bytes.size() < 8 || png_sig_cmp(bytes.data(), 0, 8) != 0) {
    error = "not a PNG file";
    return false;
  }
  PngStream stream;
  stream.data = bytes.data();
  stream.size = bytes.size();
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &stream, On_Error, On_Warning);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  if (!info) {
    png_destroy_read_struct(&png, nullptr, nullptr);
    error = "libpng could not start";
    return false;
  }
  png_set_read_fn(png, &stream, On_Read);
  std::vector<png_bytep> rows;
  bool ok = Read_Rgba(png, info, image, rows);
  png_destroy_read_struct(&png, &info, nullptr);
  if (!ok) {
    image = {};
    error = std::string("not a valid PNG file: ") + stream.message;
  }
  return ok;
}

namespace {

bool Encode(int width, int height, int channels, std::span<const uint8_t> samples,
            std::vector<uint8_t>& png_bytes, std::string& error) {
  png_bytes.clear();
  if (width <= 0 || height <= 0 || samples.size() != size_t(width) * size_t(height) * size_t(channels)) {
    error = "no pixels to write";
    return false;
  }
  PngStream stream;
  stream.out = &png_bytes;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &stream, On_Error, On_Warning);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  if (!info) {
    png_destroy_write_struct(&png, nullptr);
    error = "libpng could not start";
    return false;
  }
  png_set_write_fn(png, &stream, On_Write, On_Flush);
  bool ok = Write_Rows(png, info, width, height, channels, samples.data());
  png_destroy_write_struct(&png, &info);
  if (!ok) {
    png_bytes.clear();
    error = std::string("cannot encode the PNG: ") + stream.message;
  }
  return ok;
}

}  // namespace

bool Png_Encode_Rgb(int width, int height, std::span<const uint8_t> rgb, std::vector<uint8_t>& png,
                    std::string& error) {
  return Encode(width, height, 3, rgb, png, error);
}

bool Png_Encode_Rgba(int width, int height, std::span<const uint8_t> rgba, std::vector<uint8_t>& png,
                     std::string& error) {
  return Encode(width, height, 4, rgba, png, error);
}
