// The GIF reader: signatures, colour tables, extensions, interlace, sizes,
// refusals and truncation.
#include <gtest/gtest.h>

#include "tests/pictures/picture_format_writers.h"
#include "tests/pictures/picture_test_support.h"
#include "pictures/gif_lzw.h"
#include "pictures/picture_readers.h"
#include "platform/wendax.h"

namespace {

// Indices 1..n so that no decoded pixel is 0 (the content rows keep when
// decoding stops early).
ByteVector Indices(size_t count, int modulo = 255) {
  ByteVector v(count);
  for (size_t i = 0; i < count; ++i) v[i] = uint8_t(1 + (i * 7 + i / 5) % size_t(modulo));
  return v;
}

GifFile Simple_Gif(int width, int height) {
  GifFile g;
  g.global_table = Gif_Table(7, 10);
  g.image.width = width;
  g.image.height = height;
  g.image.pixels = Indices(size_t(width * height));
  return g;
}

PicturePtr Read(const ByteVector& bytes, std::string_view name = "pics/face.gif") {
  return Read_From_Memory(Gif_Read, name, bytes);
}

TEST(GifReader, ReadsPixelsPaletteAndName) {
  const GifFile g = Simple_Gif(5, 3);
  PicturePtr p = Read(Make_Gif(g));
  ASSERT_TRUE(p);
  EXPECT_EQ(p->name, "face.gif");
  EXPECT_EQ(p->width, 5);
  EXPECT_EQ(p->height, 3);
  EXPECT_EQ(p->depth, 8);
  EXPECT_EQ(p->pack_method, 0);
  EXPECT_EQ(p->frame_count, 0);
  EXPECT_EQ(p->pixels, g.image.pixels);
  EXPECT_EQ(p->palette, g.global_table);
  EXPECT_TRUE(Consistent(*p));
}

TEST(GifReader, SignaturesInAnyCase) {
  for (const char* sig : {"GIF89a", "GIF87a", "gif89a", "Gif87A", "GIF89A"}) {
    GifFile g = Simple_Gif(2, 2);
    g.signature = sig;
    PicturePtr p = Read(Make_Gif(g));
    ASSERT_TRUE(p) << sig;
    EXPECT_EQ(p->pixels, g.image.pixels) << sig;
  }
  for (const char* sig : {"GIF88a", "GIF89b", "JIF89a", "GIF8 a", "\0IF89a"}) {
    GifFile g = Simple_Gif(2, 2);
    g.signature = std::string(sig, 6);
    EXPECT_FALSE(Read(Make_Gif(g))) << sig;
  }
}

// A small table fills only its entries; the rest of the palette is 0.
TEST(GifReader, ShortGlobalTableLeavesTheRestZero) {
  GifFile g = Simple_Gif(2, 1);
  g.global_table = Gif_Table(1, 50);  // 4 entries
  g.image.pixels = {1, 3};
  PicturePtr p = Read(Make_Gif(g));
  ASSERT_TRUE(p);
  EXPECT_EQ(ByteVector(p->palette.begin(), p->palette.begin() + 12), g.global_table);
  EXPECT_EQ(ByteVector(p->palette.begin() + 12, p->palette.end()), ByteVector(768 - 12, 0));
}

TEST(GifReader, NoColourTableGivesZeroPalette) {
  GifFile g = Simple_Gif(2, 2);
  g.global_table.clear();
  PicturePtr p = Read(Make_Gif(g));
  ASSERT_TRUE(p);
  EXPECT_EQ(p->palette, ByteVector(768, 0));
  EXPECT_EQ(p->pixels, g.image.pixels);
}

// A local colour table that follows a global one replaces it.
TEST(GifReader, LocalColourTableReplacesGlobal) {
  GifFile g = Simple_Gif(3, 2);
  g.global_table = Gif_Table(7, 10);
  g.image.local_table = Gif_Table(2, 200);  // 8 entries
  g.image.pixels = {1, 2, 3, 4, 5, 7};
  PicturePtr p = Read(Make_Gif(g));
  ASSERT_TRUE(p);
  EXPECT_EQ(ByteVector(p->palette.begin(), p->palette.begin() + 24), g.image.local_table);
  EXPECT_EQ(ByteVector(p->palette.begin() + 24, p->palette.end()), ByteVector(768 - 24, 0));
  EXPECT_EQ(p->pixels, g.image.pixels);
}

// Interlaced rows come back in display order.
TEST(GifReader, InterlacedRowsInDisplayOrder) {
  for (int height : {1, 2, 3, 4, 5, 8, 9, 10, 17}) {
    GifFile g = Simple_Gif(3, height);
    for (int row = 0; row < height; ++row)
      for (int x = 0; x < 3; ++x) g.image.pixels[size_t(row * 3 + x)] = uint8_t(row * 10 + x + 1);
    g.image.interlaced = true;
    PicturePtr p = Read(Make_Gif(g));
    ASSERT_TRUE(p) << height;
    EXPECT_EQ(p->pixels, g.image.pixels) << height;
  }
}

TEST(GifReader, InterlacedRowMapping) {
  const int expected[10] = {0, 8, 4, 2, 6, 1, 3, 5, 7, 9};
  for (int r = 0; r < 10; ++r) {
    EXPECT_EQ(Gif_Interlaced_Row(r, 10), expected[r]) << r;
  }
  EXPECT_EQ(Gif_Interlaced_Row(10, 10), -1);
  // Every height maps its file rows one to one onto its display rows.
  for (int height = 1; height <= 40; ++height) {
    std::vector<int> seen(size_t(height), 0);
    for (int r = 0; r < height; ++r) {
      const int row = Gif_Interlaced_Row(r, height);
      ASSERT_GE(row, 0);
      ASSERT_LT(row, height);
      ++seen[size_t(row)];
    }
    EXPECT_EQ(seen, std::vector<int>(size_t(height), 1)) << height;
  }
}

// Extension blocks are skipped whole: a delay of 44 (',') and a comment
// holding ',' are not the image separator. Other stray bytes are skipped
// one at a time.
TEST(GifReader, ExtensionsAndStrayBytesBeforeTheImage) {
  GifFile g = Simple_Gif(4, 2);
  const ByteVector control = {0x21, 0xF9, 4, 0x00, 44, 0, 44, 0};  // delay 44, transparent 44
  const ByteVector comment = {0x21, 0xFE, 3, 'a', ',', 'b', 2, ',', ',', 0};
  const ByteVector stray = {0x00, 0x3B, 0x17};
  g.before_image = control;
  g.before_image.insert(g.before_image.end(), comment.begin(), comment.end());
  g.before_image.insert(g.before_image.end(), stray.begin(), stray.end());
  PicturePtr p = Read(Make_Gif(g));
  ASSERT_TRUE(p);
  EXPECT_EQ(p->width, 4);
  EXPECT_EQ(p->pixels, g.image.pixels);
}

TEST(GifReader, ExtensionRunningToTheEndIsRefused) {
  GifFile g = Simple_Gif(2, 2);
  ByteVector bytes = Make_Gif(g);
  const size_t header = 13 + g.global_table.size();
  bytes.resize(header);
  for (int b : {0x21, 0xFE, 5, int('x'), int(',')}) bytes.push_back(uint8_t(b));
  EXPECT_FALSE(Read(bytes));
}

// The picture has the image's size: the screen size and the image's place
// on the screen do not matter.
TEST(GifReader, ImageSizeNotScreenSize) {
  GifFile g = Simple_Gif(6, 4);
  g.screen_width = 2;
  g.screen_height = 1;
  g.image.left = 60000;
  g.image.top = 65535;
  PicturePtr p = Read(Make_Gif(g));
  ASSERT_TRUE(p);
  EXPECT_EQ(p->width, 6);
  EXPECT_EQ(p->height, 4);
  EXPECT_EQ(p->pixels, g.image.pixels);
}

TEST(GifReader, RefusedWithoutImageOrSize) {
  GifFile g = Simple_Gif(2, 2);
  ByteVector no_image = Make_Gif(g);
  no_image.resize(13 + g.global_table.size());
  no_image.push_back(';');
  EXPECT_FALSE(Read(no_image));

  for (auto [w, h] : {std::pair{0, 3}, std::pair{3, 0}, std::pair{0, 0}}) {
    GifFile z = Simple_Gif(1, 1);
    z.image.width = w;
    z.image.height = h;
    z.image.raw_data = Gif_Sub_Blocks(ByteVector(64, 0));
    EXPECT_FALSE(Read(Make_Gif(z))) << w << "x" << h;
  }
  EXPECT_FALSE(Read({}));
  Wendax wx;
  EXPECT_FALSE(Gif_Read(wx, "no/such/file.gif"));
}

// A header whose size the remaining data could never fill is refused
// before anything is allocated.
TEST(GifReader, SizeTheFileCannotHoldIsRefused) {
  GifFile g = Simple_Gif(1, 1);
  g.image.width = 16000;
  g.image.height = 16000;
  g.image.raw_data = Gif_Sub_Blocks(ByteVector(20, 0));
  EXPECT_FALSE(Read(Make_Gif(g)));

  // The same claim with data enough for the bound is read (partly).
  GifFile small = Simple_Gif(1, 1);
  small.image.width = 40;
  small.image.height = 5;  // 200 pixels
  small.image.raw_data = Gif_Sub_Blocks(Gif_Pack_Codes({{256, 9}, {5, 9}, {257, 9}}));
  // data bytes: code size, 1 length byte, 4 code bytes, terminator, trailer
  EXPECT_GE(Gif_Max_Pixels(8), 200u);
  PicturePtr p = Read(Make_Gif(small));
  ASSERT_TRUE(p);
  EXPECT_EQ(p->pixels[0], 5);
  EXPECT_EQ(ByteVector(p->pixels.begin() + 1, p->pixels.end()), ByteVector(199, 0));
}

TEST(GifReader, MaxPixelsBound) {
  EXPECT_EQ(Gif_Max_Pixels(0), 0u);
  EXPECT_EQ(Gif_Max_Pixels(1), 3u);   // 2 codes: 1 + 2
  EXPECT_EQ(Gif_Max_Pixels(3), 36u);  // 8 codes: 1 + ... + 8
  // 4096 codes and more: each further code gives at most 4096 pixels.
  EXPECT_EQ(Gif_Max_Pixels(1536), 4096u * 4097u / 2);
  EXPECT_EQ(Gif_Max_Pixels(1539), 4096u * 4097u / 2 + 8u * 4096u);
}

// Code sizes outside 2..8 decode nothing: the picture comes back with its
// palette and all pixels 0.
TEST(GifReader, CodeSizesOutsideTwoToEightDecodeNothing) {
  for (int size : {0, 1, 9, 12, 255}) {
    GifFile g = Simple_Gif(3, 3);
    g.image.min_code_size = size;
    g.image.raw_data = Gif_Sub_Blocks(ByteVector(40, 0x55));
    PicturePtr p = Read(Make_Gif(g));
    ASSERT_TRUE(p) << size;
    EXPECT_EQ(p->pixels, ByteVector(9, 0)) << size;
    EXPECT_EQ(p->palette, g.global_table) << size;
  }
  for (int size : {2, 3, 7, 8}) {
    GifFile g = Simple_Gif(7, 5);
    g.image.min_code_size = size;
    g.image.pixels = Indices(35, (1 << size) - 1);
    PicturePtr p = Read(Make_Gif(g));
    ASSERT_TRUE(p) << size;
    EXPECT_EQ(p->pixels, g.image.pixels) << size;
  }
}

// A picture big enough to fill the dictionary and go on with 12-bit codes
// (no clear sent), and the same with a clear each time it fills.
TEST(GifReader, FullDictionaryWithAndWithoutClear) {
  GifFile g = Simple_Gif(160, 120);
  ByteVector noisy(160 * 120);
  uint32_t seed = 12345;
  for (auto& v : noisy) {
    seed = seed * 1103515245u + 12345u;
    v = uint8_t(1 + (seed >> 16) % 200);
  }
  g.image.pixels = noisy;
  PicturePtr p = Read(Make_Gif(g));
  ASSERT_TRUE(p);
  EXPECT_EQ(p->pixels, noisy);

  const auto codes = Gif_Lzw_Codes(noisy, 8, true);
  size_t clears = 0;
  for (const GifCode& c : codes) clears += c.code == 256;
  EXPECT_GT(clears, 2u);
  g.image.raw_data = Gif_Sub_Blocks(Gif_Pack_Codes(codes));
  p = Read(Make_Gif(g));
  ASSERT_TRUE(p);
  EXPECT_EQ(p->pixels, noisy);
}

// Truncated at every length: no picture while the header, a colour table,
// the descriptor or the data the size needs are cut; after that the picture
// keeps a prefix of its pixels (in file order) and the rest stay 0.
TEST(GifReader, TruncatedAtEveryLength) {
  GifFile g = Simple_Gif(9, 7);
  g.image.interlaced = true;
  g.image.local_table = Gif_Table(3, 90);
  const ByteVector full = Make_Gif(g);
  const size_t data_start = 13 + g.global_table.size() + 10 + g.image.local_table.size();
  PicturePtr whole = Read(full);
  ASSERT_TRUE(whole);
  ASSERT_EQ(whole->pixels, g.image.pixels);

  size_t previous_decoded = 0;
  for (size_t length = 0; length < full.size(); ++length) {
    PicturePtr p = Read(Prefix(full, length));
    const bool expect_picture = length >= data_start && 63 <= Gif_Max_Pixels(length - data_start);
    ASSERT_EQ(bool(p), expect_picture) << length;
    if (!p) continue;
    ASSERT_TRUE(Consistent(*p));
    EXPECT_EQ(ByteVector(p->palette.begin(), p->palette.begin() + 48), g.image.local_table);
    // Decoded rows in file order: a prefix of the full picture, then zeros.
    size_t decoded = 0;
    bool zeros = false;
    for (int r = 0; r < 7; ++r) {
      const int row = Gif_Interlaced_Row(r, 7);
      for (int x = 0; x < 9; ++x) {
        const size_t i = size_t(row * 9 + x);
        if (!zeros && p->pixels[i] == whole->pixels[i]) {
          ++decoded;
        } else {
          zeros = true;
          ASSERT_EQ(p->pixels[i], 0) << length << " row " << row;
        }
      }
    }
    EXPECT_GE(decoded, previous_decoded) << length;
    previous_decoded = decoded;
  }
  EXPECT_EQ(previous_decoded, 63u) << "the file without its trailer is whole";
}

}  // namespace
