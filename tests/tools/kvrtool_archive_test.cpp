// kvrtool archive: PNG pictures built into a data archive, listed as the
// engine sorts them, drawn by the engine and extracted back to the same
// PNG pixels; bad input refused.
#include <gtest/gtest.h>

#include <filesystem>

#include "engine/archive/data_archive.h"
#include "tests/support/temp_folder.h"
#include "tests/tools/tool_run.h"
#include "tools/png_file.h"

namespace {

// RGBA pixels whose colours survive RGB565 (red and blue 0, 0x84 or 255;
// green 0, 0x82 or 255).
struct Image {
  int width, height;
  std::vector<uint8_t> rgba;
};

Image Make(int w, int h, bool (*clear)(int x, int y)) {
  Image image{w, h, {}};
  static const uint8_t levels[] = {0, 0x84, 255}, greens[] = {0, 0x82, 255};
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const bool off = clear && clear(x, y);
      image.rgba.insert(image.rgba.end(),
                        {levels[x % 3], greens[y % 3], levels[(x + y) % 3], uint8_t(off ? 0 : 255)});
    }
  return image;
}

void Write_Png(const TempFolder& folder, const std::string& name, const Image& image) {
  std::vector<uint8_t> png;
  std::string error;
  ASSERT_TRUE(Png_Encode_Rgba(image.width, image.height, image.rgba, png, error)) << error;
  folder.Write(name, std::string(png.begin(), png.end()));
}

Image Read_Png(const TempFolder& folder, const std::string& name) {
  const std::optional<std::string> bytes = folder.Read(name);
  RgbaImage image;
  std::string error;
  EXPECT_TRUE(bytes && Png_Decode(std::vector<uint8_t>(bytes->begin(), bytes->end()), image, error)) << name;
  return {image.width, image.height, image.rgba};
}

// What extraction gives back: transparent pixels keep alpha 0 (their colour
// is the key's), opaque ones their colour.
bool Same_Picture(const Image& a, const Image& b) {
  if (a.width != b.width || a.height != b.height || a.rgba.size() != b.rgba.size()) return false;
  for (size_t i = 0; i < a.rgba.size(); i += 4)
    if (a.rgba[i + 3] != b.rgba[i + 3] ||
        (a.rgba[i + 3] && !std::equal(&a.rgba[i], &a.rgba[i + 3], &b.rgba[i])))
      return false;
  return true;
}

