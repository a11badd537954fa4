#include "tools/panorama_report.h"

#include <climits>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <vector>

#include "kvr_read/kvr_read.h"
#include "kvr_read/kvr_walk.h"
#include "packing/byte_order.h"
#include "tools/file_io.h"
#include "tools/printable_text.h"

namespace {

constexpr int kFrameFieldsSize = 12;  // B, dct_param, N
// Top-level chunks listed one by one; a file made of millions of tiny
// chunks would otherwise make a report hundreds of times its size.
constexpr int64_t kChunksListed = 10000;

struct Walk {
  KVR_FILE file;
  int64_t file_size = 0;
  std::string text;

  void Line(int depth, const std::string& line) { text += std::string(size_t(depth) * 2, ' ') + line + "\n"; }
};

int32_t Int_At(KVR_FILE& file, int64_t pos) {
  file.Seek(int(pos));
  return kvr_walk::Read_Int(file);
}

std::string Kind_Name(int kind) {
  if (kind == KVR_TYPE_VR) return "panorama";
  if (kind == KVR_TYPE_PIC) return "still picture";
  return "none";
}

std::string Plain_Chunk_Line(int64_t pos, int tag, int size) {
  return Panorama_Tag_Name(tag) + " at " + std::to_string(pos) + ", " + std::to_string(size) + " bytes";
}

// The line of the chunk at `pos` with payload `size`, and what keeps a
// reader from using all of it.
std::string Chunk_Line(Walk& walk, int64_t pos, int tag, int size) {
  std::string line = Plain_Chunk_Line(pos, tag, size);
  const int32_t stored = Int_At(walk.file, pos + 4);
  if (stored < KVR_CHUNK_HEADER_SIZE)
    return line + " (the stored length " + std::to_string(stored) + " is below 8: the walk ends here)";
  const int64_t held = walk.file_size - pos - KVR_CHUNK_HEADER_SIZE;
  if (size > held) line += " (cut: the file holds " + std::to_string(held) + " of them)";
  return line;
}

void Report_Record(Walk& walk, int64_t pos, int size, int depth) {
  if (size < KVR_PICTURE_RECORD_HEADER) {
    walk.Line(depth, "record: " + std::to_string(size) + " bytes, less than dct_param and N");
    return;
  }
  const int64_t payload = pos + KVR_CHUNK_HEADER_SIZE;
  walk.Line(depth, "dct_param: " + std::to_string(Int_At(walk.file, payload)));
  const int32_t n = Int_At(walk.file, payload + 4);
  std::string line = "data: " + std::to_string(n) + " bytes";
  if (n < 0 || n > size - KVR_PICTURE_RECORD_HEADER)
    line += " (more than the chunk holds: the record is refused)";
  walk.Line(depth, line);
}

struct FrameCounts {
  int counted = 0;
  int empty = 0;
  int damaged = 0;
  int others = 0;
  int stray_loops = 0;
  int64_t blocks = 0;
  std::optional<int32_t> loop;
};

// A frame's B and N must lie inside its payload, as the players require.
void Count_Frame(Walk& walk, int64_t pos, int size, FrameCounts& counts) {
  ++counts.counted;
  if (size == 0) {
    ++counts.empty;
    return;
  }
  const int64_t payload = pos + KVR_CHUNK_HEADER_SIZE;
  const int32_t b = size >= kFrameFieldsSize ? Int_At(walk.file, payload) : -1;
  if (b < 0 || b > (size - kFrameFieldsSize) / 4) {
    ++counts.damaged;
    return;
  }
  const int32_t n = Int_At(walk.file, payload + 8 + 4 * int64_t(b));
  if (n < 0 || n > size - kFrameFieldsSize - 4 * b) {
    ++counts.damaged;
    return;
  }
  counts.blocks += b;
}

// Walks the chunk sequence of an animation from `start` to `end`. The loop
// chunk counts only right after the frame_count-th frame, where playback
// looks for it.
FrameCounts Count_Frames(Walk& walk, int64_t start, int64_t end, int32_t frame_count) {
  FrameCounts counts;
  bool at_loop_point = false;
  int64_t pos = start;
  while (pos < end) {
    int tag = 0;
    int size = 0;
    walk.file.Seek(int(pos));
    walk.file.Get_Chunck(&tag, &size);
    if (tag == 0) break;
    const bool loop_point = at_loop_point;
    at_loop_point = false;
    if (tag == KVR_CHUNK_FRAME) {
      Count_Frame(walk, pos, size, counts);
      at_loop_point = counts.counted == frame_count;
    } else if (tag == KVR_CHUNK_LOOP && loop_point) {
      counts.loop = Int_At(walk.file, pos + KVR_CHUNK_HEADER_SIZE);
    } else if (tag == KVR_CHUNK_LOOP) {
      ++counts.stray_loops;
    } else {
      ++counts.others;
    }
    walk.file.Seek(int(pos));
    walk.file.Next_Chunck();
    const int64_t next = walk.file.Tell();
    if (next <= pos) break;
    pos = next;
  }
  return counts;
}

std::string Frames_Line(const FrameCounts& counts) {
  std::string line = "frames: " + std::to_string(counts.counted) + " counted, " +
                     std::to_string(counts.empty) + " empty, " + std::to_string(counts.blocks) + " blocks";
  if (counts.damaged) line += ", " + std::to_string(counts.damaged) + " damaged";
  if (counts.others) line += ", " + std::to_string(counts.others) + " other chunks";
  return line;
}

std::string Loop_Line(const FrameCounts& counts, int32_t frame_count) {
  if (!counts.loop) return "loop: none";
  std::string line = "loop: " + std::to_string(*counts.loop);
  if (*counts.loop < 0 || *counts.loop >= frame_count)
    line += " (outside 0 .. " + std::to_string(int64_t(frame_count) - 1) +
            ": playback ends after the last frame)";
  return line;
}

void Report_Animation(Walk& walk, int64_t pos, int size, int depth) {
  if (size < KVR_ANIM_HEADER_SIZE) {
    walk.Line(depth, "header: " + std::to_string(size) + " bytes, less than the name and frame count");
    return;
  }
  const int64_t payload = pos + KVR_CHUNK_HEADER_SIZE;
  char name[KVR_ANIM_NAME_SIZE] = {};
  walk.file.Seek(int(payload));
  walk.file.Read(name, KVR_ANIM_NAME_SIZE);
  const int32_t frame_count = Int_At(walk.file, payload + KVR_ANIM_NAME_SIZE);
  walk.Line(depth, "name: \"" + Printable_Text(kvr_walk::Stored_Name(name)) + "\"");
  walk.Line(depth, "frame count: " + std::to_string(frame_count));
  const int64_t end = std::min(payload + size, walk.file_size);
  const FrameCounts counts = Count_Frames(walk, payload + KVR_ANIM_HEADER_SIZE, end, frame_count);
  walk.Line(depth, Frames_Line(counts));
  walk.Line(depth, Loop_Line(counts, frame_count));
  if (counts.stray_loops)
    walk.Line(depth, "loop chunks elsewhere: " + std::to_string(counts.stray_loops) + " (never used)");
}

std::string End_Line(const Walk& walk, int64_t pos) {
  const int64_t left = walk.file_size - pos;
  std::string line = "end at " + std::to_string(pos) + ": ";
  if (left <= 0) return line + "end of file";
  if (left < KVR_CHUNK_HEADER_SIZE)
    return line + "end of file, inside a header of " + std::to_string(left) + " bytes";
  return line + "0 tag";
}

// The top-level sequence, walked as every reader walks it: until a 0 tag
// or the end of the file, whatever the outer chunk's length says.
void Report_Sequence(Walk& walk) {
  int64_t pos = KVR_CHUNK_HEADER_SIZE;
  int64_t unlisted = 0;
  for (int64_t chunk = 0;; ++chunk) {
    int tag = 0;
    int size = 0;
    walk.file.Seek(int(pos));
    walk.file.Get_Chunck(&tag, &size);
    if (tag == 0) break;
    if (chunk >= kChunksListed) {
      ++unlisted;
    } else {
      walk.Line(1, Chunk_Line(walk, pos, tag, size));
      if (tag == KVR_CHUNK_STATIC_VR || tag == KVR_CHUNK_STATIC_PIC) Report_Record(walk, pos, size, 2);
      if (tag == KVR_CHUNK_ANIMATION) Report_Animation(walk, pos, size, 2);
    }
    walk.file.Seek(int(pos));
    walk.file.Next_Chunck();
    const int64_t next = walk.file.Tell();
    if (next <= pos) break;
    pos = next;
  }
  if (unlisted) walk.Line(1, std::to_string(unlisted) + " more chunks, not listed");
  walk.Line(1, End_Line(walk, pos));
}

}  // namespace

