// What the panorama benchmarks share: a photograph-like test panorama and a
// plain libjpeg-turbo decode, the baseline that the dct layer is measured
// against.
#pragma once

#include <cstddef>
#include <cstdio>
#include <jpeglib.h>  // needs FILE and size_t declared first

#include <vector>

namespace bench {

inline constexpr int kPanoramaWidth = 256;
inline constexpr int kPanoramaHeight = 6144;
inline constexpr size_t kPanoramaPixels = size_t{kPanoramaWidth} * kPanoramaHeight;

// Soft colour waves with a fine grain on top, 4-byte pixels (blue, green,
// red, 0).
std::vector<unsigned char> Wave_Picture(int width, int height);

// libjpeg-turbo alone, set up as the dct unpackers set it up for the
// panorama strip (no chroma smoothing): the whole stream into rows of
// `pitch` bytes.
void Plain_Decode(const std::vector<unsigned char>& stream, J_COLOR_SPACE space, unsigned char* dest,
                  size_t pitch);

}  // namespace bench
