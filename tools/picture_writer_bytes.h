// Byte helpers shared by the picture writers.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/picture_writers.h"

inline void Put_Le16(std::vector<uint8_t>& out, uint32_t value) {
  out.push_back(uint8_t(value));
  out.push_back(uint8_t(value >> 8));
}

inline void Put_Le32(std::vector<uint8_t>& out, uint32_t value) {
  Put_Le16(out, value & 0xFFFF);
  Put_Le16(out, value >> 16);
}

inline PictureFile Picture_File_Failed(std::string error) {
  PictureFile file;
  file.error = std::move(error);
  return file;
}
