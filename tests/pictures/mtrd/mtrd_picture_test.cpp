// Mtrd_Read_Picture: pictures of every version, frames, refusals, the
// stored name, and truncation.
#include <gtest/gtest.h>

#include "tests/pictures/mtrd/mtrd_test_support.h"
#include "tests/pictures/picture_test_support.h"
#include "pictures/mtrd/mtrd_picture.h"
#include "packing/packing_encode.h"
#include "pictures/picture_readers.h"

namespace {

ByteVector Pixels(size_t count) {
  ByteVector v(count);
  for (size_t i = 0; i < count; ++i) v[i] = uint8_t(i * 13 + 1);
  return v;
}

MtrdPictureFields Plain_Fields() {
  MtrdPictureFields s;
  s.name = "lamp";
  s.width = 6;
  s.height = 4;
  s.palette = Test_Palette();
  s.pict = Pixels(24);
  return s;
}

PicturePtr Read_Bytes(const ByteVector& bytes) {
  MemoryMtrd m(bytes);
  return Mtrd_Read_Picture(m.wx, m.handle, m.size, 0, m.size);
}
PicturePtr Read(const std::vector<ByteVector>& chunks) { return Read_Bytes(Mtrd_Container(chunks)); }
PicturePtr Read(const MtrdPictureFields& fields) { return Read(Mtrd_Picture_Chunks(fields)); }

TEST(MtrdPicture, PlainPictureOfEachSeparateVersion) {
  for (int32_t version : {1282, 1283, 1284}) {
    MtrdPictureFields fields = Plain_Fields();
    fields.version = version;
    PicturePtr p = Read(fields);
    ASSERT_TRUE(p) << version;
    EXPECT_EQ(p->name, "lamp");
    EXPECT_EQ(p->version, version);
    EXPECT_EQ(p->width, 6);
    EXPECT_EQ(p->height, 4);
    EXPECT_EQ(p->depth, 8);
    EXPECT_EQ(p->pack_method, 0);
    EXPECT_EQ(p->data_size, 24);
    EXPECT_EQ(p->pixels, fields.pict);
    EXPECT_EQ(p->palette, fields.palette);
    EXPECT_EQ(p->frame_count, 0);
    EXPECT_TRUE(p->frames.empty());
    EXPECT_TRUE(Consistent(*p));
  }
}

TEST(MtrdPicture, HeadVersions) {
  for (int32_t version : {1280, 1281}) {
    const ByteVector pixels = Pixels(2 * 3 * 2);
    PicturePtr p = Read({Mtrd_Int("VERS", version), Mtrd_Head("tile", version, 2, 3, 16, 0, 1, 0),
                         Mtrd_Chunk("PALE", Test_Palette()), Mtrd_Chunk("PICT", pixels)});
    ASSERT_TRUE(p) << version;
    EXPECT_EQ(p->name, "tile");
    EXPECT_EQ(p->version, version);
    EXPECT_EQ(p->depth, 16);
    EXPECT_EQ(p->data_size, 12) << "from the PICT length, not the stored size";
    EXPECT_EQ(p->pixels, pixels);
  }
  // Without VERS the file is version 1280, and HEAD's version is kept.
  PicturePtr p =
      Read({Mtrd_Head("t", 1281, 1, 1, 8, 0, 1, 0), Mtrd_Chunk("PALE", {}), Mtrd_Chunk("PICT", {5})});
  ASSERT_TRUE(p);
  EXPECT_EQ(p->version, 1281);
  EXPECT_EQ(p->palette, ByteVector(768, 0)) << "an empty PALE leaves the palette 0";
}

// Chunks in any order; a second chunk with the same tag is ignored.
TEST(MtrdPicture, AnyOrderFirstOccurrence) {
  std::vector<ByteVector> chunks = Mtrd_Picture_Chunks(Plain_Fields());
  std::reverse(chunks.begin(), chunks.end());
  chunks.push_back(Mtrd_Chunk("PICT", ByteVector(24, 0x55)));
  chunks.push_back(Mtrd_Int("SIZX", 3));
  PicturePtr p = Read(chunks);
  ASSERT_TRUE(p);
  EXPECT_EQ(p->width, 6);
  EXPECT_EQ(p->pixels, Plain_Fields().pict);
}

// Packed pixels stay packed until the picture is unpacked.
TEST(MtrdPicture, PackedPixelsStayPacked) {
  for (int method : {1, 2, 3, 4, 5, 6, 7}) {
    MtrdPictureFields fields = Plain_Fields();
    fields.width = 40;
    fields.height = 10;
    fields.depth = 16;
    ByteVector plain = Pixels(800);
    std::fill(plain.begin() + 100, plain.begin() + 400, 9);
    fields.pack = method;
    fields.pict = Pack(method, plain.data(), plain.size());
    PicturePtr p = Read(fields);
    ASSERT_TRUE(p) << method;
    EXPECT_EQ(p->pack_method, method);
    EXPECT_EQ(p->data_size, int(fields.pict.size()));
    EXPECT_EQ(p->pixels, fields.pict);
    Picture_Unpack(p.get());
    EXPECT_EQ(p->pack_method, 0);
    EXPECT_EQ(p->pixels, plain) << method;
  }
}

// Frames: the next F ANIM payloads, one after the other.
TEST(MtrdPicture, FramesFromAnimChunks) {
  MtrdPictureFields fields = Plain_Fields();
  fields.frames = 3;
  std::vector<ByteVector> chunks = Mtrd_Picture_Chunks(fields);
  chunks.insert(chunks.begin(), Mtrd_Chunk("ANIM", {1, 2}));
  chunks.push_back(Mtrd_Chunk("anim", {}));
  chunks.push_back(Mtrd_Chunk("ANIM", {3, 4, 5}));
  chunks.push_back(Mtrd_Chunk("ANIM", {6}));
  PicturePtr p = Read(chunks);
  ASSERT_TRUE(p);
  EXPECT_EQ(p->frame_count, 3);
  EXPECT_EQ(p->frames, (ByteVector{1, 2, 3, 4, 5}));
  EXPECT_EQ(p->pixels, fields.pict);

  const size_t nbfr = 8;  // behind the first ANIM and VERS .. SIZE
  chunks[nbfr] = Mtrd_Int("NBFR", 4);
  PicturePtr four = Read(chunks);
  ASSERT_TRUE(four);
  EXPECT_EQ(four->frames, (ByteVector{1, 2, 3, 4, 5, 6}));
  chunks[nbfr] = Mtrd_Int("NBFR", 5);
  EXPECT_FALSE(Read(chunks)) << "fewer ANIM chunks than frames";
  chunks[nbfr] = Mtrd_Int("NBFR", 1000000000);
  EXPECT_FALSE(Read(chunks));
  chunks[nbfr] = Mtrd_Int("NBFR", -1);
  EXPECT_FALSE(Read(chunks));
}

TEST(MtrdPicture, MissingChunksAreRefused) {
  const std::vector<ByteVector> all = Mtrd_Picture_Chunks(Plain_Fields());
  ASSERT_TRUE(Read(all));
  for (size_t drop = 1; drop < all.size(); ++drop) {  // everything but VERS
    std::vector<ByteVector> chunks = all;
    chunks.erase(chunks.begin() + ptrdiff_t(drop));
    EXPECT_FALSE(Read(chunks)) << drop;
  }
  EXPECT_FALSE(Read_Bytes(Mtrd_Chunk("MTRX", {})));
  EXPECT_FALSE(Read_Bytes({}));
}

TEST(MtrdPicture, ImpossibleSizesAreRefused) {
  auto with = [](auto change) {
    MtrdPictureFields s = Plain_Fields();
    change(s);
    return Read(s);
  };
  EXPECT_TRUE(with([](MtrdPictureFields&) {}));
  EXPECT_FALSE(with([](MtrdPictureFields& s) { s.width = 0; }));
  EXPECT_FALSE(with([](MtrdPictureFields& s) { s.height = -4; }));
  for (int32_t depth : {0, 1, 7, 12, 15, 17, 48, -8}) {
    EXPECT_FALSE(with([depth](MtrdPictureFields& s) {
      s.depth = depth;
      s.pict = Pixels(24 * 6);
    })) << depth;
  }
  for (int32_t method : {-1, 8, 99}) {
    EXPECT_FALSE(with([method](MtrdPictureFields& s) { s.pack = method; })) << method;
  }
  EXPECT_FALSE(with([](MtrdPictureFields& s) {
    s.width = 65536;
    s.height = 65536;
  }));
  // Plain data must cover the picture; longer data are cut to it.
  EXPECT_FALSE(with([](MtrdPictureFields& s) { s.pict.pop_back(); }));
  PicturePtr p = with([](MtrdPictureFields& s) { s.pict.push_back(77); });
  ASSERT_TRUE(p);
  EXPECT_EQ(p->data_size, 24);
  EXPECT_EQ(p->pixels, Plain_Fields().pict);
  EXPECT_TRUE(Consistent(*p));
  // Packed data that could never give the picture: 2 bytes of method 1 give
  // 128 at most.
  EXPECT_FALSE(with([](MtrdPictureFields& s) {
    s.width = 100;
    s.height = 10;
    s.pack = 1;
    s.pict = {0x7F, 1};
  }));
  EXPECT_TRUE(with([](MtrdPictureFields& s) {
    s.width = 128;
    s.height = 1;
    s.pack = 1;
    s.pict = {0x7F, 1};
  }));
}

TEST(MtrdPicture, MalformedChunksAreRefused) {
  std::vector<ByteVector> chunks = Mtrd_Picture_Chunks(Plain_Fields());
  chunks[2] = Mtrd_Chunk("SIZX", {6, 0});  // a number cut to 2 bytes
  EXPECT_FALSE(Read(chunks));
  chunks = Mtrd_Picture_Chunks(Plain_Fields());
  chunks[0] = Mtrd_Chunk("VERS", {1});
  EXPECT_FALSE(Read(chunks));
  // PICT claims more than the MTRD chunk holds.
  chunks = Mtrd_Picture_Chunks(Plain_Fields());
  chunks.back()[4] = 200;
  ByteVector bytes = Mtrd_Container(chunks);
  bytes.insert(bytes.end(), 300, 1);
  EXPECT_FALSE(Read_Bytes(bytes));
}

TEST(MtrdPicture, StoredNames) {
  MtrdPictureFields fields = Plain_Fields();
  fields.name = "";
  PicturePtr p = Read(fields);
  ASSERT_TRUE(p);
  EXPECT_EQ(p->name, "Null_picture");
  fields.name = "dir/inner";
  p = Read(fields);
  ASSERT_TRUE(p);
  EXPECT_EQ(p->name, "dir/inner") << "the stored name is kept as it is";
}

TEST(MtrdPicture, StartAndEndBoundTheSearch) {
  MtrdPictureFields second = Plain_Fields();
  second.name = "second";
  const ByteVector a = Mtrd_Container(Mtrd_Picture_Chunks(Plain_Fields()));
  ByteVector both = a;
  const ByteVector b = Mtrd_Container(Mtrd_Picture_Chunks(second));
  both.insert(both.end(), b.begin(), b.end());
  MemoryMtrd m(both);
  PicturePtr p = Mtrd_Read_Picture(m.wx, m.handle, m.size, int32_t(a.size()), m.size);
  ASSERT_TRUE(p);
  EXPECT_EQ(p->name, "second");
  p = Mtrd_Read_Picture(m.wx, m.handle, m.size, 0, m.size);
  ASSERT_TRUE(p);
  EXPECT_EQ(p->name, "lamp");
  EXPECT_FALSE(Mtrd_Read_Picture(m.wx, m.handle, m.size, 0, int32_t(a.size()) - 1));
  EXPECT_FALSE(Mtrd_Read_Picture(m.wx, -1, m.size, 0, m.size));
}

// Truncated at every length: never a picture, and nothing read past the end.
TEST(MtrdPicture, TruncatedAtEveryLength) {
  MtrdPictureFields fields = Plain_Fields();
  fields.frames = 1;
  std::vector<ByteVector> chunks = Mtrd_Picture_Chunks(fields);
  chunks.push_back(Mtrd_Chunk("ANIM", {8, 8, 8}));
  const ByteVector full = Mtrd_Container(chunks);
  ASSERT_TRUE(Read_Bytes(full));
  for (size_t length = 0; length < full.size(); ++length) {
    MemoryMtrd m(Prefix(full, length));
    EXPECT_FALSE(Mtrd_Read_Picture(m.wx, m.handle, m.size, 0, m.size)) << length;
  }
}

// Through the file readers: opened by path, the stored name kept.
TEST(MtrdPicture, FileReaderAndLoader) {
  const ByteVector bytes = Mtrd_Container(Mtrd_Picture_Chunks(Plain_Fields()));
  PicturePtr p = Read_From_Memory(Mtrd_Read_Picture_File, "rooms/other.mtd", bytes);
  ASSERT_TRUE(p);
  EXPECT_EQ(p->name, "lamp");
  EXPECT_EQ(p->pixels, Plain_Fields().pict);
  Wendax wx;
  EXPECT_FALSE(Mtrd_Read_Picture_File(wx, "missing.mtd"));
  Memory_File_Add(wx, "rooms/other.MTA", bytes.data(), bytes.size());
  p = Picture_Load(wx, "rooms/other.MTA");
  ASSERT_TRUE(p);
  EXPECT_EQ(p->name, "lamp");
}

}  // namespace
