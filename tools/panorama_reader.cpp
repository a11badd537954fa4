#include "tools/panorama_reader.h"

#include <climits>
#include <filesystem>
#include <new>
#include <utility>

#include "kvr_read/kvr_chunks.h"
#include "kvr_read/kvr_file.h"
#include "kvr_read/kvr_walk.h"
#include "tools/panorama_report.h"
#include "tools/printable_text.h"

namespace {

constexpr int kFrameFieldsSize = 12;  // B, dct_param, N

struct Reader {
  KVR_FILE& file;
  std::string& error;

  bool Fail(std::string message) {
    error = std::move(message);
    return false;
  }
  int32_t Int_At(int64_t pos) {
    file.Seek(int(pos));
    return kvr_walk::Read_Int(file);
  }
};

std::string Chunk_At(int tag, int64_t pos) {
  return "the " + Panorama_Tag_Name(tag) + " chunk at byte " + std::to_string(pos);
}

// Why a count read from a chunk was refused: below 0, or above the `room`
// the chunk has for it.
std::string Count_Fault(const std::string& what, int64_t value, int64_t room, const std::string& unit) {
  const std::string named = "the " + what + " " + std::to_string(value);
  if (value < 0) return named + " is negative";
  return named + " is more than the " + std::to_string(room) + " " + unit + " its chunk has room for";
}

// Walks the chunk sequence from `start` to `end` (the end of the file or of
// the animation that holds it) as the readers do, to a 0 tag or `end`,
// calling visit(pos, tag, size) for every chunk, which may move the
// position. False with a message (after `where`) at the first header cut by
// `end`, stored length below 8 or chunk running past `end`, or when visit
// returns false.
template <class Visit>
bool Walk_Sequence(Reader& r, int64_t start, int64_t end, const std::string& where, const std::string& holder,
                   Visit visit) {
  bool ok = true;
  bool stopped = false;
  int64_t at = start;  // the chunk the walk is on; Tell is unreliable past a cut header
  r.file.Seek(int(start));
  kvr_walk::Skip_To(r.file, [&](int tag) {
    stopped = true;
    if (at >= end) return true;
    if (end - at < KVR_CHUNK_HEADER_SIZE) return true;
    const int32_t stored = r.Int_At(at + 4);
    if (stored < KVR_CHUNK_HEADER_SIZE)
      ok = r.Fail(where + Chunk_At(tag, at) + " has the stored length " + std::to_string(stored) +
                  ", less than its own 8 header bytes");
    else if (stored > end - at)
      ok = r.Fail(where + Chunk_At(tag, at) + " holds " + std::to_string(stored - KVR_CHUNK_HEADER_SIZE) +
                  " bytes, but the " + holder + " ends after " +
                  std::to_string(end - at - KVR_CHUNK_HEADER_SIZE));
    else
      ok = visit(at, tag, int(stored - KVR_CHUNK_HEADER_SIZE));
    if (!ok) return true;
    r.file.Seek(int(at));
    at += stored;
    stopped = false;
    return false;
  });
  if (!ok) return false;
  if (at >= end) return true;
  // No more headers: a 0 tag ends the sequence, anything else left is a cut header.
  if (!stopped && end - at >= 4 && r.Int_At(at) == 0) return true;
  return r.Fail(where + "the chunk header at byte " + std::to_string(at) + " is cut: the " + holder +
                " ends after " + std::to_string(end - at) + " of its 8 bytes");
}

bool Read_Static(Reader& r, PanoramaContent& content) {
  r.file.Seek(KVR_CHUNK_HEADER_SIZE);
  const int tag = kvr_walk::First_Static_Tag(r.file);
  if (tag == 0)
    return r.Fail("the file has no static picture chunk (KVR_CHUNK_STATIC_VR or KVR_CHUNK_STATIC_PIC)");
  content.kind = tag == KVR_CHUNK_STATIC_VR ? PanoramaKind::kVr : PanoramaKind::kPic;
  const int64_t pos = r.file.Tell();
  kvr_walk::PictureRecord record;
  if (kvr_walk::Read_Picture_Record(r.file, tag, record)) {
    content.dct_param = record.dct_param;
    content.data = std::move(record.data);
    return true;
  }
  const int64_t size = int64_t(r.Int_At(pos + 4)) - KVR_CHUNK_HEADER_SIZE;
  if (size < KVR_PICTURE_RECORD_HEADER)
    return r.Fail(Chunk_At(tag, pos) + " holds " + std::to_string(size) +
                  " bytes, less than the 8 of dct_param and N");
  const int32_t n = r.Int_At(pos + KVR_CHUNK_HEADER_SIZE + 4);
  return r.Fail("the static picture (" + Chunk_At(tag, pos) +
                "): " + Count_Fault("byte count", n, size - KVR_PICTURE_RECORD_HEADER, "bytes"));
}

// The frame chunk at `pos` with payload `size`.
bool Read_Frame(Reader& r, int64_t pos, int size, const std::string& where, PanoramaFrame& frame) {
  if (size == 0) return true;
  if (size < kFrameFieldsSize)
    return r.Fail(where + ": its chunk holds " + std::to_string(size) +
                  " bytes, less than the 12 of B, dct_param and N");
  r.file.Seek(int(pos + KVR_CHUNK_HEADER_SIZE));
  kvr_walk::FrameBlocks blocks;
  if (kvr_walk::Read_Frame_Blocks(r.file, size, blocks)) {
    frame.blocks = std::move(blocks.blocks);
    frame.dct_param = blocks.dct_param;
    frame.data = std::move(blocks.data);
    return true;
  }
  const int64_t payload = pos + KVR_CHUNK_HEADER_SIZE;
  const int64_t b = r.Int_At(payload);
  const int64_t b_room = (size - kFrameFieldsSize) / 4;
  if (b < 0 || b > b_room)
    return r.Fail(where + ": " + Count_Fault("block count", b, b_room, "block numbers"));
  const int32_t n = r.Int_At(payload + 8 + 4 * b);
  return r.Fail(where + ": " + Count_Fault("byte count", n, size - kFrameFieldsSize - 4 * b, "bytes"));
}

// The animation chunk at `pos`, the `index`-th of the file (from 0).
bool Read_Animation(Reader& r, int64_t pos, int index, PanoramaAnimation& animation) {
  const int64_t size = int64_t(r.Int_At(pos + 4)) - KVR_CHUNK_HEADER_SIZE;
  if (size < KVR_ANIM_HEADER_SIZE)
    return r.Fail("animation " + std::to_string(index) + " (" + Chunk_At(KVR_CHUNK_ANIMATION, pos) +
                  ") holds " + std::to_string(size) + " bytes, less than the 36 of its name and frame count");
  char stored[KVR_ANIM_NAME_SIZE] = {};
  r.file.Seek(int(pos + KVR_CHUNK_HEADER_SIZE));
  r.file.Read(stored, KVR_ANIM_NAME_SIZE);
  animation.name = std::string(kvr_walk::Stored_Name(stored));
  const int32_t frame_count = kvr_walk::Read_Int(r.file);
  const std::string where = "animation \"" + Printable_Text(animation.name) + "\"";
  const int64_t start = pos + KVR_CHUNK_HEADER_SIZE + KVR_ANIM_HEADER_SIZE;
  bool after_last_frame = false;  // where playback looks for the loop chunk
  auto visit = [&](int64_t at, int tag, int chunk_size) {
    const bool loop_point = after_last_frame;
    after_last_frame = false;
    if (tag == KVR_CHUNK_FRAME) {
      PanoramaFrame frame;
      const std::string frame_where = "frame " + std::to_string(animation.frames.size()) + " of " + where;
      if (!Read_Frame(r, at, chunk_size, frame_where, frame)) return false;
      animation.frames.push_back(std::move(frame));
      after_last_frame = int64_t(animation.frames.size()) == frame_count;
    } else if (tag == KVR_CHUNK_LOOP && loop_point) {
      if (chunk_size < KVR_LOOP_PAYLOAD_SIZE)
        return r.Fail(where + ": " + Chunk_At(tag, at) + " holds " + std::to_string(chunk_size) +
                      " bytes, less than its loop point");
      animation.loop = r.Int_At(at + KVR_CHUNK_HEADER_SIZE);
    }
    return true;
  };
  if (!Walk_Sequence(r, start, pos + KVR_CHUNK_HEADER_SIZE + size, where + ": ", "animation", visit))
    return false;
  if (int64_t(animation.frames.size()) != frame_count)
    return r.Fail(where + ": the frame count " + std::to_string(frame_count) + " does not match the " +
                  std::to_string(animation.frames.size()) + " frame chunks it holds");
  return true;
}

bool Read_Animations(Reader& r, PanoramaContent& content) {
  bool ok = true;
  r.file.Seek(KVR_CHUNK_HEADER_SIZE);
  kvr_walk::For_Each_Animation(r.file, [&](KVR_FILE& file) {
    if (!ok) return;
    const int64_t pos = file.Tell();
    PanoramaAnimation animation;
    ok = Read_Animation(r, pos, int(content.animations.size()), animation);
    if (ok) content.animations.push_back(std::move(animation));
    file.Seek(int(pos));  // the walk goes on from the chunk's start
  });
  return ok;
}

// Reads the file open in `file`, `file_size` bytes long.
bool Read_Open(KVR_FILE& file, int64_t file_size, PanoramaContent& content, std::string& error) {
  if (file_size > INT_MAX) {
    error = "the file is larger than 2 GiB";
    return false;
  }
  file.Seek(0);
  if (!kvr_walk::Enter(file)) {
    error = "not a panorama file: it does not begin with a KVR_CHUNK_FILE chunk";
    return false;
  }
  Reader r{file, error};
  try {
    PanoramaContent read;
    if (!Walk_Sequence(r, KVR_CHUNK_HEADER_SIZE, file_size, "", "file",
                       [](int64_t, int, int) { return true; }) ||
        !Read_Static(r, read) || !Read_Animations(r, read))
      return false;
    content = std::move(read);
    return true;
  } catch (const std::bad_alloc&) {
    return r.Fail("not enough memory to read the file");
  }
}

}  // namespace

bool Panorama_Read(const std::vector<uint8_t>& bytes, PanoramaContent& content, std::string& error) {
  if (bytes.size() > size_t(INT_MAX)) {
    error = "the file is larger than 2 GiB";
    return false;
  }
  KVR_FILE file;
  if (!file.Open_Tmp()) {
    error = "cannot open a temporary file";
    return false;
  }
  file.Write(bytes.data(), int(bytes.size()));
  if (file.Tell() != int(bytes.size())) {
    error = "cannot write the temporary file";
    return false;
  }
  return Read_Open(file, int64_t(bytes.size()), content, error);
}

bool Panorama_Read(const std::string& path, PanoramaContent& content, std::string& error) {
  std::error_code failed;
  const uintmax_t size = std::filesystem::file_size(path, failed);
  KVR_FILE file;
  if (failed || !file.Open(path.c_str(), "rb")) {
    error = "cannot read " + path + (failed ? ": " + failed.message() : std::string());
    return false;
  }
  if (Read_Open(file, size > uintmax_t(INT_MAX) ? int64_t(INT_MAX) + 1 : int64_t(size), content, error))
    return true;
  error = path + ": " + error;
  return false;
}
