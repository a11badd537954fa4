// The MTRD chunk search and the reading of single chunks.
#include <algorithm>

#include "pictures/mtrd/mtrd_format.h"
#include "pictures/picture_bytes.h"
#include "platform/files/file_layer.h"
#include "platform/wendax.h"

bool Mtrd_Find_Chunk(Wendax& wx, int handle, int32_t file_size, std::string_view tag, int32_t start,
                     int32_t end, MtrdChunk* found) {
  if (start < 0 || start >= file_size || end > file_size) return false;
  int32_t chunk_start = start;
  int32_t chunk_end = end;
  if (File_Find_Chunk(wx, handle, file_size, tag, &chunk_start, &chunk_end) != 0) return false;
  *found = MtrdChunk{chunk_start, chunk_end};
  return true;
}

bool Mtrd_Open(Wendax& wx, int handle, int32_t file_size, int32_t start, int32_t end, MtrdFile* out) {
  MtrdChunk mtrd;
  if (!Mtrd_Find_Chunk(wx, handle, file_size, "MTRD", start, end, &mtrd)) return false;
  // A chunk that runs past the file's end would make every search inside it
  // fail; one that runs past the caller's end is not whole in its range.
  if (mtrd.end > file_size || mtrd.end > end) return false;
  *out = MtrdFile{&wx, handle, file_size, mtrd.Payload(), mtrd.end};
  return true;
}

MtrdLookup Mtrd_Find_From(const MtrdFile& file, std::string_view tag, int32_t from, MtrdChunk* found) {
  MtrdChunk chunk;
  if (!Mtrd_Find_Chunk(*file.wx, file.handle, file.file_size, tag, from, file.end, &chunk))
    return MtrdLookup::kAbsent;
  if (chunk.end > file.end) return MtrdLookup::kMalformed;
  *found = chunk;
  return MtrdLookup::kFound;
}

MtrdLookup Mtrd_Find(const MtrdFile& file, std::string_view tag, MtrdChunk* found) {
  return Mtrd_Find_From(file, tag, file.payload, found);
}

bool Mtrd_Read_Payload(const MtrdFile& file, const MtrdChunk& chunk, uint8_t* out, size_t count) {
  if (count > size_t(std::max(chunk.Payload_Size(), 0))) return false;
  if (count == 0) return true;
  File_Seek(*file.wx, file.handle, chunk.Payload(), kSeekStart);
  return File_Read(*file.wx, file.handle, out, int(count)) == int(count);
}

MtrdLookup Mtrd_Read_Int(const MtrdFile& file, std::string_view tag, int32_t* value) {
  MtrdChunk chunk;
  const MtrdLookup lookup = Mtrd_Find(file, tag, &chunk);
  if (lookup != MtrdLookup::kFound) return lookup;
  uint8_t bytes[4];
  if (!Mtrd_Read_Payload(file, chunk, bytes, 4)) return MtrdLookup::kMalformed;
  *value = int32_t(Le_U32(bytes));
  return MtrdLookup::kFound;
}

bool Mtrd_Read_Version(const MtrdFile& file, int32_t* version) {
  int32_t value = kMtrdVersionFirst;
  if (Mtrd_Read_Int(file, "VERS", &value) == MtrdLookup::kMalformed) return false;
  if (value < kMtrdVersionFirst || value > kMtrdVersionLast) return false;
  *version = value;
  return true;
}

MtrdLookup Mtrd_Read_Palette(const MtrdFile& file, std::vector<uint8_t>* palette) {
  MtrdChunk chunk;
  const MtrdLookup lookup = Mtrd_Find(file, "PALE", &chunk);
  if (lookup != MtrdLookup::kFound) return lookup;
  palette->assign(kPalette_Rgb_Bytes, 0);
  const size_t bytes = std::min<size_t>(kPalette_Rgb_Bytes, size_t(chunk.Payload_Size()));
  return Mtrd_Read_Payload(file, chunk, palette->data(), bytes) ? MtrdLookup::kFound : MtrdLookup::kMalformed;
}
