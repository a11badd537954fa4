// The demo's font sheet: the script's PRINT font loads from it on first use,
// and the text it draws is exactly the glyphs of demo/fonts/glyphs.txt (so
// the sheet is in step with its source).
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "pictures/font.h"
#include "platform/files/file_layer.h"
#include "platform/wendax.h"

namespace {

const std::string kSource = KVR_SOURCE_DIR;
constexpr uint16_t kBackground = 0x4208;
constexpr uint16_t kInk = 0xFFBA;     // (255, 244, 214)
constexpr uint16_t kShadow = 0x1881;  // (24, 16, 8)

std::string File_Text(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// code -> 7 rows of 5 '#' or '.'.
std::map<int, std::vector<std::string>> Read_Glyphs() {
  std::map<int, std::vector<std::string>> glyphs;
  std::ifstream in(kSource + "/demo/fonts/glyphs.txt");
  std::string line;
  std::vector<std::string> lines;
  while (std::getline(in, line))
    if (!line.empty() && line[0] != ';') lines.push_back(line);
  for (size_t i = 0; i + 7 < lines.size() + 1; i += 8)
    glyphs[std::stoi(lines[i])] = std::vector<std::string>(lines.begin() + std::ptrdiff_t(i + 1),
                                                           lines.begin() + std::ptrdiff_t(i + 8));
  return glyphs;
}

// The frame the text must leave: each glyph at twice its size from (1, 1)
// of its 12 x 16 cell, shadowed one pixel down and right.
std::vector<uint16_t> Expected_Frame(const std::string& text, int x, int y) {
  std::map<int, std::vector<std::string>> glyphs = Read_Glyphs();
  std::vector<uint8_t> ink(640 * 480, 0);
  for (size_t n = 0; n < text.size(); ++n) {
    const std::vector<std::string>& rows = glyphs.at(text[n]);
    for (int gy = 0; gy < 7; ++gy)
      for (int gx = 0; gx < 5; ++gx)
        if (rows[size_t(gy)][size_t(gx)] == '#')
          for (int d = 0; d < 4; ++d)
            ink[size_t((y + 1 + 2 * gy + d / 2) * 640 + x + int(n) * 12 + 1 + 2 * gx + d % 2)] = 1;
  }
  std::vector<uint16_t> frame(640 * 480, kBackground);
  for (int py = 0; py < 480; ++py)
    for (int px = 0; px < 640; ++px) {
      if (ink[size_t(py * 640 + px)]) {
        frame[size_t(py * 640 + px)] = kInk;
      } else if (px > 0 && py > 0 && ink[size_t((py - 1) * 640 + px - 1)]) {
        frame[size_t(py * 640 + px)] = kShadow;
      }
    }
  return frame;
}

TEST(DemoFont, PrintsTheSampleTextFromItsSheet) {
  ASSERT_EQ(Read_Glyphs().size(), 96u);
  std::string sheet = File_Text(kSource + "/demo/sample/MINIFON2.MTR");
  ASSERT_FALSE(sheet.empty());
  Wendax wx;
  Memory_File_Add(wx, "minifon2.mtr", sheet.data(), sheet.size());
  wx.display.frame_width = 640;
  wx.display.frame_height = 480;
  wx.display.frame_buffer.assign(640 * 480, kBackground);

  // As the main loop centres the printed text.
  FontTable fonts(wx);
  const std::string text = "GAME SAVED";
  const int width = Font_Width(fonts, "MINIFON2.MTR");
  const int height = Font_Height(fonts, "MINIFON2.MTR");
  EXPECT_EQ(width, 12);
  EXPECT_EQ(height, 16);
  const int x = (640 - width * int(text.size())) / 2, y = (480 - height) / 2;
  Font_Draw(wx, fonts, text, x, y, "MINIFON2.MTR");
  EXPECT_EQ(wx.display.frame_buffer, Expected_Frame(text, x, y));

  // Every character of the sheet matches its glyph.
  std::string all;
  for (int code = 32; code < 128; ++code) all += char(code);
  for (std::string part : {all.substr(0, 48), all.substr(48)}) {
    wx.display.frame_buffer.assign(640 * 480, kBackground);
    Font_Draw(wx, fonts, part, 3, 5, "minifon2.mtr");
    EXPECT_EQ(wx.display.frame_buffer, Expected_Frame(part, 3, 5)) << part;
  }
}

}  // namespace
