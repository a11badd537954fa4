// Writing panorama files (layout in kvr_read/kvr_chunks.h): one static
// picture, a compressed panorama strip or a still picture, and any number
// of animations whose frames list the blocks that changed.
//
// The file is written through KVR_FILE into a temporary file and handed
// back as bytes, so that a caller replaces its target only with a complete
// file. Pixels are 4 bytes (blue, green, red, unused), rows top to bottom.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

enum class PanoramaKind {
  kVr,   // KVR_CHUNK_STATIC_VR: the 256 x 6144 strip
  kPic,  // KVR_CHUNK_STATIC_PIC: a 640 x 480 still picture
};

int Panorama_Width(PanoramaKind kind);
int Panorama_Height(PanoramaKind kind);
// The static chunk's tag.
int Panorama_Static_Tag(PanoramaKind kind);

inline constexpr int kPanoramaQualityDefault = 90;
// Characters of an animation name: the stored 32 bytes end with a NUL.
inline constexpr int kPanoramaNameMax = 31;

// One frame: the changed blocks (numbered as dct/dct.h says) and their
// compressed data, or no blocks at all (and dct_param 0, no data) for an
// empty frame chunk.
struct PanoramaFrame {
  std::vector<int> blocks;
  int dct_param = 0;
  std::vector<uint8_t> data;

  bool operator==(const PanoramaFrame&) const = default;
};

struct PanoramaAnimation {
  std::string name;
  std::vector<PanoramaFrame> frames;
  std::optional<int> loop;  // the frame playback goes on with after the last

  bool operator==(const PanoramaAnimation&) const = default;
};

struct PanoramaContent {
  PanoramaKind kind = PanoramaKind::kVr;
  int dct_param = 0;          // of the static picture
  std::vector<uint8_t> data;  // the compressed static picture
  std::vector<PanoramaAnimation> animations;

  bool operator==(const PanoramaContent&) const = default;
};

// Compresses the static picture (width x height of content.kind) at
// quality 1 .. 100 into content.data, with the quality as its dct_param.
bool Panorama_Encode_Static(const uint8_t* pixels, int quality, PanoramaContent& content, std::string& error);

// Makes the frames of one animation from its whole pictures, one at a time:
// each frame holds the blocks that differ from the picture before it (the
// first frame compares with the picture given at construction, the static
// picture), compressed at `quality`; a frame that changes nothing is empty.
class AnimationEncoder {
 public:
  // `start` holds Panorama_Width x Panorama_Height pixels of `kind`.
  AnimationEncoder(PanoramaKind kind, int quality, const uint8_t* start);
  // `pixels` holds a whole picture. False with a message when the blocks
  // cannot be compressed.
  bool Add_Frame(const uint8_t* pixels, std::string& error);
  const std::vector<PanoramaFrame>& Frames() const { return frames_; }
  std::vector<PanoramaFrame> Take_Frames() { return std::move(frames_); }

 private:
  PanoramaKind kind_;
  int quality_;
  std::vector<uint8_t> previous_;
  std::vector<PanoramaFrame> frames_;
};

// True when the content can be written: a static picture, every animation
// named by 1 .. kPanoramaNameMax characters without NUL and no two alike,
// at least one frame, a loop point in 0 .. frames - 1, block numbers inside
// the picture and listed at most once per frame, an empty frame without
// data and with dct_param 0 (its chunk stores neither), and the whole file
// within 2 GiB. False with a message otherwise.
bool Panorama_Check(const PanoramaContent& content, std::string& error);

// The whole panorama file: KVR_CHUNK_FILE holding the static chunk, then
// the animations in order, each its frames and its loop chunk when it has
// a loop point. False with a message (and `out` empty) when the check
// fails or the file cannot be written.
bool Panorama_File_Bytes(const PanoramaContent& content, std::vector<uint8_t>& out, std::string& error);
