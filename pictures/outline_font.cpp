#include "pictures/outline_font.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>

struct OutlineFont::Faces {
  FT_Library library = nullptr;
  FT_Face face = nullptr;
  ~Faces() {
    if (face) FT_Done_Face(face);
    if (library) FT_Done_FreeType(library);
  }
};

namespace {

// Mixes the colour over the pixel by coverage 0..255, channel by channel.
uint16_t Blend(uint16_t under, uint16_t over, unsigned coverage) {
  auto mix = [&](unsigned shift, unsigned mask) {
    const unsigned a = (under >> shift) & mask, b = (over >> shift) & mask;
    return ((a * (255 - coverage) + b * coverage + 127) / 255) << shift;
  };
  return uint16_t(mix(11, 31) | mix(5, 63) | mix(0, 31));
}

}  // namespace

std::unique_ptr<OutlineFont> OutlineFont::Open_File(const std::string& path, int pixel_height) {
  if (pixel_height <= 0) return nullptr;
  auto faces = std::make_unique<Faces>();
  if (FT_Init_FreeType(&faces->library) != 0) return nullptr;
  if (FT_New_Face(faces->library, path.c_str(), 0, &faces->face) != 0) return nullptr;
  if (FT_Set_Pixel_Sizes(faces->face, 0, FT_UInt(pixel_height)) != 0) return nullptr;
  std::unique_ptr<OutlineFont> font(new OutlineFont);
  font->faces_ = std::move(faces);
  return font;
}

std::unique_ptr<OutlineFont> OutlineFont::Open(const std::string& family, int pixel_height) {
  FcConfig* config = FcInitLoadConfigAndFonts();
  if (!config) return nullptr;
  std::string path;
  FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>(family.c_str()));
  if (pattern) {
    FcConfigSubstitute(config, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result;
    if (FcPattern* match = FcFontMatch(config, pattern, &result)) {
      FcChar8* file = nullptr;
      if (FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch && file)
        path = reinterpret_cast<const char*>(file);
      FcPatternDestroy(match);
    }
    FcPatternDestroy(pattern);
  }
  FcConfigDestroy(config);
  return path.empty() ? nullptr : Open_File(path, pixel_height);
}

OutlineFont::~OutlineFont() = default;

int OutlineFont::Ascent() const { return int((faces_->face->size->metrics.ascender + 32) >> 6); }

int OutlineFont::Draw(std::u32string_view text, int x, int y, uint16_t colour, uint16_t* pixels, int width,
                      int height, int pitch) const {
  FT_Face face = faces_->face;
  const int baseline = y + Ascent();
  int64_t pen = int64_t(x) << 6;
  FT_UInt previous = 0;
  for (char32_t c : text) {
    const FT_UInt glyph = FT_Get_Char_Index(face, FT_ULong(c));
    if (previous && glyph && FT_HAS_KERNING(face)) {
      FT_Vector kern;
      if (FT_Get_Kerning(face, previous, glyph, FT_KERNING_DEFAULT, &kern) == 0) pen += kern.x;
    }
    previous = glyph;
    if (FT_Load_Glyph(face, glyph, FT_LOAD_RENDER) != 0) continue;
    const FT_GlyphSlot slot = face->glyph;
    const FT_Bitmap& bitmap = slot->bitmap;
    const int left = int((pen + 32) >> 6) + slot->bitmap_left;
    const int top = baseline - slot->bitmap_top;
    if (pixels && bitmap.pixel_mode == FT_PIXEL_MODE_GRAY) {
      for (unsigned row = 0; row < bitmap.rows; ++row) {
        const int py = top + int(row);
        if (py < 0 || py >= height) continue;
        const unsigned char* src = bitmap.buffer + int64_t(row) * bitmap.pitch;
        for (unsigned col = 0; col < bitmap.width; ++col) {
          const int px = left + int(col);
          if (px < 0 || px >= width || src[col] == 0) continue;
          uint16_t& p = pixels[int64_t(py) * pitch + px];
          p = Blend(p, colour, src[col]);
        }
      }
    }
    pen += slot->advance.x;
  }
  return int((pen + 32) >> 6);
}
