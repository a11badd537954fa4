// Bitmap fonts: the table, the glyph layout, drawing with clipping, the cell
// rule and sheets loaded on first use.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "pictures/font.h"
#include "packing/packing_encode.h"
#include "platform/files/file_layer.h"
#include "platform/wendax.h"
#include "tests/pictures/picture_test_support.h"

namespace {

constexpr uint16_t kBackground = 0xABCD;

// Palette entry v has a distinct RGB565 value for every v: red takes the
// low 5 bits of v, green its top 3 bits.
std::vector<uint8_t> Distinct_Palette() {
  std::vector<uint8_t> palette(kPalette_Rgb_Bytes, 0);
  for (int v = 0; v < 256; ++v) {
    palette[size_t(3 * v)] = uint8_t((v & 0x1F) << 3);
    palette[size_t(3 * v + 1)] = uint8_t((v >> 5) << 2);
  }
  return palette;
}

uint16_t Colour_Of(int v) { return uint16_t((v & 0x1F) << 11 | (v >> 5) << 5); }

// The glyph pixel (row, column) of cell n: 0 (transparent) at the cell's top
// left corner, else a value that differs between neighbours and cells.
int Glyph_Value(int cell, int row, int column, int width) {
  if (row == 0 && column == 0) return 0;
  return 1 + (cell * 6 + row * width + column) % 255;
}

// A sheet of `columns` cells per row, holding cells 0..cells-1.
std::vector<uint8_t> Sheet_Pixels(int width, int height, int columns, int cells) {
  std::vector<uint8_t> pixels(size_t(width * columns) * size_t(height * ((cells + columns - 1) / columns)),
                              0);
  const size_t stride = size_t(width * columns);
  for (int n = 0; n < cells; ++n)
    for (int r = 0; r < height; ++r)
      for (int c = 0; c < width; ++c)
        pixels[size_t((n / columns) * height + r) * stride + size_t((n % columns) * width + c)] =
            uint8_t(Glyph_Value(n, r, c, width));
  return pixels;
}

// An 8-bit sheet of 16 x 6 cells of width x height pixels.
PicturePtr Make_Sheet(int width, int height) {
  PicturePtr sheet = Picture_New("sheet.mtr", width * 16, height * 6, 8);
  sheet->pixels = Sheet_Pixels(width, height, 16, 96);
  sheet->palette = Distinct_Palette();
  return sheet;
}

struct Screen {
  Screen(int w, int h) : width(w), height(h), pixels(size_t(w * h), kBackground) {}
  Screen16 View() { return {pixels.data(), width, height}; }
  uint16_t At(int x, int y) const { return pixels[size_t(y * width + x)]; }
  int width, height;
  std::vector<uint16_t> pixels;
};

// What drawing cell n at (x, y) must leave on a fresh screen, glyph colours
// or one colour (colour >= 0).
std::vector<uint16_t> Expected(int w, int h, const std::vector<std::pair<int, int>>& cells_at_x, int y,
                               int width, int height, int colour = -1) {
  std::vector<uint16_t> out(size_t(w * h), kBackground);
  for (auto [cell, x] : cells_at_x)
    for (int r = 0; r < height; ++r)
      for (int c = 0; c < width; ++c) {
        int v = Glyph_Value(cell, r, c, width);
        if (v == 0 || x + c < 0 || x + c >= w || y + r < 0 || y + r >= h) continue;
        out[size_t((y + r) * w + x + c)] = colour < 0 ? Colour_Of(v) : uint16_t(colour);
      }
  return out;
}

TEST(FontTable, UnknownNamesMeasureZeroAndDrawNothing) {
  FontTable fonts;
  EXPECT_EQ(Font_Width(fonts, "minifon2.mtr"), 0);
  EXPECT_EQ(Font_Height(fonts, "minifon2.mtr"), 0);
  ASSERT_TRUE(Font_Add(fonts, "MINIFON1.MTR", Make_Sheet(3, 2), 3, 2));
  EXPECT_EQ(Font_Width(fonts, "MINIFON2.MTR"), 0);
  EXPECT_EQ(Font_Height(fonts, "MINIFON2.MTR"), 0);
  EXPECT_EQ(Font_Width(fonts, ""), 0);
  Screen screen(20, 6);
  Font_Draw(fonts, screen.View(), "ABC", 0, 0, "MINIFON2.MTR");
  Font_Draw_Colour(fonts, screen.View(), "ABC", 0, 0, "MINIFON2.MTR", 0x1234);
  EXPECT_EQ(screen.pixels, std::vector<uint16_t>(20 * 6, kBackground));

  // A table that loads: the name has no file either.
  Wendax wx;
  FontTable loading(wx);
  EXPECT_EQ(Font_Width(loading, "nofont.mtr"), 0);
  EXPECT_EQ(Font_Height(loading, "nofont.mtr"), 0);
  Font_Draw(loading, screen.View(), "ABC", 0, 0, "nofont.mtr");
  EXPECT_EQ(screen.pixels, std::vector<uint16_t>(20 * 6, kBackground));
  EXPECT_TRUE(loading.Fonts().empty());
}

TEST(FontTable, NamesIgnoreCaseAndTheFirstOfANameWins) {
  FontTable fonts;
  ASSERT_TRUE(Font_Add(fonts, "MiniFon2.Mtr", Make_Sheet(3, 2), 3, 2));
  ASSERT_TRUE(Font_Add(fonts, "MINIFON2.MTR", Make_Sheet(4, 5), 4, 5));
  EXPECT_EQ(Font_Width(fonts, "minifon2.mtr"), 3);
  EXPECT_EQ(Font_Height(fonts, "MINIFON2.MTR"), 2);
  EXPECT_EQ(fonts.Fonts().size(), 2u);
  EXPECT_EQ(Font_Width(fonts, "MINIFON2.MT"), 0);
  EXPECT_EQ(Font_Width(fonts, "MINIFON2.MTRX"), 0);
}

TEST(FontTable, AddRefusesWhatCannotBeDrawn) {
  FontTable fonts;
  EXPECT_FALSE(Font_Add(fonts, "a", nullptr, 3, 2));
  EXPECT_FALSE(Font_Add(fonts, "a", Make_Sheet(3, 2), 0, 2));
  EXPECT_FALSE(Font_Add(fonts, "a", Make_Sheet(3, 2), -1, 2));
  EXPECT_FALSE(Font_Add(fonts, "a", Make_Sheet(3, 2), 49, 2));  // wider than the sheet
  EXPECT_FALSE(Font_Add(fonts, "a", Make_Sheet(3, 2), 3, -1));
  EXPECT_FALSE(Font_Add(fonts, "a", Picture_New("rgb", 48, 12, 24), 3, 2));
  PicturePtr short_pixels = Make_Sheet(3, 2);
  short_pixels->pixels.resize(48 * 12 - 1);
  EXPECT_FALSE(Font_Add(fonts, "a", std::move(short_pixels), 3, 2));
  EXPECT_TRUE(fonts.Fonts().empty());
  EXPECT_TRUE(Font_Add(fonts, "a", Make_Sheet(3, 2), 48, 2));  // one cell a row
  EXPECT_TRUE(Font_Add(fonts, "b", Make_Sheet(3, 2), 3, 0));
}

TEST(FontDraw, EachCharacterFromItsCellAdvancingByTheWidth) {
  FontTable fonts;
  ASSERT_TRUE(Font_Add(fonts, "f", Make_Sheet(3, 2), 3, 2));
  Screen screen(20, 6);
  Font_Draw(fonts, screen.View(), "A~ ", 5, 3, "F");
  // 'A' is cell 33, '~' cell 94, ' ' cell 0.
  EXPECT_EQ(screen.pixels, Expected(20, 6, {{33, 5}, {94, 8}, {0, 11}}, 3, 3, 2));
  // Spot checks by hand: cell 33 sits at column 1 * 3, row 2 * 2 of the sheet.
  EXPECT_EQ(screen.At(6, 3), Colour_Of(1 + (33 * 6 + 1) % 255));
  EXPECT_EQ(screen.At(7, 4), Colour_Of(1 + (33 * 6 + 3 + 2) % 255));
}

TEST(FontDraw, GlyphPixelZeroLeavesTheScreen) {
  FontTable fonts;
  ASSERT_TRUE(Font_Add(fonts, "f", Make_Sheet(3, 2), 3, 2));
  Screen screen(10, 4);
  screen.pixels[size_t(1 * 10 + 2)] = 0x0F0F;  // under the top left (transparent) glyph pixel
  Font_Draw(fonts, screen.View(), "A", 2, 1, "f");
  EXPECT_EQ(screen.At(2, 1), 0x0F0F);
  EXPECT_EQ(screen.At(3, 1), Colour_Of(1 + (33 * 6 + 1) % 255));
}

TEST(FontDraw, CodesOutside32To127DrawAsADot) {
  FontTable fonts;
  ASSERT_TRUE(Font_Add(fonts, "f", Make_Sheet(3, 2), 3, 2));
  Screen dot(12, 2);
  Font_Draw(fonts, dot.View(), ".", 0, 0, "f");
  ASSERT_EQ(dot.pixels, Expected(12, 2, {{14, 0}}, 0, 3, 2));
  for (int code : {200, 128, 255, 31, 0, 10}) {
    SCOPED_TRACE(code);
    Screen screen(12, 2);
    Font_Draw(fonts, screen.View(), std::string(1, char(code)), 0, 0, "f");
    EXPECT_EQ(screen.pixels, dot.pixels);
  }
  // 32 and 127 are the first and last cells, not dots.
  Screen ends(12, 2);
  Font_Draw(fonts, ends.View(), std::string("\x20\x7F", 2), 0, 0, "f");
  EXPECT_EQ(ends.pixels, Expected(12, 2, {{0, 0}, {95, 3}}, 0, 3, 2));
}

TEST(FontDraw, ClippedAtEveryScreenEdge) {
  FontTable fonts;
  ASSERT_TRUE(Font_Add(fonts, "f", Make_Sheet(3, 2), 3, 2));
  struct Case {
    int x, y;
  };
  // Exact-size screens: a write outside them is caught by the sanitizer too.
  for (Case c : {Case{-2, -1}, Case{-7, 0}, Case{4, 2}, Case{5, 2}, Case{-3, 0}, Case{0, -2}, Case{6, 0},
                 Case{0, 3}, Case{-100, -100}, Case{1000, 1}}) {
    SCOPED_TRACE(std::to_string(c.x) + ", " + std::to_string(c.y));
    Screen screen(6, 3);
    Font_Draw(fonts, screen.View(), "AB", c.x, c.y, "f");
    EXPECT_EQ(screen.pixels, Expected(6, 3, {{33, c.x}, {34, c.x + 3}}, c.y, 3, 2));
  }
  // Wholly outside: nothing.
  Screen screen(6, 3);
  Font_Draw(fonts, screen.View(), "AB", 6, 0, "f");
  Font_Draw(fonts, screen.View(), "AB", -6, 0, "f");
  Font_Draw(fonts, screen.View(), "AB", 0, 3, "f");
  Font_Draw(fonts, screen.View(), "AB", 0, -2, "f");
  EXPECT_EQ(screen.pixels, std::vector<uint16_t>(18, kBackground));
  // A long text far to the right never wraps round.
  Font_Draw(fonts, screen.View(), std::string(256, 'A'), 2147483600, 0, "f");
  EXPECT_EQ(screen.pixels, std::vector<uint16_t>(18, kBackground));
}

TEST(FontDraw, ColourVariantPaintsEveryGlyphPixelInOneColour) {
  FontTable fonts;
  ASSERT_TRUE(Font_Add(fonts, "f", Make_Sheet(3, 2), 3, 2));
  Screen screen(10, 3);
  Font_Draw_Colour(fonts, screen.View(), "A\xC8", 1, 1, "f", 0x1234);
  EXPECT_EQ(screen.pixels, Expected(10, 3, {{33, 1}, {14, 4}}, 1, 3, 2, 0x1234));
  EXPECT_EQ(screen.At(1, 1), kBackground);  // glyph pixel 0
  EXPECT_EQ(screen.At(2, 1), 0x1234);
  // Colour 0 is written like any other.
  Font_Draw_Colour(fonts, screen.View(), "A", 1, 1, "f", 0);
  EXPECT_EQ(screen.At(2, 1), 0);
}

TEST(FontDraw, LayoutFollowsTheSheetWidthAndStaysInsideTheSheet) {
  // An 8 x 4 sheet with 2 x 2 cells: 4 cells a row, cells 0..7.
  PicturePtr sheet = Picture_New("small", 8, 4, 8);
  sheet->pixels = Sheet_Pixels(2, 2, 4, 8);
  sheet->palette = Distinct_Palette();
  FontTable fonts;
  ASSERT_TRUE(Font_Add(fonts, "small", std::move(sheet), 2, 2));
  Screen screen(8, 2);
  Font_Draw(fonts, screen.View(), "$'", 0, 0, "small");  // cells 4 (row 1, column 0) and 7
  EXPECT_EQ(screen.pixels, Expected(8, 2, {{4, 0}, {7, 2}}, 0, 2, 2));
  // 'A' (cell 33) lies below the sheet: nothing is drawn, x still advances.
  Screen beyond(8, 2);
  Font_Draw(fonts, beyond.View(), "A!", 0, 0, "small");
  EXPECT_EQ(beyond.pixels, Expected(8, 2, {{1, 2}}, 0, 2, 2));
}

TEST(FontDraw, HeightZeroDrawsNothingButAdvances) {
  FontTable fonts;
  ASSERT_TRUE(Font_Add(fonts, "flat", Make_Sheet(3, 2), 3, 0));
  EXPECT_EQ(Font_Width(fonts, "flat"), 3);
  EXPECT_EQ(Font_Height(fonts, "flat"), 0);
  Screen screen(10, 3);
  Font_Draw(fonts, screen.View(), "AB", 0, 0, "flat");
  EXPECT_EQ(screen.pixels, std::vector<uint16_t>(30, kBackground));
}

TEST(FontDraw, IntoTheWendaxFrameBuffer) {
  Wendax wx;
  FontTable fonts;
  ASSERT_TRUE(Font_Add(fonts, "f", Make_Sheet(3, 2), 3, 2));
  Font_Draw(wx, fonts, "A", 0, 0, "f");  // no frame buffer yet: nothing, no crash
  wx.display.frame_width = 6;
  wx.display.frame_height = 3;
  wx.display.frame_buffer.assign(18, kBackground);
  Font_Draw(wx, fonts, "AB", -1, 1, "f");
  EXPECT_EQ(wx.display.frame_buffer, Expected(6, 3, {{33, -1}, {34, 2}}, 1, 3, 2));
  wx.display.frame_buffer.assign(18, kBackground);
  Font_Draw_Colour(wx, fonts, "A", 0, 0, "f", 0x7777);
  EXPECT_EQ(wx.display.frame_buffer, Expected(6, 3, {{33, 0}}, 0, 3, 2, 0x7777));
}

TEST(FontSheetCell, SixteenBySixCellsDividingExactly) {
  struct Case {
    int width, height, depth;
    bool ok;
    int cell_width, cell_height;
  };
  const Case cases[] = {
      {16, 6, 8, true, 1, 1},    {48, 12, 8, true, 3, 2},   {128, 96, 8, true, 8, 16},
      {160, 48, 8, true, 10, 8}, {15, 6, 8, false, 0, 0},   {16, 5, 8, false, 0, 0},
      {17, 6, 8, false, 0, 0},   {48, 13, 8, false, 0, 0},  {40, 12, 8, false, 0, 0},
      {48, 12, 24, false, 0, 0}, {48, 12, 16, false, 0, 0}, {8, 96, 8, false, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.width) + " x " + std::to_string(c.height) + " at " +
                 std::to_string(c.depth));
    PicturePtr sheet = Picture_New("s", c.width, c.height, c.depth);
    int w = -1, h = -1;
    EXPECT_EQ(Font_Sheet_Cell(*sheet, w, h), c.ok);
    if (c.ok) {
      EXPECT_EQ(w, c.cell_width);
      EXPECT_EQ(h, c.cell_height);
    }
  }
  // An animation is no sheet.
  PicturePtr animation = Picture_New("a", 48, 12, 8);
  animation->frame_count = 2;
  int w = 0, h = 0;
  EXPECT_FALSE(Font_Sheet_Cell(*animation, w, h));
}

