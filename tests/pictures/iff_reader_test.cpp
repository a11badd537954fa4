// The IFF PBM reader: the byte-by-byte chunk search, BMHD, CMAP, BODY plain
// and ByteRun1, refusals and truncation.
#include <gtest/gtest.h>

#include "tests/pictures/picture_format_writers.h"
#include "tests/pictures/picture_test_support.h"
#include "pictures/byterun1.h"
#include "pictures/file_window.h"
#include "pictures/picture_readers.h"
#include "platform/files/file_layer.h"
#include "platform/wendax.h"

namespace {

ByteVector Pixels(size_t count) {
  ByteVector v(count);
  for (size_t i = 0; i < count; ++i) v[i] = uint8_t(i * 29 + 3);
  return v;
}

ByteVector Pbm(int width, int height, int compression, const ByteVector& body,
               const ByteVector& palette = Test_Palette(), std::string_view type = "PBM ") {
  return Iff_Form(type, {Iff_Chunk("BMHD", Iff_Bmhd(width, height, 8, compression)),
                         Iff_Chunk("CMAP", palette), Iff_Chunk("BODY", body)});
}

PicturePtr Read(const ByteVector& bytes, std::string_view name = "art/room.lbm") {
  return Read_From_Memory(Iff_Read, name, bytes);
}

ByteVector Decode(const ByteVector& data, size_t out_size) {
  Wendax wx;
  Memory_File_Add(wx, "d", data.data(), data.size());
  FileWindow file(wx, "d");
  ByteVector out(out_size + 4, 0xEE);
  out.resize(ByteRun1_Decode(file, 0, file.Size(), out.data(), out_size));
  return out;
}

TEST(IffReader, PlainBody) {
  const ByteVector pixels = Pixels(5 * 3);
  PicturePtr p = Read(Pbm(5, 3, 0, pixels));
  ASSERT_TRUE(p);
  EXPECT_EQ(p->name, "room.lbm");
  EXPECT_EQ(p->width, 5);
  EXPECT_EQ(p->height, 3);
  EXPECT_EQ(p->depth, 8);
  EXPECT_EQ(p->pack_method, 0);
  EXPECT_EQ(p->data_size, 15);
  EXPECT_EQ(p->pixels, pixels);
  EXPECT_EQ(p->palette, Test_Palette());
  EXPECT_TRUE(Consistent(*p));
}

TEST(IffReader, ByteRun1Body) {
  const ByteVector pixels = [] {
    ByteVector v = Pixels(300);
    std::fill(v.begin() + 40, v.begin() + 200, 7);
    return v;
  }();
  const ByteVector packed = ByteRun1_Encode(pixels);
  EXPECT_LT(packed.size(), pixels.size());
  PicturePtr p = Read(Pbm(20, 15, 1, packed));
  ASSERT_TRUE(p);
  EXPECT_EQ(p->pixels, pixels);
  // Any compression byte other than 0 means ByteRun1.
  p = Read(Pbm(20, 15, 2, packed));
  ASSERT_TRUE(p);
  EXPECT_EQ(p->pixels, pixels);
}

// A count byte of 128 is followed by 129 literal bytes.
TEST(IffReader, CountByte128CopiesTheNext129Bytes) {
  ByteVector body = {128};
  for (int i = 0; i < 129; ++i) body.push_back(uint8_t(i + 1));
  PicturePtr p = Read(Pbm(43, 3, 1, body));
  ASSERT_TRUE(p);
  ByteVector expected;
  for (int i = 0; i < 129; ++i) expected.push_back(uint8_t(i + 1));
  EXPECT_EQ(p->pixels, expected);
  EXPECT_EQ(Decode(body, 129), expected);
}

TEST(ByteRun1, CountsAndRuns) {
  EXPECT_EQ(Decode({0, 9}, 1), (ByteVector{9}));
  EXPECT_EQ(Decode({2, 1, 2, 3}, 3), (ByteVector{1, 2, 3}));
  EXPECT_EQ(Decode({255, 4}, 2), (ByteVector{4, 4}));    // 257 - 255 = 2
  EXPECT_EQ(Decode({129, 6}, 128), ByteVector(128, 6));  // 257 - 129 = 128
  EXPECT_EQ(Decode({254, 5, 1, 8, 9}, 5), (ByteVector{5, 5, 5, 8, 9}));
  // Decoding stops when the output is full; runs and literals crossing the
  // end are cut.
  EXPECT_EQ(Decode({129, 6, 0, 1}, 10), ByteVector(10, 6));
  EXPECT_EQ(Decode({4, 1, 2, 3, 4, 5}, 2), (ByteVector{1, 2}));
  // Data that end early give fewer bytes.
  EXPECT_EQ(Decode({4, 1, 2}, 5), (ByteVector{1, 2}));
  EXPECT_EQ(Decode({200}, 5), ByteVector{});
  EXPECT_EQ(Decode({}, 5), ByteVector{});
  EXPECT_EQ(ByteRun1_Max_Output(0), 0u);
  EXPECT_EQ(ByteRun1_Max_Output(3), 128u);
  EXPECT_EQ(ByteRun1_Max_Output(4), 256u);
}

TEST(IffReader, RefusesOtherFormsAndDepths) {
  const ByteVector pixels = Pixels(4 * 2);
  EXPECT_TRUE(Read(Pbm(4, 2, 0, pixels)));
  EXPECT_FALSE(Read(Pbm(4, 2, 0, pixels, Test_Palette(), "ILBM")));
  EXPECT_FALSE(Read(Pbm(4, 2, 0, pixels, Test_Palette(), "PBM8")));
  for (int planes : {1, 4, 7, 9, 24}) {
    const ByteVector file =
        Iff_Form("PBM ", {Iff_Chunk("BMHD", Iff_Bmhd(4, 2, planes, 0)), Iff_Chunk("BODY", pixels)});
    EXPECT_FALSE(Read(file)) << planes;
  }
}

TEST(IffReader, RefusesMissingOrShortChunks) {
  const ByteVector pixels = Pixels(4 * 2);
  const ByteVector bmhd = Iff_Chunk("BMHD", Iff_Bmhd(4, 2, 8, 0));
  EXPECT_FALSE(Read(Iff_Form("PBM ", {Iff_Chunk("BODY", pixels)})));
  EXPECT_FALSE(Read(Iff_Form("PBM ", {bmhd})));
  ByteVector no_form = Pbm(4, 2, 0, pixels);
  no_form[1] = 'X';
  EXPECT_FALSE(Read(no_form));
  // A BMHD too short for its fields.
  ByteVector short_bmhd = Iff_Bmhd(4, 2, 8, 0);
  short_bmhd.resize(10);
  EXPECT_FALSE(Read(Iff_Form("PBM ", {Iff_Chunk("BMHD", short_bmhd), Iff_Chunk("BODY", pixels)})));
  // Plain data short by one byte; ByteRun1 data that end early.
  EXPECT_FALSE(Read(Pbm(4, 2, 0, Pixels(7))));
  EXPECT_FALSE(Read(Pbm(4, 2, 1, {6, 1, 2, 3, 4, 5, 6, 7})));
  EXPECT_FALSE(Read(Pbm(4, 2, 1, {})));
  // The form type is cut.
  EXPECT_FALSE(Read({'F', 'O', 'R', 'M', 0, 0, 0, 2, 'P', 'B'}));
  EXPECT_FALSE(Read({}));
  Wendax wx;
  EXPECT_FALSE(Iff_Read(wx, "no/such.lbm"));
}

// Sizes no picture may have, or that the body could never fill, are refused
// before the picture is made.
TEST(IffReader, RefusesImpossibleSizes) {
  EXPECT_FALSE(Read(Pbm(0, 2, 0, Pixels(8))));
  EXPECT_FALSE(Read(Pbm(4, 0, 0, Pixels(8))));
  // 65535 x 65535 bytes is above the largest picture.
  EXPECT_FALSE(Read(Pbm(65535, 65535, 1, {129, 1})));
  // 16000 x 16000 fits a picture, but 4 bytes of ByteRun1 give 256 at most.
  EXPECT_FALSE(Read(Pbm(16000, 16000, 1, {129, 1, 129, 1})));
  EXPECT_FALSE(Read(Pbm(17, 16, 1, {129, 1, 129, 2})));  // 272 > 256
  PicturePtr p = Read(Pbm(16, 16, 1, {129, 1, 129, 2}));
  ASSERT_TRUE(p);
  ByteVector expected(128, 1);
  expected.resize(256, 2);
  EXPECT_EQ(p->pixels, expected);
  EXPECT_FALSE(Read(Pbm(16000, 16000, 0, Pixels(100))));
}

// Tags are found anywhere by their bytes, in any case, in any order,
// behind stray bytes; searches stay inside the FORM.
TEST(IffReader, ByteByByteChunkSearch) {
  const ByteVector pixels = Pixels(3 * 3);
  ByteVector file = {'j', 'u', 'n', 'k', 'F'};
  const ByteVector form =
      Iff_Form("pbm ", {ByteVector{1, 2, 3}, Iff_Chunk("body", pixels), ByteVector{9},
                        Iff_Chunk("CMAP", Test_Palette(5, 6, 7)), Iff_Chunk("bmhd", Iff_Bmhd(3, 3, 8, 0))});
  file.insert(file.end(), form.begin(), form.end());
  for (size_t i = 0; i < 4; ++i) file[5 + i] = uint8_t(std::tolower(file[5 + i]));  // "form"
  PicturePtr p = Read(file);
  ASSERT_TRUE(p);
  EXPECT_EQ(p->pixels, pixels);
  EXPECT_EQ(p->palette, Test_Palette(5, 6, 7));

  // The first occurrence of a tag counts, even inside another chunk's data.
  const ByteVector decoy = {'B', 'O', 'D', 'Y', 0, 0, 0, 9, 1, 1, 1, 1, 1, 1, 1, 1, 1};
  PicturePtr q = Read(Iff_Form("PBM ", {Iff_Chunk("BMHD", Iff_Bmhd(3, 3, 8, 0)), Iff_Chunk("ANNO", decoy),
                                        Iff_Chunk("BODY", pixels)}));
  ASSERT_TRUE(q);
  EXPECT_EQ(q->pixels, ByteVector(9, 1));

  // A BODY after the end the FORM's length gives is not found.
  ByteVector outside = Iff_Form("PBM ", {Iff_Chunk("BMHD", Iff_Bmhd(3, 3, 8, 0))});
  const ByteVector body = Iff_Chunk("BODY", pixels);
  outside.insert(outside.end(), body.begin(), body.end());
  EXPECT_FALSE(Read(outside));
}

TEST(IffReader, PaletteFromAnyCmapLength) {
  const ByteVector pixels = Pixels(2 * 2);
  // 16 colours: the other entries are 0.
  const ByteVector palette = Test_Palette();
  const ByteVector small(palette.begin(), palette.begin() + 48);
  PicturePtr p = Read(Pbm(2, 2, 0, pixels, small));
  ASSERT_TRUE(p);
  ByteVector expected = small;
  expected.resize(768, 0);
  EXPECT_EQ(p->palette, expected);
  // More than 256 entries: the first 768 bytes.
  ByteVector big = Test_Palette();
  big.insert(big.end(), 30, 0x77);
  p = Read(Pbm(2, 2, 0, pixels, big));
  ASSERT_TRUE(p);
  EXPECT_EQ(p->palette, Test_Palette());
  // No CMAP at all: a zero palette.
  p = Read(Iff_Form("PBM ", {Iff_Chunk("BMHD", Iff_Bmhd(2, 2, 8, 0)), Iff_Chunk("BODY", pixels)}));
  ASSERT_TRUE(p);
  EXPECT_EQ(p->palette, ByteVector(768, 0));
  EXPECT_EQ(p->pixels, pixels);
}

// Rows are exactly `width` bytes, also for odd widths.
TEST(IffReader, RowsAreExactlyTheWidth) {
  const ByteVector pixels = Pixels(3 * 4);
  PicturePtr p = Read(Pbm(3, 4, 1, ByteRun1_Encode(pixels)));
  ASSERT_TRUE(p);
  EXPECT_EQ(p->pixels, pixels);
}

// Truncated at every length: no picture until the whole BODY data is there.
TEST(IffReader, TruncatedAtEveryLength) {
  ByteVector pixels = Pixels(10 * 6);
  std::fill(pixels.begin() + 12, pixels.begin() + 30, 4);
  const ByteVector packed = ByteRun1_Encode(pixels);
  const ByteVector full = Pbm(10, 6, 1, packed);
  const size_t body_end = full.size() - (packed.size() % 2);  // a pad byte may follow
  for (size_t length = 0; length <= full.size(); ++length) {
    PicturePtr p = Read(Prefix(full, length));
    ASSERT_EQ(bool(p), length >= body_end) << length;
    if (p) {
      EXPECT_EQ(p->pixels, pixels) << length;
      EXPECT_TRUE(Consistent(*p));
    }
  }
  // The same for plain data.
  const ByteVector plain = Pbm(10, 6, 0, pixels);
  for (size_t length = 0; length < plain.size(); ++length) {
    EXPECT_FALSE(Read(Prefix(plain, length))) << length;
  }
  EXPECT_TRUE(Read(plain));
}

}  // namespace
