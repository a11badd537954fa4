// Writes the seed inputs of fuzz_kvr_chunks, fuzz_dct_unpack, the scene
// targets and fuzz_dither into CORPUS/<target>/seed_*:
//   fuzz_make_kvr_seeds CORPUS
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "dct/dct_encode.h"
#include "fuzz/fuzz_dct_input.h"
#include "kvr_read/kvr_chunks.h"
#include "packing/byte_order.h"

namespace {

using Bytes = std::vector<uint8_t>;
namespace fs = std::filesystem;

void Write(const fs::path& folder, const std::string& name, const Bytes& bytes) {
  fs::create_directories(folder);
  std::ofstream out(folder / ("seed_" + name), std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

void Put(Bytes& b, int32_t v) {
  unsigned char le[4];
  Put_Le32(le, v);
  b.insert(b.end(), le, le + 4);
}

Bytes Chunk(int tag, const Bytes& payload) {
  Bytes b;
  Put(b, tag);
  Put(b, static_cast<int32_t>(payload.size() + 8));
  b.insert(b.end(), payload.begin(), payload.end());
  return b;
}

Bytes Join(std::initializer_list<Bytes> parts) {
  Bytes b;
  for (const Bytes& p : parts) b.insert(b.end(), p.begin(), p.end());
  return b;
}

Bytes Record(int param, const Bytes& data) {
  Bytes b;
  Put(b, param);
  Put(b, static_cast<int32_t>(data.size()));
  b.insert(b.end(), data.begin(), data.end());
  return b;
}

Bytes Animation(const char* name, const std::vector<Bytes>& frames, int loop) {
  Bytes b(KVR_ANIM_NAME_SIZE, 0);
  for (int i = 0; name[i] && i < KVR_ANIM_NAME_SIZE - 1; ++i) b[i] = static_cast<uint8_t>(name[i]);
  Put(b, static_cast<int32_t>(frames.size()));
  for (const Bytes& f : frames) {
    const Bytes c = Chunk(KVR_CHUNK_FRAME, f);
    b.insert(b.end(), c.begin(), c.end());
  }
  if (loop >= 0) {
    Bytes l;
    Put(l, loop);
    const Bytes c = Chunk(KVR_CHUNK_LOOP, l);
    b.insert(b.end(), c.begin(), c.end());
  }
  return b;
}

Bytes Frame(const std::vector<int>& blocks, const Bytes& data) {
  Bytes b;
  Put(b, static_cast<int32_t>(blocks.size()));
  for (int n : blocks) Put(b, n);
  const Bytes r = Record(75, data);
  b.insert(b.end(), r.begin(), r.end());
  return b;
}

std::vector<unsigned char> Picture(int w, int h) {
  std::vector<unsigned char> p(static_cast<size_t>(w) * h * 4);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      for (int c = 0; c < 3; ++c)
        p[(static_cast<size_t>(y) * w + x) * 4 + c] =
            static_cast<unsigned char>(128 + 100 * std::sin(x / (13.0 + c) + y / (31.0 + 4 * c)));
  return p;
}

void Chunk_Seeds(const fs::path& folder) {
  const Bytes data = {0xFF, 0xD8, 0xFF, 0xD9};
  const Bytes still = Chunk(KVR_CHUNK_STATIC_PIC, Record(90, data));
  const Bytes vr = Chunk(KVR_CHUNK_STATIC_VR, Record(90, data));
  const Bytes anim =
      Chunk(KVR_CHUNK_ANIMATION, Animation("water", {Frame({1, 2, 17}, data), {}, Frame({5}, data)}, 1));
  const Bytes plain_anim = Chunk(KVR_CHUNK_ANIMATION, Animation("door", {{}, Frame({0}, data)}, -1));
  Write(folder, "still", Chunk(KVR_CHUNK_FILE, still));
  Write(folder, "panorama_animations",
        Chunk(KVR_CHUNK_FILE, Join({vr, Chunk(0x55, {1, 2}), anim, plain_anim})));
  Write(folder, "both_statics", Chunk(KVR_CHUNK_FILE, Join({still, vr})));
  Write(folder, "zero_tag_end", Join({Chunk(KVR_CHUNK_FILE, Join({vr, Chunk(0, {})})), still}));
  Bytes cut = Chunk(KVR_CHUNK_FILE, Join({still, anim}));
  cut.resize(cut.size() - 5);
  Write(folder, "cut", cut);
  Bytes short_length = Chunk(KVR_CHUNK_FILE, Join({still, anim}));
  short_length[8 + 4] = 3;  // the first inner chunk claims 3 bytes
  Write(folder, "short_length", short_length);
}

void Dct_Seeds(const fs::path& folder) {
  std::vector<unsigned char> jpeg;
  // Whole pictures: bytes 1 and 2 are the size less 1.
  struct Size {
    int width, height, kind;
  };
  for (const Size& z : {Size{48, 32, 1}, Size{17, 9, 0}, Size{256, 256, 5}, Size{40, 24, 3}}) {
    const std::vector<unsigned char> picture = Picture(z.width, z.height);
    Dct_Encode_Picture(picture.data(), z.width, z.height, 30, jpeg);
    Write(folder, "picture_" + std::to_string(z.width) + "x" + std::to_string(z.height),
          Dct_Fuzz_Make(z.kind, uint8_t(z.width - 1), uint8_t(z.height - 1), {}, jpeg));
  }
  const std::vector<unsigned char> still = Picture(640, 480);
  const std::vector<int> three = {0, 41, 122};
  Dct_Encode_Blocks(still.data(), 640, 480, three.data(), 3, 60, jpeg);
  Write(folder, "blocks_640_16", Dct_Fuzz_Make(6, 1, 0, three, jpeg));
  Write(folder, "blocks_640_32", Dct_Fuzz_Make(7, 1, 0, three, jpeg));
  const std::vector<unsigned char> strip = Picture(256, 6144);
  std::vector<int> twenty;
  for (int i = 0; i < 20; ++i) twenty.push_back(i * 7);
  Dct_Encode_Blocks(strip.data(), 256, 6144, twenty.data(), 20, 40, jpeg);
  Write(folder, "blocks_256_15", Dct_Fuzz_Make(6, 0, 1, twenty, jpeg));
  Write(folder, "blocks_256_32", Dct_Fuzz_Make(7, 0, 0, twenty, jpeg));
}

Bytes Encoded_Frame(const std::vector<unsigned char>& picture, int w, int h, const std::vector<int>& blocks) {
  std::vector<unsigned char> jpeg;
  Dct_Encode_Blocks(picture.data(), w, h, blocks.data(), static_cast<int>(blocks.size()), 30, jpeg);
  return Frame(blocks, Bytes(jpeg.begin(), jpeg.end()));
}

// Loadable scenes with real compressed data, a cut TGA, and the chunk
// seeds: for fuzz_scene_load and fuzz_scene_animation.
// Scene files with real animation frames. The static pictures are small
// real streams, which the loaders refuse for their size at once: whole
// pictures are decoded by fuzz_dct_unpack, and a full-size stream here
// would take every run of these targets through a whole decode.
void Scene_Seeds(const fs::path& folder) {
  std::vector<unsigned char> jpeg;
  const std::vector<unsigned char> small = Picture(32, 16);
  Dct_Encode_Picture(small.data(), 32, 16, 10, jpeg);
  const Bytes small_jpeg(jpeg.begin(), jpeg.end());
  const std::vector<unsigned char> still = Picture(640, 480);
  const Bytes pic = Chunk(KVR_CHUNK_STATIC_PIC, Record(10, small_jpeg));
  const Bytes door = Chunk(
      KVR_CHUNK_ANIMATION,
      Animation("door", {Encoded_Frame(still, 640, 480, {0, 41}), {}, Encoded_Frame(still, 640, 480, {1199})},
                1));
  const Bytes fire = Chunk(KVR_CHUNK_ANIMATION, Animation("fire", {Encoded_Frame(still, 640, 480, {7})}, -1));
  Write(folder, "still_animations", Chunk(KVR_CHUNK_FILE, Join({pic, door, fire})));

  const std::vector<unsigned char> strip = Picture(256, 6144);
  const Bytes vr = Chunk(KVR_CHUNK_STATIC_VR, Record(5, small_jpeg));
  const Bytes sea =
      Chunk(KVR_CHUNK_ANIMATION, Animation("sea", {Encoded_Frame(strip, 256, 6144, {0, 6143}), {}}, 0));
  Write(folder, "panorama_animation", Chunk(KVR_CHUNK_FILE, Join({vr, sea})));
  Chunk_Seeds(folder);
}

// TGA stills of the reader's fuzz size: 24 bits top-down, 32 bits
// bottom-up with an identification field, and one cut short.
void Tga_Seeds(const fs::path& folder, int width, int height) {
  const auto header = [&](int depth, int descriptor, int id_length) {
    Bytes tga(18, 0);
    tga[0] = static_cast<uint8_t>(id_length);
    tga[2] = 2;
    tga[12] = static_cast<uint8_t>(width);
    tga[13] = static_cast<uint8_t>(width >> 8);
    tga[14] = static_cast<uint8_t>(height);
    tga[15] = static_cast<uint8_t>(height >> 8);
    tga[16] = static_cast<uint8_t>(depth);
    tga[17] = static_cast<uint8_t>(descriptor);
    tga.insert(tga.end(), size_t(id_length), 'i');
    return tga;
  };
  const std::vector<unsigned char> picture = Picture(width, height);
  Bytes top_down = header(24, 0x20, 0);
  for (size_t i = 0; i < picture.size(); ++i)
    if (i % 4 != 3) top_down.push_back(picture[i]);
  Write(folder, "tga_24_top_down", top_down);
  Bytes bottom_up = header(32, 0, 5);
  bottom_up.insert(bottom_up.end(), picture.begin(), picture.end());
  Write(folder, "tga_32_bottom_up", bottom_up);
  top_down.resize(top_down.size() / 3);
  Write(folder, "tga_cut", top_down);
}

// Pictures for the dither: bytes 0-2 are the width and height less 1 and
// the columns past the width.
void Dither_Seeds(const fs::path& folder) {
  struct Size {
    int width, height, extra;
  };
  for (const Size& z : {Size{32, 32, 0}, Size{1, 1, 0}, Size{17, 5, 3}, Size{2, 30, 7}}) {
    Bytes b = {uint8_t(z.width - 1), uint8_t(z.height - 1), uint8_t(z.extra)};
    const std::vector<unsigned char> picture = Picture(z.width, z.height);
    b.insert(b.end(), picture.begin(), picture.end());
    Write(folder, "dither_" + std::to_string(z.width) + "x" + std::to_string(z.height), b);
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: fuzz_make_kvr_seeds CORPUS\n");
    return 2;
  }
  const fs::path corpus = argv[1];
  Chunk_Seeds(corpus / "fuzz_kvr_chunks");
  Dct_Seeds(corpus / "fuzz_dct_unpack");
  Scene_Seeds(corpus / "fuzz_scene_load");
  Scene_Seeds(corpus / "fuzz_scene_animation");
  Scene_Seeds(corpus / "fuzz_kvr_animation");
  Tga_Seeds(corpus / "fuzz_scene_tga", 40, 30);
  Dither_Seeds(corpus / "fuzz_dither");
  return 0;
}
