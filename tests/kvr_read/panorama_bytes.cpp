#include "tests/kvr_read/panorama_bytes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

#include "dct/dct_encode.h"
#include "kvr_read/kvr_chunks.h"

namespace kvr_test {

std::string Panorama_File(const std::string& inner) { return Chunk(KVR_CHUNK_FILE, inner); }

std::string Picture_Chunk(uint32_t tag, int32_t dct_param, const std::string& data) {
  return Chunk(tag, Le32(static_cast<uint32_t>(dct_param)) + Le32(static_cast<uint32_t>(data.size())) + data);
}

std::string Name_Bytes(const std::string& name) {
  std::string bytes = name.substr(0, KVR_ANIM_NAME_SIZE);
  bytes.resize(KVR_ANIM_NAME_SIZE, '\0');
  return bytes;
}

std::string Animation_Chunk(const std::string& name, int32_t frames, const std::string& sequence) {
  return Chunk(static_cast<uint32_t>(KVR_CHUNK_ANIMATION),
               Name_Bytes(name) + Le32(static_cast<uint32_t>(frames)) + sequence);
}

std::string Frame_Chunk(const std::vector<int>& blocks, int32_t dct_param, const std::string& data) {
  std::string payload = Le32(static_cast<uint32_t>(blocks.size()));
  for (int b : blocks) payload += Le32(static_cast<uint32_t>(b));
  payload += Le32(static_cast<uint32_t>(dct_param)) + Le32(static_cast<uint32_t>(data.size())) + data;
  return Chunk(static_cast<uint32_t>(KVR_CHUNK_FRAME), payload);
}

std::string Empty_Frame() { return Chunk(static_cast<uint32_t>(KVR_CHUNK_FRAME), ""); }

std::string Loop_Chunk(int32_t frame) {
  return Chunk(static_cast<uint32_t>(KVR_CHUNK_LOOP), Le32(static_cast<uint32_t>(frame)));
}

Pixels Grey_Picture(int width, int height, uint8_t grey) {
  Pixels p(static_cast<size_t>(width) * height * 4, grey);
  for (size_t i = 3; i < p.size(); i += 4) p[i] = 0;
  return p;
}

Pixels Smooth_Picture(int width, int height) {
  Pixels p(static_cast<size_t>(width) * height * 4, 0);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      unsigned char* px = &p[(static_cast<size_t>(y) * width + x) * 4];
      px[0] = static_cast<unsigned char>(128 + 60 * std::sin(x / 40.0 + y / 90.0));
      px[1] = static_cast<unsigned char>(128 + 60 * std::cos(y / 50.0));
      px[2] = static_cast<unsigned char>(128 + 60 * std::sin((x + y) / 70.0));
    }
  }
  return p;
}

namespace {

std::string As_String(const std::vector<unsigned char>& v) { return std::string(v.begin(), v.end()); }

}  // namespace

std::string Encode_Picture(const Pixels& pixels, int width, int height, int quality) {
  std::vector<unsigned char> out;
  EXPECT_EQ(Dct_Encode_Picture(pixels.data(), width, height, quality, out), 1);
  return As_String(out);
}

std::string Encode_Blocks(const Pixels& pixels, int width, int height, const std::vector<int>& blocks,
                          int quality) {
  std::vector<unsigned char> out;
  EXPECT_EQ(Dct_Encode_Blocks(pixels.data(), width, height, blocks.data(), static_cast<int>(blocks.size()),
                              quality, out),
            1);
  return As_String(out);
}

std::string Grey_Frame(const std::vector<int>& blocks, uint8_t grey) {
  static constexpr int kQuality = 100;
  return Frame_Chunk(blocks, kQuality,
                     Encode_Blocks(Grey_Picture(640, 480, grey), 640, 480, blocks, kQuality));
}

Difference Compare(const Pixels& decoded, const Pixels& source) {
  Difference d;
  long total = 0;
  long channels = 0;
  for (size_t i = 0; i + 3 < decoded.size() && i + 3 < source.size(); i += 4) {
    for (size_t c = 0; c < 3; ++c) {
      const int e = std::abs(int{decoded[i + c]} - int{source[i + c]});
      d.max = std::max(d.max, e);
      total += e;
      ++channels;
    }
  }
  d.mean = channels ? static_cast<double>(total) / static_cast<double>(channels) : 0;
  return d;
}

std::vector<ChangedBlock> Changed_Blocks(const Pixels& picture, int width, const Pixels& background) {
  std::vector<ChangedBlock> changed;
  const int height = static_cast<int>(picture.size() / 4 / static_cast<size_t>(width));
  const int columns = width / kBlockSide;
  const int blocks = columns * (height / kBlockSide);
  for (int n = 0; n < blocks; ++n) {
    const int x0 = (n % columns) * kBlockSide;
    const int y0 = (n / columns) * kBlockSide;
    bool differs = false;
    for (int y = y0; y < y0 + kBlockSide && !differs; ++y) {
      const size_t row = (static_cast<size_t>(y) * width + x0) * 4;
      for (size_t i = row; i < row + kBlockSide * 4; ++i) {
        if (picture[i] != background[i]) {
          differs = true;
          break;
        }
      }
    }
    if (differs) changed.push_back({n, picture[(static_cast<size_t>(y0) * width + x0) * 4]});
  }
  return changed;
}

}  // namespace kvr_test
