#include "tools/panorama_writer.h"

#include <algorithm>
#include <climits>
#include <set>

#include "dct/dct.h"
#include "dct/dct_encode.h"
#include "kvr_read/kvr_chunks.h"
#include "kvr_read/kvr_file.h"
#include "kvr_read/kvr_walk.h"
#include "packing/byte_order.h"
#include "tools/changed_blocks.h"

namespace {

constexpr int kFrameFieldsSize = 12;  // B, dct_param, N

size_t Picture_Bytes(PanoramaKind kind) {
  return size_t(Panorama_Width(kind)) * size_t(Panorama_Height(kind)) * 4;
}

int Picture_Blocks(PanoramaKind kind) {
  return (Panorama_Width(kind) / DCT_BLOCK_SIZE) * (Panorama_Height(kind) / DCT_BLOCK_SIZE);
}

bool Quality_Ok(int quality, std::string& error) {
  if (quality >= 1 && quality <= 100) return true;
  error = "the quality " + std::to_string(quality) + " is not in 1 .. 100";
  return false;
}

// Payload sizes, in 64 bits so that no sum can wrap before the check.
int64_t Frame_Payload(const PanoramaFrame& frame) {
  if (frame.blocks.empty()) return 0;
  return kFrameFieldsSize + 4 * int64_t(frame.blocks.size()) + int64_t(frame.data.size());
}

int64_t Animation_Payload(const PanoramaAnimation& animation) {
  int64_t size = KVR_ANIM_HEADER_SIZE;
  for (const PanoramaFrame& frame : animation.frames) size += KVR_CHUNK_HEADER_SIZE + Frame_Payload(frame);
  if (animation.loop) size += KVR_CHUNK_HEADER_SIZE + KVR_LOOP_PAYLOAD_SIZE;
  return size;
}

int64_t Static_Payload(const PanoramaContent& content) {
  return KVR_PICTURE_RECORD_HEADER + int64_t(content.data.size());
}

int64_t File_Payload(const PanoramaContent& content) {
  int64_t size = KVR_CHUNK_HEADER_SIZE + Static_Payload(content);
  for (const PanoramaAnimation& animation : content.animations)
    size += KVR_CHUNK_HEADER_SIZE + Animation_Payload(animation);
  return size;
}

bool Name_Ok(const std::string& name, std::string& error) {
  if (name.empty()) {
    error = "an animation name is empty";
    return false;
  }
  if (name.size() > size_t(kPanoramaNameMax)) {
    error = "the animation name \"" + name + "\" has " + std::to_string(name.size()) +
            " characters, more than the " + std::to_string(kPanoramaNameMax) + " a file stores";
    return false;
  }
  if (name.find('\0') != std::string::npos) {
    error = "an animation name holds a NUL byte";
    return false;
  }
  return true;
}

bool Frame_Ok(const PanoramaFrame& frame, int blocks, std::string& error) {
  if (frame.blocks.empty()) {
    if (frame.data.empty() && frame.dct_param == 0) return true;
    // An empty frame chunk has no payload: anything else would be lost.
    error = frame.data.empty() ? "a frame without blocks has the dct_param " + std::to_string(frame.dct_param)
                               : "a frame without blocks carries data";
    return false;
  }
  std::set<int> seen;
  for (int block : frame.blocks) {
    if (block < 0 || block >= blocks) {
      error = "the block number " + std::to_string(block) + " is outside the picture's 0 .. " +
              std::to_string(blocks - 1);
      return false;
    }
    if (!seen.insert(block).second) {
      error = "the block number " + std::to_string(block) + " is listed twice in a frame";
      return false;
    }
  }
  return true;
}

bool Animation_Ok(const PanoramaAnimation& animation, int blocks, std::string& error) {
  if (!Name_Ok(animation.name, error)) return false;
  const std::string where = "animation \"" + animation.name + "\": ";
  const int64_t frames = int64_t(animation.frames.size());
  if (frames == 0) {
    error = where + "it has no frames";
    return false;
  }
  if (animation.loop && (*animation.loop < 0 || *animation.loop >= frames)) {
    error = where + "the loop point " + std::to_string(*animation.loop) + " is not a frame of 0 .. " +
            std::to_string(frames - 1);
    return false;
  }
  for (const PanoramaFrame& frame : animation.frames)
    if (!Frame_Ok(frame, blocks, error)) {
      error = where + error;
      return false;
    }
  return true;
}

void Put_Int(KVR_FILE& file, int32_t value) {
  unsigned char bytes[4];
  Put_Le32(bytes, value);
  file.Write(bytes, 4);
}

void Put_Bytes(KVR_FILE& file, const std::vector<uint8_t>& bytes) {
  file.Write(bytes.data(), int(bytes.size()));
}

void Write_Frame(KVR_FILE& file, const PanoramaFrame& frame) {
  file.Write_Chunck(KVR_CHUNK_FRAME, int(Frame_Payload(frame)));
  if (frame.blocks.empty()) return;
  Put_Int(file, int32_t(frame.blocks.size()));
  for (int block : frame.blocks) Put_Int(file, block);
  Put_Int(file, frame.dct_param);
  Put_Int(file, int32_t(frame.data.size()));
  Put_Bytes(file, frame.data);
}

void Write_Animation(KVR_FILE& file, const PanoramaAnimation& animation) {
  file.Write_Chunck(KVR_CHUNK_ANIMATION, int(Animation_Payload(animation)));
  char name[KVR_ANIM_NAME_SIZE] = {};
  std::copy(animation.name.begin(), animation.name.end(), name);
  file.Write(name, KVR_ANIM_NAME_SIZE);
  Put_Int(file, int32_t(animation.frames.size()));
  for (const PanoramaFrame& frame : animation.frames) Write_Frame(file, frame);
  if (!animation.loop) return;
  file.Write_Chunck(KVR_CHUNK_LOOP, KVR_LOOP_PAYLOAD_SIZE);
  Put_Int(file, *animation.loop);
}

void Write_Content(KVR_FILE& file, const PanoramaContent& content) {
  file.Write_Chunck(KVR_CHUNK_FILE, int(File_Payload(content)));
  file.Write_Chunck(Panorama_Static_Tag(content.kind), int(Static_Payload(content)));
  Put_Int(file, content.dct_param);
  Put_Int(file, int32_t(content.data.size()));
  Put_Bytes(file, content.data);
  for (const PanoramaAnimation& animation : content.animations) Write_Animation(file, animation);
}

}  // namespace

