// Panorama files built byte by byte for the Kvr_* tests, with compressed
// data from the dct encoder, and the 4-byte pictures they decode to.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tests/kvr_read/chunk_bytes.h"

namespace kvr_test {

// 4-byte pixels: blue, green, red, 0.
using Pixels = std::vector<unsigned char>;

inline constexpr int kVrPixels = 256 * 6144;
inline constexpr int kPicPixels = 640 * 480;
inline constexpr int kBlockSide = 16;

// The whole file: an outer KVR_CHUNK_FILE chunk holding `inner`.
std::string Panorama_File(const std::string& inner);
// A compressed picture record chunk: dct_param, N = data size, data.
std::string Picture_Chunk(uint32_t tag, int32_t dct_param, const std::string& data);
// An animation chunk: the 32 name bytes (the name, then NULs; a name of 32
// characters or more is stored without NUL), F, then `sequence`.
std::string Animation_Chunk(const std::string& name, int32_t frames, const std::string& sequence);
std::string Name_Bytes(const std::string& name);
// A frame chunk: B, the block numbers, dct_param, N, data.
std::string Frame_Chunk(const std::vector<int>& blocks, int32_t dct_param, const std::string& data);
std::string Empty_Frame();
std::string Loop_Chunk(int32_t frame);

// A picture of one grey (quality 100 keeps uniform greys exact).
Pixels Grey_Picture(int width, int height, uint8_t grey);
// Soft colour waves, which JPEG keeps within a few levels.
Pixels Smooth_Picture(int width, int height);

// Dct_Encode_Picture and Dct_Encode_Blocks as byte strings; they must succeed.
std::string Encode_Picture(const Pixels& pixels, int width, int height, int quality);
std::string Encode_Blocks(const Pixels& pixels, int width, int height, const std::vector<int>& blocks,
                          int quality);
// A frame chunk whose listed blocks decode to `grey` exactly.
std::string Grey_Frame(const std::vector<int>& blocks, uint8_t grey);

// Largest difference of the blue, green and red bytes, and their mean.
struct Difference {
  int max = 0;
  double mean = 0;
};
Difference Compare(const Pixels& decoded, const Pixels& source);

// The blocks of a picture `width` wide (16 x 16 pixels, numbered row by
// row) that differ anywhere from `background`, with the grey of their first
// pixel.
struct ChangedBlock {
  int block;
  int grey;
  bool operator==(const ChangedBlock&) const = default;
};
std::vector<ChangedBlock> Changed_Blocks(const Pixels& picture, int width, const Pixels& background);

}  // namespace kvr_test
