// The MDRAW reader: "MDRAW " signature, size as hexadecimal
// digits, "00FF" depth, "NC" plain or "FC" packed with method 1, a 768-byte
// palette at offset 50 and the pixel data from offset 818 to the end.
#include <cstring>

#include "packing/packing.h"
#include "pictures/picture_bytes.h"
#include "pictures/picture_readers.h"
#include "platform/files/text.h"

namespace {

constexpr size_t kMdrawPaletteOffset = 50;
constexpr size_t kMdrawDataOffset = 818;

bool Text_At(std::span<const uint8_t> bytes, size_t offset, std::string_view text) {
  if (bytes.size() < offset + text.size()) return false;
  for (size_t i = 0; i < text.size(); ++i)
    if (Text_Fold(char(bytes[offset + i])) != Text_Fold(text[i])) return false;
  return true;
}

// Up to `count` hexadecimal digits from the offset, stopping at the first
// other character (the field is terminated after its bytes).
int Hex_Field(std::span<const uint8_t> bytes, size_t offset, size_t count) {
  return Hex_To_Int(std::string_view(reinterpret_cast<const char*>(bytes.data()) + offset, count));
}

}  // namespace

PicturePtr Mdraw_Decode(std::span<const uint8_t> bytes, std::string_view name) {
  if (bytes.size() < kMdrawDataOffset) return nullptr;  // no room for the palette
  if (!Text_At(bytes, 0, "MDRAW ") || !Text_At(bytes, 16, "00FF")) return nullptr;
  const int width = Hex_Field(bytes, 6, 4) + 1;  // 4 digits: 1..65536
  const int height = Hex_Field(bytes, 11, 4) + 1;
  const int method = Text_At(bytes, 21, "FC") ? 1 : 0;

  const size_t plain = Picture_Plain_Size(width, height, 8);
  if (plain == 0) return nullptr;
  const size_t data_size = bytes.size() - kMdrawDataOffset;
  // Refuse before allocating what the data cannot hold.
  if (method == 0 && data_size < plain) return nullptr;
  if (method == 1 && Unpack_Max_Output(1, data_size) < plain) return nullptr;

  PicturePtr picture = Picture_Make_Empty(name, width, height, 8);
  if (!picture) return nullptr;
  std::memcpy(picture->palette.data(), bytes.data() + kMdrawPaletteOffset, kPalette_Rgb_Bytes);
  picture->pack_method = method;
  // Plain pixels hold exactly the picture (bytes after it are not kept);
  // packed ones stay as stored until the picture is drawn or converted.
  const size_t kept = method == 0 ? plain : data_size;
  picture->pixels.assign(bytes.begin() + kMdrawDataOffset,
                         bytes.begin() + ptrdiff_t(kMdrawDataOffset + kept));
  picture->data_size = int(kept);
  return picture;
}

PicturePtr Mdraw_Read(Wendax& wx, std::string_view path) {
  auto bytes = Picture_File_Bytes(wx, path);
  if (!bytes) return nullptr;
  return Mdraw_Decode(*bytes, path);
}
