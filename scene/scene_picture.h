// Scene pictures: the one picture every warp shows, loaded from the file the
// script names into one of two fixed targets, the projection renderer's tile
// store (a panorama, 256 x 6144 RGB565 pixels) or the still picture
// "warpfix" (640 x 480 RGB565). Four kinds of file are tried in this order:
// an uncompressed 640 x 480 TGA, a panorama file holding a compressed
// panorama, a panorama file holding a compressed still picture, and a raw
// panorama dump. For panorama files the scene keeps the animation table: the
// animations stored in the file, each played block by block into the scene
// picture.
//
// Files are opened directly, by the game's name for them resolved ignoring
// case (platform/files/path_resolve.h); memory files and the data archive are
// the caller's fallback when everything fails.
//
// Pixels: every 16-bit engine buffer is RGB565 and the display converts at
// presentation, so the engine's loaders always unpack RGB565 whatever the
// display format (RGB555 in the tile store would show wrong colours on a
// 5-5-5 card, and animation blocks, always RGB565, would not match it).
// The format argument of Unpack_Static_Vr and Unpack_Static_Pic stays for
// callers that want RGB555.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "kvr_read/kvr_chunks.h"
#include "kvr_read/kvr_read.h"

struct Picture;

// Picture kinds, as the engine core reads them after Load_Scene_Picture.
inline constexpr int kSceneKindTga = 1;
inline constexpr int kSceneKindVr = 0x10;
inline constexpr int kSceneKindPic = 3;
inline constexpr int kSceneKindRaw = 0x20;

inline constexpr int kScenePathMax = 1023;  // characters of the scene file path
// Animations the table keeps, the first ones of the file: a file of nothing
// but empty animation chunks would otherwise make the table eight times its
// own size.
inline constexpr int kSceneAnimationMax = 4096;
inline constexpr int kSceneStillWidth = 640;
inline constexpr int kSceneStillHeight = 480;
inline constexpr int kSceneStillPixels = kSceneStillWidth * kSceneStillHeight;
inline constexpr int kSceneVrPixels = KVR_VR_WIDTH * KVR_VR_HEIGHT;  // 1 572 864

// What the loaders ask of the rest of the engine.
class SceneHooks {
 public:
  virtual ~SceneHooks() = default;
  // Releases the overlay movies of the scene being left.
  virtual void Movie_Free_Overlays() = 0;
  // Clears the script error marker of the plug-in calls.
  virtual void Clear_Script_Error() = 0;
  // Clears the waves flag of the animation blocs.
  virtual void Clear_Waves() = 0;
};

// One animation of the scene file being played: the playing state of
// KVR_ANIM (its file open while the animation runs; the name is kept in the
// table's names instead) and the flags of the animation blocs.
struct SceneAnimation : KVR_ANIM {
  int playing = 0;      // set and cleared by the animation blocs
  int stop_at_end = 0;  // end after the last frame even when the file loops
  // The animation blocs' timing: the variable set to end_value when the
  // animation ends, the rate, the fraction of a frame carried over, and the
  // high-resolution counter of the last step with its frequency.
  std::string end_var;
  int32_t end_value = 0;
  float fps = 25.0f;
  float accumulator = 0.0f;
  uint64_t last_counter = 0;
  uint64_t counter_frequency = 0;
};

using SceneAnimationName = std::array<char, KVR_ANIM_NAME_SIZE>;

// The animations of the scene file last loaded.
struct SceneAnimationTable {
  // 256 when the animations draw into the tile store, 640 into the still
  // picture, 0 after any other load.
  int target_width = 0;
  std::string file_path;  // the scene file, at most kScenePathMax characters
  int count = 0;          // at most kSceneAnimationMax
  // `count` entries each; null when count is 0.
  std::unique_ptr<SceneAnimationName[]> names;
  std::unique_ptr<SceneAnimation[]> records;
};

// The engine's scene: the two targets, the kind of the last load and the
// animation table. A load into a missing target fails.
struct Scene {
  uint16_t* tile_store = nullptr;  // kSceneVrPixels, from ORV_VR::Buffer
  Picture* still = nullptr;        // "warpfix": 640 x 480, 16 bits
  int picture_kind = 0;
  SceneAnimationTable table;
  SceneHooks* hooks = nullptr;  // may be null in tools
};

// Loads the scene picture: 1 (TGA still picture), 0 (a panorama, in the tile
// store; kind 0x10 compressed or 0x20 raw), 3 (compressed still picture) or
// -1 when the file cannot be opened. Sets scene.picture_kind except for -1.
int Load_Scene_Picture(Scene& scene, const char* path);

// A 640 x 480 true-colour TGA (type 2, 24 or 32 bits) into the still
// picture, dithered to RGB565; the animation table is emptied. 1, or 0 when
// the file is missing or not acceptable.
int Load_Tga_640_480(Scene& scene, const char* path);
// The compressed panorama into the tile store, or the compressed still
// picture into the still picture; then the animation table is rebuilt from
// the file. 1, or 0 with the table untouched.
int Load_Scene_Vr(Scene& scene, const char* path);
int Load_Scene_Pic(Scene& scene, const char* path);
// A raw dump of RGB555 words into dest (kSceneVrPixels), then every pixel of
// dest rewritten to RGB565 (a short file leaves the rest converted as it
// was). 1 when the file could be opened, else 0.
int Load_Raw_Vr(const char* path, uint16_t* dest);

// The first KVR_CHUNK_STATIC_VR (256 x 6144) or KVR_CHUNK_STATIC_PIC
// (640 x 480) of the panorama file unpacked into dest: RGB555 when format is
// 15, else RGB565. 1, or 0 with dest untouched.
int Unpack_Static_Vr(const char* path, uint16_t* dest, int format);
int Unpack_Static_Pic(const char* path, uint16_t* dest, int format);

// The number of animations of the panorama file, 0 when it cannot be opened
// or is no panorama file.
int Count_Scene_Animations(const char* path);
// Copies the 32 name bytes of the first `max` animations, in file order,
// into names[0], names[1], ...
void Get_Scene_Animation_Names(const char* path, SceneAnimationName* names, int max);

// Opens the animation called `name` (exactly, case counts) into the record;
// 1 when found, the file then staying open in it.
int Open_Scene_Animation(const char* path, const char* name, SceneAnimation* record);
// Decodes the record's next frame into dest, a picture of `width` (256 or
// 640) pixel rows; depth 15 writes RGB555, any other RGB565. Returns 1 while
// the animation goes on, 0 when it has ended (its file then closed).
int Play_Scene_Animation_Frame(SceneAnimation* record, uint16_t* dest, int depth, int width);

// Releases the scene's overlay movies and the animation table (closing the
// files of animations still open); returns 1.
int Free_Scene_Animations(Scene& scene);

// Converts width x height 4-byte pixels (blue, green, red, unused) to RGB565
// rows of dest_width pixels in dest, by serpentine Floyd-Steinberg error
// diffusion in 16.16 integers.
void Dither_Rgb_32_To_565(const unsigned char* src, uint16_t* dest, int width, int height, int dest_width);
