// Panorama files, TGA files and pictures made byte by byte for the scene
// tests, and a scene with both targets and recorded hooks.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "pictures/picture.h"
#include "scene/scene_picture.h"

namespace scene_test {

std::string Le32(uint32_t v);
std::string Chunk(int tag, const std::string& payload);
// The outer KVR_CHUNK_FILE chunk around an inner sequence.
std::string Panorama(const std::string& inner);

// 4-byte pixels (blue, green, red, 0) of one colour.
std::vector<uint8_t> Solid(int width, int height, uint8_t b, uint8_t g, uint8_t r);
// Paints block `number` (16 x 16, numbered row by row) of a picture.
void Paint_Block(std::vector<uint8_t>& pixels, int width, int number, uint8_t b, uint8_t g, uint8_t r);

// A static chunk (KVR_CHUNK_STATIC_VR or _PIC) holding the picture encoded
// at `quality` (stored as dct_param).
std::string Static_Chunk(int tag, const std::vector<uint8_t>& pixels, int width, int height,
                         int quality = 95);
// A frame chunk with the listed blocks of `pixels` (a whole picture).
std::string Frame_Chunk(const std::vector<uint8_t>& pixels, int width, int height,
                        const std::vector<int>& blocks, int quality = 95);
std::string Empty_Frame();
std::string Loop_Chunk(int loop);
// An animation chunk: 32-byte name, frame count, then the chunk sequence.
std::string Animation_Chunk(const std::string& name, int frame_count, const std::string& sequence);

// A TGA file: 18-byte header, `id_length` bytes of identification, then
// the pixels as stored (3 or 4 bytes each, file row order).
std::string Tga(int image_type, int width, int height, int depth, int descriptor, int id_length,
                const std::vector<uint8_t>& stored);

uint16_t Rgb565(int r, int g, int b);

// What the loaders asked of the engine, in order.
class RecordingHooks : public SceneHooks {
 public:
  void Movie_Free_Overlays() override { calls += "overlays;"; }
  void Clear_Script_Error() override { calls += "error;"; }
  void Clear_Waves() override { calls += "waves;"; }
  std::string calls;
};

// A scene with a tile store, a 640 x 480 still picture and recorded hooks.
struct TestScene {
  TestScene();
  std::vector<uint16_t> tiles;
  PicturePtr still;
  RecordingHooks hooks;
  Scene scene;
  uint16_t Still(int x, int y) const;
  uint16_t Tile(int x, int y) const { return tiles[size_t(y) * KVR_VR_WIDTH + size_t(x)]; }
};

// Channel distance of two RGB565 pixels, the largest of red, green, blue
// in 8-bit units.
int Distance_565(uint16_t a, uint16_t b);

}  // namespace scene_test
