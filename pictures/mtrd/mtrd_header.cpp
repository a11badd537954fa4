// The MTRD header chunks, sound parameters and video description by version.
#include <algorithm>
#include <array>

#include "pictures/mtrd/mtrd_format.h"
#include "pictures/mtrd/mtrd_sound.h"
#include "pictures/picture_bytes.h"

namespace {

// A stored name: the bytes up to the first 0, the last byte forced to 0.
std::string Stored_Name(const uint8_t* bytes, size_t size) {
  const size_t usable = size == 0 ? 0 : size - 1;
  const auto* nul = std::find(bytes, bytes + usable, uint8_t{0});
  std::string name(reinterpret_cast<const char*>(bytes), size_t(nul - bytes));
  return name.empty() ? std::string(kMtrdNullName) : name;
}

bool Read_Head(const MtrdFile& file, MtrdHeader* h) {
  MtrdChunk chunk;
  std::array<uint8_t, kMtrdHeadBytes> b;
  if (Mtrd_Find(file, "HEAD", &chunk) != MtrdLookup::kFound ||
      !Mtrd_Read_Payload(file, chunk, b.data(), b.size()))
    return false;
  h->name = Stored_Name(b.data(), kMtrdHeadNameBytes);
  int32_t* fields[7] = {&h->version,     &h->width,     &h->height,     &h->depth,
                        &h->pack_method, &h->data_size, &h->frame_count};
  for (size_t i = 0; i < 7; ++i) *fields[i] = int32_t(Le_U32(b.data() + kMtrdHeadNameBytes + 4 * i));
  return h->version >= kMtrdVersionFirst && h->version <= kMtrdVersionLast;
}

// "NAME": up to 256 bytes; a shorter payload gives the name it holds.
bool Read_Name(const MtrdFile& file, std::string* name) {
  MtrdChunk chunk;
  if (Mtrd_Find(file, "NAME", &chunk) != MtrdLookup::kFound) return false;
  std::array<uint8_t, kMtrdNameBytes> b{};
  const size_t count = std::min<size_t>(kMtrdNameBytes, size_t(chunk.Payload_Size()));
  if (!Mtrd_Read_Payload(file, chunk, b.data(), count)) return false;
  *name = Stored_Name(b.data(), count == kMtrdNameBytes ? count : count + 1);
  return true;
}

bool Required(const MtrdFile& file, std::string_view tag, int32_t* value) {
  return Mtrd_Read_Int(file, tag, value) == MtrdLookup::kFound;
}

// An optional number keeps its default when absent; false when malformed.
bool Optional(const MtrdFile& file, std::string_view tag, int32_t* value) {
  return Mtrd_Read_Int(file, tag, value) != MtrdLookup::kMalformed;
}

bool Read_Separate_Header(const MtrdFile& file, MtrdUse use, MtrdHeader* h) {
  if (!Read_Name(file, &h->name) || !Required(file, "SIZX", &h->width) ||
      !Required(file, "SIZY", &h->height) || !Required(file, "BITP", &h->depth) ||
      !Required(file, "NBFR", &h->frame_count))
    return false;
  // Sound-only videos of version 1284 have no picture data to describe.
  if (use == MtrdUse::kVideo && h->version == 1284 && h->depth == 0) return true;
  return Required(file, "PACK", &h->pack_method) && Required(file, "SIZE", &h->data_size);
}

bool Read_Anih(const MtrdFile& file, MtrdSound* s) {
  MtrdChunk chunk;
  const MtrdLookup lookup = Mtrd_Find(file, "ANIH", &chunk);
  if (lookup == MtrdLookup::kAbsent) return true;
  std::array<uint8_t, kMtrdAnihBytes> b;
  if (lookup == MtrdLookup::kMalformed || !Mtrd_Read_Payload(file, chunk, b.data(), b.size())) return false;
  int32_t* fields[5] = {&s->frames_per_second, &s->sample_rate, &s->bits, &s->stereo, &s->pack_method};
  for (size_t i = 0; i < 5; ++i) *fields[i] = int32_t(Le_U32(b.data() + 4 * i));
  return true;
}

bool Read_Sound_1283(const MtrdFile& file, MtrdSound* s) {
  return Optional(file, "FSEC", &s->frames_per_second) && Optional(file, "SFRE", &s->sample_rate) &&
         Optional(file, "SBIT", &s->bits) && Optional(file, "STER", &s->stereo) &&
         Optional(file, "SCRU", &s->pack_method);
}

bool Read_Sound_1284(const MtrdFile& file, MtrdSound* s) {
  if (!Required(file, "FSEC", &s->frames_per_second) || !Required(file, "SFRE", &s->sample_rate))
    return false;
  if (s->sample_rate == 0) return true;
  return Required(file, "SSIZ", &s->size) && Required(file, "SBIT", &s->bits) &&
         Required(file, "STER", &s->stereo) && Required(file, "SCRU", &s->pack_method);
}

bool Has(const MtrdFile& file, std::string_view tag) {
  MtrdChunk chunk;
  return Mtrd_Find(file, tag, &chunk) == MtrdLookup::kFound;
}

bool Video_Picture_Ok(const MtrdFile& file, MtrdVideo* v) {
  const MtrdHeader& h = v->header;
  if (h.depth == 0) return h.version == 1284;
  if (h.depth != 8 && h.depth != 16) return false;
  v->frame_bytes = Picture_Plain_Size(h.width, h.height, h.depth);
  return v->frame_bytes != 0 && Mtrd_Read_Palette(file, &v->palette) == MtrdLookup::kFound &&
         Mtrd_Find(file, "PICT", &v->first_frame) == MtrdLookup::kFound && Has(file, "ANIM");
}

bool Video_Sound_Ok(const MtrdFile& file, MtrdVideo* v) {
  const MtrdSound& s = v->sound;
  if (s.frames_per_second < 1 || s.frames_per_second > kMtrdFramesPerSecondMax || s.sample_rate < 0)
    return false;
  if (s.sample_rate == 0) return true;
  if ((s.bits != 8 && s.bits != 16) || (s.stereo != 0 && s.stereo != 1)) return false;
  const int64_t bytes = Mtrd_Sound_Bytes_Per_Frame(v->header.version, s);
  if (bytes < 1 || bytes > kMtrdSoundBytesMax) return false;
  v->sound_bytes_per_frame = int32_t(bytes);
  return v->header.version != 1284 || Has(file, "SAMP");
}

}  // namespace

