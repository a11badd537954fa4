// Bitmap fonts: a table of glyph sheets, looked up by name, and text drawn
// with them.
//
// A font is an 8-bit picture holding a grid of equal character cells for
// the codes 32 to 127 (cell 0 = code 32), laid out row by row with
// (sheet width / character width) cells per row. Any other code is drawn as
// '.'. Pixel value 0 is transparent; any other value v is drawn as entry v of
// the sheet's RGB565 table (or, with Font_Draw_Colour, in one colour).
//
// How fonts enter the table: a table made with a Wendax loads a name it does
// not hold the first time the name is used. When a picture of that name loads
// (Picture_Load, extension fallback included) and its size fits the cell rule
// below, it becomes a font under that name; otherwise the name is remembered
// as having no font and is not looked for again by this table.
//
// The cell rule: a sheet holds the 96 characters as 16 columns by 6 rows of
// cells, so the character width is the sheet width / 16 and the character
// height is the sheet height / 6. The sheet must be a still 8-bit picture
// whose width and height are exact multiples of 16 and 6. (docs/fonts.md
// tells game authors the same.)
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "pictures/picture.h"

struct Wendax;

inline constexpr int kFontFirstCode = 32;
inline constexpr int kFontLastCode = 127;
inline constexpr int kFontSheetColumns = 16;  // cells per row of a loaded sheet
inline constexpr int kFontSheetRows = 6;      // 16 x 6 = the 96 codes 32..127

struct Font {
  std::string name;
  // 8-bit, plain, with its palette grown to the RGB565 table.
  PicturePtr sheet;
  int char_width = 0;
  int char_height = 0;
};

// The font records in the order they were added. Owned by whoever draws
// text (the engine, for one script run); tests make their own.
class FontTable {
 public:
  // A table that only holds what Font_Add puts into it.
  FontTable() = default;
  // A table that also loads missing names through this Wendax's file layer.
  explicit FontTable(Wendax& wx) : loader_(&wx) {}

  const std::vector<Font>& Fonts() const { return fonts_; }

 private:
  Wendax* loader_ = nullptr;
  std::vector<Font> fonts_;
  std::vector<std::string> missing_;  // names that gave no font when loaded

  friend bool Font_Add(FontTable&, std::string_view, PicturePtr, int, int);
  friend const Font* Font_Find(FontTable&, std::string_view);
};

// The cell rule above: true with the character size when the picture is a
// still 8-bit sheet whose size divides into 16 x 6 cells.
bool Font_Sheet_Cell(const Picture& sheet, int& char_width, int& char_height);

// Adds a font at the end of the table. The sheet must be an 8-bit picture
// (it is unpacked and its RGB565 table built here), the character width
// 1..sheet width and the height 0 or more; otherwise nothing is added and
// the result is false. Names compare ignoring ASCII case; lookups find the
// first font of a name.
bool Font_Add(FontTable& fonts, std::string_view name, PicturePtr sheet, int char_width, int char_height);

// The first font of that name, loading it first when the table has a loader
// (see above); null when there is none. The pointer stays valid until the
// next font enters the table.
const Font* Font_Find(FontTable& fonts, std::string_view name);

// The font's character width and height; 0 when there is no such font.
int Font_Width(FontTable& fonts, std::string_view name);
int Font_Height(FontTable& fonts, std::string_view name);

// Draws the text left to right from (x, y), the top left corner of the
// first character, advancing x by the character width; glyph pixels outside
// the target (or outside the sheet) are skipped. Nothing for an unknown font.
void Font_Draw(FontTable& fonts, Screen16 screen, std::string_view text, int x, int y, std::string_view name);
void Font_Draw(Wendax& wx, FontTable& fonts, std::string_view text, int x, int y,
               std::string_view name);  // into the frame buffer
// The same with every glyph pixel in one RGB565 colour.
void Font_Draw_Colour(FontTable& fonts, Screen16 screen, std::string_view text, int x, int y,
                      std::string_view name, uint16_t colour);
void Font_Draw_Colour(Wendax& wx, FontTable& fonts, std::string_view text, int x, int y,
                      std::string_view name, uint16_t colour);
