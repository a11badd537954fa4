// Animation blocs of a still picture's panorama file, started and stopped by
// block statements and moved on by the frame hooks on the virtual clock.
#include "engine/plugins/anim_bloc.h"

#include <gtest/gtest.h>

#include "engine/plugins/frame_hooks.h"
#include "engine/plugins/plugin_block.h"
#include "engine/run/run_services.h"
#include "platform/display/display.h"
#include "scene/scene_table.h"
#include "tests/engine/engine_test_support.h"
#include "tools/panorama_writer.h"

namespace {

using Pixels = std::vector<uint8_t>;

// Block 0 (the top left 16 x 16 pixels) of a grey picture in the colour of
// frame k: red k x 20.
Pixels Picture_With_Block(int k) {
  Pixels p(640 * 480 * 4, 0x60);
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) {
      uint8_t* px = &p[(size_t(y) * 640 + size_t(x)) * 4];
      px[0] = 0, px[1] = 0, px[2] = uint8_t(k * 20);
    }
  return p;
}

PanoramaAnimation Animation(const std::string& name, int frames, std::optional<int> loop, int first_colour) {
  const Pixels start = Picture_With_Block(0);
  AnimationEncoder encoder(PanoramaKind::kPic, 95, start.data());
  std::string error;
  for (int k = 0; k < frames; ++k)
    EXPECT_TRUE(encoder.Add_Frame(Picture_With_Block(first_colour + k).data(), error));
  return {name, encoder.Take_Frames(), loop};
}

struct Blocs {
  RunServices services;
  HeadlessEngine h{{"N", "DONE"}, &services};
  TempFolder folder;
  PicturePtr still = Picture_New("warpfix", 640, 480, 16);

  Blocs() {
    PanoramaContent content;
    content.kind = PanoramaKind::kPic;
    std::string error;
    EXPECT_TRUE(Panorama_Encode_Static(Picture_With_Block(0).data(), 95, content, error)) << error;
    content.animations.push_back(Animation("door0007", 3, std::nullopt, 1));
    content.animations.push_back(Animation("Loop", 3, 1, 4));
    content.animations.push_back(Animation("long", 12, std::nullopt, 1));
    std::vector<uint8_t> bytes;
    EXPECT_TRUE(Panorama_File_Bytes(content, bytes, error)) << error;
    folder.Write("ROOM.PIC", std::string(bytes.begin(), bytes.end()));
    Scene& scene = h.engine.run.scene;
    scene.still = still.get();
    scene.hooks = &h.engine.scene_hooks;
    EXPECT_EQ(Load_Scene_Picture(scene, folder.Path("ROOM.PIC").c_str()), 3);
  }
  SceneAnimation& Bloc(int i) { return h.engine.run.scene.table.records[size_t(i)]; }
  // Red of block 0 in the still picture, to the nearest frame colour.
  int Shown() {
    const uint16_t p = Scene_Still_Pixels(h.engine.run.scene)[0];
    return ((p >> 11) * 255 / 31 + 10) / 20;
  }
  void Run(std::initializer_list<std::string> block) { Plugin_Run_Block(h.engine, block); }
  // `ms` of the virtual clock, then the frame hooks.
  void Frame(int ms = 20) {
    h.card.Advance_Clock(uint64_t(ms));
    Frame_Hooks(h.engine);
  }
};

TEST(AnimBloc, NumberedNameAndOneStartAtATime) {
  Blocs b;
  b.h.Set("N", 7);
  b.Run({"play_animbloc_number(DOOR,N,DONE,9)"});
  EXPECT_EQ(Anim_Bloc_Number_Name("door", 7), "door0007");
  EXPECT_EQ(Anim_Bloc_Number_Name("d", -12345), "d-12345");
  ASSERT_TRUE(b.Bloc(0).playing);
  EXPECT_EQ(b.Shown(), 1);  // the first frame at once
  b.Run({"play_animbloc(door0007,DONE,9)"});
  EXPECT_EQ(b.Bloc(0).current_frame, 1);  // playing already: nothing, not even a frame
  for (int i = 0; i < 6; ++i) b.Frame();
  EXPECT_FALSE(b.Bloc(0).playing);
  EXPECT_EQ(b.h.Var("DONE"), 9);
  EXPECT_EQ(b.Shown(), 3);
  b.Run({"play_animbloc(Door0007,DONE,9,10)"});  // an ended bloc starts again
  EXPECT_TRUE(b.Bloc(0).playing);
  EXPECT_EQ(b.Bloc(0).fps, 10.0f);
  EXPECT_EQ(b.Shown(), 1);
  b.Run({"play_animbloc(nobloc,DONE,1)", "play_animbloc(long,DONE,1"});
  EXPECT_FALSE(b.Bloc(2).playing);
  EXPECT_TRUE(b.h.engine.plugins.script_error);
  EXPECT_FALSE(b.h.wx.sound_timer.Running());
}

// A bloc with a loop point plays on until a stop request, which lets it
// reach its last frame.
TEST(AnimBloc, StopRequestFinishesThePass) {
  Blocs b;
  b.Run({"play_animbloc(LOOP,DONE,4)"});
  std::vector<int> shown{b.Shown()};
  for (int i = 0; i < 8; ++i) {
    if (i == 3) b.Run({"stop_animbloc(loop)"});
    b.Frame(40);  // one frame each
    shown.push_back(b.Bloc(1).playing ? b.Shown() : -b.Shown());
  }
  // Frames 4 5 6, then from the loop point 5 6 5 ...; asked to stop on the
  // second pass, it shows its last frame and ends there.
  EXPECT_EQ(shown, (std::vector<int>{4, 5, 6, 5, -6, -6, -6, -6, -6}));
  EXPECT_EQ(b.h.Var("DONE"), 4);
}

// At most one frame a call: 25 fps on 50 Hz frames shows every other call,
// on 20 Hz frames every call (the bloc plays slower, it never skips).
TEST(AnimBloc, RateAccumulatesOnTheClock) {
  for (int ms : {20, 50}) {
    Blocs b;
    b.Run({"play_animbloc(long,DONE,1)"});
    std::string steps;
    for (int i = 0; i < 8; ++i) {
      const int before = b.Bloc(2).current_frame;
      b.Frame(ms);
      steps += std::to_string(b.Bloc(2).current_frame - before);
    }
    EXPECT_EQ(steps, ms == 20 ? "01010101" : "11111111") << ms;
  }
}

}  // namespace