int Panorama_Width(PanoramaKind kind) { return kind == PanoramaKind::kVr ? KVR_VR_WIDTH : KVR_PIC_WIDTH; }
int Panorama_Height(PanoramaKind kind) { return kind == PanoramaKind::kVr ? KVR_VR_HEIGHT : KVR_PIC_HEIGHT; }
int Panorama_Static_Tag(PanoramaKind kind) {
  return kind == PanoramaKind::kVr ? KVR_CHUNK_STATIC_VR : KVR_CHUNK_STATIC_PIC;
}

bool Panorama_Encode_Static(const uint8_t* pixels, int quality, PanoramaContent& content,
                            std::string& error) {
  if (!Quality_Ok(quality, error)) return false;
  if (!Dct_Encode_Picture(pixels, Panorama_Width(content.kind), Panorama_Height(content.kind), quality,
                          content.data)) {
    error = "the picture could not be compressed";
    return false;
  }
  content.dct_param = quality;
  return true;
}

AnimationEncoder::AnimationEncoder(PanoramaKind kind, int quality, const uint8_t* start)
    : kind_(kind), quality_(quality), previous_(start, start + Picture_Bytes(kind)) {}

bool AnimationEncoder::Add_Frame(const uint8_t* pixels, std::string& error) {
  if (!Quality_Ok(quality_, error)) return false;
  const int width = Panorama_Width(kind_);
  const int height = Panorama_Height(kind_);
  PanoramaFrame frame;
  frame.blocks = Changed_Blocks(previous_.data(), pixels, width, height);
  if (!frame.blocks.empty()) {
    if (!Dct_Encode_Blocks(pixels, width, height, frame.blocks.data(), int(frame.blocks.size()), quality_,
                           frame.data)) {
      error = "the changed blocks of frame " + std::to_string(frames_.size()) + " could not be compressed";
      return false;
    }
    frame.dct_param = quality_;
  }
  std::copy(pixels, pixels + previous_.size(), previous_.begin());
  frames_.push_back(std::move(frame));
  return true;
}

bool Panorama_Check(const PanoramaContent& content, std::string& error) {
  if (content.data.empty()) {
    error = "the static picture is missing";
    return false;
  }
  const int blocks = Picture_Blocks(content.kind);
  std::set<std::string> names;
  for (const PanoramaAnimation& animation : content.animations) {
    if (!Animation_Ok(animation, blocks, error)) return false;
    if (!names.insert(animation.name).second) {
      error = "two animations are named \"" + animation.name + "\" (only the first could be played)";
      return false;
    }
  }
  if (KVR_CHUNK_HEADER_SIZE + File_Payload(content) > INT_MAX) {
    error = "the file would be larger than 2 GiB";
    return false;
  }
  return true;
}

bool Panorama_File_Bytes(const PanoramaContent& content, std::vector<uint8_t>& out, std::string& error) {
  out.clear();
  if (!Panorama_Check(content, error)) return false;
  const int total = int(KVR_CHUNK_HEADER_SIZE + File_Payload(content));
  KVR_FILE file;
  if (!file.Open_Tmp()) {
    error = "cannot open a temporary file";
    return false;
  }
  Write_Content(file, content);
  const bool written = file.Tell() == total;
  file.Seek(0);
  if (!written || kvr_walk::Read_Bytes(file, total, out) != total) {
    out.clear();
    error = "cannot write the temporary file";
    return false;
  }
  return true;
}
