// Outline fonts drawn onto 16-bit 5-6-5 pictures with FreeType: the text
// of saved-game slots. Glyphs are anti-aliased and blended over what is
// there (a transparent background), clipped to the destination.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

class OutlineFont {
 public:
  // The font of that family found by fontconfig, at `pixel_height` pixels
  // to the em; null when none can be loaded.
  static std::unique_ptr<OutlineFont> Open(const std::string& family, int pixel_height);
  static std::unique_ptr<OutlineFont> Open_File(const std::string& path, int pixel_height);
  ~OutlineFont();
  OutlineFont(const OutlineFont&) = delete;
  OutlineFont& operator=(const OutlineFont&) = delete;

  // Pixels from the top of a line to its baseline.
  int Ascent() const;
  // Draws the code points with the top of the line at y and the pen
  // starting at x; returns the pen's x after the text.
  int Draw(std::u32string_view text, int x, int y, uint16_t colour, uint16_t* pixels, int width, int height,
           int pitch) const;

 private:
  OutlineFont() = default;
  struct Faces;
  std::unique_ptr<Faces> faces_;
};
