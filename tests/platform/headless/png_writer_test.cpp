// Presented pictures saved as PNG and read back.
#include <gtest/gtest.h>
#include <png.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "tests/platform/display/display_rig.h"
#include "platform/headless/png_writer.h"

namespace {

std::string Temp_Path(const char* name) {
  const char* dir = std::getenv("TMPDIR");
  return std::string(dir && *dir ? dir : "/tmp") + "/" + name + std::to_string(::getpid()) + ".png";
}

// Reads an 8-bit RGB PNG; empty on any failure.
std::vector<uint8_t> Read_Png(const std::string& path, png_uint_32& width, png_uint_32& height) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, path.c_str())) return {};
  image.format = PNG_FORMAT_RGB;
  std::vector<uint8_t> pixels(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr)) return {};
  width = image.width;
  height = image.height;
  return pixels;
}

TEST(PngWriter, SavesTheColoursOfEveryDepth) {
  struct Case {
    HeadlessConfig card;
    int bits;
  };
  HeadlessConfig c555 = Card_555();
  std::vector<Case> cases = {
      {Card_With({{64, 48, 16, 0}}), 16}, {c555, 16}, {Card_With({{64, 48, 8, 0}}), 8}};
  for (Case& c : cases) {
    DisplayRig rig(c.card);
    int width = c.card.modes.back().width, height = c.card.modes.back().height;
    ASSERT_EQ(rig.Open(width, height, c.bits), 0);
    Wendax_Fill_Rect(rig.wx, 0, 0, width / 2, height, 0xF800);  // red half
    Wendax_Put_Pixel(rig.wx, width - 1, height - 1, 0xFFFF);
    Wendax_Show(rig.wx);
    const PresentedFrame& frame = rig.card.Last_Presented();
    std::string path = Temp_Path("wendax_png");
    ASSERT_TRUE(Save_Png(frame, path));
    png_uint_32 w = 0, h = 0;
    std::vector<uint8_t> rgb = Read_Png(path, w, h);
    std::remove(path.c_str());
    ASSERT_EQ(w, png_uint_32(width));
    ASSERT_EQ(h, png_uint_32(height));
    int wrong = 0;
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) {
        Rgb want = frame.Colour(x, y);
        const uint8_t* p = rgb.data() + (size_t(y) * size_t(width) + size_t(x)) * 3;
        wrong += p[0] != want.red || p[1] != want.green || p[2] != want.blue;
      }
    }
    EXPECT_EQ(wrong, 0) << "bits " << c.bits;
    Rgb red = frame.Colour(0, 0);
    if (c.bits == 8) {
      EXPECT_EQ(red, (Rgb{204, 0, 0}));  // cube level 4 of red
    } else {
      EXPECT_EQ(red, (Rgb{255, 0, 0}));
    }
    EXPECT_EQ(frame.Colour(width / 2, 0), (Rgb{0, 0, 0}));
  }
}

TEST(PngWriter, AnUnwritablePathFails) {
  DisplayRig rig(Card_With({{64, 48, 16, 0}}));
  ASSERT_EQ(rig.Open(64, 48, 16), 0);
  Wendax_Show(rig.wx);
  EXPECT_FALSE(Save_Png(rig.card.Last_Presented(), "/nonexistent-folder/x.png"));
  EXPECT_FALSE(Save_Png(PresentedFrame{}, Temp_Path("wendax_empty")));
}

}  // namespace