// An MDRAW sheet of 16 x 6 cells of width x height, packed "FC" or plain.
std::vector<uint8_t> Mdraw_Sheet(int width, int height, bool packed) {
  std::vector<uint8_t> pixels = Sheet_Pixels(width, height, 16, 96);
  if (packed) pixels = Pack(1, pixels.data(), pixels.size());
  return Make_Mdraw(width * 16, height * 6, packed ? "FC" : "NC", Distinct_Palette(), pixels);
}

void Add_File(Wendax& wx, std::string_view name, const std::vector<uint8_t>& bytes) {
  Memory_File_Add(wx, name, bytes.data(), bytes.size());
}

TEST(FontLoading, AMissingNameLoadsItsSheetOnFirstUse) {
  for (bool packed : {true, false}) {
    SCOPED_TRACE(packed ? "FC" : "NC");
    Wendax wx;
    Add_File(wx, "minifon2.mtr", Mdraw_Sheet(3, 2, packed));
    FontTable fonts(wx);
    EXPECT_EQ(Font_Width(fonts, "MINIFON2.MTR"), 3);
    EXPECT_EQ(Font_Height(fonts, "MINIFON2.MTR"), 2);
    ASSERT_EQ(fonts.Fonts().size(), 1u);
    EXPECT_EQ(fonts.Fonts()[0].name, "MINIFON2.MTR");
    EXPECT_EQ(fonts.Fonts()[0].sheet->pack_method, 0);
    Screen screen(12, 3);
    Font_Draw(fonts, screen.View(), "A.", 0, 1, "minifon2.mtr");
    EXPECT_EQ(screen.pixels, Expected(12, 3, {{33, 0}, {14, 3}}, 1, 3, 2));
    EXPECT_EQ(fonts.Fonts().size(), 1u);  // found, not loaded again
  }
}

