// kvrtool scene and raw, run as programs: the engine's scene loader on a
// TGA, built panorama and still files and raw dumps, and the exact words
// of a raw dump.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/tools/panorama_pictures.h"
#include "tests/support/temp_folder.h"
#include "tests/tools/tool_run.h"
#include "tools/face_strip.h"

namespace {

using Bytes = std::vector<uint8_t>;

bool Starts_With(const std::string& text, const std::string& head) { return text.rfind(head, 0) == 0; }

void Expect_Run(const ToolRun& run, const std::string& out) {
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(run.out, out);
}

std::vector<uint16_t> Words(const std::string& bytes) {
  std::vector<uint16_t> words(bytes.size() / 2);
  for (size_t i = 0; i < words.size(); ++i)
    words[i] = uint16_t(uint8_t(bytes[2 * i]) | uint8_t(bytes[2 * i + 1]) << 8);
  return words;
}

// A colour per face, each channel a multiple of 8 so that it survives the
// cut to five bits whole.
Bytes Face_Colour(int face) { return {uint8_t(8 + 40 * face), uint8_t(200 - 24 * face), uint8_t(16 * face)}; }

std::vector<Pixels> Coloured_Faces() {
  std::vector<Pixels> faces;
  for (int f = 0; f < kFaceCount; ++f) {
    const Bytes c = Face_Colour(f);
    faces.push_back(Uniform_Picture(kFaceSize, kFaceSize, c[0], c[1], c[2]));
  }
  return faces;
}

TEST(KvrtoolScene, ATgaIsTheStillPictureDitheredToRgb565) {
  TempFolder t;
  Bytes tga = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x80, 0x02, 0xE0, 0x01, 24, 0x20};
  for (int i = 0; i < 640 * 480; ++i) tga.insert(tga.end(), {0x40, 0x84, 0xF8});  // blue, green, red
  t.Write("Warp.TGA", std::string(tga.begin(), tga.end()));
  Expect_Run(Run_Kvrtool({"scene", "warp.tga", "--raw", "out.bin"}, t.Path()),
             "result 1, kind 0x1 (TGA still picture)\nanimations: 0\n");
  const std::vector<uint16_t> words = Words(t.Read("out.bin").value_or(""));
  ASSERT_EQ(words.size(), 640u * 480u);
  // 31 << 11 | 33 << 5 | 8: on the grid, so the dither keeps it exactly.
  EXPECT_EQ(words, std::vector<uint16_t>(640 * 480, 0xFC28));
}

TEST(KvrtoolScene, BuiltPanoramaAndStillFilesLoadWithTheirAnimations) {
  TempFolder t;
  Write_Faces(t.Path("faces"), Coloured_Faces());
  t.Make_Folder("frames");
  Write_Faces(t.Path("frames/0"), Coloured_Faces());
  ASSERT_EQ(Run_Kvrtool({"vr", "build", "--faces", "faces", "--anim", "wind:frames", "--anim",
                         "rain:frames:0", "pano.kvr"},
                        t.Path())
                .status,
            0);
  Expect_Run(Run_Kvrtool({"scene", "pano.kvr", "--raw", "tiles.bin"}, t.Path()),
             "result 0, kind 0x10 (compressed panorama)\nanimations: 2\n  \"wind\"\n  \"rain\"\n");
  const std::vector<uint16_t> tiles = Words(t.Read("tiles.bin").value_or(""));
  ASSERT_EQ(tiles.size(), 256u * 6144u);
  // The middle of every tile holds its face's colour, in RGB565.
  for (int k = 0; k < 24; ++k) {
    const Bytes c = Face_Colour(kFaceOfGroup[size_t(k / 4)]);
    const uint16_t p = tiles[size_t(k) * 65536 + 128 * 256 + 128];
    EXPECT_NEAR((p >> 11) << 3, c[0], 8) << "tile " << k;
    EXPECT_NEAR(((p >> 5) & 0x3F) << 2, c[1], 8) << "tile " << k;
    EXPECT_NEAR((p & 0x1F) << 3, c[2], 8) << "tile " << k;
  }

  Write_Png(t.Path("still.png"), Smooth_Picture(640, 480, 2), 640, 480);
  t.Make_Folder("still_frames");
  Write_Png(t.Path("still_frames/0.png"), Smooth_Picture(640, 480, 2), 640, 480);
  ASSERT_EQ(Run_Kvrtool({"vr", "build", "--still", "still.png", "--anim", "door:still_frames", "still.kvr"},
                        t.Path())
                .status,
            0);
  Expect_Run(Run_Kvrtool({"scene", "still.kvr", "--raw", "still.bin"}, t.Path()),
             "result 3, kind 0x3 (compressed still picture)\nanimations: 1\n  \"door\"\n");
  EXPECT_EQ(t.Read("still.bin").value_or("").size(), 614400u);
  // Without --raw only the lines.
  Expect_Run(Run_Kvrtool({"scene", "still.kvr"}, t.Path()),
             "result 3, kind 0x3 (compressed still picture)\nanimations: 1\n  \"door\"\n");
}

