#include "pictures/mtrd/mtrd_picture.h"

#include "pictures/mtrd/mtrd_format.h"
#include "packing/packing.h"
#include "pictures/picture_bytes.h"
#include "pictures/picture_readers.h"
#include "platform/files/file_layer.h"

namespace {

bool Depth_Ok(int32_t depth) { return depth == 8 || depth == 16 || depth == 24 || depth == 32; }

// The pixel data: plain data must cover the picture (and is cut to it);
// packed data must be able to give it.
bool Read_Pixels(const MtrdFile& file, const MtrdHeader& h, size_t plain, Picture* p) {
  MtrdChunk pict;
  if (Mtrd_Find(file, "PICT", &pict) != MtrdLookup::kFound) return false;
  const size_t stored = size_t(pict.Payload_Size());
  if (stored > kMtrdDataBytesMax) return false;
  if (h.pack_method == 0 ? stored < plain : Unpack_Max_Output(h.pack_method, stored) < plain) return false;
  const size_t keep = h.pack_method == 0 ? plain : stored;
  p->pixels.assign(keep, 0);
  if (!Mtrd_Read_Payload(file, pict, p->pixels.data(), keep)) return false;
  p->data_size = int(keep);
  return true;
}

// The payloads of `count` "ANIM" chunks, each searched from the end of the
// one before.
bool Read_Frames(const MtrdFile& file, int32_t count, Picture* p) {
  if (count > (file.end - file.payload) / 8) return false;  // a chunk takes 8 bytes at least
  int32_t from = file.payload;
  for (int32_t i = 0; i < count; ++i) {
    MtrdChunk anim;
    if (Mtrd_Find_From(file, "ANIM", from, &anim) != MtrdLookup::kFound) return false;
    const size_t at = p->frames.size();
    const size_t size = size_t(anim.Payload_Size());
    if (size > kMtrdDataBytesMax - at) return false;
    p->frames.resize(at + size);
    if (!Mtrd_Read_Payload(file, anim, p->frames.data() + at, size)) return false;
    from = anim.end;
  }
  p->frame_count = count;
  return true;
}

}  // namespace

PicturePtr Mtrd_Read_Picture(Wendax& wx, int handle, int32_t file_size, int32_t start, int32_t end) {
  MtrdFile file;
  MtrdHeader h;
  if (!Mtrd_Open(wx, handle, file_size, start, end, &file) || !Mtrd_Read_Header(file, MtrdUse::kPicture, &h))
    return nullptr;
  const size_t plain = Depth_Ok(h.depth) ? Picture_Plain_Size(h.width, h.height, h.depth) : 0;
  if (plain == 0 || h.pack_method < 0 || h.pack_method > kPackMethodMax || h.frame_count < 0) return nullptr;

  PicturePtr p = Picture_Make_Empty(h.name, h.width, h.height, h.depth);
  p->name = h.name.substr(0, kPictureNameMax);  // as stored, not shortened as a path
  p->version = h.version;
  p->pack_method = h.pack_method;
  if (Mtrd_Read_Palette(file, &p->palette) != MtrdLookup::kFound || !Read_Pixels(file, h, plain, p.get()))
    return nullptr;
  if (h.frame_count > 0 && !Read_Frames(file, h.frame_count, p.get())) return nullptr;
  return p;
}

PicturePtr Mtrd_Read_Picture_File(Wendax& wx, std::string_view path) {
  const int32_t size = File_Size(wx, path);
  const int handle = File_Open(wx, path, kFileModeRead);
  if (handle < 0) return nullptr;
  PicturePtr picture = Mtrd_Read_Picture(wx, handle, size, 0, size);
  File_Close(wx, handle);
  return picture;
}