TEST(FontLoading, TheLoaderFallsBackToOtherExtensions) {
  Wendax wx;
  std::vector<uint8_t> pixels = Sheet_Pixels(2, 3, 16, 96);
  Add_File(wx, "MINIFON3.PCX", Make_Pcx(32, 18, pixels, Test_Palette(), PcxHeader{5, 0}));
  FontTable fonts(wx);
  EXPECT_EQ(Font_Width(fonts, "minifon3.mtr"), 2);
  EXPECT_EQ(Font_Height(fonts, "minifon3.mtr"), 3);
}

TEST(FontLoading, SheetsThatFailTheRuleAreNoFont) {
  Wendax wx;
  // 17 cells' width, a 24-bit picture, a broken file.
  Add_File(wx, "wide.mtr",
           Make_Mdraw(17 * 3, 12, "NC", Distinct_Palette(), std::vector<uint8_t>(51 * 12, 1)));
  std::vector<uint8_t> rgb(48 * 12 * 3, 9);
  Add_File(wx, "rgb.tga", Make_Tga(48, 12, {}, rgb));
  std::vector<uint8_t> broken = Mdraw_Sheet(3, 2, false);
  broken.resize(broken.size() - 1);
  Add_File(wx, "broken.mtr", broken);
  FontTable fonts(wx);
  for (const char* name : {"wide.mtr", "rgb.tga", "broken.mtr"}) {
    EXPECT_EQ(Font_Width(fonts, name), 0) << name;
    EXPECT_EQ(Font_Height(fonts, name), 0) << name;
  }
  EXPECT_TRUE(fonts.Fonts().empty());
}

TEST(FontLoading, ANameWithoutAFontIsNotLookedForAgain) {
  Wendax wx;
  FontTable fonts(wx);
  EXPECT_EQ(Font_Width(fonts, "late.mtr"), 0);
  Add_File(wx, "late.mtr", Mdraw_Sheet(3, 2, true));
  EXPECT_EQ(Font_Width(fonts, "LATE.MTR"), 0);  // remembered, whatever the case
  FontTable fresh(wx);
  EXPECT_EQ(Font_Width(fresh, "late.mtr"), 3);
}

TEST(FontLoading, AHeldNameIsNotLoaded) {
  Wendax wx;
  Add_File(wx, "held.mtr", Mdraw_Sheet(3, 2, true));
  FontTable fonts(wx);
  ASSERT_TRUE(Font_Add(fonts, "HELD.MTR", Make_Sheet(4, 5), 4, 5));
  EXPECT_EQ(Font_Width(fonts, "held.mtr"), 4);
  EXPECT_EQ(fonts.Fonts().size(), 1u);
  // A table without a loader never reads files.
  FontTable plain;
  EXPECT_EQ(Font_Width(plain, "held.mtr"), 0);
}

}  // namespace
