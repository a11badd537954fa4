// Kvr_Get_Number_Animation and Kvr_Get_Animation: the animations of a
// panorama file, counted and named in file order.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "kvr_read/kvr_read.h"
#include "tests/kvr_read/panorama_bytes.h"

namespace kvr_test {
namespace {

using NameBlock = std::array<char, KVR_ANIM_NAME_SIZE>;

class AnimationList : public ::testing::Test {
 protected:
  std::string Write(const std::string& bytes) {
    folder_.Write("pano.kvr", bytes);
    return folder_.Path("pano.kvr");
  }
  // `count` blocks filled with '#', and the pointers Kvr_Get_Animation takes.
  struct Blocks {
    explicit Blocks(size_t count) : blocks(count), pointers(count) {
      for (size_t i = 0; i < count; ++i) {
        blocks[i].fill('#');
        pointers[i] = blocks[i].data();
      }
    }
    std::string Bytes(size_t i) const { return std::string(blocks[i].data(), KVR_ANIM_NAME_SIZE); }
    std::vector<NameBlock> blocks;
    std::vector<char*> pointers;
  };
  TempFolder folder_;
};

// The 32 name bytes with something after the NUL, which is copied as stored.
std::string Raw_Name(const std::string& name, char rest) {
  std::string bytes = name + '\0';
  bytes.resize(KVR_ANIM_NAME_SIZE, rest);
  return bytes;
}

std::string Raw_Animation(const std::string& name_bytes, const std::string& sequence) {
  return Chunk(KVR_CHUNK_ANIMATION, name_bytes + Le32(1) + sequence);
}

TEST_F(AnimationList, AnimationsAreCountedAndNamedInFileOrder) {
  const std::string first = Raw_Name("door", 'x');
  const std::string second = std::string(KVR_ANIM_NAME_SIZE, 'W');  // no NUL at all
  const std::string third = Raw_Name("", '\0');
  const std::string inner = Picture_Chunk(KVR_CHUNK_STATIC_VR, 90, "data") +
                            Raw_Animation(first, Empty_Frame()) +
                            Chunk(0x1234, Raw_Animation(Raw_Name("hidden", 0), "")) +  // inside another chunk
                            Empty_Frame() +                                            // a frame out of place
                            Raw_Animation(second, Grey_Frame({1}, 50) + Loop_Chunk(0)) +
                            Chunk(KVR_CHUNK_LOOP, Le32(0)) + Raw_Animation(third, "");
  const std::string path = Write(Panorama_File(inner));
  const int before = Open_Descriptors();
  ASSERT_EQ(Kvr_Get_Number_Animation(path.c_str()), 3);
  Blocks names(4);
  Kvr_Get_Animation(path.c_str(), names.pointers.data());
  EXPECT_EQ(Open_Descriptors(), before);
  EXPECT_EQ(names.Bytes(0), first);
  EXPECT_EQ(names.Bytes(1), second);
  EXPECT_EQ(names.Bytes(2), third);
  EXPECT_EQ(names.Bytes(3), std::string(KVR_ANIM_NAME_SIZE, '#'));  // beyond the count
}

TEST_F(AnimationList, AFileWithoutAnimationsWritesNothing) {
  const std::string path = Write(Panorama_File(Picture_Chunk(KVR_CHUNK_STATIC_PIC, 90, "data") +
                                               Chunk(0x99, Animation_Chunk("inner", 1, ""))));
  EXPECT_EQ(Kvr_Get_Number_Animation(path.c_str()), 0);
  Blocks names(1);
  Kvr_Get_Animation(path.c_str(), names.pointers.data());
  EXPECT_EQ(names.Bytes(0), std::string(KVR_ANIM_NAME_SIZE, '#'));
}

TEST_F(AnimationList, TheWalkEndsAtAZeroTag) {
  const std::string path =
      Write(Panorama_File(Animation_Chunk("one", 1, "") + Header(0, 8) + Animation_Chunk("two", 1, "")));
  EXPECT_EQ(Kvr_Get_Number_Animation(path.c_str()), 1);
  Blocks names(2);
  Kvr_Get_Animation(path.c_str(), names.pointers.data());
  EXPECT_EQ(names.Bytes(0), Name_Bytes("one"));
  EXPECT_EQ(names.Bytes(1), std::string(KVR_ANIM_NAME_SIZE, '#'));
}

// An animation chunk cut inside its name: the bytes the file holds, then
// NULs, rather than whatever the block held before.
TEST_F(AnimationList, ANameCutByTheEndOfTheFileIsFilledWithNuls) {
  const std::string path =
      Write(Panorama_File(Animation_Chunk("long", 1, "")) + Header(KVR_CHUNK_ANIMATION, 44) + "cut");
  EXPECT_EQ(Kvr_Get_Number_Animation(path.c_str()), 2);
  Blocks names(2);
  Kvr_Get_Animation(path.c_str(), names.pointers.data());
  EXPECT_EQ(names.Bytes(0), Name_Bytes("long"));
  EXPECT_EQ(names.Bytes(1), Name_Bytes("cut"));
}

TEST_F(AnimationList, FilesThatCannotBeReadGiveNoAnimations) {
  const std::string animation = Animation_Chunk("door", 1, "");
  const std::string wrong = Write(Chunk(0xAB84FA12, animation));  // outer tag bytes reversed
  EXPECT_EQ(Kvr_Get_Number_Animation(wrong.c_str()), 0);
  Blocks names(1);
  Kvr_Get_Animation(wrong.c_str(), names.pointers.data());
  EXPECT_EQ(names.Bytes(0), std::string(KVR_ANIM_NAME_SIZE, '#'));

  EXPECT_EQ(Kvr_Get_Number_Animation(folder_.Path("missing").c_str()), 0);
  Kvr_Get_Animation(folder_.Path("missing").c_str(), names.pointers.data());
  EXPECT_EQ(Kvr_Get_Number_Animation(static_cast<char*>(nullptr)), 0);
  Kvr_Get_Animation(static_cast<char*>(nullptr), names.pointers.data());
  EXPECT_EQ(names.Bytes(0), std::string(KVR_ANIM_NAME_SIZE, '#'));

  const std::string good = Write(Panorama_File(animation));
  const int before = Open_Descriptors();
  Kvr_Get_Animation(good.c_str(), nullptr);
  EXPECT_EQ(Open_Descriptors(), before);
}

}  // namespace
}  // namespace kvr_test
