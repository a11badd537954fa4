// kvrtool vr info, export and build, run as programs: round trips through
// PNG faces and frames, the report of a built file, and wrong input.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "tests/tools/panorama_pictures.h"
#include "tests/support/temp_folder.h"
#include "tests/tools/tool_run.h"
#include "tools/face_strip.h"
#include "tools/panorama_writer.h"

namespace {

using Bytes = std::vector<uint8_t>;

// JPEG at quality 80 to 90 keeps smooth pictures and flat blocks this close.
constexpr int kJpegError = 16;

bool Starts_With(const std::string& text, const std::string& head) { return text.rfind(head, 0) == 0; }

void Expect_Run(const ToolRun& run, const std::string& out) {
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(run.out, out);
}

// Three frames: the static faces, then two blocks painted (the top-right
// block of face x- and the bottom-left block of face up), then the same.
void Write_Panorama_Frames(const std::string& folder, const std::vector<Pixels>& faces) {
  std::vector<Pixels> changed = faces;
  Paint(changed[5], kFaceSize, 496, 0, 512, 16, 250, 250, 10);
  Paint(changed[0], kFaceSize, 0, 496, 16, 512, 10, 10, 250);
  Write_Faces(folder + "/f0", faces);
  Write_Faces(folder + "/f1", changed);
  Write_Faces(folder + "/f2", changed);
}

TEST(KvrtoolVr, FacesBuiltAndExportedComeBackWithinJpegError) {
  TempFolder t;
  const std::vector<Pixels> faces = Smooth_Faces(1);
  Write_Faces(t.Path("faces"), faces);
  Expect_Run(Run_Kvrtool({"vr", "build", "--faces", "faces", "out.kvr"}, t.Path()),
             "wrote out.kvr: panorama, quality 90\n");
  Expect_Run(Run_Kvrtool({"vr", "export", "out.kvr", "ex"}, t.Path()),
             "wrote the six faces of the panorama in ex\n");
  EXPECT_EQ(t.Entries("ex"),
            (std::vector<std::string>{"down.png", "up.png", "x+.png", "x-.png", "y+.png", "y-.png"}));
  const std::vector<Pixels> back = Read_Faces(t.Path("ex"));
  // Every row counts: the strip's tiles meet rows of other faces, and none
  // may take their colour.
  for (size_t f = 0; f < faces.size(); ++f) {
    EXPECT_LE(Largest_Difference(back[f], faces[f]), kJpegError) << kFaceNames[f];
  }
}

TEST(KvrtoolVr, PanoramaAnimationsRoundTripAndExportPlaysOnce) {
  TempFolder t;
  const std::vector<Pixels> faces = Smooth_Faces(2);
  Write_Faces(t.Path("faces"), faces);
  Write_Panorama_Frames(t.Path("anim"), faces);
  const std::string summary = "  animation \"water\": 3 frames, 2 empty, 2 blocks, loop 2\n";
  Expect_Run(
      Run_Kvrtool({"vr", "build", "--quality", "80", "--faces", "faces", "--anim", "water:anim:2", "out.kvr"},
                  t.Path()),
      "wrote out.kvr: panorama, quality 80\n" + summary);
  ToolRun info = Run_Kvrtool({"vr", "info", "out.kvr"}, t.Path());
  EXPECT_EQ(info.status, 0);
  EXPECT_TRUE(Starts_With(info.out, "kind: panorama\n")) << info.out;
  for (const char* line :
       {"    dct_param: 80\n", "    name: \"water\"\n", "    frames: 3 counted, 2 empty, 2 blocks\n",
        "    loop: 2\n", "    frame count: 3\n"})
    EXPECT_NE(info.out.find(line), std::string::npos) << line << info.out;

  // The file loops back to frame 2 for ever: export stops after frame 2.
  Expect_Run(Run_Kvrtool({"vr", "export", "out.kvr", "ex", "--anim", "water"}, t.Path()),
             "wrote the six faces of the panorama in ex\nwrote 3 frames of \"water\" in ex/water\n");
  EXPECT_EQ(t.Entries("ex/water"), (std::vector<std::string>{"water-0000", "water-0001", "water-0002"}));
  const std::vector<Pixels> still = Read_Faces(t.Path("ex"));
  const std::vector<Pixels> first = Read_Faces(t.Path("ex/water/water-0000"));
  const std::vector<Pixels> second = Read_Faces(t.Path("ex/water/water-0001"));
  const std::vector<Pixels> third = Read_Faces(t.Path("ex/water/water-0002"));
  EXPECT_TRUE(first == still);
  EXPECT_TRUE(third == second);
  // Only the two painted blocks changed, each close to its colour.
  for (size_t f = 0; f < kFaceCount; ++f)
    for (int y = 0; y < kFaceSize; ++y)
      for (int x = 0; x < kFaceSize; ++x) {
        const size_t at = (size_t(y) * kFaceSize + size_t(x)) * 4;
        const bool painted_x = f == 5 && x >= 496 && y < 16;
        const bool painted_up = f == 0 && x < 16 && y >= 496;
        if (painted_x) {
          ASSERT_NEAR(second[f][at], 10, kJpegError) << x << ", " << y;
          ASSERT_NEAR(second[f][at + 2], 250, kJpegError) << x << ", " << y;
        } else if (painted_up) {
          ASSERT_NEAR(second[f][at], 250, kJpegError) << x << ", " << y;
          ASSERT_NEAR(second[f][at + 2], 10, kJpegError) << x << ", " << y;
        } else {
          ASSERT_EQ(Bytes(second[f].begin() + std::ptrdiff_t(at), second[f].begin() + std::ptrdiff_t(at + 3)),
                    Bytes(still[f].begin() + std::ptrdiff_t(at), still[f].begin() + std::ptrdiff_t(at + 3)))
              << kFaceNames[f] << " " << x << ", " << y;
        }
      }

  // What export wrote builds the same animation again.
  Expect_Run(Run_Kvrtool({"vr", "build", "--quality", "80", "--faces", "ex", "--anim", "water:ex/water:2",
                          "again.kvr"},
                         t.Path()),
             "wrote again.kvr: panorama, quality 80\n" + summary);
}

TEST(KvrtoolVr, StillPicturesAndTheirFramesRoundTrip) {
  TempFolder t;
  const Pixels still = Smooth_Picture(640, 480, 4);
  Pixels changed = still;
  Paint(changed, 640, 624, 464, 640, 480, 0, 200, 0);  // block 1199
  Write_Png(t.Path("still.png"), still, 640, 480);
  t.Make_Folder("fr");
  Write_Png(t.Path("fr/b.png"), changed, 640, 480);
  Write_Png(t.Path("fr/a.png"), changed, 640, 480);
  Write_Png(t.Path("fr/.hidden.png"), still, 640, 480);
  t.Write("fr/notes.txt", "not a frame");
  t.Make_Folder("fr/sub");
  Expect_Run(Run_Kvrtool({"vr", "build", "--still", "still.png", "--anim=door:fr", "out.kvr"}, t.Path()),
             "wrote out.kvr: still picture, quality 90\n  animation \"door\": 2 frames, 1 empty, 1 blocks\n");
  Expect_Run(Run_Kvrtool({"vr", "export", "out.kvr", "ex", "--anim", "door"}, t.Path()),
             "wrote the still picture as ex/still.png\nwrote 2 frames of \"door\" in ex/door\n");
  EXPECT_EQ(t.Entries("ex"), (std::vector<std::string>{"door", "still.png"}));
  EXPECT_EQ(t.Entries("ex/door"), (std::vector<std::string>{"door-0000.png", "door-0001.png"}));
  int w = 0, h = 0;
  EXPECT_LE(Largest_Difference(Read_Png(t.Path("ex/still.png"), w, h), still), kJpegError);
  EXPECT_EQ(w, 640);
  EXPECT_EQ(h, 480);
  const Pixels frame = Read_Png(t.Path("ex/door/door-0001.png"), w, h);
  EXPECT_LE(Largest_Difference(frame, changed), kJpegError);
  EXPECT_TRUE(frame == Read_Png(t.Path("ex/door/door-0000.png"), w, h));
}

TEST(KvrtoolVr, InfoReportsABuiltFileLineByLine) {
  PanoramaContent content;
  content.dct_param = 90;
  content.data = Bytes(100, 7);
  content.animations.push_back({"water", {{{3, 4}, 90, Bytes(10, 1)}, {}, {{5}, 90, Bytes(7, 2)}}, 1});
  content.animations.push_back({"door", {{}}, std::nullopt});
  Bytes bytes;
  std::string error;
  ASSERT_TRUE(Panorama_File_Bytes(content, bytes, error)) << error;
  TempFolder t;
  t.Write("built.kvr", std::string(bytes.begin(), bytes.end()));
  Expect_Run(Run_Kvrtool({"vr", "info", "built.kvr"}, t.Path()),
             "kind: panorama\n"
             "KVR_CHUNK_FILE at 0, 301 bytes\n"
             "  KVR_CHUNK_STATIC_VR at 8, 108 bytes\n"
             "    dct_param: 90\n"
             "    data: 100 bytes\n"
             "  KVR_CHUNK_ANIMATION at 124, 125 bytes\n"
             "    name: \"water\"\n"
             "    frame count: 3\n"
             "    frames: 3 counted, 1 empty, 3 blocks\n"
             "    loop: 1\n"
             "  KVR_CHUNK_ANIMATION at 257, 44 bytes\n"
             "    name: \"door\"\n"
             "    frame count: 1\n"
             "    frames: 1 counted, 1 empty, 0 blocks\n"
             "    loop: none\n"
             "  end at 309: end of file\n");
}

TEST(KvrtoolVr, WrongCommandLinesAndBadInputFailWithAMessage) {
  TempFolder t;
  const std::vector<Pixels> faces = Smooth_Faces(3);
  Write_Faces(t.Path("faces"), faces);
  Write_Panorama_Frames(t.Path("anim"), faces);
  std::vector<Pixels> small = faces;
  small[0] = Smooth_Picture(500, 512, 1);
  t.Make_Folder("small");
  for (int f = 0; f < kFaceCount; ++f)
    Write_Png(t.Path("small/" + std::string(kFaceNames[size_t(f)]) + ".png"), small[size_t(f)],
              f == 0 ? 500 : 512, 512);
  t.Make_Folder("empty");
  t.Write("not.bin", "RIFF0000 certainly no panorama file");
  t.Write("bad/up.png", "no PNG");
  Bytes no_static = {0xAB, 0x84, 0xFA, 0x12, 8, 0, 0, 0, 0x55, 0, 0, 0, 8, 0, 0, 0};
  t.Write("nostatic.kvr", std::string(no_static.begin(), no_static.end()));
  ASSERT_EQ(
      Run_Kvrtool({"vr", "build", "--faces", "faces", "--anim", "water:anim", "pano.kvr"}, t.Path()).status,
      0);
  ASSERT_EQ(Run_Kvrtool({"vr", "export", "pano.kvr", "ex", "--anim", "water"}, t.Path()).status, 0);
  ASSERT_EQ(Run_Kvrtool({"vr", "build", "--faces", "faces", "plain.kvr"}, t.Path()).status, 0);
  const std::string name32(32, 'n');
  PanoramaContent many;
  many.data = {1};
  std::string listed;
  for (int i = 0; i < 22; ++i) {
    many.animations.push_back({"a" + std::to_string(i), {{}}, std::nullopt});
    if (i < 20) listed += (i ? ", \"a" : "\"a") + std::to_string(i) + "\"";
  }
  Bytes many_bytes;
  std::string error;
  ASSERT_TRUE(Panorama_File_Bytes(many, many_bytes, error)) << error;
  t.Write("many.kvr", std::string(many_bytes.begin(), many_bytes.end()));

  struct Case {
    std::vector<std::string> args;
    std::string message;
    bool usage;
  };
  const std::vector<Case> cases = {
      {{}, "expects info, export or build", true},
      {{"frob"}, "unknown vr command \"frob\"", true},
      {{"info"}, "info expects one FILE", true},
      {{"info", "a", "b"}, "info expects one FILE", true},
      {{"info", "missing.kvr"}, "cannot open missing.kvr: No such file or directory", false},
      {{"info", "not.bin"},
       "not.bin is not a panorama file (it does not begin with a KVR_CHUNK_FILE chunk)",
       false},
      {{"export", "pano.kvr"}, "export expects FILE and DIR", true},
      {{"export", "missing.kvr", "out"}, "cannot open missing.kvr: No such file or directory", false},
      {{"export", "not.bin", "out"}, "not.bin is not a panorama file", false},
      {{"export", "nostatic.kvr", "out"},
       "nostatic.kvr holds neither a panorama (KVR_CHUNK_STATIC_VR) nor a still picture "
       "(KVR_CHUNK_STATIC_PIC)",
       false},
      {{"export", "pano.kvr", "out", "--anim", "fire"},
       "pano.kvr has no animation \"fire\" (it has \"water\")",
       false},
      {{"export", "pano.kvr", "out", "--anim", "Water"}, "pano.kvr has no animation \"Water\"", false},
      {{"export", "many.kvr", "out", "--anim", "zz"},
       "many.kvr has no animation \"zz\" (it has " + listed + " and 2 more)",
       false},
      {{"export", "plain.kvr", "out", "--anim", "water"},
       "plain.kvr has no animation \"water\" (it has none)",
       false},
      {{"export", "pano.kvr", "out", "--anim"}, "option --anim needs a value", true},
      {{"export", "pano.kvr", "out", "--anim", "water", "--anim=water"},
       "--anim \"water\" is given twice",
       false},
      {{"export", "pano.kvr", "not.bin/sub"}, "cannot make the folder not.bin/sub: Not a directory", false},
      {{"export", "pano.kvr", "ex", "--anim", "water"}, "ex/water already holds files", false},
      {{"build", "out.kvr"}, "build takes one of --faces DIR and --still IN.png", true},
      {{"build", "--faces", "faces", "--still", "s.png", "out.kvr"},
       "build takes one of --faces DIR and --still",
       true},
      {{"build", "--faces", "faces"}, "build expects one OUT", true},
      {{"build", "--faces", "faces", "--quality", "0", "out.kvr"},
       "--quality takes a number from 1 to 100, not \"0\"",
       true},
      {{"build", "--faces", "faces", "--quality", "101", "out.kvr"},
       "--quality takes a number from 1 to 100, not \"101\"",
       true},
      {{"build", "--faces", "faces", "--quality", "9x", "out.kvr"},
       "--quality takes a number from 1 to 100, not \"9x\"",
       true},
      {{"build", "--faces", "faces", "--fast", "out.kvr"}, "unknown option --fast", true},
      {{"build", "--faces", "small", "out.kvr"},
       "small/up.png: 500 x 512 pixels, not the 512 x 512 it must have",
       false},
      {{"build", "--faces", "nofaces", "out.kvr"},
       "cannot open nofaces/up.png: No such file or directory",
       false},
      {{"build", "--faces", "bad", "out.kvr"}, "bad/up.png: ", false},
      {{"build", "--still", "faces/up.png", "out.kvr"},
       "faces/up.png: 512 x 512 pixels, not the 640 x 480 it must have",
       false},
      {{"build", "--faces", "faces", "--anim", "water:anim:3", "out.kvr"},
       "animation \"water\": the loop point 3 is not a frame of 0 .. 2",
       false},
      {{"build", "--faces", "faces", "--anim", "water:anim:-1", "out.kvr"},
       "animation \"water\": the loop point -1 is not a frame of 0 .. 2",
       false},
      {{"build", "--faces", "faces", "--anim", name32 + ":anim", "out.kvr"},
       "the animation name \"" + name32 + "\" has 32 characters; a name has 1 to 31",
       true},
      {{"build", "--faces", "faces", "--anim", ":anim", "out.kvr"},
       "the animation name \"\" has 0 characters",
       true},
      {{"build", "--faces", "faces", "--anim", "water", "out.kvr"},
       "--anim takes NAME:DIR[:LOOP], not \"water\"",
       true},
      {{"build", "--faces", "faces", "--anim", "water::1", "out.kvr"},
       "--anim \"water::1\" names no folder",
       true},
      {{"build", "--faces", "faces", "--anim", "water:anim", "--anim", "water:anim", "out.kvr"},
       "the animation name \"water\" is given twice",
       true},
      {{"build", "--faces", "faces", "--anim", "water:empty", "out.kvr"},
       "empty holds no frames (subfolders of six faces)",
       false},
      {{"build", "--still", "s.png", "--anim", "water:empty", "out.kvr"},
       "empty holds no frames (.png pictures)",
       false},
      {{"build", "--faces", "faces", "--anim", "water:nodir", "out.kvr"},
       "cannot read the folder nodir: No such file or directory",
       false},
  };
  for (const Case& c : cases) {
    std::vector<std::string> args = {"vr"};
    args.insert(args.end(), c.args.begin(), c.args.end());
    ToolRun run = Run_Kvrtool(args, t.Path());
    const std::string what = c.args.empty() ? "vr" : c.args[0] + " " + c.message;
    EXPECT_EQ(run.status, 1) << what;
    EXPECT_EQ(run.out, "") << what;
    EXPECT_TRUE(Starts_With(run.err, "kvrtool vr: " + c.message)) << what << "\n" << run.err;
    EXPECT_EQ(run.err.find("Usage: kvrtool vr ") != std::string::npos, c.usage) << what << "\n" << run.err;
  }
  EXPECT_FALSE(t.Exists("out.kvr"));
  EXPECT_FALSE(t.Exists("out"));
}

}  // namespace
