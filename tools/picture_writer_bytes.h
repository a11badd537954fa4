// Byte helpers shared by the picture writers.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "packing/byte_order.h"
#include "tools/picture_writers.h"

inline PictureFile Picture_File_Failed(std::string error) {
  PictureFile file;
  file.error = std::move(error);
  return file;
}
