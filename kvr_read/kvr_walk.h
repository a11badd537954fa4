// The walks over a panorama file that every reader shares: entering the
// outer chunk, finding a static picture record, counting and naming the
// animations, opening one by name and stepping through its frames.
//
// Written once for libkvr_read.so and the engine's scene loaders, as
// templates over the animation record (KVR_ANIM, or the scene's record that
// extends it) and the caller's visitors. Not installed.
//
// Every size read from the file is checked against the chunk that holds it,
// and data are read in bounded pieces, so a hostile length can neither make
// a walk read past its chunk nor make an allocation larger than the file.
#pragma once

#include <algorithm>
#include <cstring>
#include <string_view>
#include <vector>

#include "kvr_read/kvr_chunks.h"
#include "packing/byte_order.h"

namespace kvr_walk {

// Data are read and stored this many bytes at a time, so the memory taken
// never runs far ahead of what the file really holds.
inline constexpr int kReadPiece = 1 << 20;

// Reads the outer header of a file open at its start. True with the
// position at the first inner chunk when the file begins with
// KVR_CHUNK_FILE.
template <class File>
bool Enter(File& file) {
  int tag = 0;
  int size = 0;
  file.Read_Chunck(&tag, &size);
  return tag == KVR_CHUNK_FILE;
}

// Opens `path` ("rb") and reads the outer header. True with the position at
// the first inner chunk; false, with the file closed, when the file cannot
// be opened or does not begin with KVR_CHUNK_FILE.
template <class File>
bool Enter(File& file, const char* path) {
  if (!file.Open(path, "rb")) return false;
  if (Enter(file)) return true;
  file.Close();
  return false;
}

// Reads `count` bytes at the current position into `out`, which ends up
// holding what the file had (fewer bytes when it ends first). Returns the
// number of bytes read.
template <class File>
int Read_Bytes(File& file, int count, std::vector<unsigned char>& out) {
  out.clear();
  while (count > 0) {
    const int piece = std::min(count, kReadPiece);
    const int before = file.Tell();
    const size_t old_size = out.size();
    out.resize(old_size + static_cast<size_t>(piece));
    file.Read(out.data() + old_size, piece);
    const int got = before < 0 ? 0 : std::clamp(file.Tell() - before, 0, piece);
    out.resize(old_size + static_cast<size_t>(got));
    if (got < piece) break;
    count -= piece;
  }
  return static_cast<int>(out.size());
}

// Reads one little-endian int32 at the current position; 0 when the file
// ends first.
template <class File>
int32_t Read_Int(File& file) {
  unsigned char bytes[4] = {0, 0, 0, 0};
  file.Read(bytes, 4);
  return Le_I32(bytes);
}

// Walks on from the current chunk to the first whose tag satisfies
// stop(tag), and returns that tag with the position at the chunk's start;
// 0 when the sequence ends first.
template <class File, class Stop>
int Skip_To(File& file, Stop stop) {
  int tag = 0;
  int size = 0;
  file.Get_Chunck(&tag, &size);
  while (tag != 0 && !stop(tag)) {
    file.Next_Chunck();
    file.Get_Chunck(&tag, &size);
  }
  return tag;
}

// A compressed picture record, as stored in a static chunk.
struct PictureRecord {
  int dct_param = 0;
  std::vector<unsigned char> data;
};

// After Enter: walks to the first chunk tagged `wanted` and reads its
// record. False when the walk ends first, or when the record's byte count is
// negative or larger than its chunk can hold (a damaged record is refused
// as a failed allocation would be). Leaves the file open.
template <class File>
bool Read_Picture_Record(File& file, int wanted, PictureRecord& record) {
  if (Skip_To(file, [wanted](int tag) { return tag == wanted; }) != wanted) return false;
  int tag = 0;
  int size = 0;
  file.Read_Chunck(&tag, &size);
  record.dct_param = Read_Int(file);
  const int32_t n = Read_Int(file);
  if (n < 0 || n > size - KVR_PICTURE_RECORD_HEADER) return false;
  Read_Bytes(file, n, record.data);
  return true;
}

// After Enter: the first static chunk of the file, KVR_CHUNK_STATIC_VR or
// KVR_CHUNK_STATIC_PIC, or 0 when the walk ends before either.
template <class File>
int First_Static_Tag(File& file) {
  return Skip_To(file, [](int tag) { return tag == KVR_CHUNK_STATIC_VR || tag == KVR_CHUNK_STATIC_PIC; });
}

// After Enter: visits every KVR_CHUNK_ANIMATION of the file in order,
// calling visit(file) with the position at the chunk's start; returns how
// many were visited.
template <class File, class Visit>
int For_Each_Animation(File& file, Visit visit) {
  int count = 0;
  int tag = 0;
  int size = 0;
  do {
    file.Get_Chunck(&tag, &size);
    if (tag == KVR_CHUNK_ANIMATION) {
      visit(file);
      ++count;
    }
    file.Next_Chunck();
  } while (tag != 0);
  return count;
}

// The animation's stored name: the text of its 32 bytes up to the first NUL
// (all 32 when there is none).
inline std::string_view Stored_Name(const char (&bytes)[KVR_ANIM_NAME_SIZE]) {
  const void* nul = std::memchr(bytes, 0, KVR_ANIM_NAME_SIZE);
  const size_t length =
      nul ? static_cast<size_t>(static_cast<const char*>(nul) - bytes) : size_t{KVR_ANIM_NAME_SIZE};
  return {bytes, length};
}

// The playback fields an animation state holds, whatever else it carries:
//   file, frame_count, current_frame, first_frame_position, next_frame_position.

// Opens `path` into anim.file and finds the first animation whose stored
// name equals `name` exactly (case counts). On a match the position is at
// its first frame chunk, the frame count is read, both positions are set
// there and the current frame is 0: returns 1 with the file left open.
// Otherwise 0, the file closed.
template <class Anim>
int Open_Animation(Anim& anim, const char* path, const char* name) {
  if (!Enter(anim.file, path)) return 0;
  const std::string_view wanted = name ? std::string_view(name) : std::string_view();
  auto named = [&](int tag) {
    if (tag != KVR_CHUNK_ANIMATION || !name) return false;
    char stored[KVR_ANIM_NAME_SIZE] = {};
    anim.file.Get_Chunck_Data(stored, KVR_ANIM_NAME_SIZE);  // back at the chunk's start
    return Stored_Name(stored) == wanted;
  };
  if (Skip_To(anim.file, named) == 0) {
    anim.file.Close();
    return 0;
  }
  int tag = 0;
  int size = 0;
  anim.file.Read_Chunck(&tag, &size);
  char stored[KVR_ANIM_NAME_SIZE];
  anim.file.Read(stored, KVR_ANIM_NAME_SIZE);
  anim.frame_count = Read_Int(anim.file);
  anim.first_frame_position = anim.file.Tell();
  anim.next_frame_position = anim.first_frame_position;
  anim.current_frame = 0;
  return 1;
}

// The changed blocks of one frame, as read from its chunk.
struct FrameBlocks {
  std::vector<int> blocks;
  int dct_param = 0;
  std::vector<unsigned char> data;
};

// Reads a non-empty frame payload of `size` bytes at the current position.
// False when its block count or byte count does not fit in the payload; the
// frame then draws nothing.
template <class File>
bool Read_Frame_Blocks(File& file, int size, FrameBlocks& frame) {
  const int32_t count = Read_Int(file);
  // B, the block numbers, dct_param and N must all lie inside the payload.
  if (count < 0 || count > (size - 12) / 4) return false;
  std::vector<unsigned char> numbers;
  if (Read_Bytes(file, count * 4, numbers) != count * 4) return false;
  frame.blocks.resize(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i) frame.blocks[static_cast<size_t>(i)] = Le_I32(&numbers[size_t(i) * 4]);
  frame.dct_param = Read_Int(file);
  const int32_t n = Read_Int(file);
  if (n < 0 || n > size - 12 - count * 4) return false;
  Read_Bytes(file, n, frame.data);
  return true;
}

// Finds frame `frame` (from 0) of the sequence that starts at `first`,
// counting frame chunks only, so that a chunk of another kind among the
// frames does not shift the frame reached. True with `position` set and the
// file there; false when the sequence ends first.
template <class File>
bool Find_Frame(File& file, int first, int frame, int& position) {
  file.Seek(first);
  int tag = 0;
  int size = 0;
  file.Get_Chunck(&tag, &size);
  for (int passed = 0; tag != 0; file.Get_Chunck(&tag, &size)) {
    if (tag == KVR_CHUNK_FRAME && passed++ == frame) {
      position = file.Tell();
      return position >= 0;
    }
    file.Next_Chunck();
  }
  return false;
}

// Plays the animation's next frame: draw(frame) is called for a frame with
// changed blocks. Returns 1 while the animation goes on, 0 when it has
// ended (its file is then closed, and every later call returns 0).
//
// After the last counted frame a KVR_CHUNK_LOOP chunk sends playback back
// to its frame L (the L-th frame chunk, from 0), unless stop_at_end is set.
// A loop point outside 0 .. frame count - 1 ends the animation as a missing
// loop chunk would: a point at or past the end would never come back to the
// last frame.
//
// A chunk in the frame sequence that is not a frame is skipped whole, from
// its start, without drawing or counting. A sequence that ends (a 0 tag or
// the end of the file) before the frame count is reached ends the
// animation: nothing more could ever be played.
template <class Anim, class Draw>
int Play_Frame(Anim& anim, bool stop_at_end, Draw draw) {
  auto& file = anim.file;
  // Already ended (no file open), or a chunk length has sent the position
  // beyond what Tell can report: nothing more can be played.
  if (file.Tell() < 0) {
    file.Close();
    return 0;
  }
  const int frame_start = anim.next_frame_position;
  file.Seek(frame_start);
  int tag = 0;
  int size = 0;
  file.Read_Chunck(&tag, &size);
  if (tag == 0) {
    file.Close();
    return 0;
  }
  if (tag != KVR_CHUNK_FRAME) {
    file.Seek(frame_start);
    file.Next_Chunck();
    anim.next_frame_position = file.Tell();
    return 1;
  }
  if (size > 0) {
    FrameBlocks frame;
    if (Read_Frame_Blocks(file, size, frame)) draw(frame);
  }
  ++anim.current_frame;
  file.Seek(frame_start);
  file.Next_Chunck();
  anim.next_frame_position = file.Tell();
  if (anim.current_frame != anim.frame_count) return 1;

  file.Get_Chunck(&tag, &size);
  if (tag == KVR_CHUNK_LOOP && !stop_at_end) {
    file.Read_Chunck(&tag, &size);
    const int32_t loop = Read_Int(file);
    if (loop >= 0 && loop < anim.frame_count &&
        Find_Frame(file, anim.first_frame_position, loop, anim.next_frame_position)) {
      file.Read_Chunck(&tag, &size);
      anim.current_frame = loop;
      return 1;
    }
  }
  file.Close();
  return 0;
}

}  // namespace kvr_walk
