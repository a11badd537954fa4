// Decoding of one baseline JPEG stream held in memory, through libjpeg-turbo.
// libjpeg's errors, and its warnings (a damaged or cut stream), end the
// decode; they are caught inside each call, so a failure is only a result.
#pragma once

#include <cstddef>

#include "dct/pixel_rows.h"

namespace dct_internal {

class JpegReader {
 public:
  JpegReader(const unsigned char* data, int size);
  ~JpegReader();
  JpegReader(const JpegReader&) = delete;
  JpegReader& operator=(const JpegReader&) = delete;

  // Reads the stream's header. False for anything but a baseline
  // (sequential, Huffman-coded, 8-bit) JPEG, or no data.
  bool Read_Header();
  int Width() const { return width_; }
  int Height() const { return height_; }

  // After Read_Header: decodes every row in `format` into rows `pitch`
  // bytes apart from `first`, which must hold Height() rows of Width()
  // pixels. `smooth_chroma` interpolates subsampled colour between
  // neighbouring pixels; without it each 16 x 16 square decodes from its own
  // data alone. Returns the number of rows written whole: Height() when the
  // stream decoded without fault.
  int Read_Rows(Pixels format, bool smooth_chroma, unsigned char* first, size_t pitch);

 private:
  struct State;

  const unsigned char* data_;
  int size_;
  int width_ = 0;
  int height_ = 0;
  State* state_;
};

}  // namespace dct_internal
