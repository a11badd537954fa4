// Kvr_Open_Animation and Kvr_Close_Animation: finding an animation by name
// and the file it keeps open.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "kvr_read/kvr_read.h"
#include "tests/kvr_read/panorama_bytes.h"

namespace kvr_test {
namespace {

class AnimationOpen : public ::testing::Test {
 protected:
  std::string Write(const std::string& bytes) {
    folder_.Write("pano.kvr", bytes);
    return folder_.Path("pano.kvr");
  }
  TempFolder folder_;
};

TEST_F(AnimationOpen, TheFirstAnimationOfTheNameIsOpenedAtItsFirstFrame) {
  const std::string before_it =
      Picture_Chunk(KVR_CHUNK_STATIC_VR, 90, "data") + Animation_Chunk("window", 7, Empty_Frame());
  const std::string inner =
      before_it + Animation_Chunk("door", 3, Empty_Frame()) + Animation_Chunk("door", 5, Empty_Frame());
  const std::string path = Write(Panorama_File(inner));
  KVR_ANIM anim;
  std::strcpy(anim.name, "caller's");
  anim.current_frame = 9;
  const int before = Open_Descriptors();
  ASSERT_EQ(Kvr_Open_Animation(path.c_str(), "door", &anim), 1);
  EXPECT_EQ(Open_Descriptors(), before + 1);
  EXPECT_EQ(anim.frame_count, 3);
  EXPECT_EQ(anim.current_frame, 0);
  // Outer header, the chunks before, the animation's header, name and F.
  const int first_frame = 8 + static_cast<int>(before_it.size()) + 8 + KVR_ANIM_HEADER_SIZE;
  EXPECT_EQ(anim.first_frame_position, first_frame);
  EXPECT_EQ(anim.next_frame_position, first_frame);
  EXPECT_STREQ(anim.name, "caller's");
  Kvr_Close_Animation(&anim);
  EXPECT_EQ(Open_Descriptors(), before);
  Kvr_Close_Animation(&anim);  // twice is harmless
  EXPECT_EQ(Open_Descriptors(), before);
}

TEST_F(AnimationOpen, NamesMatchExactlyWithCaseCounting) {
  const std::string path = Write(Panorama_File(Animation_Chunk("Door", 1, Empty_Frame())));
  const int before = Open_Descriptors();
  for (const char* name : {"door", "DOOR", "Doo", "Door ", "Doors", ""}) {
    SCOPED_TRACE(name);
    KVR_ANIM anim;
    EXPECT_EQ(Kvr_Open_Animation(path.c_str(), name, &anim), 0);
    EXPECT_EQ(Open_Descriptors(), before);  // not found: the file is closed
  }
  KVR_ANIM anim;
  EXPECT_EQ(Kvr_Open_Animation(path.c_str(), "Door", &anim), 1);
}

// A stored name filling all 32 bytes is the whole 32 characters: no more is
// read after it, and neither a prefix nor a longer name matches.
TEST_F(AnimationOpen, AStoredNameWithoutNulIsItsThirtyTwoBytes) {
  const std::string full(KVR_ANIM_NAME_SIZE, 'N');
  const std::string path = Write(Panorama_File(Animation_Chunk(full, 4, Empty_Frame())));
  KVR_ANIM anim;
  EXPECT_EQ(Kvr_Open_Animation(path.c_str(), full.substr(0, 31).c_str(), &anim), 0);
  EXPECT_EQ(Kvr_Open_Animation(path.c_str(), (full + "N").c_str(), &anim), 0);
  EXPECT_EQ(Kvr_Open_Animation(path.c_str(), (full + "\x04").c_str(), &anim), 0);  // F's first byte
  ASSERT_EQ(Kvr_Open_Animation(path.c_str(), full.c_str(), &anim), 1);
  EXPECT_EQ(anim.frame_count, 4);
}

TEST_F(AnimationOpen, OnlyAnimationChunksOfTheOuterSequenceAreSearched) {
  const std::string path = Write(Panorama_File(Chunk(0x4444, Animation_Chunk("door", 1, "")) + Header(0, 8) +
                                               Animation_Chunk("door", 1, "")));
  const int before = Open_Descriptors();
  KVR_ANIM anim;
  EXPECT_EQ(Kvr_Open_Animation(path.c_str(), "door", &anim), 0);
  EXPECT_EQ(Open_Descriptors(), before);
}

TEST_F(AnimationOpen, FilesThatCannotBeReadOpenNothing) {
  const std::string animation = Animation_Chunk("door", 1, Empty_Frame());
  const int before = Open_Descriptors();
  KVR_ANIM anim;
  EXPECT_EQ(Kvr_Open_Animation(Write(animation).c_str(), "door", &anim), 0);  // no outer chunk
  EXPECT_EQ(Kvr_Open_Animation(Write("").c_str(), "door", &anim), 0);
  EXPECT_EQ(Kvr_Open_Animation(folder_.Path("missing").c_str(), "door", &anim), 0);
  EXPECT_EQ(Open_Descriptors(), before);
  const std::string path = Write(Panorama_File(animation));
  EXPECT_EQ(Kvr_Open_Animation(nullptr, "door", &anim), 0);
  EXPECT_EQ(Kvr_Open_Animation(path.c_str(), nullptr, &anim), 0);
  EXPECT_EQ(Kvr_Open_Animation(path.c_str(), "door", nullptr), 0);
  EXPECT_EQ(Open_Descriptors(), before);
  Kvr_Close_Animation(nullptr);
}

// Opening into a state that already plays an animation replaces it: the old
// file is closed, found or not.
TEST_F(AnimationOpen, OpeningAgainClosesThePreviousFile) {
  const std::string path = Write(Panorama_File(Animation_Chunk("door", 1, Empty_Frame())));
  const int before = Open_Descriptors();
  KVR_ANIM anim;
  ASSERT_EQ(Kvr_Open_Animation(path.c_str(), "door", &anim), 1);
  ASSERT_EQ(Kvr_Open_Animation(path.c_str(), "door", &anim), 1);
  EXPECT_EQ(Open_Descriptors(), before + 1);
  EXPECT_EQ(Kvr_Open_Animation(path.c_str(), "gate", &anim), 0);
  EXPECT_EQ(Open_Descriptors(), before);
}

}  // namespace
}  // namespace kvr_test
