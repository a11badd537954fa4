// Picture_Load: the extension rule, the reader per
// extension and the fallback order with its naming.
#include <gtest/gtest.h>

#include "tests/pictures/picture_test_support.h"
#include "pictures/picture.h"
#include "pictures/picture_readers.h"
#include "platform/files/file_layer.h"
#include "platform/wendax.h"
#include "tests/support/temp_folder.h"

namespace {

// One small valid file per format, each 1 pixel wide and told apart by its
// height: MDRAW 1, PCX 2, TGA 3, BMP 4, GIF 1 (8-bit, colour 1 = (8, 16, 24)).
std::vector<uint8_t> Mdraw_File() { return Make_Mdraw(1, 1, "NC", Test_Palette(), {0}); }
std::vector<uint8_t> Pcx_File() { return Make_Pcx(1, 2, {0xC2, 0x01}, Test_Palette()); }
std::vector<uint8_t> Tga_File() { return Make_Tga(1, 3, {}, std::vector<uint8_t>(9, 0x40), {}); }
std::vector<uint8_t> Bmp_File() { return Make_Bmp(1, 4, {}, std::vector<uint8_t>(16, 0x80)); }

void Add(Wendax& wx, std::string_view name, const std::vector<uint8_t>& bytes) {
  Memory_File_Add(wx, name, bytes.data(), bytes.size());
}

TEST(PictureExtension, TextAfterTheFirstDotUpToTheNext) {
  EXPECT_EQ(Picture_Extension("cursor1.pcx"), "pcx");
  EXPECT_EQ(Picture_Extension("a.b.c"), "b");
  EXPECT_EQ(Picture_Extension("cursor1.pcx.pak"), "pcx");
  EXPECT_EQ(Picture_Extension("noext"), "");
  EXPECT_EQ(Picture_Extension("trailing."), "");
  EXPECT_EQ(Picture_Extension("data\\pics/x.TGA"), "TGA");
  EXPECT_EQ(Picture_Extension("disc.1/pics.old/x.tga"), "tga") << "counted from the file name";
  EXPECT_EQ(Picture_Extension("x." + std::string(300, 'e')), std::string(255, 'e'));
  EXPECT_EQ(Picture_Base("cursor1.pcx"), "cursor1.");
  EXPECT_EQ(Picture_Base("a.b.c"), "a.");
  EXPECT_EQ(Picture_Base("disc.1/x.tga"), "disc.1/x.");
  EXPECT_EQ(Picture_Base("noext"), "noext.");
}

TEST(PictureLoad, EachExtensionGoesToItsReader) {
  Wendax wx;
  Add(wx, "a.mtr", Mdraw_File());
  Add(wx, "b.pcx", Pcx_File());
  Add(wx, "c.tga", Tga_File());
  Add(wx, "d.bmp", Bmp_File());
  Add(wx, "e.gif", Make_Gif_1x1(8, 16, 24));
  const std::pair<const char*, int> cases[] = {{"a.mtr", 1}, {"b.pcx", 2}, {"c.tga", 3}, {"d.bmp", 4}};
  for (auto [name, height] : cases) {
    PicturePtr p = Picture_Load(wx, name);
    ASSERT_TRUE(p) << name;
    EXPECT_EQ(p->height, height) << name;
    EXPECT_EQ(p->name, name);
  }
  PicturePtr gif = Picture_Load(wx, "e.gif");
  ASSERT_TRUE(gif);
  EXPECT_EQ(gif->width, 1);
  EXPECT_EQ(gif->depth, 8);
  EXPECT_EQ(gif->pixels, std::vector<uint8_t>{1});
  EXPECT_EQ(gif->palette[3], 8);
  EXPECT_EQ(gif->palette[5], 24);
}

TEST(PictureLoad, ExtensionsAndNamesIgnoreCase) {
  Wendax wx;
  Add(wx, "sheet.mtr", Mdraw_File());
  PicturePtr p = Picture_Load(wx, "SHEET.MTR");
  ASSERT_TRUE(p) << "an extension in capitals is read by the MDRAW reader";
  EXPECT_EQ(p->height, 1);
  EXPECT_EQ(p->name, "SHEET.MTR");
}

TEST(PictureLoad, MissingPcxFoundAsGifKeepsTheAskedName) {
  Wendax wx;
  Add(wx, "cursor1.gif", Make_Gif_1x1(1, 2, 3));
  PicturePtr p = Picture_Load(wx, "cursor1.pcx");
  ASSERT_TRUE(p);
  EXPECT_EQ(p->name, "cursor1.pcx");
  EXPECT_EQ(p->pixels, std::vector<uint8_t>{1});
}

TEST(PictureLoad, FallbackOrder) {
  // mtd, mtr, iff, lbm, PCX, tga, gif, bmp: each file present hides those
  // after it. Asked as "x.foo", an extension no reader knows.
  Wendax wx;
  EXPECT_FALSE(Picture_Load(wx, "x.foo"));
  Add(wx, "x.bmp", Bmp_File());
  EXPECT_EQ(Picture_Load(wx, "x.foo")->height, 4);
  Add(wx, "x.gif", Make_Gif_1x1(1, 1, 1));
  EXPECT_EQ(Picture_Load(wx, "x.foo")->height, 1);
  EXPECT_EQ(Picture_Load(wx, "x.foo")->width, 1);
  Add(wx, "x.tga", Tga_File());
  EXPECT_EQ(Picture_Load(wx, "x.foo")->height, 3);
  Add(wx, "x.pcx", Pcx_File());
  EXPECT_EQ(Picture_Load(wx, "x.foo")->height, 2);
  Add(wx, "x.mtr", Make_Mdraw(5, 5, "NC", Test_Palette(), std::vector<uint8_t>(25, 0)));
  PicturePtr p = Picture_Load(wx, "x.foo");
  ASSERT_TRUE(p);
  EXPECT_EQ(p->height, 5);
  EXPECT_EQ(p->name, "x.foo");
  // An empty mtd file is not read: the MDRAW picture is still found.
  Add(wx, "x.mtd", {});
  EXPECT_EQ(Picture_Load(wx, "x.foo")->height, 5);
}

TEST(PictureLoad, UnknownExtensionIsNeverReadItself) {
  Wendax wx;
  Add(wx, "pic.foo", Bmp_File());  // a valid BMP under an unknown extension
  EXPECT_FALSE(Picture_Load(wx, "pic.foo"));
  Add(wx, "pic.tga", Tga_File());
  PicturePtr p = Picture_Load(wx, "pic.foo");
  ASSERT_TRUE(p);
  EXPECT_EQ(p->height, 3);
  EXPECT_EQ(p->name, "pic.foo");
}

TEST(PictureLoad, AFailedReadFallsBack) {
  Wendax wx;
  auto broken = Pcx_File();
  broken[1] = 4;  // version 4: refused
  Add(wx, "cursor2.pcx", broken);
  Add(wx, "cursor2.bmp", Bmp_File());
  PicturePtr p = Picture_Load(wx, "cursor2.pcx");
  ASSERT_TRUE(p);
  EXPECT_EQ(p->height, 4);
  EXPECT_EQ(p->name, "cursor2.pcx");
  // A file of the right name in the wrong format falls back the same way.
  Wendax other;
  Add(other, "a.tga", Bmp_File());
  Add(other, "a.bmp", Bmp_File());
  EXPECT_EQ(Picture_Load(other, "a.tga")->height, 4);
}

TEST(PictureLoad, FallbackUsesTheBaseUpToTheFirstDot) {
  Wendax wx;
  Add(wx, "pic.bmp", Bmp_File());
  PicturePtr p = Picture_Load(wx, "pic.pcx.pak");
  ASSERT_TRUE(p);
  EXPECT_EQ(p->name, "pic.pcx.pak");
  Add(wx, "noext.tga", Tga_File());
  PicturePtr q = Picture_Load(wx, "noext");
  ASSERT_TRUE(q);
  EXPECT_EQ(q->name, "noext");
  EXPECT_FALSE(Picture_Load(wx, "other.pcx"));
  EXPECT_FALSE(Picture_Load(wx, ""));
}

TEST(PictureLoad, FromDiskThroughFoldersIgnoringCase) {
  TempFolder tmp;
  auto bytes = Pcx_File();
  tmp.Write("Disc.1/Pics/CURSOR1.PCX", std::string(bytes.begin(), bytes.end()));
  Wendax wx;
  PicturePtr p = Picture_Load(wx, tmp.Path("disc.1/pics/cursor1.pcx"));
  ASSERT_TRUE(p);
  EXPECT_EQ(p->name, "cursor1.pcx") << "named after the file, without its folders";
  EXPECT_EQ(p->height, 2);
  // Found by the fallback from a folder: still named as asked.
  bytes = Bmp_File();
  tmp.Write("Disc.1/Pics/cursor2.bmp", std::string(bytes.begin(), bytes.end()));
  PicturePtr q = Picture_Load(wx, tmp.Path("disc.1\\pics\\cursor2.pcx"));
  ASSERT_TRUE(q);
  EXPECT_EQ(q->name, "cursor2.pcx");
  EXPECT_EQ(q->height, 4);
  // A folder of a picture's name is not a picture.
  tmp.Make_Folder("dir.pcx");
  EXPECT_FALSE(Picture_Load(wx, tmp.Path("dir.pcx")));
}

TEST(PictureLoad, LoadedPicturesConvertAndDraw) {
  Wendax wx;
  Add(wx, "a.mtr", Mdraw_File());
  Add(wx, "b.pcx", Pcx_File());
  Add(wx, "c.tga", Tga_File());
  Add(wx, "d.bmp", Bmp_File());
  for (const char* name : {"a.mtr", "b.pcx", "c.tga", "d.bmp"}) {
    PicturePtr p = Picture_Load(wx, name);
    ASSERT_TRUE(p) << name;
    Picture_To_16(p.get());
    EXPECT_EQ(p->depth, 16) << name;
    EXPECT_TRUE(Consistent(*p)) << name;
    std::vector<uint16_t> screen(4, 0xBEEF);
    Picture_Draw(p.get(), Screen16{screen.data(), 2, 2}, 0, 0);
    EXPECT_NE(screen[0], 0xBEEF) << name;
  }
}

}  // namespace
