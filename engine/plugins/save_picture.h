// The 16-bit pictures of saved games and of screen printing: a bitmap of
// 5-6-5 pixels with the 40-byte header and three colour masks that slot
// files store, rows bottom-up in memory (memory row 0 is the picture's
// bottom row unless the picture has been flipped), each row padded to a
// multiple of 4 bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

inline constexpr uint32_t kSavePictureHeaderSize = 40;
inline constexpr uint32_t kSavePictureMaskCount = 3;
inline constexpr uint32_t kSavePictureMasks[kSavePictureMaskCount] = {0xF800, 0x07E0, 0x001F};
// The header and its masks as written.
inline constexpr size_t kSavePictureHeaderBytes = kSavePictureHeaderSize + 4 * kSavePictureMaskCount;

struct SavePicture {
  int32_t width = 0;
  int32_t height = 0;
  std::vector<uint8_t> bits;  // height x Row_Bytes(width)

  // ((width x 16 + 31) / 32) x 4.
  static size_t Row_Bytes(int32_t width);
  // A black picture; an empty one for sizes that are not positive.
  static SavePicture Make(int32_t width, int32_t height);

  bool Empty() const { return width <= 0 || height <= 0 || bits.empty(); }
  size_t Image_Size() const { return size_t(height > 0 ? height : 0) * Row_Bytes(width); }
  // Pixel x of memory row r (little-endian 5-6-5); both must be in range.
  uint16_t Get(int32_t x, int32_t r) const;
  void Set(int32_t x, int32_t r, uint16_t value);
  // Swaps memory rows r and height - 1 - r.
  void Flip();
  // The 40-byte header (biSize 40, width, height, 1 plane, 16 bits,
  // compression 3, image size, 0, 0, 3 colours used, 0) and the masks.
  std::vector<uint8_t> Header_Bytes() const;
};
