#include "pictures/font.h"

#include <algorithm>
#include <span>

#include "platform/display/display.h"
#include "platform/files/text.h"
#include "platform/wendax.h"

namespace {

// ASCII case folding over the whole name (no length limit, so every name a
// table holds can be found again).
bool Same_Name(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (Text_Fold(a[i]) != Text_Fold(b[i])) return false;
  return true;
}

const Font* Find_Held(const std::vector<Font>& fonts, std::string_view name) {
  auto it = std::find_if(fonts.begin(), fonts.end(), [&](const Font& f) { return Same_Name(f.name, name); });
  return it == fonts.end() ? nullptr : &*it;
}

bool Sheet_Plain_8(const Picture& sheet) {
  size_t size = Picture_Plain_Size(sheet.width, sheet.height, 8);
  return sheet.depth == 8 && sheet.pack_method == 0 && size != 0 && sheet.pixels.size() >= size &&
         sheet.palette.size() >= kPalette_565_Bytes;
}

// The cell of a character: codes 32..127 are cells 0..95, anything else '.'.
int Cell_Of(unsigned char code) {
  if (code < kFontFirstCode || code > kFontLastCode) code = '.';
  return code - kFontFirstCode;
}

uint16_t Table_565(const Picture& sheet, uint8_t v) {
  const uint8_t* table = sheet.palette.data() + kPalette_Rgb_Bytes;
  return uint16_t(table[2 * v] | table[2 * v + 1] << 8);
}

// Draws one glyph with its top left corner at (x, y). colour < 0 keeps the
// glyph's own colours. Glyph pixels outside the sheet count as transparent.
void Draw_Glyph(const Font& font, Screen16 screen, int cell, int64_t x, int64_t y, int colour) {
  const Picture& sheet = *font.sheet;
  const int per_row = sheet.width / font.char_width;  // >= 1: width <= sheet width
  const int64_t cell_x = int64_t(cell % per_row) * font.char_width;
  const int64_t cell_y = int64_t(cell / per_row) * font.char_height;
  for (int row = 0; row < font.char_height; ++row) {
    const int64_t sy = cell_y + row, ty = y + row;
    if (sy >= sheet.height) break;
    if (ty < 0 || ty >= screen.height) continue;
    const uint8_t* source = sheet.pixels.data() + size_t(sy) * size_t(sheet.width);
    uint16_t* target = screen.pixels + size_t(ty) * size_t(screen.width);
    for (int column = 0; column < font.char_width; ++column) {
      const int64_t sx = cell_x + column, tx = x + column;
      if (sx >= sheet.width) break;
      if (tx < 0 || tx >= screen.width) continue;
      const uint8_t v = source[sx];
      if (v != 0) target[tx] = colour < 0 ? Table_565(sheet, v) : uint16_t(colour);
    }
  }
}

void Draw_Text(FontTable& fonts, Screen16 screen, std::string_view text, int x, int y, std::string_view name,
               int colour) {
  const Font* font = Font_Find(fonts, name);
  if (!font || !screen.pixels || screen.width <= 0 || screen.height <= 0) return;
  // 64-bit positions: a long text in a wide font never overflows.
  int64_t left = x;
  for (char c : text) {
    if (font->char_height > 0)
      Draw_Glyph(*font, screen, Cell_Of(static_cast<unsigned char>(c)), left, y, colour);
    left += font->char_width;
  }
}

Screen16 Frame_Screen(Wendax& wx) {
  std::span<uint16_t> frame = Wendax_Frame_Buffer(wx);
  const int width = wx.display.frame_width;
  if (width <= 0) return {};
  const int height =
      int(std::min<size_t>(size_t(std::max(wx.display.frame_height, 0)), frame.size() / size_t(width)));
  return {frame.data(), width, height};
}

}  // namespace

bool Font_Sheet_Cell(const Picture& sheet, int& char_width, int& char_height) {
  if (sheet.depth != 8 || sheet.frame_count != 0) return false;
  if (sheet.width < kFontSheetColumns || sheet.height < kFontSheetRows) return false;
  if (sheet.width % kFontSheetColumns != 0 || sheet.height % kFontSheetRows != 0) return false;
  char_width = sheet.width / kFontSheetColumns;
  char_height = sheet.height / kFontSheetRows;
  return true;
}

bool Font_Add(FontTable& fonts, std::string_view name, PicturePtr sheet, int char_width, int char_height) {
  if (!sheet || sheet->depth != 8) return false;
  Picture_Unpack(sheet.get());
  Picture_Palette_565(sheet.get());
  if (!Sheet_Plain_8(*sheet)) return false;
  if (char_width < 1 || char_width > sheet->width || char_height < 0) return false;
  Font font;
  font.name = std::string(name);
  font.sheet = std::move(sheet);
  font.char_width = char_width;
  font.char_height = char_height;
  fonts.fonts_.push_back(std::move(font));
  return true;
}

const Font* Font_Find(FontTable& fonts, std::string_view name) {
  if (const Font* held = Find_Held(fonts.fonts_, name)) return held;
  if (!fonts.loader_) return nullptr;
  for (const std::string& missing : fonts.missing_)
    if (Same_Name(missing, name)) return nullptr;

  PicturePtr sheet = Picture_Load(*fonts.loader_, name);
  int width = 0, height = 0;
  if (sheet && Font_Sheet_Cell(*sheet, width, height) &&
      Font_Add(fonts, name, std::move(sheet), width, height))
    return &fonts.fonts_.back();
  fonts.missing_.emplace_back(name);
  return nullptr;
}

int Font_Width(FontTable& fonts, std::string_view name) {
  const Font* font = Font_Find(fonts, name);
  return font ? font->char_width : 0;
}

int Font_Height(FontTable& fonts, std::string_view name) {
  const Font* font = Font_Find(fonts, name);
  return font ? font->char_height : 0;
}

void Font_Draw(FontTable& fonts, Screen16 screen, std::string_view text, int x, int y,
               std::string_view name) {
  Draw_Text(fonts, screen, text, x, y, name, -1);
}

void Font_Draw(Wendax& wx, FontTable& fonts, std::string_view text, int x, int y, std::string_view name) {
  Draw_Text(fonts, Frame_Screen(wx), text, x, y, name, -1);
}

void Font_Draw_Colour(FontTable& fonts, Screen16 screen, std::string_view text, int x, int y,
                      std::string_view name, uint16_t colour) {
  Draw_Text(fonts, screen, text, x, y, name, colour);
}

void Font_Draw_Colour(Wendax& wx, FontTable& fonts, std::string_view text, int x, int y,
                      std::string_view name, uint16_t colour) {
  Draw_Text(fonts, Frame_Screen(wx), text, x, y, name, colour);
}
