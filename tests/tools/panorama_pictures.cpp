#include "tests/tools/panorama_pictures.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>

#include "tools/face_strip.h"
#include "tools/file_io.h"
#include "tools/png_file.h"

Pixels Smooth_Picture(int width, int height, int seed) {
  Pixels p(size_t(width) * size_t(height) * 4, 0);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      for (int c = 0; c < 3; ++c)
        p[(size_t(y) * size_t(width) + size_t(x)) * 4 + size_t(c)] =
            uint8_t(128 + 90 * std::sin(x / (97.0 + 9 * c) + y / (131.0 + 7 * c) + seed * 1.3 + c));
  return p;
}

Pixels Uniform_Picture(int width, int height, uint8_t red, uint8_t green, uint8_t blue) {
  Pixels p;
  Paint(p = Pixels(size_t(width) * size_t(height) * 4, 0), width, 0, 0, width, height, red, green, blue);
  return p;
}

void Paint(Pixels& pixels, int width, int x0, int y0, int x1, int y1, uint8_t red, uint8_t green,
           uint8_t blue) {
  for (int y = y0; y < y1; ++y)
    for (int x = x0; x < x1; ++x) {
      uint8_t* p = &pixels[(size_t(y) * size_t(width) + size_t(x)) * 4];
      p[0] = blue;
      p[1] = green;
      p[2] = red;
    }
}

void Write_Png(const std::string& path, const Pixels& pixels, int width, int height) {
  std::vector<uint8_t> rgb;
  for (size_t i = 0; i < pixels.size(); i += 4)
    rgb.insert(rgb.end(), {pixels[i + 2], pixels[i + 1], pixels[i]});
  std::vector<uint8_t> png;
  std::string error;
  ASSERT_TRUE(Png_Encode_Rgb(width, height, rgb, png, error)) << error;
  ASSERT_TRUE(Write_File_Atomic(path, png, error)) << error;
}

Pixels Read_Png(const std::string& path, int& width, int& height) {
  std::vector<uint8_t> png;
  std::string error;
  RgbaImage image;
  width = height = 0;
  if (!Read_Whole_File(path, uint64_t(1) << 28, png, error) || !Png_Decode(png, image, error)) {
    ADD_FAILURE() << path << ": " << error;
    return {};
  }
  width = image.width;
  height = image.height;
  Pixels p(image.rgba.size(), 0);
  for (size_t i = 0; i < p.size(); i += 4) {
    p[i] = image.rgba[i + 2];
    p[i + 1] = image.rgba[i + 1];
    p[i + 2] = image.rgba[i];
  }
  return p;
}

void Write_Faces(const std::string& folder, const std::vector<Pixels>& faces) {
  std::error_code failed;
  std::filesystem::create_directories(folder, failed);
  ASSERT_FALSE(failed) << folder;
  for (int f = 0; f < kFaceCount; ++f)
    Write_Png(folder + "/" + std::string(kFaceNames[size_t(f)]) + ".png", faces[size_t(f)], kFaceSize,
              kFaceSize);
}

std::vector<Pixels> Read_Faces(const std::string& folder) {
  std::vector<Pixels> faces;
  for (int f = 0; f < kFaceCount; ++f) {
    int width = 0, height = 0;
    faces.push_back(Read_Png(folder + "/" + std::string(kFaceNames[size_t(f)]) + ".png", width, height));
    EXPECT_EQ(width, kFaceSize);
    EXPECT_EQ(height, kFaceSize);
  }
  return faces;
}

std::vector<Pixels> Smooth_Faces(int seed) {
  std::vector<Pixels> faces;
  for (int f = 0; f < kFaceCount; ++f) faces.push_back(Smooth_Picture(kFaceSize, kFaceSize, seed * 7 + f));
  return faces;
}

int Largest_Difference(const Pixels& a, const Pixels& b) {
  if (a.size() != b.size()) return 256;
  int largest = 0;
  for (size_t i = 0; i < a.size(); ++i)
    if (i % 4 != 3) largest = std::max(largest, std::abs(int(a[i]) - int(b[i])));
  return largest;
}