TEST(KvrtoolArchive, BuildListExtractRoundTrip) {
  TempFolder folder;
  const Image door = Make(5, 3, [](int x, int) { return x >= 3; });               // last pixel clear
  const Image frame = Make(4, 4, [](int x, int y) { return x == 1 && y == 1; });  // last pixel opaque
  const Image bar = Make(6, 2, nullptr);
  Write_Png(folder, "pics/door.png", door);
  Write_Png(folder, "pics/Cadre.PNG", frame);
  Write_Png(folder, "pics/bar.png", bar);
  folder.Write("pics/notes.txt", "not a picture");
  ToolRun run = Run_Kvrtool({"archive", "build", folder.Path("pics"), folder.Path("out"), "--files", "2"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "wrote " + folder.Path("out") + ": 3 pictures in 2 data files\n");

  run = Run_Kvrtool({"archive", "list", folder.Path("out")});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(run.out,
            "NAME   LEFT  TOP  RIGHT  BOTTOM  TYPE  FILE  OFFSET  SIZE\n"
            "bar       0    0      6       2     1     1      40    24\n"
            "Cadre     1    0      5       4     2     1       0    40\n"
            "door      0    0      5       3     2     2       0    30\n");
  run = Run_Kvrtool({"archive", "list", "--json", folder.Path("out")});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_NE(
      run.out.find("{\"name\": \"Cadre\", \"left\": 1, \"top\": 0, \"right\": 5, \"bottom\": 4, \"type\": 2, "
                   "\"file\": 1, \"offset\": 0, \"size\": 40}"),
      std::string::npos)
      << run.out;

  const struct {
    const char* name;
    const Image& image;
  } cases[] = {{"DOOR", door}, {"cadre", frame}, {"bar", bar}};
  for (const auto& c : cases) {
    run = Run_Kvrtool(
        {"archive", "extract", folder.Path("out"), c.name, folder.Path(std::string(c.name) + ".png")});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(Same_Picture(Read_Png(folder, std::string(c.name) + ".png"), c.image)) << c.name;
  }

  // The engine draws what was built: the key column puts Cadre one pixel right.
  DataArchive archive(folder.Path("out"));
  ASSERT_EQ(archive.Archive_Load_Index(), 0);
  std::vector<uint16_t> pixels(640 * 480, 0x1234);
  archive.Archive_Draw("cadre", 10, 0, {pixels.data(), 640, 480});
  EXPECT_EQ(pixels[10], 0x1234);
  EXPECT_EQ(pixels[11], 0x0000);        // (0, 0): black
  EXPECT_EQ(pixels[640 + 12], 0x1234);  // (1, 1): clear
  EXPECT_EQ(pixels[640 + 11], 0x0410);  // (0, 1): 0, 0x82, 0x84

  // --type sets every picture's type; type 1 keeps the colour of clear pixels.
  run = Run_Kvrtool({"archive", "build", "--type", "1", folder.Path("pics"), folder.Path("opaque")});
  ASSERT_EQ(run.status, 0) << run.err;
  run = Run_Kvrtool({"archive", "extract", folder.Path("opaque"), "door", folder.Path("o.png")});
  ASSERT_EQ(run.status, 0) << run.err;
  Image all_opaque = door;
  for (size_t i = 3; i < all_opaque.rgba.size(); i += 4) all_opaque.rgba[i] = 255;
  EXPECT_TRUE(Same_Picture(Read_Png(folder, "o.png"), all_opaque));
}

TEST(KvrtoolArchive, BadInputIsRefused) {
  TempFolder folder;
  Write_Png(folder, "pics/a.png", Make(2, 2, nullptr));
  Write_Png(folder, "dup/a.png", Make(2, 2, nullptr));
  Write_Png(folder, "dup/A.PNG", Make(2, 2, nullptr));
  Write_Png(folder, "long/" + std::string(28, 'n') + ".png", Make(2, 2, nullptr));
  folder.Write("bad/x.png", "no png");
  folder.Make_Folder("empty");
  ASSERT_EQ(Run_Kvrtool({"archive", "build", folder.Path("pics"), folder.Path("out")}).status, 0);
  folder.Write("cut/BDataHeader.vit", folder.Read("out/BDataHeader.vit")->substr(0, 8 + 30));

  const struct {
    std::vector<std::string> args;
    std::string message;
  } cases[] = {
      {{"archive", "list", folder.Path("none")},
       "cannot read " + folder.Path("none/BDataHeader.vit") + ": No such file"},
      {{"archive", "extract", folder.Path("out"), "b", folder.Path("b.png")}, "no entry \"b\" in"},
      {{"archive", "build", folder.Path("none"), folder.Path("o")}, "cannot read the folder"},
      {{"archive", "build", folder.Path("empty"), folder.Path("o")}, "holds no PNG files"},
      {{"archive", "build", folder.Path("bad"), folder.Path("o")}, "not a PNG file"},
      {{"archive", "build", folder.Path("dup"), folder.Path("o")}, "A.PNG and a.png load as the same name"},
      {{"archive", "build", folder.Path("long"), folder.Path("o")}, "names are at most 31 bytes"},
  };
  for (const auto& c : cases) {
    const ToolRun run = Run_Kvrtool(c.args);
    EXPECT_EQ(run.status, 1) << c.message;
    EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
    EXPECT_EQ(run.out, "") << c.message;
  }
  EXPECT_FALSE(folder.Exists("o"));

  // Pixels that cannot be read, an index cut short, a missing data file.
  std::filesystem::copy(folder.Path("out"), folder.Path("nodata"));
  std::filesystem::remove(folder.Path("nodata/BData1.arn"));
  ToolRun run = Run_Kvrtool({"archive", "extract", folder.Path("nodata"), "a", folder.Path("a.png")});
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("BData1.arn cannot be opened"), std::string::npos) << run.err;
  EXPECT_NE(run.err.find("the pixels of \"a\" cannot be read"), std::string::npos) << run.err;
  run = Run_Kvrtool({"archive", "list", folder.Path("cut")});
  EXPECT_EQ(run.status, 0);
  EXPECT_NE(run.err.find("declares 1 entries but holds 0"), std::string::npos) << run.err;
  EXPECT_EQ(run.out, "NAME  LEFT  TOP  RIGHT  BOTTOM  TYPE  FILE  OFFSET  SIZE\n");
}

}  // namespace
