// The six whole-picture unpackers: round trips, exact pixel formats, and
// streams that do not fit, which give black and write nothing outside.
#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <string>
#include <vector>

#include "dct/dct.h"
#include "dct/dct_encode.h"
#include "tests/dct/dct_test_support.h"

namespace dct_test {
namespace {

enum class Format { kRgb555, kRgb565, kBgr0 };

struct Variant {
  const char* name;
  int width;
  int height;
  Format format;
  size_t Bytes() const { return static_cast<size_t>(width) * height * (format == Format::kBgr0 ? 4 : 2); }
};

void PrintTo(const Variant& v, std::ostream* os) { *os << v.name; }

const Variant kVariants[] = {
    {"15_16_256_6144", 256, 6144, Format::kRgb555}, {"16_16_256_6144", 256, 6144, Format::kRgb565},
    {"32_256_6144", 256, 6144, Format::kBgr0},      {"15_16_640_480", 640, 480, Format::kRgb555},
    {"16_16_640_480", 640, 480, Format::kRgb565},   {"32_640_480", 640, 480, Format::kBgr0},
};

// Calls the variant's unpacker on a byte destination.
void Unpack(const Variant& v, unsigned char* dest, std::vector<unsigned char>& data, int size,
            int param = 90) {
  auto* d16 = reinterpret_cast<unsigned short*>(dest);
  const bool strip = v.width == 256;
  switch (v.format) {
    case Format::kRgb555:
      strip ? Unpack_Picture_Rgb_15_16_256_6144(d16, data.data(), size, param)
            : Unpack_Picture_Rgb_15_16_640_480(d16, data.data(), size, param);
      break;
    case Format::kRgb565:
      strip ? Unpack_Picture_Rgb_16_16_256_6144(d16, data.data(), size, param)
            : Unpack_Picture_Rgb_16_16_640_480(d16, data.data(), size, param);
      break;
    case Format::kBgr0:
      strip ? Unpack_Picture_Rgb_32_256_6144(dest, data.data(), size, param)
            : Unpack_Picture_Rgb_32_640_480(dest, data.data(), size, param);
      break;
  }
}

void Unpack(const Variant& v, Guarded<uint32_t>& dest, std::vector<unsigned char>& data, int size) {
  Unpack(v, reinterpret_cast<unsigned char*>(dest.data()), data, size);
}

// A destination of 32-bit words (aligned for every format) filled with a
// pattern that no unpacker writes: its fourth bytes are not 0.
Guarded<uint32_t> Destination(const Variant& v) {
  return Guarded<uint32_t>((v.Bytes() + 3) / 4, 0x5A5A5A5Au);
}

const unsigned char* Bytes(const Guarded<uint32_t>& d) {
  return reinterpret_cast<const unsigned char*>(d.data());
}

bool All_Zero(const Guarded<uint32_t>& d) {
  for (size_t i = 0; i < d.size(); ++i)
    if (d[i] != 0) return false;
  return true;
}

class PictureUnpack : public ::testing::TestWithParam<Variant> {};

// Stated error of a round trip at quality 90 on smooth pictures: every
// channel within 8 of the source, 1 on average (measured: 7 and 0.79), before
// the 16-bit formats drop their low bits (at most 7, on average under 4).
// The panorama strip, decoded without chroma smoothing, is within 10, 1.5 on
// average (measured: 9 and 1.28).
constexpr int kMaxError = 8;
constexpr double kMeanError = 1.0;
constexpr int kStripMaxError = 10;
constexpr double kStripMeanError = 1.5;

TEST_P(PictureUnpack, RoundTripStaysWithinTheStatedError) {
  const Variant v = GetParam();
  const Pixels32 source = Smooth_Picture(v.width, v.height, 1);
  std::vector<unsigned char> data = Encode(source, v.width, v.height, 90);
  Guarded<uint32_t> dest = Destination(v);
  Unpack(v, dest, data, static_cast<int>(data.size()));
  ASSERT_TRUE(dest.Guards_Intact());

  const size_t pixels = static_cast<size_t>(v.width) * v.height;
  Pixels32 back(pixels * 4, 0);
  int step = 0;     // the most a 16-bit format's dropped bits take away
  double drop = 0;  // and what they take on average
  for (size_t i = 0; i < pixels; ++i) {
    Bgr c{};
    if (v.format == Format::kBgr0) {
      const unsigned char* p = Bytes(dest) + 4 * i;
      ASSERT_EQ(p[3], 0) << i;
      c = Bgr{p[0], p[1], p[2]};
    } else {
      const uint16_t p = reinterpret_cast<const uint16_t*>(dest.data())[i];
      if (v.format == Format::kRgb555) {
        ASSERT_EQ(p & 0x8000, 0) << i;
      }
      c = v.format == Format::kRgb565 ? From_565(p) : From_555(p);
      step = 7;
      drop = 4;
    }
    back[4 * i] = static_cast<unsigned char>(c.b);
    back[4 * i + 1] = static_cast<unsigned char>(c.g);
    back[4 * i + 2] = static_cast<unsigned char>(c.r);
  }
  const Difference d = Compare_32(back.data(), source.data(), pixels);
  const bool strip = v.width == 256;
  EXPECT_LE(d.max, (strip ? kStripMaxError : kMaxError) + step);
  EXPECT_LE(d.mean, (strip ? kStripMeanError : kMeanError) + drop);
}

TEST_P(PictureUnpack, DctParamDoesNotChangeThePicture) {
  const Variant v = GetParam();
  std::vector<unsigned char> data = Encode(Smooth_Picture(v.width, v.height, 2), v.width, v.height, 60);
  Guarded<uint32_t> first = Destination(v);
  Unpack(v, reinterpret_cast<unsigned char*>(first.data()), data, static_cast<int>(data.size()), 60);
  for (int param : {0, -1, 1234567}) {
    Guarded<uint32_t> again = Destination(v);
    Unpack(v, reinterpret_cast<unsigned char*>(again.data()), data, static_cast<int>(data.size()), param);
    EXPECT_EQ(again.Inside(), first.Inside()) << param;
  }
}

TEST_P(PictureUnpack, AStreamOfAnotherSizeGivesBlack) {
  const Variant v = GetParam();
  const int sizes[][2] = {{640, 480}, {256, 6144}, {v.width, v.height - 1}, {v.width + 16, v.height}};
  for (const auto& s : sizes) {
    if (s[0] == v.width && s[1] == v.height) continue;
    std::vector<unsigned char> data = Encode(Smooth_Picture(s[0], s[1], 3), s[0], s[1], 50);
    Guarded<uint32_t> dest = Destination(v);
    Unpack(v, dest, data, static_cast<int>(data.size()));
    EXPECT_TRUE(All_Zero(dest)) << s[0] << "x" << s[1];
    EXPECT_TRUE(dest.Guards_Intact());
  }
}

TEST_P(PictureUnpack, NoJpegGivesBlack) {
  const Variant v = GetParam();
  std::vector<unsigned char> garbage(5000);
  for (size_t i = 0; i < garbage.size(); ++i) garbage[i] = static_cast<unsigned char>(i * 131 + 7);
  std::vector<unsigned char> just_start = {0xFF, 0xD8, 0xFF};
  std::vector<unsigned char> none;
  struct Case {
    std::vector<unsigned char>* data;
    int size;
  };
  for (const Case& c :
       {Case{&garbage, 5000}, Case{&just_start, 3}, Case{&garbage, 0}, Case{&garbage, -4}, Case{&none, 0}}) {
    Guarded<uint32_t> dest = Destination(v);
    Unpack(v, dest, *c.data, c.size);
    EXPECT_TRUE(All_Zero(dest)) << c.size;
    EXPECT_TRUE(dest.Guards_Intact());
  }
}

TEST_P(PictureUnpack, ProgressiveAndArithmeticStreamsAreRefused) {
  const Variant v = GetParam();
  const Pixels32 source = Smooth_Picture(v.width, v.height, 4);
  for (StreamKind kind : {StreamKind::kProgressive, StreamKind::kArithmetic}) {
    std::vector<unsigned char> data = Libjpeg_Encode(source, v.width, v.height, kind, 75);
    Guarded<uint32_t> dest = Destination(v);
    Unpack(v, dest, data, static_cast<int>(data.size()));
    EXPECT_TRUE(All_Zero(dest));
    EXPECT_TRUE(dest.Guards_Intact());
  }
}

// A cut stream keeps the rows decoded before the cut and blackens the rest.
TEST_P(PictureUnpack, ACutStreamKeepsTheRowsBeforeTheCut) {
  const Variant v = GetParam();
  std::vector<unsigned char> data = Encode(Smooth_Picture(v.width, v.height, 5), v.width, v.height, 80);
  Guarded<uint32_t> whole = Destination(v);
  Unpack(v, whole, data, static_cast<int>(data.size()));
  Guarded<uint32_t> cut = Destination(v);
  Unpack(v, cut, data, static_cast<int>(data.size() / 2));
  ASSERT_TRUE(cut.Guards_Intact());

  const size_t row_bytes = v.Bytes() / v.height;
  const unsigned char* w = Bytes(whole);
  const unsigned char* c = Bytes(cut);
  int kept = 0;
  while (kept < v.height &&
         std::equal(c + kept * row_bytes, c + (kept + 1) * row_bytes, w + kept * row_bytes))
    ++kept;
  EXPECT_GT(kept, v.height / 4);
  EXPECT_LT(kept, v.height);
  for (size_t i = kept * row_bytes; i < v.Bytes(); ++i) ASSERT_EQ(c[i], 0) << i;
}

// Damaged entropy data: the call writes every pixel of the picture (the
// fourth bytes of a 4-byte picture all become 0) and nothing outside.
TEST_P(PictureUnpack, DamagedDataWritesThePictureAndNothingElse) {
  const Variant v = GetParam();
  const std::vector<unsigned char> good = Encode(Smooth_Picture(v.width, v.height, 6), v.width, v.height, 70);
  for (int damage = 0; damage < 4; ++damage) {
    std::vector<unsigned char> data = good;
    for (size_t i = 700 + damage * 97; i < data.size() - 2; i += 211 + damage * 50) data[i] ^= 0x5C;
    Guarded<uint32_t> dest = Destination(v);
    Unpack(v, dest, data, static_cast<int>(data.size()));
    EXPECT_TRUE(dest.Guards_Intact());
    if (v.format == Format::kBgr0) {
      for (size_t i = 0; i < v.Bytes(); i += 4) {
        ASSERT_EQ(Bytes(dest)[i + 3], 0) << i;
      }
    }
  }
}

TEST_P(PictureUnpack, ANullDestinationIsIgnored) {
  const Variant v = GetParam();
  std::vector<unsigned char> data =
      Encode(Uniform_Picture(v.width, v.height, 1, 2, 3), v.width, v.height, 50);
  Unpack(v, nullptr, data, static_cast<int>(data.size()));
}

INSTANTIATE_TEST_SUITE_P(Variants, PictureUnpack, ::testing::ValuesIn(kVariants),
                         [](const auto& info) { return std::string("Rgb_") + info.param.name; });

// The 16-bit unpackers keep the top bits of what the 32-bit unpacker
// decodes from the same stream, pixel for pixel.
TEST(PictureFormats, SixteenBitPixelsAreTheTopBitsOfTheFourBytePixels) {
  for (int strip = 0; strip < 2; ++strip) {
    const int w = strip ? 256 : 640, h = strip ? 6144 : 480;
    std::vector<unsigned char> data = Encode(Smooth_Picture(w, h, 7), w, h, 85);
    const size_t pixels = static_cast<size_t>(w) * h;
    std::vector<unsigned char> p32(pixels * 4);
    std::vector<uint16_t> p565(pixels), p555(pixels);
    const int n = static_cast<int>(data.size());
    if (strip) {
      Unpack_Picture_Rgb_32_256_6144(p32.data(), data.data(), n, 85);
      Unpack_Picture_Rgb_16_16_256_6144(p565.data(), data.data(), n, 85);
      Unpack_Picture_Rgb_15_16_256_6144(p555.data(), data.data(), n, 85);
    } else {
      Unpack_Picture_Rgb_32_640_480(p32.data(), data.data(), n, 85);
      Unpack_Picture_Rgb_16_16_640_480(p565.data(), data.data(), n, 85);
      Unpack_Picture_Rgb_15_16_640_480(p555.data(), data.data(), n, 85);
    }
    for (size_t i = 0; i < pixels; ++i) {
      ASSERT_EQ(p565[i], To_565(&p32[4 * i])) << strip << " " << i;
      ASSERT_EQ(p555[i], To_555(&p32[4 * i])) << strip << " " << i;
    }
  }
}

// A uniform grey at quality 100 decodes exactly, so each format's word for
// that grey can be checked by hand.
TEST(PictureFormats, KnownGreysGiveTheirExactWords) {
  struct Known {
    uint8_t grey;
    uint16_t rgb565;
    uint16_t rgb555;
  };
  const Known known[] = {{0x00, 0x0000, 0x0000}, {0x07, 0x0020, 0x0000}, {0x08, 0x0841, 0x0421},
                         {0x7C, 0x7BEF, 0x3DEF}, {0x84, 0x8430, 0x4210}, {0xFF, 0xFFFF, 0x7FFF}};
  for (StreamKind kind : {StreamKind::kBaseline, StreamKind::kGrey}) {
    for (const Known& k : known) {
      const Pixels32 source = Uniform_Picture(640, 480, k.grey, k.grey, k.grey);
      std::vector<unsigned char> data = kind == StreamKind::kBaseline
                                            ? Encode(source, 640, 480, 100)
                                            : Libjpeg_Encode(source, 640, 480, kind, 100);
      const int n = static_cast<int>(data.size());
      std::vector<uint16_t> p565(640 * 480), p555(640 * 480);
      std::vector<unsigned char> p32(640 * 480 * 4);
      Unpack_Picture_Rgb_16_16_640_480(p565.data(), data.data(), n, 100);
      Unpack_Picture_Rgb_15_16_640_480(p555.data(), data.data(), n, 100);
      Unpack_Picture_Rgb_32_640_480(p32.data(), data.data(), n, 100);
      EXPECT_EQ(p565, std::vector<uint16_t>(640 * 480, k.rgb565)) << int(k.grey);
      EXPECT_EQ(p555, std::vector<uint16_t>(640 * 480, k.rgb555)) << int(k.grey);
      EXPECT_EQ(p32, Uniform_Picture(640, 480, k.grey, k.grey, k.grey)) << int(k.grey);
    }
  }
}

}  // namespace
}  // namespace dct_test

