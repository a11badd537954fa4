// GIF image data: LZW codes (least significant bit first) spread over
// length-prefixed sub-blocks, decoded into the rows of an 8-bit picture.
#pragma once

#include <cstddef>
#include <cstdint>

class FileWindow;

inline constexpr int kGifCodeBitsMax = 12;
inline constexpr int kGifDictionarySize = 1 << kGifCodeBitsMax;  // 4096 entries

// Places decoded pixels: top to bottom, or by the four interlace passes
// (rows 0, 8, 16, ...; 4, 12, ...; 2, 6, ...; 1, 3, ...). Never writes past
// width x height bytes.
class GifRowWriter {
 public:
  GifRowWriter(uint8_t* pixels, int width, int height, bool interlaced);
  // Stores the next pixel; false once the picture is full.
  bool Put(uint8_t index);
  bool Full() const { return row_ >= height_; }
  size_t Written() const { return written_; }

 private:
  uint8_t* pixels_;
  int width_;
  int height_;
  bool interlaced_;
  int row_ = 0;  // row number in file order
  int column_ = 0;
  size_t written_ = 0;
};

// The display row of the `file_row`-th row stored in an interlaced image of
// `height` rows.
int Gif_Interlaced_Row(int file_row, int height);

// Decodes the sub-blocks starting at `offset` with the minimum code size
// `min_code_size` (2..8; any other size decodes nothing). Decoding ends at
// the end code, a zero-length sub-block, the end of the file, a code above
// the next free code, a first code after a clear that is not a root, or a
// full picture. Returns the pixels written; the rest keep their content.
size_t Gif_Lzw_Decode(FileWindow& file, int64_t offset, int min_code_size, GifRowWriter& out);

// The most pixels `data_bytes` bytes of image data can give: codes are at
// least 3 bits, and the k-th code of a stream gives at most min(k, 4096)
// pixels. Lets the reader refuse a picture the file cannot hold.
uint64_t Gif_Max_Pixels(uint64_t data_bytes);
