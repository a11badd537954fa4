// Engine pictures made from an RGBA image (a PNG read by tools).
//
// Transparency: a pixel whose alpha is below 128 is transparent; every
// other pixel is taken as opaque with its R, G, B. Transparent pixels are
// black in 24-bit pictures and palette index 0 in 8-bit ones.
//
// The 8-bit palette: when the image has at most 256 colours (transparent
// counting as one colour of its own), the palette holds exactly those
// colours and every pixel keeps its colour. Index 0, the index that fonts
// and transparent drawing leave out, goes to the transparent pixels when
// there are any, else to the colour of the top left pixel; the other
// colours follow in order of first appearance, row by row. With more colours
// the opaque ones are reduced by median cut (tools/median_cut.h) to 256
// groups (255 when index 0 is taken by transparent pixels) and each pixel
// takes its group's mean colour; index 0 is then the transparent pixels or
// the top left pixel's group. Unused entries are black.
#pragma once

#include <cstddef>
#include <string_view>

#include "pictures/picture.h"
#include "tools/png_file.h"

struct IndexedPicture {
  PicturePtr picture;          // 8-bit, plain, 768-byte palette
  size_t image_colours = 0;    // distinct colours of the image
  size_t palette_colours = 0;  // entries in use
  bool reduced() const { return palette_colours < image_colours; }
};

// Null pictures when the image size is not one a picture can have.
PicturePtr Picture_Rgb_From_Image(const RgbaImage& image, std::string_view name);
IndexedPicture Picture_Indexed_From_Image(const RgbaImage& image, std::string_view name);
