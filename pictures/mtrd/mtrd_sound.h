// Sound of MTRD videos: the PCM bytes one "SAMP" block gives, and the sound
// codes of versions 1280 and 1284 (16 bits), which store one code byte per
// sample instead of the samples.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

struct MtrdSound;

// The 16-bit step of each code of version 1284.
extern const std::array<int16_t, 256> kMtrdSoundCodes;

// PCM bytes per frame, integer arithmetic left to right:
//   1280:        (rate / fps) x 2
//   1281..1283:  ((rate << stereo) x bits / 8) / fps
//   1284:        "SSIZ"
// -1 when there is no sound or the frame rate is not positive; computed in
// 64 bits, so hostile values cannot overflow.
int64_t Mtrd_Sound_Bytes_Per_Frame(int32_t version, const MtrdSound& sound);

// True when the unpacked blocks hold codes rather than PCM: version 1280,
// and version 1284 with 16 bits.
bool Mtrd_Sound_Is_Coded(int32_t version, int32_t bits);
// Bytes one block unpacks to: half the PCM bytes when coded, else all.
int64_t Mtrd_Sound_Unpacked_Bytes(int32_t version, int32_t bits, int64_t pcm_bytes);

// Version 1280: `count` codes to `count` 16-bit little-endian samples. The
// first sample is codes[0] x 256, each next one the previous one plus
// code x 256, kept to 16 bits.
void Mtrd_Sound_Expand_1280(const uint8_t* codes, size_t count, uint8_t* pcm);

// Version 1284, 16 bits: `pcm_bytes` / 2 codes to `pcm_bytes` bytes of PCM.
// Each sample is the running sum, from 0 at the block's start and kept to 16
// bits, of the table entries of the codes. Mono: one code per sample.
// Stereo: the first pcm_bytes / 4 codes are the left samples, the next
// pcm_bytes / 4 the right ones, written interleaved; the sum runs on from
// the left half into the right one. Bytes the codes do not reach are 0.
void Mtrd_Sound_Expand_1284(const uint8_t* codes, size_t pcm_bytes, bool stereo, uint8_t* pcm);
