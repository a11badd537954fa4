// Drawing pictures and the transparent centred draw of the
// cursors, clipped to the target.
#include <gtest/gtest.h>

#include <vector>

#include "tests/pictures/picture_test_support.h"
#include "pictures/picture.h"
#include "platform/wendax.h"

namespace {

constexpr uint16_t kBackground = 0xBEEF;

struct TestScreen {
  TestScreen(int w, int h) : pixels(size_t(w) * size_t(h), kBackground), width(w), height(h) {}
  Screen16 screen() { return {pixels.data(), width, height}; }
  uint16_t at(int x, int y) const { return pixels[size_t(y) * size_t(width) + size_t(x)]; }
  bool untouched() const {
    for (uint16_t p : pixels)
      if (p != kBackground) return false;
    return true;
  }
  std::vector<uint16_t> pixels;
  int width, height;
};

// A 16-bit picture whose pixel (x, y) is 0x100 * (y + 1) + x + 1, with
// pixel (1, 1) set to 0.
PicturePtr Numbered16(int w, int h) {
  PicturePtr p = Picture_New("n", w, h, 16);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      uint16_t v = uint16_t(0x100 * (y + 1) + x + 1);
      if (x == 1 && y == 1) v = 0;
      size_t i = (size_t(y) * size_t(w) + size_t(x)) * 2;
      p->pixels[i] = uint8_t(v), p->pixels[i + 1] = uint8_t(v >> 8);
    }
  return p;
}

uint16_t Numbered(int x, int y) { return x == 1 && y == 1 ? 0 : uint16_t(0x100 * (y + 1) + x + 1); }

TEST(PictureDraw, SixteenBitCopiesEveryPixelIncludingZero) {
  TestScreen s(8, 6);
  PicturePtr p = Numbered16(3, 3);
  Picture_Draw(p.get(), s.screen(), 2, 1);
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 8; ++x) {
      bool inside = x >= 2 && x < 5 && y >= 1 && y < 4;
      EXPECT_EQ(s.at(x, y), inside ? Numbered(x - 2, y - 1) : kBackground) << x << "," << y;
    }
  EXPECT_EQ(s.at(3, 2), 0) << "no transparency";
}

TEST(PictureDraw, NegativeCoordinatesShowOnlyThePartInside) {
  TestScreen s(4, 4);
  PicturePtr p = Numbered16(3, 3);
  Picture_Draw(p.get(), s.screen(), -1, -2);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) {
      bool inside = x < 2 && y < 1;
      EXPECT_EQ(s.at(x, y), inside ? Numbered(x + 1, y + 2) : kBackground) << x << "," << y;
    }
}

TEST(PictureDraw, ClippedAtTheRightAndBottom) {
  TestScreen s(4, 4);
  PicturePtr p = Numbered16(3, 3);
  Picture_Draw(p.get(), s.screen(), 2, 3);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) {
      bool inside = x >= 2 && y == 3;
      EXPECT_EQ(s.at(x, y), inside ? Numbered(x - 2, y - 3) : kBackground) << x << "," << y;
    }
}

TEST(PictureDraw, WhollyOutsideWritesNothing) {
  for (int depth : {8, 16, 24}) {
    PicturePtr p = Picture_New("p", 3, 2, depth);
    const int places[][2] = {
        {4, 0},       {0, 4},         {-3, 0},        {0, -2},        {100, 100},
        {-100, -100}, {INT32_MAX, 0}, {INT32_MIN, 0}, {0, INT32_MIN}, {INT32_MAX, INT32_MAX}};
    for (auto& at : places) {
      TestScreen s(4, 4);
      Picture_Draw(p.get(), s.screen(), at[0], at[1]);
      EXPECT_TRUE(s.untouched()) << depth << " at " << at[0] << "," << at[1];
    }
  }
}

TEST(PictureDraw, ThirtyTwoBitDrawsNothing) {
  TestScreen s(4, 4);
  PicturePtr p = Picture_New("p", 2, 2, 32);
  std::fill(p->pixels.begin(), p->pixels.end(), 0xFF);
  Picture_Draw(p.get(), s.screen(), 0, 0);
  EXPECT_TRUE(s.untouched());
}

TEST(PictureDraw, EightBitThroughTheTable) {
  TestScreen s(3, 3);
  PicturePtr p = Picture_New("p", 2, 2, 8);
  p->pixels = {0, 1, 2, 1};
  p->palette[3] = 255, p->palette[4] = 255, p->palette[5] = 255;
  p->palette[6] = 0, p->palette[7] = 255, p->palette[8] = 0;
  Picture_Draw(p.get(), s.screen(), -1, 1);
  EXPECT_EQ(p->palette.size(), 1280u) << "the table is built";
  EXPECT_EQ(s.at(0, 1), 0xFFFF);
  EXPECT_EQ(s.at(0, 2), 0xFFFF);
  EXPECT_EQ(s.at(1, 1), kBackground);
  EXPECT_EQ(s.at(0, 0), kBackground);
  // Index 0 (black) is drawn too.
  TestScreen t(2, 2);
  Picture_Draw(p.get(), t.screen(), 0, 0);
  EXPECT_EQ(t.at(0, 0), 0);
  EXPECT_EQ(t.at(0, 1), 0x07E0);
}

TEST(PictureDraw, TwentyFourBitWithTheTruncatingRule) {
  TestScreen s(2, 1);
  PicturePtr p = Picture_New("p", 2, 1, 24);
  p->pixels = {255, 255, 255, 7, 3, 7};
  Picture_Draw(p.get(), s.screen(), 0, 0);
  EXPECT_EQ(s.at(0, 0), 0xFFFF);
  EXPECT_EQ(s.at(1, 0), 0);
}

