// Kvr_Play_Animation: frames played in order into a 4-byte picture, loops,
// the end of an animation, and damaged frame sequences.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "kvr_read/kvr_read.h"
#include "tests/kvr_read/panorama_bytes.h"

namespace kvr_test {
namespace {

constexpr unsigned char kBackground = 0xEE;
constexpr int kStill = 0;  // any kind but 1 draws into a still picture

// Frame f changes one block of its own, in a grey of its own, so each call
// shows which frame it played.
int Block_Of(int f) { return 3 * f + 1; }
uint8_t Grey_Of(int f) { return static_cast<uint8_t>(20 + 20 * f); }
std::string Frame(int f) { return Grey_Frame({Block_Of(f)}, Grey_Of(f)); }
std::vector<ChangedBlock> Shows(int f) { return {{Block_Of(f), Grey_Of(f)}}; }
const std::vector<ChangedBlock> kNothing;

std::string Frames(int first, int count) {
  std::string s;
  for (int f = first; f < first + count; ++f) s += Frame(f);
  return s;
}

class AnimationPlay : public ::testing::Test {
 protected:
  // Writes a file whose one animation "anim" has `frames` frames and the
  // chunk sequence `sequence` (appended as is, so it may end the file), and
  // opens it.
  void Open(int frames, const std::string& sequence) {
    Open_File(Panorama_File(Animation_Chunk("anim", frames, sequence)));
  }
  void Open_File(const std::string& bytes) {
    Kvr_Close_Animation(&anim_);
    folder_.Write("pano.kvr", bytes);
    descriptors_ = Open_Descriptors();
    ASSERT_EQ(Kvr_Open_Animation(folder_.Path("pano.kvr").c_str(), "anim", &anim_), 1);
  }
  bool File_Closed() { return Open_Descriptors() == descriptors_ && anim_.file.Tell() == -1; }

  struct Step {
    int result;
    std::vector<ChangedBlock> changed;
  };
  // Plays one frame into a picture reset to the background, and tells what
  // the call changed.
  Step Play(int kind = kStill) {
    const int width = kind == 1 ? 256 : 640;
    const size_t bytes = static_cast<size_t>(kind == 1 ? kVrPixels : kPicPixels) * 4;
    const Pixels background(bytes, kBackground);
    dest_ = background;
    const int result = Kvr_Play_Animation(&anim_, dest_.data(), kind);
    return {result, Changed_Blocks(dest_, width, background)};
  }
  // Plays `expected.size()` frames, each of which must return 1 and show
  // the expected frame (-1: nothing).
  void Expect_Frames(const std::vector<int>& expected) {
    for (size_t i = 0; i < expected.size(); ++i) {
      SCOPED_TRACE("call " + std::to_string(i));
      const Step s = Play();
      EXPECT_EQ(s.result, 1);
      EXPECT_EQ(s.changed, expected[i] < 0 ? kNothing : Shows(expected[i]));
    }
  }
  // The next call must end the animation after showing `last` (-1: nothing).
  void Expect_End(int last) {
    const Step s = Play();
    EXPECT_EQ(s.result, 0);
    EXPECT_EQ(s.changed, last < 0 ? kNothing : Shows(last));
    EXPECT_TRUE(File_Closed());
    const Step after = Play();  // an ended animation stays ended
    EXPECT_EQ(after.result, 0);
    EXPECT_EQ(after.changed, kNothing);
  }

