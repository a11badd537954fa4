#include "engine/plugins/save_picture.h"

#include <algorithm>

#include "packing/byte_order.h"

size_t SavePicture::Row_Bytes(int32_t width) { return width <= 0 ? 0 : (size_t(width) * 16 + 31) / 32 * 4; }

SavePicture SavePicture::Make(int32_t width, int32_t height) {
  SavePicture p;
  if (width <= 0 || height <= 0) return p;
  p.width = width;
  p.height = height;
  p.bits.assign(p.Image_Size(), 0);
  return p;
}

uint16_t SavePicture::Get(int32_t x, int32_t r) const {
  return Le_U16(&bits[size_t(r) * Row_Bytes(width) + size_t(x) * 2]);
}

void SavePicture::Set(int32_t x, int32_t r, uint16_t value) {
  Put_Le16(&bits[size_t(r) * Row_Bytes(width) + size_t(x) * 2], value);
}

void SavePicture::Flip() {
  const size_t row = Row_Bytes(width);
  for (int32_t r = 0; r < height / 2; ++r)
    std::swap_ranges(bits.begin() + std::ptrdiff_t(size_t(r) * row),
                     bits.begin() + std::ptrdiff_t(size_t(r + 1) * row),
                     bits.begin() + std::ptrdiff_t(size_t(height - 1 - r) * row));
}

std::vector<uint8_t> SavePicture::Header_Bytes() const {
  std::vector<uint8_t> out;
  out.reserve(kSavePictureHeaderBytes);
  Push_Le32(out, kSavePictureHeaderSize);
  Push_Le32(out, uint32_t(width));
  Push_Le32(out, uint32_t(height));
  Push_Le16(out, 1);   // planes
  Push_Le16(out, 16);  // bits a pixel
  Push_Le32(out, 3);   // bit fields
  Push_Le32(out, uint32_t(Image_Size()));
  Push_Le32(out, 0);
  Push_Le32(out, 0);
  Push_Le32(out, kSavePictureMaskCount);
  Push_Le32(out, 0);
  for (uint32_t mask : kSavePictureMasks) Push_Le32(out, mask);
  return out;
}
