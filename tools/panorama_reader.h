// Reading panorama files (layout in kvr_read/kvr_chunks.h) back into the
// content that tools/panorama_writer.h writes, as the engine's readers see
// the file, every chunk and field checked against what holds it.
//
// What is read:
//   - The top-level sequence after KVR_CHUNK_FILE, to a 0 tag or the end of
//     the file (the outer chunk's length is not used, as by every reader).
//   - The first KVR_CHUNK_STATIC_VR or KVR_CHUNK_STATIC_PIC: the kind, the
//     dct_param and the data. A later static chunk of either tag is passed
//     over: the engine takes the first.
//   - Every KVR_CHUNK_ANIMATION in file order: the stored name (its 32 bytes
//     up to the first NUL), the frame count F, the frame chunks, and a
//     KVR_CHUNK_LOOP right after the F-th frame as the loop point. A loop
//     chunk anywhere else is passed over, as playback never reads it.
//   - A frame chunk without payload is an empty frame; a frame with B = 0
//     keeps its dct_param and data as stored.
//   - Chunks of any other tag, wherever they stand, are passed over as the
//     engine's readers pass them; so are the bytes after a 0 tag (in the
//     file or in an animation) and after a record's fields inside its chunk.
//     Writing the content again drops all of these.
//
// Values are kept as stored, also those that Panorama_Check refuses (a loop
// point outside the frames, block numbers outside the picture, an empty or
// 32-byte name, two animations alike): check the content before writing it.
//
// Refused, with a message that names the field and where it stands: a file
// that does not begin with KVR_CHUNK_FILE or is larger than 2 GiB, a chunk
// header cut by the end of the file or of its animation, a stored length
// below 8, a chunk running past the file or its animation, no static chunk,
// a count or byte count that is negative or more than its chunk holds, an
// animation, frame or loop chunk too small for its fields, and a frame
// count F other than the number of frame chunks in the animation. (A file
// cut exactly between two top-level chunks reads as the chunks it holds.)
// Nothing is read past the end of the file, and nothing is allocated beyond
// what its chunks hold.
//
// So Panorama_Read(Panorama_File_Bytes(c)) == c for every c that
// Panorama_Check accepts, and content read from any file, once it passes
// Panorama_Check, reads back the same from the file written from it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/panorama_writer.h"

// Reads the panorama file held in `bytes`. False with a message (and
// `content` untouched) when it is refused.
bool Panorama_Read(const std::vector<uint8_t>& bytes, PanoramaContent& content, std::string& error);
// Reads the panorama file at `path`; messages begin with the path.
bool Panorama_Read(const std::string& path, PanoramaContent& content, std::string& error);