TEST(PictureDraw, PackedPicturesAreUnpackedFirst) {
  TestScreen s(3, 1);
  PicturePtr p = Picture_New("p", 3, 1, 16);
  p->pixels = {0x05, 0x1F};  // method 1: 0x1F six times, three words 0x1F1F
  p->pack_method = 1;
  Picture_Draw(p.get(), s.screen(), 0, 0);
  EXPECT_EQ(p->pack_method, 0);
  EXPECT_EQ(s.at(0, 0), 0x1F1F);
  EXPECT_EQ(s.at(2, 0), 0x1F1F);
}

TEST(PictureDraw, BrokenPicturesAndTargetsDrawNothing) {
  TestScreen s(2, 2);
  Picture odd;
  odd.width = 2, odd.height = 2, odd.depth = 16;
  odd.pixels.assign(3, 0x11);  // fewer bytes than the size needs
  Picture_Draw(&odd, s.screen(), 0, 0);
  EXPECT_TRUE(s.untouched());
  PicturePtr p = Picture_New("p", 1, 1, 16);
  Picture_Draw(p.get(), Screen16{nullptr, 2, 2}, 0, 0);
  Picture_Draw(p.get(), Screen16{s.pixels.data(), 0, 2}, 0, 0);
  EXPECT_TRUE(s.untouched());
}

TEST(PictureDraw, IntoTheWendaxFrameBuffer) {
  Wendax wx;
  PicturePtr p = Numbered16(3, 3);
  Picture_Draw(wx, p.get(), 0, 0);  // no frame buffer yet: nothing
  wx.display.frame_width = 5;
  wx.display.frame_height = 4;
  wx.display.frame_buffer.assign(20, kBackground);
  Picture_Draw(wx, p.get(), 3, 2);
  EXPECT_EQ(wx.display.frame_buffer[2 * 5 + 3], Numbered(0, 0));
  EXPECT_EQ(wx.display.frame_buffer[3 * 5 + 4], 0);
  EXPECT_EQ(wx.display.frame_buffer[2 * 5 + 2], kBackground);
  EXPECT_EQ(wx.display.frame_buffer[0], kBackground);
  // A frame buffer smaller than its stated size is not drawn into.
  wx.display.frame_buffer.assign(10, kBackground);
  Picture_Draw(wx, p.get(), 0, 0);
  EXPECT_EQ(wx.display.frame_buffer, std::vector<uint16_t>(10, kBackground));
}

TEST(PictureDrawTransparent, CentredSkippingZeroPixels) {
  TestScreen s(7, 7);
  PicturePtr p = Numbered16(3, 3);
  Picture_Draw_Transparent_Centred(s.screen(), p.get(), 3, 3);  // top-left (2, 2)
  for (int y = 0; y < 7; ++y)
    for (int x = 0; x < 7; ++x) {
      bool inside = x >= 2 && x < 5 && y >= 2 && y < 5;
      uint16_t expected = inside ? Numbered(x - 2, y - 2) : kBackground;
      if (expected == 0) expected = kBackground;  // transparent
      EXPECT_EQ(s.at(x, y), expected) << x << "," << y;
    }
}

TEST(PictureDrawTransparent, EvenSizesAndClipping) {
  TestScreen s(4, 4);
  PicturePtr p = Numbered16(4, 2);
  Picture_Draw_Transparent_Centred(s.screen(), p.get(), 0, 0);  // top-left (-2, -1)
  EXPECT_EQ(s.at(0, 0), Numbered(2, 1));
  EXPECT_EQ(s.at(1, 0), Numbered(3, 1));
  EXPECT_EQ(s.at(2, 0), kBackground);
  EXPECT_EQ(s.at(0, 1), kBackground);
  TestScreen t(4, 4);
  Picture_Draw_Transparent_Centred(t.screen(), p.get(), 100, -100);
  Picture_Draw_Transparent_Centred(t.screen(), p.get(), INT32_MIN, INT32_MAX);
  Picture_Draw_Transparent_Centred(t.screen(), p.get(), INT32_MAX, INT32_MIN);
  EXPECT_TRUE(t.untouched());
}

TEST(PictureDrawTransparent, OnlySixteenBitPictures) {
  TestScreen s(2, 2);
  PicturePtr p = Picture_New("p", 2, 2, 24);
  std::fill(p->pixels.begin(), p->pixels.end(), 0xFF);
  Picture_Draw_Transparent_Centred(s.screen(), p.get(), 1, 1);
  Picture_Draw_Transparent(p.get(), s.screen(), 0, 0);
  Picture_Draw_Transparent_Centred(s.screen(), nullptr, 1, 1);
  EXPECT_TRUE(s.untouched());
}

TEST(PictureDrawTransparent, IntoTheWendaxFrameBuffer) {
  Wendax wx;
  wx.display.frame_width = 640;
  wx.display.frame_height = 480;
  wx.display.frame_buffer.assign(640 * 480, kBackground);
  PicturePtr p = Numbered16(3, 3);
  Picture_Draw_Transparent_Centred(wx, p.get(), 320, 240);
  EXPECT_EQ(wx.display.frame_buffer[239 * 640 + 319], Numbered(0, 0));
  EXPECT_EQ(wx.display.frame_buffer[240 * 640 + 320], kBackground) << "pixel 0 is transparent";
  EXPECT_EQ(wx.display.frame_buffer[241 * 640 + 321], Numbered(2, 2));
}

}  // namespace
