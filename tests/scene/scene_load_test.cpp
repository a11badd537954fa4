// Load_Scene_Picture: the order in which the four kinds of file are tried,
// what each loader writes, the kinds and results, and the animation table.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/scene/scene_test_support.h"
#include "tests/support/temp_folder.h"

namespace {

using namespace scene_test;

// 640 x 480 stored pixels of a TGA whose stored row s has the on-grid blue
// 8 * (s % 32) and whose column x has the red 8 * (x % 32).
std::vector<uint8_t> Tga_Rows(int depth) {
  const int bytes = depth / 8;
  std::vector<uint8_t> p;
  p.reserve(size_t(640) * 480 * size_t(bytes));
  for (int s = 0; s < 480; ++s)
    for (int x = 0; x < 640; ++x) {
      p.push_back(uint8_t(8 * (s % 32)));
      p.push_back(0x40);
      p.push_back(uint8_t(8 * (x % 32)));
      if (bytes == 4) p.push_back(0x99);
    }
  return p;
}

uint16_t Tga_Pixel(int stored_row, int x) { return Rgb565(8 * (x % 32), 0x40, 8 * (stored_row % 32)); }

class SceneLoad : public ::testing::Test {
 protected:
  TempFolder folder;
  TestScene t;
  Scene& scene = t.scene;
  std::string Write(const std::string& name, const std::string& bytes) {
    folder.Write(name, bytes);
    return folder.Path(name);
  }
};

TEST_F(SceneLoad, TgaRowsRunBottomUpUnlessTheDescriptorSaysTopDown) {
  const std::string up = Write("up.tga", Tga(2, 640, 480, 24, 0, 5, Tga_Rows(24)));
  EXPECT_EQ(Load_Scene_Picture(scene, up.c_str()), 1);
  EXPECT_EQ(scene.picture_kind, kSceneKindTga);
  EXPECT_EQ(t.Still(0, 479), Tga_Pixel(0, 0));  // first stored row at the bottom
  EXPECT_EQ(t.Still(17, 0), Tga_Pixel(479, 17));
  EXPECT_EQ(t.Still(639, 240), Tga_Pixel(239, 639));

  const std::string down = Write("down.tga", Tga(2, 640, 480, 32, 0x20, 0, Tga_Rows(32)));
  EXPECT_EQ(Load_Scene_Picture(scene, down.c_str()), 1);
  EXPECT_EQ(t.Still(0, 0), Tga_Pixel(0, 0));
  EXPECT_EQ(t.Still(17, 479), Tga_Pixel(479, 17));
  EXPECT_EQ(t.Still(639, 240), Tga_Pixel(240, 639));
  EXPECT_EQ(scene.table.target_width, 0);
}

TEST_F(SceneLoad, RefusedTgaFilesEndAsRawPanoramas) {
  const struct {
    const char* what;
    int type, width, height, depth;
  } refused[] = {{"run-length", 10, 640, 480, 24},
                 {"16-bit", 2, 640, 480, 16},
                 {"wider", 2, 641, 480, 24},
                 {"turned", 2, 480, 640, 24},
                 {"colour-mapped", 1, 640, 480, 24}};
  for (const auto& r : refused) {
    const std::string path = Write("x.tga", Tga(r.type, r.width, r.height, r.depth, 0, 0, Tga_Rows(24)));
    EXPECT_EQ(Load_Tga_640_480(scene, path.c_str()), 0) << r.what;
    t.scene.picture_kind = 0;
    EXPECT_EQ(Load_Scene_Picture(scene, path.c_str()), 0) << r.what;
    EXPECT_EQ(scene.picture_kind, kSceneKindRaw) << r.what;
  }
}

TEST_F(SceneLoad, TgaCutShortKeepsWhatWasStoredAndBlackensTheRest) {
  std::vector<uint8_t> rows = Tga_Rows(24);
  rows.resize(size_t(640) * 3 * 2 + 30);  // two rows and ten pixels
  const std::string path = Write("cut.tga", Tga(2, 640, 480, 24, 0x20, 0, rows));
  ASSERT_EQ(Load_Tga_640_480(scene, path.c_str()), 1);
  EXPECT_EQ(t.Still(5, 1), Tga_Pixel(1, 5));
  EXPECT_EQ(t.Still(9, 2), Tga_Pixel(2, 9));
  EXPECT_EQ(t.Still(10, 2), 0);
  EXPECT_EQ(t.Still(300, 400), 0);
}

TEST_F(SceneLoad, CompressedPanoramaAndStillPicture) {
  const auto sky = Solid(256, 6144, 200, 120, 40);
  const auto room = Solid(640, 480, 16, 160, 240);
  const std::string vr = Write("a.kvr", Panorama(Static_Chunk(KVR_CHUNK_STATIC_VR, sky, 256, 6144)));
  const std::string pic = Write("b.kvr", Panorama(Static_Chunk(KVR_CHUNK_STATIC_PIC, room, 640, 480)));

  EXPECT_EQ(Load_Scene_Picture(scene, vr.c_str()), 0);
  EXPECT_EQ(scene.picture_kind, kSceneKindVr);
  EXPECT_EQ(scene.table.target_width, 256);
  EXPECT_EQ(scene.table.file_path, vr);
  for (int y : {0, 3000, 6143}) {
    EXPECT_LE(Distance_565(t.Tile(100, y), Rgb565(40, 120, 200)), 8) << y;
  }

  EXPECT_EQ(Load_Scene_Picture(scene, pic.c_str()), 3);
  EXPECT_EQ(scene.picture_kind, kSceneKindPic);
  EXPECT_EQ(scene.table.target_width, 640);
  EXPECT_LE(Distance_565(t.Still(639, 479), Rgb565(240, 160, 16)), 8);
}

TEST_F(SceneLoad, AFileWithBothStaticChunksLoadsAsAPanorama) {
  const auto sky = Solid(256, 6144, 0, 0, 248);
  const auto room = Solid(640, 480, 248, 0, 0);
  const std::string path = Write("both.kvr", Panorama(Static_Chunk(KVR_CHUNK_STATIC_PIC, room, 640, 480) +
                                                      Static_Chunk(KVR_CHUNK_STATIC_VR, sky, 256, 6144)));
  EXPECT_EQ(Load_Scene_Picture(scene, path.c_str()), 0);
  EXPECT_EQ(scene.picture_kind, kSceneKindVr);
  EXPECT_LE(Distance_565(t.Tile(0, 0), Rgb565(248, 0, 0)), 8);
  EXPECT_EQ(t.Still(0, 0), 0);  // the still picture was not touched
}

TEST_F(SceneLoad, PanoramaFilesWithoutAStaticChunkEndAsRawPanoramas) {
  const std::string none = Write("none.kvr", Panorama(Chunk(0x1234, "abcd")));
  EXPECT_EQ(Load_Scene_Picture(scene, none.c_str()), 0);
  EXPECT_EQ(scene.picture_kind, kSceneKindRaw);
  // A record whose byte count its chunk cannot hold is refused.
  const std::string damaged =
      Write("damaged.kvr", Panorama(Chunk(KVR_CHUNK_STATIC_VR, Le32(90) + Le32(1000) + "xyz")));
  EXPECT_EQ(Unpack_Static_Vr(damaged.c_str(), t.tiles.data(), 16), 0);
  const std::string negative =
      Write("negative.kvr", Panorama(Chunk(KVR_CHUNK_STATIC_PIC, Le32(90) + Le32(uint32_t(-4)))));
  EXPECT_EQ(Unpack_Static_Pic(negative.c_str(), t.tiles.data(), 16), 0);
}

TEST_F(SceneLoad, WhatCannotBeOpenedLeavesTheKindAsItWas) {
  scene.picture_kind = 77;
  EXPECT_EQ(Load_Scene_Picture(scene, folder.Path("missing.kvr").c_str()), -1);
  folder.Make_Folder("dir.kvr");
  EXPECT_EQ(Load_Scene_Picture(scene, folder.Path("dir.kvr").c_str()), -1);
  EXPECT_EQ(Load_Scene_Picture(scene, nullptr), -1);
  EXPECT_EQ(scene.picture_kind, 77);
  EXPECT_EQ(t.hooks.calls, "error;waves;overlays;error;waves;overlays;error;waves;overlays;");
}

TEST_F(SceneLoad, NamesAreFoundIgnoringCase) {
  Write("Room.Tga", Tga(2, 640, 480, 24, 0, 0, Tga_Rows(24)));
  EXPECT_EQ(Load_Scene_Picture(scene, folder.Path("ROOM.TGA").c_str()), 1);
}

TEST_F(SceneLoad, RawDumpsConvertEveryPixelFrom555To565) {
  // Words 0x7FFF (white), 0x8000 (top bit only), 0x03E0 (green), 0x001F.
  std::string words = Le32(0x80007FFF) + Le32(0x001F03E0) + "\x21";  // a lone last byte
  const std::string path = Write("raw.bin", words);
  for (auto& p : t.tiles) p = 0x7C00;  // what the file does not cover
  EXPECT_EQ(Load_Scene_Picture(scene, path.c_str()), 0);
  EXPECT_EQ(scene.picture_kind, kSceneKindRaw);
  EXPECT_EQ(t.tiles[0], 0xFFDF);
  EXPECT_EQ(t.tiles[1], 0x0000);
  EXPECT_EQ(t.tiles[2], 0x07C0);
  EXPECT_EQ(t.tiles[3], 0x001F);
  EXPECT_EQ(t.tiles[4], 0xF800);  // 0x7C00 converted all the same
  EXPECT_EQ(t.tiles.back(), 0xF800);
}

TEST_F(SceneLoad, HooksRunBeforeTheLoadAndAgainForAPanorama) {
  const std::string vr =
      Write("a.kvr", Panorama(Static_Chunk(KVR_CHUNK_STATIC_VR, Solid(256, 6144, 0, 0, 0), 256, 6144)));
  const std::string pic =
      Write("b.kvr", Panorama(Static_Chunk(KVR_CHUNK_STATIC_PIC, Solid(640, 480, 0, 0, 0), 640, 480)));
  Load_Scene_Picture(scene, vr.c_str());
  EXPECT_EQ(t.hooks.calls, "error;waves;overlays;overlays;");
  t.hooks.calls.clear();
  Load_Scene_Picture(scene, pic.c_str());
  EXPECT_EQ(t.hooks.calls, "error;waves;overlays;");
}

TEST_F(SceneLoad, TheTableListsTheAnimationsOfTheFileInOrder) {
  const auto room = Solid(640, 480, 0, 0, 0);
  const std::string path =
      Write("anims.kvr", Panorama(Static_Chunk(KVR_CHUNK_STATIC_PIC, room, 640, 480) +
                                  Animation_Chunk("door", 1, Empty_Frame()) + Chunk(0x55, "zz") +
                                  Animation_Chunk("fire", 2, Empty_Frame() + Empty_Frame()) +
                                  Animation_Chunk(std::string(32, 'n'), 0, "")));
  EXPECT_EQ(Count_Scene_Animations(path.c_str()), 3);
  ASSERT_EQ(Load_Scene_Picture(scene, path.c_str()), 3);
  ASSERT_EQ(scene.table.count, 3);
  EXPECT_STREQ(scene.table.names[0].data(), "door");
  EXPECT_STREQ(scene.table.names[1].data(), "fire");
  EXPECT_EQ(std::string(scene.table.names[2].data(), 32), std::string(32, 'n'));
  EXPECT_EQ(scene.table.records[2].playing, 0);
  EXPECT_EQ(scene.table.records[2].frame_count, 0);

  // A failed compressed load leaves the table as it was.
  const std::string other = Write("other.bin", "not a panorama file");
  EXPECT_EQ(Load_Scene_Vr(scene, other.c_str()), 0);
  EXPECT_EQ(Load_Scene_Pic(scene, other.c_str()), 0);
  EXPECT_EQ(scene.table.count, 3);
  EXPECT_EQ(scene.table.file_path, path);

  // A file without animations leaves no arrays; TGA and raw loads empty it.
  const std::string plain = Write("plain.kvr", Panorama(Static_Chunk(KVR_CHUNK_STATIC_PIC, room, 640, 480)));
  EXPECT_EQ(Load_Scene_Picture(scene, plain.c_str()), 3);
  EXPECT_EQ(scene.table.count, 0);
  EXPECT_EQ(scene.table.names, nullptr);
  EXPECT_EQ(scene.table.records, nullptr);
  ASSERT_EQ(Load_Scene_Picture(scene, path.c_str()), 3);
  EXPECT_EQ(Load_Scene_Picture(scene, other.c_str()), 0);
  EXPECT_EQ(scene.table.count, 0);
  EXPECT_EQ(scene.table.names, nullptr);

  ASSERT_EQ(Load_Scene_Picture(scene, path.c_str()), 3);
  t.hooks.calls.clear();
  EXPECT_EQ(Free_Scene_Animations(scene), 1);
  EXPECT_EQ(scene.table.count, 0);
  EXPECT_EQ(scene.table.records, nullptr);
  EXPECT_EQ(t.hooks.calls, "overlays;");
}

TEST_F(SceneLoad, TheTableKeepsTheFirst4096Animations) {
  std::string inner = Static_Chunk(KVR_CHUNK_STATIC_PIC, Solid(640, 480, 0, 0, 0), 640, 480);
  for (int i = 0; i <= kSceneAnimationMax; ++i) inner += Animation_Chunk("a" + std::to_string(i), 0, "");
  const std::string path = Write("many.kvr", Panorama(inner));
  EXPECT_EQ(Count_Scene_Animations(path.c_str()), kSceneAnimationMax + 1);
  ASSERT_EQ(Load_Scene_Picture(scene, path.c_str()), 3);
  ASSERT_EQ(scene.table.count, kSceneAnimationMax);
  EXPECT_STREQ(scene.table.names[kSceneAnimationMax - 1].data(), "a4095");
}

TEST_F(SceneLoad, TheSceneFilePathIsCutAt1023Characters) {
  const std::string path =
      Write("p.kvr", Panorama(Static_Chunk(KVR_CHUNK_STATIC_PIC, Solid(640, 480, 0, 0, 0), 640, 480)));
  // The same file through a long but equivalent path: ./././...
  std::string longer = folder.Path();
  while (longer.size() < 1100) longer += "./";
  longer += "p.kvr";
  ASSERT_EQ(Load_Scene_Pic(scene, longer.c_str()), 1);
  EXPECT_EQ(scene.table.file_path, longer.substr(0, 1023));
}

TEST_F(SceneLoad, LoadsIntoAMissingTargetFail) {
  const std::string pic =
      Write("b.kvr", Panorama(Static_Chunk(KVR_CHUNK_STATIC_PIC, Solid(640, 480, 0, 0, 0), 640, 480)));
  const std::string tga = Write("t.tga", Tga(2, 640, 480, 24, 0, 0, Tga_Rows(24)));
  Scene empty;
  EXPECT_EQ(Load_Scene_Pic(empty, pic.c_str()), 0);
  EXPECT_EQ(Load_Tga_640_480(empty, tga.c_str()), 0);
  EXPECT_EQ(Load_Scene_Picture(empty, pic.c_str()), -1);
  PicturePtr small = Picture_New("warpfix", 320, 240, 16);
  empty.still = small.get();
  EXPECT_EQ(Load_Scene_Pic(empty, pic.c_str()), 0);
}

}  // namespace
