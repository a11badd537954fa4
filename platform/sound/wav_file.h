// RIFF WAVE files, read through the file layer (disk or memory files), whole
// as a sample or as a header with the offset of the sound data.
//
// Every field is read little-endian from bytes that lie inside the file: a
// file too short for what its headers promise gives nothing, and sound data
// that would run past the end of the file is cut at that end.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

#include "platform/sound/sample.h"

struct Wendax;

struct Wav_Info {
  std::array<char, 4> form_type{};
  uint16_t format_tag = 0;
  uint16_t channels = 0;
  uint32_t rate = 0;
  uint32_t bytes_per_second = 0;
  uint16_t block_align = 0;
  uint16_t bits = 0;
  uint32_t data_size = 0;   // bytes of sound data present in the file
  int64_t data_offset = 0;  // file offset of the first data byte
};

// Size of the fields read from a "fmt " chunk; a shorter chunk is refused.
inline constexpr uint32_t kWavFormatBytes = 16;

// Looks for the chunk `id` (case ignored) among the chunks that start in
// [*start, *end) of the file, stepping over each chunk's 8-byte header and
// its size (no pad byte). True with *start = the chunk's offset and
// *end = *start + size + 8. The search fails at a non-matching chunk of size
// 0, at a header that does not fit in the file, and at once when *end lies
// beyond the file size.
bool Wav_Find_Chunk(Wendax& wx, std::string_view path, std::string_view id, int64_t* start, int64_t* end);

// The RIFF form must be "WAVE"; "fmt " and "data" are each searched from
// offset 12, so their order in the file does not matter. The format tag is
// not checked: the data is played as PCM.
std::optional<Sample> Wav_Load(Wendax& wx, std::string_view path);
std::optional<Wav_Info> Wav_Read_Info(Wendax& wx, std::string_view path);
