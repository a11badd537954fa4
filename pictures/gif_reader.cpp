// GIF reader: signature "GIF87a" or "GIF89a" (any case), the first image
// only, as an 8-bit picture of the image's own size (the screen size and the
// image's place on it are not used) with its colour table (the local one
// when present, else the global one) as palette. A picture larger than the
// data left after its descriptor could give is refused; decoding that stops
// early leaves the remaining rows 0.
#include <algorithm>

#include "pictures/file_window.h"
#include "pictures/gif_lzw.h"
#include "pictures/picture.h"
#include "pictures/picture_bytes.h"
#include "pictures/picture_readers.h"
#include "platform/files/text.h"

namespace {

constexpr size_t kSignatureBytes = 6;
constexpr size_t kScreenBytes = 7;      // width, height, flags, background, aspect
constexpr size_t kDescriptorBytes = 9;  // left, top, width, height, flags
constexpr uint8_t kImageSeparator = ',';
constexpr uint8_t kExtensionIntroducer = '!';
constexpr uint8_t kFlagColourTable = 0x80;
constexpr uint8_t kFlagInterlaced = 0x40;

bool Signature_Ok(const uint8_t* b) {
  const std::string_view text(reinterpret_cast<const char*>(b), kSignatureBytes);
  return Text_Equal(text, "GIF89A") == 0 || Text_Equal(text, "GIF87A") == 0;
}

// Reads a colour table of 2^(n+1) entries (n = the low 3 bits of the
// flags) into a zero-filled palette. False when the file ends inside it.
bool Read_Colour_Table(FileWindow& file, int64_t& at, uint8_t flags, std::vector<uint8_t>& palette) {
  const size_t bytes = size_t(3) << ((flags & 7) + 1);
  std::fill(palette.begin(), palette.end(), 0);
  if (file.Read(at, palette.data(), bytes) != bytes) return false;
  at += int64_t(bytes);
  return true;
}

// Skips an extension block (introducer, label, sub-blocks up to the empty
// one); false when the file ends inside it.
bool Skip_Extension(FileWindow& file, int64_t& at) {
  at += 2;
  for (;;) {
    const int length = file.Byte(at++);
    if (length < 0) return false;
    if (length == 0) return true;
    at += length;
  }
}

// Moves `at` past the image separator. Extension blocks are skipped whole,
// so that their bytes (a delay or a comment holding ',') are never taken
// for the separator; any other byte is skipped on its own. False at the end
// of the file.
bool Find_Image(FileWindow& file, int64_t& at) {
  for (;;) {
    const int b = file.Byte(at);
    if (b < 0) return false;
    if (b == kImageSeparator) {
      ++at;
      return true;
    }
    if (b == kExtensionIntroducer) {
      if (!Skip_Extension(file, at)) return false;
    } else {
      ++at;
    }
  }
}

}  // namespace

PicturePtr Gif_Read(Wendax& wx, std::string_view path) {
  FileWindow file(wx, path);
  if (!file.Is_Open()) return nullptr;
  uint8_t head[kSignatureBytes + kScreenBytes];
  if (file.Read(0, head, sizeof head) != sizeof head || !Signature_Ok(head)) return nullptr;
  int64_t at = sizeof head;
  std::vector<uint8_t> palette(kPalette_Rgb_Bytes, 0);
  const uint8_t screen_flags = head[kSignatureBytes + 4];
  if ((screen_flags & kFlagColourTable) && !Read_Colour_Table(file, at, screen_flags, palette))
    return nullptr;

  if (!Find_Image(file, at)) return nullptr;
  uint8_t descriptor[kDescriptorBytes];
  if (file.Read(at, descriptor, sizeof descriptor) != sizeof descriptor) return nullptr;
  at += int64_t(sizeof descriptor);
  const int width = Le_U16(descriptor + 4);
  const int height = Le_U16(descriptor + 6);
  const uint8_t flags = descriptor[8];
  if ((flags & kFlagColourTable) && !Read_Colour_Table(file, at, flags, palette)) return nullptr;

  // The image data left in the file bound the pixels it can give.
  const uint64_t rest = uint64_t(std::max<int64_t>(file.Size() - at, 0));
  if (Picture_Plain_Size(width, height, 8) == 0 || uint64_t(width) * uint64_t(height) > Gif_Max_Pixels(rest))
    return nullptr;
  PicturePtr picture = Picture_New(path, width, height, 8);
  if (!picture) return nullptr;
  std::copy(palette.begin(), palette.end(), picture->palette.begin());

  const int min_code_size = file.Byte(at++);
  GifRowWriter rows(picture->pixels.data(), width, height, (flags & kFlagInterlaced) != 0);
  Gif_Lzw_Decode(file, at, min_code_size, rows);
  return picture;
}
