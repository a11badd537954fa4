#include "tools/picture_writers.h"

std::string Picture_Write_Problem(const Picture& picture, int depth, int max_side) {
  if (picture.depth != depth)
    return "the picture has " + std::to_string(picture.depth) + " bits per pixel, not " +
           std::to_string(depth);
  size_t size = Picture_Plain_Size(picture.width, picture.height, depth);
  if (picture.pack_method != 0 || picture.frame_count != 0 || size == 0 || picture.pixels.size() < size ||
      picture.palette.size() < kPalette_Rgb_Bytes)
    return "the picture holds no plain pixels";
  if (picture.width > max_side || picture.height > max_side)
    return "the format holds at most " + std::to_string(max_side) + " x " + std::to_string(max_side) +
           " pixels, not " + std::to_string(picture.width) + " x " + std::to_string(picture.height);
  return "";
}
