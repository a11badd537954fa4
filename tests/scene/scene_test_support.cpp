#include "tests/scene/scene_test_support.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

#include "dct/dct.h"
#include "dct/dct_encode.h"

namespace scene_test {

std::string Le32(uint32_t v) {
  std::string s(4, '\0');
  for (int i = 0; i < 4; ++i) s[size_t(i)] = static_cast<char>(v >> (8 * i));
  return s;
}

std::string Chunk(int tag, const std::string& payload) {
  return Le32(uint32_t(tag)) + Le32(uint32_t(payload.size() + 8)) + payload;
}

std::string Panorama(const std::string& inner) { return Chunk(KVR_CHUNK_FILE, inner); }

std::vector<uint8_t> Solid(int width, int height, uint8_t b, uint8_t g, uint8_t r) {
  std::vector<uint8_t> p(size_t(width) * size_t(height) * 4, 0);
  for (size_t i = 0; i < p.size(); i += 4) {
    p[i] = b;
    p[i + 1] = g;
    p[i + 2] = r;
  }
  return p;
}

void Paint_Block(std::vector<uint8_t>& pixels, int width, int number, uint8_t b, uint8_t g, uint8_t r) {
  const int columns = width / DCT_BLOCK_SIZE;
  const int x0 = number % columns * DCT_BLOCK_SIZE;
  const int y0 = number / columns * DCT_BLOCK_SIZE;
  for (int y = y0; y < y0 + DCT_BLOCK_SIZE; ++y)
    for (int x = x0; x < x0 + DCT_BLOCK_SIZE; ++x) {
      uint8_t* p = &pixels[(size_t(y) * size_t(width) + size_t(x)) * 4];
      p[0] = b;
      p[1] = g;
      p[2] = r;
    }
}

std::string Static_Chunk(int tag, const std::vector<uint8_t>& pixels, int width, int height, int quality) {
  std::vector<unsigned char> data;
  if (!Dct_Encode_Picture(pixels.data(), width, height, quality, data))
    throw std::runtime_error("picture encoding failed");
  return Chunk(tag,
               Le32(uint32_t(quality)) + Le32(uint32_t(data.size())) + std::string(data.begin(), data.end()));
}

std::string Frame_Chunk(const std::vector<uint8_t>& pixels, int width, int height,
                        const std::vector<int>& blocks, int quality) {
  std::vector<unsigned char> data;
  if (!Dct_Encode_Blocks(pixels.data(), width, height, blocks.data(), int(blocks.size()), quality, data))
    throw std::runtime_error("block encoding failed");
  std::string payload = Le32(uint32_t(blocks.size()));
  for (int b : blocks) payload += Le32(uint32_t(b));
  payload += Le32(uint32_t(quality)) + Le32(uint32_t(data.size()));
  payload.append(data.begin(), data.end());
  return Chunk(KVR_CHUNK_FRAME, payload);
}

std::string Empty_Frame() { return Chunk(KVR_CHUNK_FRAME, ""); }

std::string Loop_Chunk(int loop) { return Chunk(KVR_CHUNK_LOOP, Le32(uint32_t(loop))); }

std::string Animation_Chunk(const std::string& name, int frame_count, const std::string& sequence) {
  std::string stored(KVR_ANIM_NAME_SIZE, '\0');
  std::memcpy(stored.data(), name.data(), std::min(name.size(), stored.size()));
  return Chunk(KVR_CHUNK_ANIMATION, stored + Le32(uint32_t(frame_count)) + sequence);
}

std::string Tga(int image_type, int width, int height, int depth, int descriptor, int id_length,
                const std::vector<uint8_t>& stored) {
  std::string h(18, '\0');
  h[0] = char(id_length);
  h[2] = char(image_type);
  h[12] = char(width & 0xFF);
  h[13] = char(width >> 8);
  h[14] = char(height & 0xFF);
  h[15] = char(height >> 8);
  h[16] = char(depth);
  h[17] = char(descriptor);
  return h + std::string(size_t(id_length), 'I') + std::string(stored.begin(), stored.end());
}

uint16_t Rgb565(int r, int g, int b) { return uint16_t((r >> 3) << 11 | (g >> 2) << 5 | (b >> 3)); }

TestScene::TestScene() : tiles(size_t(kSceneVrPixels), 0), still(Picture_New("warpfix", 640, 480, 16)) {
  scene.tile_store = tiles.data();
  scene.still = still.get();
  scene.hooks = &hooks;
}

uint16_t TestScene::Still(int x, int y) const {
  const uint8_t* p = &still->pixels[(size_t(y) * 640 + size_t(x)) * 2];
  return uint16_t(p[0] | p[1] << 8);
}

int Distance_565(uint16_t a, uint16_t b) {
  const int dr = std::abs((a >> 11) - (b >> 11)) * 8;
  const int dg = std::abs(((a >> 5) & 63) - ((b >> 5) & 63)) * 4;
  const int db = std::abs((a & 31) - (b & 31)) * 8;
  return std::max({dr, dg, db});
}

}  // namespace scene_test
