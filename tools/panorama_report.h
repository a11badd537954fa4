// What a panorama file holds, as text for tools: its kind and every chunk
// of its top-level sequence, with the fields of the static records and the
// frame counts of the animations.
#pragma once

#include <string>

// The chunk tag's name ("KVR_CHUNK_FRAME"), or 0x and eight hexadecimal
// digits for a tag the readers do not know.
std::string Panorama_Tag_Name(int tag);

// The report, lines ended by '\n', offsets and sizes in bytes (a chunk's
// size is its payload, the stored length less the 8 header bytes):
//
//   kind: panorama
//   KVR_CHUNK_FILE at 0, 7198 bytes
//     KVR_CHUNK_STATIC_VR at 8, 5208 bytes
//       dct_param: 90
//       data: 5200 bytes
//     KVR_CHUNK_ANIMATION at 5224, 1974 bytes
//       name: "water"
//       frame count: 3
//       frames: 3 counted, 1 empty, 20 blocks
//       loop: 1
//     end at 7206: end of file
//
// The kind is "panorama", "still picture" or "none" (Kvr_Get_Vr_Type).
// Damaged fields are named where they stand. Past the first 10 000
// top-level chunks only their number is given. False with a message when the
// file cannot be read or does not begin with KVR_CHUNK_FILE.
bool Panorama_Report(const std::string& path, std::string& text, std::string& error);
