// Pictures for the panorama tests: smooth 4-byte pictures (blue, green,
// red, unused) that JPEG keeps close, written and read as PNG files.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

using Pixels = std::vector<uint8_t>;

// width x height pixels varying smoothly, different for every `seed`.
Pixels Smooth_Picture(int width, int height, int seed);
// width x height pixels of one colour.
Pixels Uniform_Picture(int width, int height, uint8_t red, uint8_t green, uint8_t blue);
// Paints the rectangle [x0, x1) x [y0, y1) of a picture of `width` one colour.
void Paint(Pixels& pixels, int width, int x0, int y0, int x1, int y1, uint8_t red, uint8_t green,
           uint8_t blue);

// Writes / reads a PNG of 4-byte pixels (fails the test on error).
void Write_Png(const std::string& path, const Pixels& pixels, int width, int height);
Pixels Read_Png(const std::string& path, int& width, int& height);

// The six faces in kFaceNames order, written as DIR/up.png ...
void Write_Faces(const std::string& folder, const std::vector<Pixels>& faces);
std::vector<Pixels> Read_Faces(const std::string& folder);
std::vector<Pixels> Smooth_Faces(int seed);

// The largest difference of blue, green or red between two pictures of the
// same size (256 when the sizes differ).
int Largest_Difference(const Pixels& a, const Pixels& b);
