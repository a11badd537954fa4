// The MTRD chunk search, the container, single chunks, and the header and
// sound chunks of each version.
#include <gtest/gtest.h>

#include "tests/pictures/mtrd/mtrd_test_support.h"
#include "pictures/mtrd/mtrd_sound.h"

namespace {

ByteVector Concat(const std::vector<ByteVector>& parts) {
  ByteVector out;
  for (const ByteVector& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

// AAAA (12 bytes) at 0, BBBB (8) at 12, CCCC (16) at 20: 36 bytes.
ByteVector Three_Chunks() {
  return Concat(
      {Mtrd_Chunk("AAAA", {1, 2, 3, 4}), Mtrd_Chunk("BBBB", {}), Mtrd_Chunk("CCCC", ByteVector(8, 7))});
}

bool Find(MemoryMtrd& m, std::string_view tag, int32_t start, int32_t end, MtrdChunk* found) {
  return Mtrd_Find_Chunk(m.wx, m.handle, m.size, tag, start, end, found);
}

TEST(MtrdChunkSearch, WalksChunksToTheTag) {
  MemoryMtrd m(Three_Chunks());
  MtrdChunk c;
  ASSERT_TRUE(Find(m, "AAAA", 0, 36, &c));
  EXPECT_EQ(c.start, 0);
  EXPECT_EQ(c.end, 12);
  EXPECT_EQ(c.Payload(), 8);
  EXPECT_EQ(c.Payload_Size(), 4);
  ASSERT_TRUE(Find(m, "BBBB", 0, 36, &c));
  EXPECT_EQ(c.start, 12);
  EXPECT_EQ(c.end, 20);
  ASSERT_TRUE(Find(m, "cccc", 0, 36, &c)) << "tags ignore case";
  EXPECT_EQ(c.start, 20);
  EXPECT_EQ(c.end, 36);
  EXPECT_FALSE(Find(m, "DDDD", 0, 36, &c));
  EXPECT_FALSE(Find(m, "CCC", 0, 36, &c));
  // The search starts where it is told: an earlier chunk is not seen.
  EXPECT_FALSE(Find(m, "AAAA", 12, 36, &c));
  ASSERT_TRUE(Find(m, "CCCC", 12, 36, &c));
  EXPECT_EQ(c.start, 20);
}

TEST(MtrdChunkSearch, EndsAndFileLimits) {
  MemoryMtrd m(Three_Chunks());
  MtrdChunk c;
  // The next header must fit before the end.
  EXPECT_FALSE(Find(m, "CCCC", 0, 27, &c));
  EXPECT_TRUE(Find(m, "CCCC", 0, 28, &c));
  EXPECT_FALSE(Find(m, "BBBB", 0, 12, &c));
  // Fails at once: start at or beyond the file's end, end beyond it.
  EXPECT_FALSE(Find(m, "AAAA", 36, 36, &c));
  EXPECT_FALSE(Find(m, "AAAA", 40, 36, &c));
  EXPECT_FALSE(Find(m, "AAAA", 0, 37, &c));
  EXPECT_FALSE(Find(m, "AAAA", -1, 36, &c));
}

TEST(MtrdChunkSearch, ZeroLengthEndsTheSearch) {
  ByteVector zero = {'Z', 'E', 'R', 'O', 0, 0, 0, 0};
  MemoryMtrd m(Concat({Mtrd_Chunk("AAAA", {}), zero, Mtrd_Chunk("BBBB", {})}));
  MtrdChunk c;
  EXPECT_TRUE(Find(m, "AAAA", 0, m.size, &c));
  EXPECT_FALSE(Find(m, "BBBB", 0, m.size, &c));
  EXPECT_FALSE(Find(m, "ZERO", 0, m.size, &c));
  EXPECT_TRUE(Find(m, "BBBB", 16, m.size, &c));
}

TEST(MtrdContainer, OpensTheMtrdChunk) {
  const ByteVector inside = Mtrd_Container({Mtrd_Int("VERS", 1283)});
  MemoryMtrd m(Concat({Mtrd_Chunk("JUNK", {9, 9}), inside, ByteVector{1, 2, 3}}));
  MtrdFile f;
  ASSERT_TRUE(m.Open(&f));
  EXPECT_EQ(f.payload, 10 + 8);
  EXPECT_EQ(f.end, 10 + int32_t(inside.size()));
  EXPECT_EQ(f.file_size, m.size);

  MemoryMtrd none(Mtrd_Chunk("JUNK", {}));
  EXPECT_FALSE(none.Open(&f));
  // An MTRD chunk longer than the file is refused.
  ByteVector cut = inside;
  cut.pop_back();
  MemoryMtrd truncated(cut);
  EXPECT_FALSE(truncated.Open(&f));
  // Start and end given by the caller bound the search.
  MemoryMtrd two(Concat({inside, inside}));
  ASSERT_TRUE(Mtrd_Open(two.wx, two.handle, two.size, int32_t(inside.size()), two.size, &f));
  EXPECT_EQ(f.payload, int32_t(inside.size()) + 8);
  EXPECT_FALSE(Mtrd_Open(two.wx, two.handle, two.size, 0, int32_t(inside.size()) - 1, &f));
}

TEST(MtrdContainer, LookupsStayInsideTheChunk) {
  const ByteVector container = Mtrd_Container(
      {Mtrd_Int("VERS", 1282), Mtrd_Chunk("SHRT", {1, 2}), Mtrd_Int("SIZX", 5), Mtrd_Int("SIZX", 6)});
  // A chunk after the MTRD chunk is not found.
  MemoryMtrd m(Concat({container, Mtrd_Int("SIZY", 7)}));
  MtrdFile f;
  ASSERT_TRUE(m.Open(&f));
  int32_t value = -5;
  EXPECT_EQ(Mtrd_Read_Int(f, "SIZX", &value), MtrdLookup::kFound);
  EXPECT_EQ(value, 5) << "the first of two chunks with a tag";
  value = -5;
  EXPECT_EQ(Mtrd_Read_Int(f, "SIZY", &value), MtrdLookup::kAbsent);
  EXPECT_EQ(value, -5);
  EXPECT_EQ(Mtrd_Read_Int(f, "SHRT", &value), MtrdLookup::kMalformed) << "a payload too short for a number";
  EXPECT_EQ(value, -5);
  int32_t version = 0;
  EXPECT_TRUE(Mtrd_Read_Version(f, &version));
  EXPECT_EQ(version, 1282);
}

TEST(MtrdContainer, ChunkRunningPastTheContainerIsMalformed) {
  ByteVector long_chunk = Mtrd_Chunk("PICT", ByteVector(8, 1));
  long_chunk[4] = 40;  // claims 40 bytes where 16 are left in the container
  ByteVector file = Mtrd_Container({Mtrd_Int("VERS", 1284), long_chunk});
  file.insert(file.end(), 40, 0);  // the file itself is long enough
  MemoryMtrd m(file);
  MtrdFile f;
  ASSERT_TRUE(m.Open(&f));
  MtrdChunk c;
  EXPECT_EQ(Mtrd_Find(f, "PICT", &c), MtrdLookup::kMalformed);
  EXPECT_EQ(Mtrd_Find(f, "VERS", &c), MtrdLookup::kFound);
}

TEST(MtrdContainer, SuccessiveChunksOfAKind) {
  MemoryMtrd m(Mtrd_Container({Mtrd_Chunk("ANIM", {1}), Mtrd_Int("VERS", 1284), Mtrd_Chunk("anim", {2, 2}),
                               Mtrd_Chunk("SAMP", {3})}));
  MtrdFile f;
  ASSERT_TRUE(m.Open(&f));
  MtrdChunk c;
  ASSERT_EQ(Mtrd_Find(f, "ANIM", &c), MtrdLookup::kFound);
  EXPECT_EQ(c.Payload_Size(), 1);
  ASSERT_EQ(Mtrd_Find_From(f, "ANIM", c.end, &c), MtrdLookup::kFound);
  EXPECT_EQ(c.Payload_Size(), 2);
  uint8_t bytes[2] = {};
  ASSERT_TRUE(Mtrd_Read_Payload(f, c, bytes, 2));
  EXPECT_EQ(bytes[1], 2);
  EXPECT_FALSE(Mtrd_Read_Payload(f, c, bytes, 3)) << "more than the payload";
  EXPECT_EQ(Mtrd_Find_From(f, "ANIM", c.end, &c), MtrdLookup::kAbsent);
  EXPECT_EQ(Mtrd_Find_From(f, "SAMP", f.end, &c), MtrdLookup::kAbsent)
      << "the search starts at the file's end";
}

TEST(MtrdVersion, DefaultAndRange) {
  for (auto [chunks, expected] :
       std::vector<std::pair<std::vector<ByteVector>, int32_t>>{{{}, 1280},
                                                                {{Mtrd_Int("VERS", 1280)}, 1280},
                                                                {{Mtrd_Int("VERS", 1284)}, 1284},
                                                                {{Mtrd_Int("vers", 1281)}, 1281}}) {
    MemoryMtrd m(Mtrd_Container(chunks));
    MtrdFile f;
    ASSERT_TRUE(m.Open(&f));
    int32_t version = 0;
    ASSERT_TRUE(Mtrd_Read_Version(f, &version));
    EXPECT_EQ(version, expected);
  }
  for (const ByteVector& bad : {Mtrd_Int("VERS", 1279), Mtrd_Int("VERS", 1285), Mtrd_Int("VERS", -1),
                                Mtrd_Chunk("VERS", {0x00, 0x05})}) {
    MemoryMtrd m(Mtrd_Container({bad}));
    MtrdFile f;
    ASSERT_TRUE(m.Open(&f));
    int32_t version = 0;
    EXPECT_FALSE(Mtrd_Read_Version(f, &version));
  }
}

// --- header chunks by version ------------------------------------------------

bool Header(const std::vector<ByteVector>& chunks, MtrdHeader* h, MtrdUse use = MtrdUse::kPicture) {
  MemoryMtrd m(Mtrd_Container(chunks));
  MtrdFile f;
  return m.Open(&f) && Mtrd_Read_Header(f, use, h);
}

TEST(MtrdHeader, HeadChunkUpTo1281) {
  MtrdHeader h;
  ASSERT_TRUE(Header({Mtrd_Head("door", 1281, 64, 48, 16, 3, 999, 5)}, &h));
  EXPECT_EQ(h.name, "door");
  EXPECT_EQ(h.version, 1281) << "the HEAD version replaces the default 1280";
  EXPECT_EQ(h.width, 64);
  EXPECT_EQ(h.height, 48);
  EXPECT_EQ(h.depth, 16);
  EXPECT_EQ(h.pack_method, 3);
  EXPECT_EQ(h.data_size, 999);
  EXPECT_EQ(h.frame_count, 5);
  // A 16-character name keeps 15: the 16th byte is forced to 0.
  ASSERT_TRUE(Header({Mtrd_Int("VERS", 1280), Mtrd_Head("ABCDEFGHIJKLMNOP", 1280, 1, 1, 8, 0, 1, 0)}, &h));
  EXPECT_EQ(h.name, "ABCDEFGHIJKLMNO");
  ASSERT_TRUE(Header({Mtrd_Head("", 1280, 1, 1, 8, 0, 1, 0)}, &h));
  EXPECT_EQ(h.name, "Null_picture");
}

// A 1281 file with HEAD and the separate chunks takes its header from HEAD.
TEST(MtrdHeader, Version1281PrefersHead) {
  MtrdPictureFields fields;
  fields.version = 1281;
  fields.width = 99;
  std::vector<ByteVector> chunks = Mtrd_Picture_Chunks(fields);
  chunks.push_back(Mtrd_Head("head", 1281, 7, 3, 8, 0, 21, 0));
  MtrdHeader h;
  ASSERT_TRUE(Header(chunks, &h));
  EXPECT_EQ(h.name, "head");
  EXPECT_EQ(h.width, 7);
  // Without HEAD the separate chunks are not read at all.
  chunks.pop_back();
  EXPECT_FALSE(Header(chunks, &h));
  fields.version = 1280;
  EXPECT_FALSE(Header(Mtrd_Picture_Chunks(fields), &h));
}

TEST(MtrdHeader, HeadRefusals) {
  MtrdHeader h;
  ByteVector short_head = Mtrd_Head("x", 1280, 1, 1, 8, 0, 1, 0);
  short_head.pop_back();
  short_head[4] = uint8_t(short_head.size());
  EXPECT_FALSE(Header({short_head}, &h));
  EXPECT_FALSE(Header({Mtrd_Head("x", 1290, 1, 1, 8, 0, 1, 0)}, &h));
  EXPECT_FALSE(Header({Mtrd_Head("x", 0, 1, 1, 8, 0, 1, 0)}, &h));
  EXPECT_FALSE(Header({}, &h));
}

TEST(MtrdHeader, SeparateChunksFrom1282) {
  for (int32_t version : {1282, 1283, 1284}) {
    MtrdPictureFields fields;
    fields.version = version;
    fields.name = "wall";
    fields.width = 12;
    fields.height = 5;
    fields.depth = 16;
    fields.pack = 6;
    fields.frames = 3;
    fields.pict = ByteVector(17, 1);
    MtrdHeader h;
    ASSERT_TRUE(Header(Mtrd_Picture_Chunks(fields), &h)) << version;
    EXPECT_EQ(h.version, version);
    EXPECT_EQ(h.name, "wall");
    EXPECT_EQ(h.width, 12);
    EXPECT_EQ(h.height, 5);
    EXPECT_EQ(h.depth, 16);
    EXPECT_EQ(h.pack_method, 6);
    EXPECT_EQ(h.data_size, 17);
    EXPECT_EQ(h.frame_count, 3);
    // A HEAD chunk is not read from 1282 on.
    std::vector<ByteVector> chunks = Mtrd_Picture_Chunks(fields);
    chunks.insert(chunks.begin() + 1, Mtrd_Head("head", version, 1, 1, 8, 0, 1, 0));
    ASSERT_TRUE(Header(chunks, &h));
    EXPECT_EQ(h.name, "wall");
  }
}

TEST(MtrdHeader, EverySeparateChunkIsRequired) {
  const std::vector<ByteVector> all = Mtrd_Picture_Chunks(MtrdPictureFields{});
  for (size_t drop = 1; drop <= 7; ++drop) {  // NAME .. NBFR
    std::vector<ByteVector> chunks = all;
    chunks.erase(chunks.begin() + ptrdiff_t(drop));
    MtrdHeader h;
    EXPECT_FALSE(Header(chunks, &h)) << drop;
  }
}

// Sound-only videos of version 1284 need no PACK and SIZE.
TEST(MtrdHeader, Version1284VideoWithoutDepth) {
  MtrdPictureFields fields;
  fields.depth = 0;
  std::vector<ByteVector> chunks = Mtrd_Picture_Chunks(fields);
  chunks.erase(chunks.begin() + 5, chunks.begin() + 7);  // PACK, SIZE
  MtrdHeader h;
  EXPECT_TRUE(Header(chunks, &h, MtrdUse::kVideo));
  EXPECT_FALSE(Header(chunks, &h, MtrdUse::kPicture));
  fields.depth = 8;
  chunks = Mtrd_Picture_Chunks(fields);
  chunks.erase(chunks.begin() + 5);  // PACK
  EXPECT_FALSE(Header(chunks, &h, MtrdUse::kVideo));
  fields.version = 1283;
  fields.depth = 0;
  chunks = Mtrd_Picture_Chunks(fields);
  chunks.erase(chunks.begin() + 5, chunks.begin() + 7);
  EXPECT_FALSE(Header(chunks, &h, MtrdUse::kVideo));
}

TEST(MtrdHeader, NameChunk) {
  MtrdPictureFields fields;
  fields.name = std::string(300, 'n');
  MtrdHeader h;
  ASSERT_TRUE(Header(Mtrd_Picture_Chunks(fields), &h));
  EXPECT_EQ(h.name, std::string(255, 'n'));
  fields.name = "";
  ASSERT_TRUE(Header(Mtrd_Picture_Chunks(fields), &h));
  EXPECT_EQ(h.name, "Null_picture");
  std::vector<ByteVector> chunks = Mtrd_Picture_Chunks(MtrdPictureFields{});
  chunks[1] = Mtrd_Chunk("NAME", {'a', 'b', 'c'});
  ASSERT_TRUE(Header(chunks, &h));
  EXPECT_EQ(h.name, "abc");
}

// --- sound parameters ----------------------------------------------------------

bool Sound(int32_t version, const std::vector<ByteVector>& chunks, MtrdSound* s) {
  MemoryMtrd m(Mtrd_Container(chunks));
  MtrdFile f;
  return m.Open(&f) && Mtrd_Read_Sound(f, version, s);
}

ByteVector Anih(int32_t fps, int32_t rate, int32_t bits, int32_t stereo, int32_t method) {
  ByteVector p;
  for (int32_t v : {fps, rate, bits, stereo, method})
    for (int shift = 0; shift < 32; shift += 8) p.push_back(uint8_t(uint32_t(v) >> shift));
  return Mtrd_Chunk("ANIH", p);
}

TEST(MtrdSoundParameters, AnihUpTo1282) {
  MtrdSound s;
  for (int32_t version : {1281, 1282}) {
    ASSERT_TRUE(Sound(version, {Anih(12, 22050, 8, 1, 5)}, &s));
    EXPECT_EQ(s.frames_per_second, 12);
    EXPECT_EQ(s.sample_rate, 22050);
    EXPECT_EQ(s.bits, 8);
    EXPECT_EQ(s.stereo, 1);
    EXPECT_EQ(s.pack_method, 5);
  }
  // Version 1280 plays 16-bit mono whatever ANIH says.
  ASSERT_TRUE(Sound(1280, {Anih(12, 22050, 8, 1, 5)}, &s));
  EXPECT_EQ(s.frames_per_second, 12);
  EXPECT_EQ(s.sample_rate, 22050);
  EXPECT_EQ(s.bits, 16);
  EXPECT_EQ(s.stereo, 0);
  EXPECT_EQ(s.pack_method, 0);
  // No ANIH: 15 frames per second, no sound. FSEC and friends are not read.
  ASSERT_TRUE(Sound(1282, {Mtrd_Int("FSEC", 30), Mtrd_Int("SFRE", 11025)}, &s));
  EXPECT_EQ(s.frames_per_second, 15);
  EXPECT_EQ(s.sample_rate, 0);
  ByteVector short_anih = Anih(1, 2, 3, 4, 5);
  short_anih.resize(short_anih.size() - 4);
  short_anih[4] = uint8_t(short_anih.size());
  EXPECT_FALSE(Sound(1281, {short_anih}, &s));
}

TEST(MtrdSoundParameters, Version1283Defaults) {
  MtrdSound s;
  ASSERT_TRUE(Sound(1283, {Anih(30, 44100, 16, 1, 3)}, &s));
  EXPECT_EQ(s.frames_per_second, 15) << "without FSEC a 1283 video plays at 15";
  EXPECT_EQ(s.sample_rate, 0);
  EXPECT_EQ(s.bits, 0);
  EXPECT_EQ(s.stereo, 0);
  EXPECT_EQ(s.pack_method, 0);
  ASSERT_TRUE(Sound(1283,
                    {Mtrd_Int("FSEC", 10), Mtrd_Int("SFRE", 11025), Mtrd_Int("SBIT", 8), Mtrd_Int("STER", 1),
                     Mtrd_Int("SCRU", 5)},
                    &s));
  EXPECT_EQ(s.frames_per_second, 10);
  EXPECT_EQ(s.sample_rate, 11025);
  EXPECT_EQ(s.bits, 8);
  EXPECT_EQ(s.stereo, 1);
  EXPECT_EQ(s.pack_method, 5);
  EXPECT_FALSE(Sound(1283, {Mtrd_Chunk("FSEC", {1})}, &s));
}

TEST(MtrdSoundParameters, Version1284Requirements) {
  const std::vector<ByteVector> all = {Mtrd_Int("FSEC", 25), Mtrd_Int("SFRE", 22050), Mtrd_Int("SSIZ", 1764),
                                       Mtrd_Int("SBIT", 16), Mtrd_Int("STER", 0),     Mtrd_Int("SCRU", 3)};
  MtrdSound s;
  ASSERT_TRUE(Sound(1284, all, &s));
  EXPECT_EQ(s.frames_per_second, 25);
  EXPECT_EQ(s.sample_rate, 22050);
  EXPECT_EQ(s.size, 1764);
  EXPECT_EQ(s.bits, 16);
  EXPECT_EQ(s.pack_method, 3);
  for (size_t drop = 0; drop < all.size(); ++drop) {
    std::vector<ByteVector> chunks = all;
    chunks.erase(chunks.begin() + ptrdiff_t(drop));
    EXPECT_FALSE(Sound(1284, chunks, &s)) << drop;
  }
  // Without a sample rate the sound chunks are not needed.
  ASSERT_TRUE(Sound(1284, {Mtrd_Int("FSEC", 25), Mtrd_Int("SFRE", 0)}, &s));
  EXPECT_EQ(s.sample_rate, 0);
}

TEST(MtrdSoundParameters, BytesPerFrame) {
  MtrdSound s;
  s.frames_per_second = 15;
  s.sample_rate = 22050;
  // 1280: (rate / fps) x 2; the player streams two blocks: 5880 bytes.
  EXPECT_EQ(Mtrd_Sound_Bytes_Per_Frame(1280, s), 2940);
  EXPECT_EQ(2 * Mtrd_Sound_Bytes_Per_Frame(1280, s), 5880);
  s.bits = 16;
  s.stereo = 1;
  EXPECT_EQ(Mtrd_Sound_Bytes_Per_Frame(1281, s), 5880);
  EXPECT_EQ(Mtrd_Sound_Bytes_Per_Frame(1283, s), 5880);
  s.size = 1234;
  EXPECT_EQ(Mtrd_Sound_Bytes_Per_Frame(1284, s), 1234);
  // Left to right in whole numbers.
  MtrdSound t;
  t.sample_rate = 10;
  t.frames_per_second = 4;
  EXPECT_EQ(Mtrd_Sound_Bytes_Per_Frame(1280, t), 4);  // (10 / 4) x 2, not 20 / 4
  t.sample_rate = 5;
  t.frames_per_second = 3;
  t.bits = 16;
  EXPECT_EQ(Mtrd_Sound_Bytes_Per_Frame(1282, t), 3);  // (5 x 16 / 8) / 3
  t.bits = 8;
  t.sample_rate = 11025;
  t.frames_per_second = 10;
  EXPECT_EQ(Mtrd_Sound_Bytes_Per_Frame(1281, t), 1102);
  // No sound, no frame rate, and hostile values.
  t.sample_rate = 0;
  EXPECT_EQ(Mtrd_Sound_Bytes_Per_Frame(1281, t), -1);
  t.sample_rate = 8000;
  t.frames_per_second = 0;
  EXPECT_EQ(Mtrd_Sound_Bytes_Per_Frame(1280, t), -1);
  t.frames_per_second = 1;
  t.sample_rate = INT32_MAX;
  t.stereo = 1;
  t.bits = 16;
  EXPECT_EQ(Mtrd_Sound_Bytes_Per_Frame(1283, t), int64_t(INT32_MAX) * 4);
  t.stereo = 2;
  EXPECT_EQ(Mtrd_Sound_Bytes_Per_Frame(1283, t), -1);
}

}  // namespace