namespace dct_test {
namespace {

// The strip's tiles are faces of different directions: a tile's colour must
// not run into the edge rows of its neighbours.
TEST(PictureStrip, TileEdgesKeepTheirOwnColour) {
  const uint8_t colours[4][3] = {{0, 0, 255}, {255, 0, 0}, {0, 255, 0}, {255, 0, 255}};
  Pixels32 strip(size_t(256) * 6144 * 4, 0);
  for (int y = 0; y < 6144; ++y)
    for (int x = 0; x < 256; ++x)
      for (int c = 0; c < 3; ++c)
        strip[(size_t(y) * 256 + size_t(x)) * 4 + size_t(c)] = colours[y / 256 % 4][c];
  std::vector<unsigned char> data = Encode(strip, 256, 6144, 90);
  std::vector<unsigned char> out(strip.size());
  Unpack_Picture_Rgb_32_256_6144(out.data(), data.data(), static_cast<int>(data.size()), 90);
  for (int tile = 0; tile < 24; ++tile)
    for (int y : {tile * 256, tile * 256 + 1, tile * 256 + 128, tile * 256 + 254, tile * 256 + 255})
      for (int x : {0, 100, 255})
        for (int c = 0; c < 3; ++c) {
          const int got = out[(size_t(y) * 256 + size_t(x)) * 4 + size_t(c)];
          EXPECT_NEAR(got, colours[tile % 4][c], kMaxError) << "tile " << tile << " row " << y << " x " << x;
        }
}

}  // namespace
}  // namespace dct_test
