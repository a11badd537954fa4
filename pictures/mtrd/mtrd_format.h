// The MTRD chunk format: one "MTRD" chunk whose payload holds named chunks
// in any order. A chunk is a 4-character tag (ASCII case ignored), a 32-bit
// little-endian length that counts its 8 header bytes, and length - 8 bytes
// of payload. Pictures use the header chunks, "PALE" and "PICT"; videos add
// one "ANIM" chunk per further frame and one "SAMP" chunk of sound per frame.
// Versions 1280 to 1284 differ in how the header and the sound parameters
// are stored.
//
// Everything here reads through the file layer, never past the file's end
// nor past the MTRD chunk's end; a chunk whose length runs past the MTRD
// chunk, or whose payload is too short for its fields, makes the file
// malformed and is never read.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "pictures/picture.h"

struct Wendax;

inline constexpr int32_t kMtrdVersionFirst = 1280;
inline constexpr int32_t kMtrdVersionLast = 1284;
inline constexpr int32_t kMtrdFramesPerSecondDefault = 15;
// Videos play 1 to 1000 frames per second: the frame period is 1000 / rate
// whole milliseconds and must not be 0.
inline constexpr int32_t kMtrdFramesPerSecondMax = 1000;
inline constexpr size_t kMtrdHeadNameBytes = 16;  // the 16th is forced to 0
inline constexpr size_t kMtrdNameBytes = 256;     // the 256th is forced to 0
inline constexpr size_t kMtrdHeadBytes = kMtrdHeadNameBytes + 7 * 4;
inline constexpr size_t kMtrdAnihBytes = 5 * 4;
inline constexpr std::string_view kMtrdNullName = "Null_picture";
// Largest "PICT" payload, and largest total of "ANIM" payloads a picture
// keeps: no file can make these allocations fail.
inline constexpr size_t kMtrdDataBytesMax = kPictureBytesMax;
// Largest block of sound per frame.
inline constexpr int32_t kMtrdSoundBytesMax = 1 << 24;

// A chunk: the offset of its header and the offset right after it.
struct MtrdChunk {
  int32_t start = 0;
  int32_t end = 0;
  int32_t Payload() const { return start + 8; }
  int32_t Payload_Size() const { return end - start - 8; }
};

// The chunk search. From `start`, reads the header there: a matching tag is
// found; a length of 0 (or below 8) fails; otherwise moves on by the length
// while the next header fits before `end`. Fails at once when `start` is at
// or beyond the file's end or `end` lies beyond it.
bool Mtrd_Find_Chunk(Wendax& wx, int handle, int32_t file_size, std::string_view tag, int32_t start,
                     int32_t end, MtrdChunk* found);

// An open MTRD chunk: the file and where its payload starts and ends.
struct MtrdFile {
  Wendax* wx = nullptr;
  int handle = -1;
  int32_t file_size = 0;
  int32_t payload = 0;  // first byte of the MTRD payload
  int32_t end = 0;      // end of the MTRD chunk (never beyond the file)
};

// Finds the "MTRD" chunk between start and end. False when there is none or
// it runs past `end` or the file's end.
bool Mtrd_Open(Wendax& wx, int handle, int32_t file_size, int32_t start, int32_t end, MtrdFile* out);

enum class MtrdLookup {
  kAbsent,  // no chunk of that tag
  kFound,
  kMalformed,  // the chunk runs past the MTRD chunk or is too short
};

// The first chunk of the tag in the MTRD payload (a second one is ignored).
MtrdLookup Mtrd_Find(const MtrdFile& file, std::string_view tag, MtrdChunk* found);
// The first chunk of the tag from `from` on: "ANIM" and "SAMP" chunks are
// searched from where the previous one of the same kind ended.
MtrdLookup Mtrd_Find_From(const MtrdFile& file, std::string_view tag, int32_t from, MtrdChunk* found);
// A 32-bit little-endian number: the first 4 bytes of the chunk's payload.
MtrdLookup Mtrd_Read_Int(const MtrdFile& file, std::string_view tag, int32_t* value);
// Copies the first `count` payload bytes of a found chunk (count must not
// exceed its payload size). False when the file gives fewer.
bool Mtrd_Read_Payload(const MtrdFile& file, const MtrdChunk& chunk, uint8_t* out, size_t count);
// "VERS", 1280 when absent. False when malformed or outside 1280..1284.
bool Mtrd_Read_Version(const MtrdFile& file, int32_t* version);

struct MtrdHeader {
  std::string name;  // as stored, at most 255 characters; never empty
  int32_t version = kMtrdVersionFirst;
  int32_t width = 0;
  int32_t height = 0;
  int32_t depth = 0;
  int32_t pack_method = 0;
  int32_t data_size = 0;  // as stored; readers use the "PICT" length instead
  int32_t frame_count = 0;
};

enum class MtrdUse {
  kPicture,  // every header chunk is required
  kVideo,    // version 1284: "PACK" and "SIZE" only when the depth is not 0
};

// Reads "VERS" and the header chunks of the version: up to 1281 the "HEAD"
// chunk, whose version then replaces the one of "VERS"; from 1282 on "NAME",
// "SIZX", "SIZY", "BITP", "PACK", "SIZE" and "NBFR". An empty name becomes
// "Null_picture". False when a required chunk is missing or malformed, or
// the version is not 1280..1284. The values themselves are not checked.
bool Mtrd_Read_Header(const MtrdFile& file, MtrdUse use, MtrdHeader* header);

// The palette of "PALE": up to 768 bytes of its payload, the rest 0.
MtrdLookup Mtrd_Read_Palette(const MtrdFile& file, std::vector<uint8_t>* palette);

// A video's frame rate and sound parameters.
struct MtrdSound {
  int32_t frames_per_second = kMtrdFramesPerSecondDefault;
  int32_t sample_rate = 0;  // Hz; 0: no sound
  int32_t bits = 0;         // 8 or 16
  int32_t stereo = 0;       // 0 mono, 1 stereo
  int32_t pack_method = 0;  // 3 or 5; other values leave blocks undecoded
  int32_t size = 0;         // "SSIZ", version 1284
};

// Reads them by version: up to 1282 from "ANIH" (absent: 15 frames per
// second, no sound; version 1280 always 16 bits, mono, method 0); 1283 from
// "FSEC" (15), "SFRE", "SBIT", "STER", "SCRU" (0 each); 1284 "FSEC" and
// "SFRE" required and, with a sample rate, "SSIZ", "SBIT", "STER", "SCRU".
// False when a required chunk is missing or one is malformed.
bool Mtrd_Read_Sound(const MtrdFile& file, int32_t version, MtrdSound* sound);

// What the video player needs to open a video.
struct MtrdVideo {
  MtrdHeader header;  // depth 0 (version 1284 only: sound alone), 8 or 16
  MtrdSound sound;
  int32_t sound_bytes_per_frame = 0;  // PCM bytes one "SAMP" block gives
  std::vector<uint8_t> palette;       // 768 bytes; empty when the depth is 0
  MtrdChunk first_frame;              // "PICT"; empty when the depth is 0
  size_t frame_bytes = 0;             // width x height x depth / 8
};

// Reads and checks a video's header, sound parameters, palette and first
// frame, and that the first "ANIM" (with a depth) and "SAMP" (version 1284
// with a sample rate) exist. Beyond the format's own rules, refuses frames
// whose plain size is 0 or above kPictureBytesMax, frame rates outside
// 1..1000, and sound that is not 8 or 16 bits, mono or stereo, with 1 to
// kMtrdSoundBytesMax bytes per frame.
bool Mtrd_Read_Video(const MtrdFile& file, MtrdVideo* video);
