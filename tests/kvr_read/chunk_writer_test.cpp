// Write_Chunck and Write, and a panorama file written with them and walked
// the way every reader walks one.
#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "kvr_read/kvr_chunks.h"
#include "kvr_read/kvr_file.h"
#include "packing/byte_order.h"
#include "tests/kvr_read/chunk_bytes.h"

namespace kvr_test {
namespace {

std::string All_Bytes(KVR_FILE& f) {
  const int end = f.Tell();
  std::string bytes(static_cast<size_t>(end), '\0');
  f.Seek(0);
  f.Read(bytes.data(), end);
  return bytes;
}

TEST(ChunkWriter, WriteChunckWritesTheTagAndEightPlusTheSize) {
  KVR_FILE f;
  ASSERT_EQ(f.Open_Tmp(), 1);
  f.Write_Chunck(KVR_CHUNK_FRAME, 12);
  f.Write_Chunck(KVR_CHUNK_FILE, 0);
  f.Write_Chunck(-1, INT_MAX);  // the length wraps as a 32-bit number
  EXPECT_EQ(All_Bytes(f), std::string("\x11\xC2\xB1\xA0\x14\x00\x00\x00"
                                      "\xAB\x84\xFA\x12\x08\x00\x00\x00"
                                      "\xFF\xFF\xFF\xFF\x07\x00\x00\x80",
                                      24));
}

TEST(ChunkWriter, WriteCopiesBytesAndRefusesNothingToWrite) {
  KVR_FILE f;
  ASSERT_EQ(f.Open_Tmp(), 1);
  f.Write("abc", 3);
  f.Write("zz", 0);
  f.Write("zz", -2);
  f.Write(static_cast<void*>(nullptr), 2);
  EXPECT_EQ(All_Bytes(f), "abc");
}

TEST(ChunkWriter, WritingWithNoStreamDoesNothing) {
  KVR_FILE none;
  none.Write_Chunck(1, 2);
  none.Write("abc", 3);
  EXPECT_EQ(none.Tell(), -1);
}

TEST(ChunkWriter, AReadOnlyStreamTakesNoBytes) {
  TempFolder folder;
  folder.Write("r.kvr", "0123");
  KVR_FILE f;
  ASSERT_EQ(f.Open(folder.Path("r.kvr").c_str(), "rb"), 1);
  f.Write_Chunck(1, 2);
  f.Write("abc", 3);
  f.Close();
  EXPECT_EQ(folder.Read("r.kvr"), "0123");
}

void Write_Le32(KVR_FILE& f, int32_t v) {
  unsigned char b[4];
  Put_Le32(b, v);
  f.Write(b, 4);
}

int32_t Read_Le32(KVR_FILE& f) {
  unsigned char b[4] = {};
  f.Read(b, 4);
  return Le_I32(b);
}

// Writes a panorama file: a still picture record, one animation of two
// frames (one empty) with a loop point, and a chunk readers skip.
void Write_Panorama(KVR_FILE& f) {
  const std::string pic_data = "JPEG-DATA";
  const std::string name(KVR_ANIM_NAME_SIZE, '\0');
  const int record = KVR_PICTURE_RECORD_HEADER + static_cast<int>(pic_data.size());
  const int frame = 4 + 4 * 2 + 8 + 3;
  const int anim = KVR_ANIM_HEADER_SIZE + (8 + frame) + 8 + (8 + KVR_LOOP_PAYLOAD_SIZE);
  f.Write_Chunck(KVR_CHUNK_FILE, (8 + record) + (8 + 2) + (8 + anim));
  f.Write_Chunck(KVR_CHUNK_STATIC_PIC, record);
  Write_Le32(f, 90);
  Write_Le32(f, static_cast<int32_t>(pic_data.size()));
  f.Write(pic_data.data(), static_cast<int>(pic_data.size()));
  f.Write_Chunck(0x7777, 2);
  f.Write("??", 2);
  f.Write_Chunck(KVR_CHUNK_ANIMATION, anim);
  f.Write("water", 6);
  f.Write(name.data(), KVR_ANIM_NAME_SIZE - 6);
  Write_Le32(f, 2);
  f.Write_Chunck(KVR_CHUNK_FRAME, frame);
  for (int32_t v : {2, 17, 300, 75, 3}) Write_Le32(f, v);
  f.Write("blk", 3);
  f.Write_Chunck(KVR_CHUNK_FRAME, 0);
  f.Write_Chunck(KVR_CHUNK_LOOP, KVR_LOOP_PAYLOAD_SIZE);
  Write_Le32(f, 1);
}

TEST(ChunkWriter, APanoramaFileWalksTheReadersWay) {
  KVR_FILE f;
  ASSERT_EQ(f.Open_Tmp(), 1);
  Write_Panorama(f);
  const int end = f.Tell();
  f.Seek(0);
  int tag = 0, size = 0;
  f.Read_Chunck(&tag, &size);
  ASSERT_EQ(tag, KVR_CHUNK_FILE);
  EXPECT_EQ(size, end - 8);

  std::vector<int> tags;
  std::vector<int> frames;
  char name[KVR_ANIM_NAME_SIZE] = {};
  f.Get_Chunck(&tag, &size);
  while (tag != 0) {
    tags.push_back(tag);
    if (tag == KVR_CHUNK_ANIMATION) {
      f.Get_Chunck_Data(name, KVR_ANIM_NAME_SIZE);
      const int anim_start = f.Tell();
      f.Read_Chunck(&tag, &size);
      f.Seek(f.Tell() + KVR_ANIM_NAME_SIZE);
      EXPECT_EQ(Read_Le32(f), 2);
      f.Get_Chunck(&tag, &size);
      while (tag != 0) {
        frames.push_back(tag == KVR_CHUNK_FRAME ? size : -1);
        f.Next_Chunck();
        f.Get_Chunck(&tag, &size);
      }
      EXPECT_EQ(f.Tell(), end);
      f.Seek(anim_start);
    }
    f.Next_Chunck();
    f.Get_Chunck(&tag, &size);
  }
  EXPECT_EQ(tags, (std::vector<int>{KVR_CHUNK_STATIC_PIC, 0x7777, KVR_CHUNK_ANIMATION}));
  EXPECT_EQ(frames, (std::vector<int>{23, 0, -1}));
  EXPECT_STREQ(name, "water");
  EXPECT_EQ(f.Tell(), end);
}

TEST(ChunkWriter, ARecordReadsBackFieldByField) {
  KVR_FILE f;
  ASSERT_EQ(f.Open_Tmp(), 1);
  Write_Panorama(f);
  f.Seek(8);
  int tag = 0, size = 0;
  f.Read_Chunck(&tag, &size);
  ASSERT_EQ(tag, KVR_CHUNK_STATIC_PIC);
  EXPECT_EQ(size, 17);
  EXPECT_EQ(Read_Le32(f), 90);
  EXPECT_EQ(Read_Le32(f), 9);
  std::string data(9, '.');
  f.Read(data.data(), 9);
  EXPECT_EQ(data, "JPEG-DATA");
}

}  // namespace
}  // namespace kvr_test