TEST(KvrtoolRaw, WritesExactRgb555WordsThatTheSceneLoaderWidens) {
  TempFolder t;
  std::vector<Pixels> faces = Coloured_Faces();
  Paint(faces[0], kFaceSize, 300, 10, 301, 11, 255, 0, 0);  // up, top-right quarter: tile 9
  Paint(faces[0], kFaceSize, 5, 511, 6, 512, 8, 16, 24);    // up, bottom-left quarter: tile 11
  Write_Faces(t.Path("faces"), faces);
  Expect_Run(Run_Kvrtool({"raw", "faces", "dump.raw"}, t.Path()),
             "wrote dump.raw: raw panorama, 256 x 6144 RGB555 words\n");
  const std::string bytes = t.Read("dump.raw").value_or("");
  ASSERT_EQ(bytes.size(), 3145728u);
  const std::vector<uint16_t> words = Words(bytes);
  const size_t red = 9 * 65536 + 10 * 256 + 44;
  const size_t dim = 11 * 65536 + 255 * 256 + 5;
  EXPECT_EQ(words[red], 0x7C00);
  EXPECT_EQ(uint8_t(bytes[2 * dim]), 0x43);
  EXPECT_EQ(uint8_t(bytes[2 * dim + 1]), 0x04);
  // Face x- (faces[5], group 1: tiles 4..7) is (208, 80, 80): 26 << 10 | 10 << 5 | 10.
  EXPECT_EQ(words[4 * 65536], 0x694A);
  for (size_t i = 0; i < words.size(); ++i) {
    if (i == red || i == dim) continue;
    const Bytes c = Face_Colour(kFaceOfGroup[i / 65536 / 4]);
    ASSERT_EQ(words[i], uint16_t((c[0] >> 3) << 10 | (c[1] >> 3) << 5 | (c[2] >> 3))) << i;
  }

  Expect_Run(Run_Kvrtool({"scene", "dump.raw", "--raw", "loaded.bin"}, t.Path()),
             "result 0, kind 0x20 (raw panorama)\nanimations: 0\n");
  const std::vector<uint16_t> loaded = Words(t.Read("loaded.bin").value_or(""));
  ASSERT_EQ(loaded.size(), words.size());
  for (size_t i = 0; i < words.size(); ++i)
    ASSERT_EQ(loaded[i], uint16_t((words[i] >> 5) << 6 | (words[i] & 0x1F))) << i;
  EXPECT_EQ(loaded[red], 0xF800);
}

TEST(KvrtoolScene, WrongCommandLinesAndFilesFailWithAMessage) {
  TempFolder t;
  t.Make_Folder("folder");
  std::vector<Pixels> faces = Coloured_Faces();
  Write_Faces(t.Path("faces"), faces);
  t.Make_Folder("five");
  for (int f = 1; f < kFaceCount; ++f)
    Write_Png(t.Path("five/" + std::string(kFaceNames[size_t(f)]) + ".png"), faces[size_t(f)], 512, 512);
  t.Make_Folder("wide");
  Write_Png(t.Path("wide/up.png"), Smooth_Picture(640, 480, 1), 640, 480);
  struct Case {
    std::vector<std::string> args;
    std::string message;
    bool usage;
  };
  const std::vector<Case> cases = {
      {{"scene"}, "scene expects one FILE", true},
      {{"scene", "a", "b"}, "scene expects one FILE", true},
      {{"scene", "a", "--raw"}, "option --raw needs a value", true},
      {{"scene", "missing.kvr"}, "the engine loads nothing from missing.kvr: it cannot be opened", false},
      {{"scene", "folder"}, "the engine loads nothing from folder: it cannot be opened", false},
      {{"raw"}, "raw expects FACES_DIR and OUT", true},
      {{"raw", "faces"}, "raw expects FACES_DIR and OUT", true},
      {{"raw", "five", "out.raw"}, "cannot open five/up.png: No such file or directory", false},
      {{"raw", "wide", "out.raw"}, "wide/up.png: 640 x 480 pixels, not the 512 x 512 it must have", false},
      {{"raw", "faces", "folder"}, "cannot write folder: it is a folder", false},
  };
  for (const Case& c : cases) {
    ToolRun run = Run_Kvrtool(c.args, t.Path());
    const std::string head = "kvrtool " + c.args[0] + ": ";
    EXPECT_EQ(run.status, 1) << c.message;
    EXPECT_EQ(run.out, "") << c.message;
    EXPECT_TRUE(Starts_With(run.err, head + c.message)) << run.err;
    EXPECT_EQ(run.err.find("Usage: kvrtool " + c.args[0] + " ") != std::string::npos, c.usage) << run.err;
  }
  EXPECT_FALSE(t.Exists("out.raw"));
}

TEST(KvrtoolPanoramaHelp, EveryPanoramaCommandHasItsHelp) {
  ToolRun main = Run_Kvrtool({"--help"});
  for (const std::string command : {"vr", "scene", "raw"}) {
    EXPECT_NE(main.out.find("\n  " + command + " "), std::string::npos) << command;
    ToolRun run = Run_Kvrtool({command, "--help"});
    EXPECT_EQ(run.status, 0) << command;
    EXPECT_EQ(run.err, "") << command;
    EXPECT_TRUE(Starts_With(run.out, "Usage: kvrtool " + command + " ")) << run.out;
  }
  const std::string vr = Run_Kvrtool({"vr", "--help"}).out;
  for (const char* name :
       {"up.png", "down.png", "x+.png", "x-.png", "y+.png", "y-.png", "NAME-0000", "--quality Q"})
    EXPECT_NE(vr.find(name), std::string::npos) << name;
}

}  // namespace
