// Pictures as PNG files for the panorama commands: whole pictures, and a
// panorama as a folder of six face pictures named after kFaceNames
// ("up.png", "x+.png", "down.png", "y+.png", "y-.png", "x-.png"), each
// 512 x 512. Pixels in memory are 4 bytes (blue, green, red, unused).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// DIR/NAME.png of face `face` (index into kFaceNames).
std::string Face_File(const std::string& folder, int face);

// Reads the PNG, which must be exactly width x height pixels; its alpha is
// not read. False with a message otherwise.
bool Read_Png_Pixels(const std::string& path, int width, int height, std::vector<uint8_t>& pixels,
                     std::string& error);
// Writes width x height pixels as an RGB PNG, replacing the file whole.
bool Write_Png_Pixels(const std::string& path, const uint8_t* pixels, int width, int height,
                      std::string& error);

// The six faces of `folder` laid into the 256 x 6144 strip.
bool Read_Face_Folder(const std::string& folder, std::vector<uint8_t>& strip, std::string& error);
// The strip cut by Kvr_Remap into the six faces of `folder`, which is made
// when missing.
bool Write_Face_Folder(const std::string& folder, const uint8_t* strip, std::string& error);

// Makes the folder and its parents when missing.
bool Make_Folder(const std::string& folder, std::string& error);
