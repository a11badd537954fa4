// Kvr_Get_Vr_Type: the kind a panorama file has by its first static chunk.
#include <gtest/gtest.h>

#include <string>

#include "kvr_read/kvr_read.h"
#include "tests/kvr_read/panorama_bytes.h"

namespace kvr_test {
namespace {

class VrType : public ::testing::Test {
 protected:
  int Type_Of(const std::string& bytes) {
    folder_.Write("pano.kvr", bytes);
    const int before = Open_Descriptors();
    const int type = Kvr_Get_Vr_Type(folder_.Path("pano.kvr").c_str());
    EXPECT_EQ(Open_Descriptors(), before);  // the file is closed again
    return type;
  }
  // A record whose data are not even looked at by this function.
  static std::string Record(uint32_t tag) { return Picture_Chunk(tag, 90, "data"); }
  TempFolder folder_;
};

TEST_F(VrType, TheFirstStaticChunkGivesTheKind) {
  const std::string vr = Record(KVR_CHUNK_STATIC_VR);
  const std::string pic = Record(KVR_CHUNK_STATIC_PIC);
  EXPECT_EQ(Type_Of(Panorama_File(vr)), KVR_TYPE_VR);
  EXPECT_EQ(Type_Of(Panorama_File(pic)), KVR_TYPE_PIC);
  EXPECT_EQ(Type_Of(Panorama_File(vr + pic)), KVR_TYPE_VR);
  EXPECT_EQ(Type_Of(Panorama_File(pic + vr)), KVR_TYPE_PIC);
}

TEST_F(VrType, OtherChunksBeforeTheStaticOneAreSkipped) {
  const std::string others =
      Chunk(0x11223344, "xxxx") + Animation_Chunk("door", 1, Empty_Frame()) + Chunk(KVR_CHUNK_FRAME, "");
  EXPECT_EQ(Type_Of(Panorama_File(others + Record(KVR_CHUNK_STATIC_PIC))), KVR_TYPE_PIC);
  EXPECT_EQ(Type_Of(Panorama_File(others + Record(KVR_CHUNK_STATIC_VR))), KVR_TYPE_VR);
}

TEST_F(VrType, AFileWithNeitherStaticChunkHasNoKind) {
  EXPECT_EQ(Type_Of(Panorama_File("")), KVR_TYPE_NONE);
  EXPECT_EQ(Type_Of(Panorama_File(Animation_Chunk("door", 1, Empty_Frame()))), KVR_TYPE_NONE);
  // A 0 tag ends the sequence: what follows it is not looked at.
  EXPECT_EQ(Type_Of(Panorama_File(Header(0, 8) + Record(KVR_CHUNK_STATIC_VR))), KVR_TYPE_NONE);
  // A static chunk hidden inside another chunk's payload is not found.
  EXPECT_EQ(Type_Of(Panorama_File(Chunk(0x55, Record(KVR_CHUNK_STATIC_VR)))), KVR_TYPE_NONE);
}

TEST_F(VrType, AFileThatIsNoPanoramaFileHasNoKind) {
  const std::string inner = Record(KVR_CHUNK_STATIC_VR);
  EXPECT_EQ(Type_Of(Chunk(0x12FA84AC, inner)), KVR_TYPE_NONE);  // wrong outer tag
  EXPECT_EQ(Type_Of(inner), KVR_TYPE_NONE);                     // the record alone
  EXPECT_EQ(Type_Of(""), KVR_TYPE_NONE);                        // empty file
  EXPECT_EQ(Type_Of(Le32(KVR_CHUNK_FILE)), KVR_TYPE_NONE);      // outer header cut
  // The outer header alone, then a static chunk header cut by the end.
  EXPECT_EQ(Type_Of(Header(KVR_CHUNK_FILE, 100) + Le32(KVR_CHUNK_STATIC_VR)), KVR_TYPE_NONE);
}

TEST_F(VrType, AMissingFileOrNoPathHasNoKind) {
  EXPECT_EQ(Kvr_Get_Vr_Type(folder_.Path("missing.kvr").c_str()), KVR_TYPE_NONE);
  EXPECT_EQ(Kvr_Get_Vr_Type(folder_.Path().c_str()), KVR_TYPE_NONE);  // a folder
  EXPECT_EQ(Kvr_Get_Vr_Type(static_cast<char*>(nullptr)), KVR_TYPE_NONE);
}

}  // namespace
}  // namespace kvr_test
