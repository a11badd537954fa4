// IFF reader: a FORM of type "PBM " (one byte per pixel) with 8 planes, its
// BMHD header, CMAP palette and BODY pixels, plain or ByteRun1. Chunks are
// found by searching the bytes for their tag, not by walking chunk lengths;
// each search runs from after the form type to the end the FORM's length
// gives (cut to the file), so the chunks may come in any order. Rows are
// exactly `width` bytes. A BODY that cannot give every pixel refuses the
// file: there is no partial picture.
#include <algorithm>
#include <optional>

#include "pictures/byterun1.h"
#include "pictures/file_window.h"
#include "pictures/picture.h"
#include "pictures/picture_bytes.h"
#include "pictures/picture_readers.h"
#include "platform/files/text.h"

namespace {

constexpr size_t kBmhdBytes = 11;  // width, height, x, y, planes, masking, compression

struct IffChunk {
  int64_t data = 0;  // first byte after the tag and the length
  int64_t end = 0;   // data + length, cut to the search's end
  uint32_t length = 0;
};

bool Tag_At(FileWindow& file, int64_t at, std::string_view tag) {
  for (size_t i = 0; i < 4; ++i) {
    const int b = file.Byte(at + int64_t(i));
    if (b < 0 || Text_Fold(char(b)) != Text_Fold(tag[i])) return false;
  }
  return true;
}

// The first place in [from, to) holding the tag (ASCII case ignored) with
// its 4-byte big-endian length; the 8 bytes must lie inside [from, to).
std::optional<IffChunk> Iff_Find(FileWindow& file, std::string_view tag, int64_t from, int64_t to) {
  to = std::min(to, file.Size());
  for (int64_t at = from; at + 8 <= to; ++at) {
    if (!Tag_At(file, at, tag)) continue;
    uint8_t length[4];
    if (file.Read(at + 4, length, 4) != 4) return std::nullopt;
    IffChunk chunk;
    chunk.length = Be_U32(length);
    chunk.data = at + 8;
    chunk.end = std::min(chunk.data + int64_t(chunk.length), to);
    return chunk;
  }
  return std::nullopt;
}

struct Bmhd {
  int width = 0;
  int height = 0;
  int planes = 0;
  int compression = 0;
};

std::optional<Bmhd> Read_Bmhd(FileWindow& file, const IffChunk& chunk) {
  uint8_t b[kBmhdBytes];
  if (chunk.end - chunk.data < int64_t(kBmhdBytes) || file.Read(chunk.data, b, kBmhdBytes) != kBmhdBytes)
    return std::nullopt;
  return Bmhd{Be_U16(b), Be_U16(b + 2), b[8], b[10]};
}

// Plain BODY data must hold every pixel; ByteRun1 data must be able to.
bool Body_Can_Hold(const IffChunk& body, const Bmhd& h) {
  const uint64_t have = uint64_t(std::max<int64_t>(body.end - body.data, 0));
  const uint64_t need = uint64_t(h.width) * uint64_t(h.height);
  return h.compression == 0 ? have >= need : ByteRun1_Max_Output(have) >= need;
}

}  // namespace

PicturePtr Iff_Read(Wendax& wx, std::string_view path) {
  FileWindow file(wx, path);
  if (!file.Is_Open()) return nullptr;
  const std::optional<IffChunk> form = Iff_Find(file, "FORM", 0, file.Size());
  uint8_t type[4];
  if (!form || form->end - form->data < 4 || file.Read(form->data, type, 4) != 4) return nullptr;
  const int64_t inside = form->data + 4;  // every other chunk lies after the form type

  const std::optional<IffChunk> bmhd_chunk = Iff_Find(file, "BMHD", inside, form->end);
  const std::optional<Bmhd> bmhd = bmhd_chunk ? Read_Bmhd(file, *bmhd_chunk) : std::nullopt;
  if (!bmhd) return nullptr;
  const std::string_view form_type(reinterpret_cast<const char*>(type), 4);
  if (bmhd->planes != 8 || Text_Equal(form_type, "PBM ") != 0) return nullptr;
  const std::optional<IffChunk> body = Iff_Find(file, "BODY", inside, form->end);
  if (!body || Picture_Plain_Size(bmhd->width, bmhd->height, 8) == 0 || !Body_Can_Hold(*body, *bmhd))
    return nullptr;

  PicturePtr picture = Picture_New(path, bmhd->width, bmhd->height, 8);
  if (!picture) return nullptr;
  // The palette: up to 768 bytes of the CMAP data; the entries a shorter map
  // leaves out, or all of them without a map, stay 0.
  if (const std::optional<IffChunk> cmap = Iff_Find(file, "CMAP", inside, form->end)) {
    const size_t bytes = size_t(std::min<int64_t>(int64_t(kPalette_Rgb_Bytes), cmap->end - cmap->data));
    file.Read(cmap->data, picture->palette.data(), bytes);
  }
  const size_t size = picture->pixels.size();
  const size_t got = bmhd->compression == 0
                         ? file.Read(body->data, picture->pixels.data(), size)
                         : ByteRun1_Decode(file, body->data, body->end, picture->pixels.data(), size);
  if (got != size) return nullptr;
  return picture;
}
