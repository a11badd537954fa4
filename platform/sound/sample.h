// A PCM sound held in memory.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// A sample loaded from a file is named after the first characters of its path.
inline constexpr size_t kSampleNameFromPath = 15;

struct Sample {
  std::string name;           // informative only
  int rate = 0;               // frames per second
  int bits = 0;               // 8 or 16
  int stereo = 0;             // 0: one channel, 1: two channels
  std::vector<uint8_t> data;  // its size is the data size
};