  TempFolder folder_;
  KVR_ANIM anim_;
  Pixels dest_;
  int descriptors_ = 0;
};

TEST_F(AnimationPlay, WithoutALoopTheLastFrameEndsTheAnimation) {
  Open(4, Frames(0, 4));
  Expect_Frames({0, 1, 2});
  Expect_End(3);
}

TEST_F(AnimationPlay, AOneFrameAnimationEndsOnItsFirstCall) {
  Open(1, Frame(0));
  Expect_End(0);
}

TEST_F(AnimationPlay, FramesBuildOnEachOtherInTheSameBuffer) {
  Open(3, Frames(0, 3));
  const Pixels background(static_cast<size_t>(kPicPixels) * 4, kBackground);
  Pixels dest = background;
  EXPECT_EQ(Kvr_Play_Animation(&anim_, dest.data(), kStill), 1);
  EXPECT_EQ(Kvr_Play_Animation(&anim_, dest.data(), kStill), 1);
  EXPECT_EQ(Kvr_Play_Animation(&anim_, dest.data(), kStill), 0);
  const std::vector<ChangedBlock> all = {
      {Block_Of(0), Grey_Of(0)}, {Block_Of(1), Grey_Of(1)}, {Block_Of(2), Grey_Of(2)}};
  EXPECT_EQ(Changed_Blocks(dest, 640, background), all);
}

TEST_F(AnimationPlay, ALoopChunkSendsPlaybackBackToItsFrame) {
  for (int loop : {0, 1, 3}) {
    SCOPED_TRACE("loop " + std::to_string(loop));
    Open(4, Frames(0, 4) + Loop_Chunk(loop));
    std::vector<int> expected = {0, 1, 2, 3};
    for (int round = 0; round < 3; ++round) {
      for (int f = loop; f < 4; ++f) expected.push_back(f);
    }
    Expect_Frames(expected);
    EXPECT_EQ(anim_.current_frame, loop);
    EXPECT_EQ(Open_Descriptors(), descriptors_ + 1);
    Kvr_Close_Animation(&anim_);
    EXPECT_TRUE(File_Closed());
  }
}

TEST_F(AnimationPlay, ALoopPointOutsideTheFramesEndsTheAnimation) {
  for (int loop : {4, 5, -1, 0x7FFFFFFF, static_cast<int>(0x80000000u)}) {
    SCOPED_TRACE("loop " + std::to_string(loop));
    Open(4, Frames(0, 4) + Loop_Chunk(loop));
    Expect_Frames({0, 1, 2});
    Expect_End(3);
  }
}

TEST_F(AnimationPlay, EmptyFramesOnlyTakeTheirPlace) {
  Open(4, Empty_Frame() + Frame(1) + Empty_Frame() + Empty_Frame() + Loop_Chunk(1));
  Expect_Frames({-1, 1, -1, -1, 1, -1, -1, 1});
}

TEST_F(AnimationPlay, KindOneDrawsPanoramaRowsAnyOtherKindStillPictureRows) {
  // Block 20 is at (64, 16) in rows of 256 pixels, at (320, 0) in rows of 640.
  const std::string file = Panorama_File(Animation_Chunk("anim", 1, Grey_Frame({20}, 90)));
  const auto grey_at = [&](int width, int x, int y) {
    return dest_[(static_cast<size_t>(y) * width + x) * 4];
  };
  Open_File(file);
  Step s = Play(1);
  EXPECT_EQ(s.result, 0);
  EXPECT_EQ(s.changed, (std::vector<ChangedBlock>{{20, 90}}));
  EXPECT_EQ(grey_at(256, 64, 16), 90);
  EXPECT_EQ(grey_at(256, 79, 31), 90);
  EXPECT_EQ(grey_at(256, 63, 16), kBackground);
  EXPECT_EQ(grey_at(256, 80, 31), kBackground);
  for (int kind : {0, 2, -1, 256}) {
    SCOPED_TRACE("kind " + std::to_string(kind));
    Open_File(file);
    s = Play(kind);
    EXPECT_EQ(s.result, 0);
    EXPECT_EQ(s.changed, (std::vector<ChangedBlock>{{20, 90}}));
    EXPECT_EQ(grey_at(640, 320, 0), 90);
    EXPECT_EQ(grey_at(640, 335, 15), 90);
    EXPECT_EQ(grey_at(640, 319, 0), kBackground);
    EXPECT_EQ(grey_at(640, 320, 16), kBackground);
  }
}

TEST_F(AnimationPlay, AFrameOfManyBlocksChangesEachOfThem) {
  std::vector<int> blocks;
  std::vector<ChangedBlock> changed;
  for (int n = 0; n < 37; ++n) {
    blocks.push_back(n * 31);
    changed.push_back({n * 31, 150});
  }
  Open(1, Grey_Frame(blocks, 150));
  const Step s = Play();
  EXPECT_EQ(s.result, 0);
  EXPECT_EQ(s.changed, changed);
}

// Frames whose fields do not fit their chunk, or whose data do not decode:
// nothing is drawn, but each takes its place among the frames.
TEST_F(AnimationPlay, AFrameThatDoesNotFitItsChunkDrawsNothingButCounts) {
  const std::string data = Encode_Blocks(Grey_Picture(640, 480, 9), 640, 480, {5}, 100);
  const std::string n_field = Le32(100) + Le32(static_cast<uint32_t>(data.size()));
  const auto frame_chunk = [](const std::string& payload) { return Chunk(KVR_CHUNK_FRAME, payload); };
  const std::string bad =
      frame_chunk(Le32(2) + Le32(5) + n_field + data) +           // B one too many
      frame_chunk(Le32(0x40000001) + Le32(5) + n_field + data) +  // B * 4 overflows
      frame_chunk(Le32(0xFFFFFFFF) + Le32(5) + n_field + data) +  // negative B
      frame_chunk(Le32(1) + Le32(5) + Le32(100) + Le32(static_cast<uint32_t>(data.size() + 1)) +
                  data) +                                                     // N one too many
      frame_chunk(Le32(1) + Le32(5) + Le32(100) + Le32(0xFFFFFFFF) + data) +  // negative N
      frame_chunk(Le32(1) + Le32(5) + Le32(100)) +                            // cut after the blocks
      frame_chunk(Le32(1)) +                                                  // cut after B
      frame_chunk("abc") +                                                    // shorter than B
      frame_chunk(Le32(1) + Le32(5) + Le32(100) + Le32(4) + "junk");          // data that do not decode
  Open(10, bad + Frame(1));
  Expect_Frames({-1, -1, -1, -1, -1, -1, -1, -1, -1});
  Expect_End(1);
}

TEST_F(AnimationPlay, ASequenceEndingBeforeTheFrameCountEndsTheAnimation) {
  Open(5, Frames(0, 2));  // the file ends after two frames
  Expect_Frames({0, 1});
  Expect_End(-1);

  Open(5, Frames(0, 2) + Header(0, 8) + Frame(2));  // a 0 tag ends the sequence
  Expect_Frames({0, 1});
  Expect_End(-1);
}

TEST_F(AnimationPlay, AFrameCutByTheEndOfTheFileDrawsNothingAndEndsTheAnimation) {
  const std::string last = Frame(1);
  Open(3, Frame(0) + last.substr(0, last.size() - 10));
  Expect_Frames({0, -1});
  Expect_End(-1);
}

TEST_F(AnimationPlay, AnUnknownChunkAmongTheFramesIsSkippedWhole) {
  // The unknown chunk holds a frame of its own, which must not be played.
  Open(2, Frame(0) + Chunk(0x5151, Frame(5)) + Frame(1));
  Expect_Frames({0, -1});
  Expect_End(1);
}

// The loop point counts frame chunks: a chunk of another kind before it
// does not shift playback to another frame.
TEST_F(AnimationPlay, TheLoopPointCountsFramesOnly) {
  Open(3, Frame(0) + Chunk(0x5151, "xx") + Frame(1) + Frame(2) + Loop_Chunk(2));
  Expect_Frames({0, -1, 1, 2, 2, 2});
  Open(3, Frame(0) + Chunk(0x5151, "xx") + Frame(1) + Frame(2) + Loop_Chunk(1));
  Expect_Frames({0, -1, 1, 2, 1, 2, 1, 2});
}

TEST_F(AnimationPlay, MoreFramesThanCountedEndAtTheCount) {
  Open(2, Frames(0, 3) + Loop_Chunk(0));  // the loop chunk is not right after frame 1
  Expect_Frames({0});
  Expect_End(1);
}

// A frame length that sends the position past what a file position can
// hold ends the animation on the next call, its file closed.
TEST_F(AnimationPlay, AFrameLengthBeyondTwoGibibytesEndsTheAnimation) {
  const std::string frame = Frame(0);
  Open(3, Header(KVR_CHUNK_FRAME, 0x7FFFFFF0) + frame.substr(8));
  Expect_Frames({0});
  Expect_End(-1);
}

TEST_F(AnimationPlay, AClosedAnimationPlaysNothing) {
  Open(3, Frames(0, 3) + Loop_Chunk(0));
  Expect_Frames({0});
  Kvr_Close_Animation(&anim_);
  EXPECT_TRUE(File_Closed());
  Kvr_Close_Animation(&anim_);
  EXPECT_TRUE(File_Closed());
  const Step s = Play();
  EXPECT_EQ(s.result, 0);
  EXPECT_EQ(s.changed, kNothing);
}

TEST_F(AnimationPlay, NullArgumentsPlayNothing) {
  KVR_ANIM never_opened;
  Pixels dest(static_cast<size_t>(kPicPixels) * 4, kBackground);
  EXPECT_EQ(Kvr_Play_Animation(&never_opened, dest.data(), kStill), 0);
  EXPECT_EQ(Kvr_Play_Animation(nullptr, dest.data(), kStill), 0);
  Open(2, Frames(0, 2));
  // No picture: nothing is played and the animation stays where it was.
  EXPECT_EQ(Kvr_Play_Animation(&anim_, nullptr, kStill), 0);
  EXPECT_EQ(anim_.current_frame, 0);
  Expect_Frames({0});
  Expect_End(1);
}

}  // namespace
}  // namespace kvr_test