bool Mtrd_Read_Header(const MtrdFile& file, MtrdUse use, MtrdHeader* header) {
  MtrdHeader h;
  if (!Mtrd_Read_Version(file, &h.version)) return false;
  if (h.version > 1281 ? !Read_Separate_Header(file, use, &h) : !Read_Head(file, &h)) return false;
  *header = std::move(h);
  return true;
}

bool Mtrd_Read_Sound(const MtrdFile& file, int32_t version, MtrdSound* sound) {
  MtrdSound s;
  bool ok = version == 1284   ? Read_Sound_1284(file, &s)
            : version == 1283 ? Read_Sound_1283(file, &s)
                              : Read_Anih(file, &s);
  if (!ok) return false;
  if (version == 1280) {
    s.bits = 16;
    s.stereo = 0;
    s.pack_method = 0;
  }
  *sound = s;
  return true;
}

bool Mtrd_Read_Video(const MtrdFile& file, MtrdVideo* video) {
  MtrdVideo v;
  if (!Mtrd_Read_Header(file, MtrdUse::kVideo, &v.header) || v.header.frame_count < 1) return false;
  if (!Video_Picture_Ok(file, &v)) return false;
  if (!Mtrd_Read_Sound(file, v.header.version, &v.sound) || !Video_Sound_Ok(file, &v)) return false;
  *video = std::move(v);
  return true;
}
