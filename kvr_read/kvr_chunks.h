// The panorama file: one outer KVR_CHUNK_FILE chunk whose payload is the
// file's chunk sequence. Readers walk that sequence until a 0 tag or the end
// of the file (the outer chunk's length is written but not used) and skip
// chunks with any other tag.
//
//   KVR_CHUNK_STATIC_VR   compressed picture record of the 256 x 6144 panorama
//   KVR_CHUNK_STATIC_PIC  compressed picture record of a 640 x 480 still picture
//                         (whichever of the two comes first gives the file's kind)
//   KVR_CHUNK_ANIMATION   any number: animation header, then its chunk sequence
//     KVR_CHUNK_FRAME     F of them in playback order: empty, or changed blocks
//     KVR_CHUNK_LOOP      optional, right after the last frame: loop point L
//
// Payloads, little-endian int32 fields:
//   compressed picture record: dct_param, N, N bytes of dct data
//   animation:                 32-byte NUL-terminated name, F, chunk sequence
//   frame (when not empty):    B, B block numbers, dct_param, N, N bytes of dct data
//   loop:                      L, the frame (from 0) that follows the last one
#pragma once

#include <cstdint>

// Tags as the int that KVR_FILE reports; compared as 32-bit numbers, so
// 0x12FA84AB is stored as the bytes AB 84 FA 12.
inline constexpr int KVR_CHUNK_FILE = 0x12FA84AB;
inline constexpr int KVR_CHUNK_STATIC_VR = static_cast<int>(0xA0B1C200u);
inline constexpr int KVR_CHUNK_STATIC_PIC = static_cast<int>(0xA0B1C400u);
inline constexpr int KVR_CHUNK_ANIMATION = static_cast<int>(0xA0B1C201u);
inline constexpr int KVR_CHUNK_FRAME = static_cast<int>(0xA0B1C211u);
inline constexpr int KVR_CHUNK_LOOP = static_cast<int>(0xA0B1C221u);

inline constexpr int KVR_CHUNK_HEADER_SIZE = 8;      // tag, length (8 + payload)
inline constexpr int KVR_PICTURE_RECORD_HEADER = 8;  // dct_param, N
inline constexpr int KVR_ANIM_NAME_SIZE = 32;
inline constexpr int KVR_ANIM_HEADER_SIZE = 36;  // name, F
inline constexpr int KVR_LOOP_PAYLOAD_SIZE = 4;  // L

// The pictures the two static chunks hold.
inline constexpr int KVR_VR_WIDTH = 256;
inline constexpr int KVR_VR_HEIGHT = 6144;
inline constexpr int KVR_PIC_WIDTH = 640;
inline constexpr int KVR_PIC_HEIGHT = 480;