std::string Panorama_Tag_Name(int tag) {
  switch (tag) {
    case KVR_CHUNK_FILE: return "KVR_CHUNK_FILE";
    case KVR_CHUNK_STATIC_VR: return "KVR_CHUNK_STATIC_VR";
    case KVR_CHUNK_STATIC_PIC: return "KVR_CHUNK_STATIC_PIC";
    case KVR_CHUNK_ANIMATION: return "KVR_CHUNK_ANIMATION";
    case KVR_CHUNK_FRAME: return "KVR_CHUNK_FRAME";
    case KVR_CHUNK_LOOP: return "KVR_CHUNK_LOOP";
    default: break;
  }
  char hex[11];
  std::snprintf(hex, sizeof hex, "0x%08X", static_cast<unsigned>(tag));
  return hex;
}

bool Panorama_Report(const std::string& path, std::string& text, std::string& error) {
  std::vector<uint8_t> head;
  if (!Read_File_Start(path, KVR_CHUNK_HEADER_SIZE, head, error)) return false;
  if (head.size() < size_t(KVR_CHUNK_HEADER_SIZE) || Le_I32(head.data()) != KVR_CHUNK_FILE) {
    error = path + " is not a panorama file (it does not begin with a KVR_CHUNK_FILE chunk)";
    return false;
  }
  Walk walk;
  std::error_code failed;
  walk.file_size = int64_t(std::filesystem::file_size(path, failed));
  if (failed || walk.file_size > INT_MAX || !walk.file.Open(path.c_str(), "rb")) {
    error = failed                     ? "cannot read " + path + ": " + failed.message()
            : walk.file_size > INT_MAX ? path + " is larger than 2 GiB"
                                       : "cannot open " + path;
    return false;
  }
  int tag = 0;
  int size = 0;
  walk.file.Get_Chunck(&tag, &size);
  walk.Line(0, "kind: " + Kind_Name(Kvr_Get_Vr_Type(path.c_str())));
  // Readers do not use the outer chunk's length: nothing to say about it.
  walk.Line(0, Plain_Chunk_Line(0, tag, size));
  Report_Sequence(walk);
  text = std::move(walk.text);
  return true;
}
