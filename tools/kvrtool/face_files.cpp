#include "tools/kvrtool/face_files.h"

#include <array>
#include <filesystem>

#include "kvr_read/kvr_read.h"
#include "tools/face_strip.h"
#include "tools/file_io.h"
#include "tools/png_file.h"

namespace {

// The largest PNG file read: far beyond any 640 x 480 or 512 x 512 picture.
constexpr uint64_t kPngFileSizeMax = uint64_t(64) << 20;

std::string Size_Text(int width, int height) {
  return std::to_string(width) + " x " + std::to_string(height);
}

}  // namespace

std::string Face_File(const std::string& folder, int face) {
  return folder + "/" + std::string(kFaceNames[size_t(face)]) + ".png";
}

bool Read_Png_Pixels(const std::string& path, int width, int height, std::vector<uint8_t>& pixels,
                     std::string& error) {
  std::vector<uint8_t> png;
  if (!Read_Whole_File(path, kPngFileSizeMax, png, error)) return false;
  RgbaImage image;
  if (!Png_Decode(png, image, error)) {
    error = path + ": " + error;
    return false;
  }
  if (image.width != width || image.height != height) {
    error = path + ": " + Size_Text(image.width, image.height) + " pixels, not the " +
            Size_Text(width, height) + " it must have";
    return false;
  }
  pixels.assign(size_t(width) * size_t(height) * 4, 0);
  for (size_t i = 0; i < pixels.size(); i += 4) {
    pixels[i] = image.rgba[i + 2];
    pixels[i + 1] = image.rgba[i + 1];
    pixels[i + 2] = image.rgba[i];
  }
  return true;
}

bool Write_Png_Pixels(const std::string& path, const uint8_t* pixels, int width, int height,
                      std::string& error) {
  const size_t count = size_t(width) * size_t(height);
  std::vector<uint8_t> rgb(count * 3);
  for (size_t i = 0; i < count; ++i) {
    rgb[3 * i] = pixels[4 * i + 2];
    rgb[3 * i + 1] = pixels[4 * i + 1];
    rgb[3 * i + 2] = pixels[4 * i];
  }
  std::vector<uint8_t> png;
  if (!Png_Encode_Rgb(width, height, rgb, png, error)) return false;
  return Write_File_Atomic(path, png, error);
}

bool Read_Face_Folder(const std::string& folder, std::vector<uint8_t>& strip, std::string& error) {
  std::array<std::vector<uint8_t>, kFaceCount> faces;
  std::array<const uint8_t*, kFaceCount> pointers{};
  for (int f = 0; f < kFaceCount; ++f) {
    if (!Read_Png_Pixels(Face_File(folder, f), kFaceSize, kFaceSize, faces[size_t(f)], error)) return false;
    pointers[size_t(f)] = faces[size_t(f)].data();
  }
  strip.assign(kStripBytes, 0);
  Faces_To_Strip(pointers, strip.data());
  return true;
}

bool Write_Face_Folder(const std::string& folder, const uint8_t* strip, std::string& error) {
  if (!Make_Folder(folder, error)) return false;
  std::array<std::vector<RGB>, kFaceCount> faces;
  RGB* pointers[kFaceCount];
  for (int f = 0; f < kFaceCount; ++f) {
    faces[size_t(f)].assign(size_t(kFaceSize) * kFaceSize, RGB{});
    pointers[f] = faces[size_t(f)].data();
  }
  Kvr_Remap(pointers, strip);
  for (int f = 0; f < kFaceCount; ++f) {
    const auto* bytes = reinterpret_cast<const uint8_t*>(faces[size_t(f)].data());
    if (!Write_Png_Pixels(Face_File(folder, f), bytes, kFaceSize, kFaceSize, error)) return false;
  }
  return true;
}

bool Make_Folder(const std::string& folder, std::string& error) {
  std::error_code failed;
  std::filesystem::create_directories(folder, failed);
  if (failed) {
    error = "cannot make the folder " + folder + ": " + failed.message();
    return false;
  }
  if (!std::filesystem::is_directory(folder, failed)) {
    error = "cannot make the folder " + folder + ": a file of that name is in the way";
    return false;
  }
  return true;
}
