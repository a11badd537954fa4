// kvrtool picture info, convert and make, run as programs.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "tests/tools/png_bytes.h"
#include "tests/support/temp_folder.h"
#include "tests/tools/tool_run.h"
#include "tools/picture_pixels.h"
#include "tools/png_file.h"

namespace {

using Bytes = std::vector<uint8_t>;

std::string Text(const Bytes& bytes) { return std::string(bytes.begin(), bytes.end()); }
Bytes Data(const std::string& text) { return Bytes(text.begin(), text.end()); }

uint16_t To_565(const uint8_t* rgb) {
  return uint16_t((rgb[0] >> 3) << 11 | (rgb[1] >> 2) << 5 | (rgb[2] >> 3));
}

// A width x height RGB image whose pixels take scattered colours out of
// `colours` distinct ones.
Bytes Rgb_Pixels(int width, int height, int colours) {
  Bytes rgb;
  for (int i = 0; i < width * height; ++i) {
    int c = (i * 11 + i / 3) % colours;
    rgb.insert(rgb.end(), {uint8_t(c * 5), uint8_t((255 - c) ^ ((c >> 8) << 7)), uint8_t(c * 3 + 1)});
  }
  return rgb;
}

std::string Png_Of(int width, int height, const Bytes& rgb) {
  Bytes png;
  std::string error;
  EXPECT_TRUE(Png_Encode_Rgb(width, height, rgb, png, error)) << error;
  return Text(png);
}

// The RGB565 words the engine gives an RGB image: the truncating rule.
Bytes Raw_565(const Bytes& rgb) {
  Bytes raw;
  for (size_t i = 0; i + 2 < rgb.size(); i += 3) {
    uint16_t v = To_565(&rgb[i]);
    raw.push_back(uint8_t(v));
    raw.push_back(uint8_t(v >> 8));
  }
  return raw;
}

void Expect_Png_Of_Raw(const std::string& png, int width, int height, const Bytes& raw) {
  RgbaImage image;
  std::string error;
  ASSERT_TRUE(Png_Decode(Data(png), image, error)) << error;
  ASSERT_EQ(image.width, width);
  ASSERT_EQ(image.height, height);
  for (size_t i = 0; i < size_t(width * height); ++i) {
    std::array<uint8_t, 3> c = Rgb565_Widen(uint16_t(raw[2 * i] | raw[2 * i + 1] << 8));
    ASSERT_EQ(
        Bytes(image.rgba.begin() + std::ptrdiff_t(4 * i), image.rgba.begin() + std::ptrdiff_t(4 * i + 4)),
        (Bytes{c[0], c[1], c[2], 255}))
        << "pixel " << i;
  }
}

std::string Info(const std::string& format, int width, int height, int depth, const std::string& pack,
                 const std::string& cell = "none") {
  return "format: " + format + "\nsize: " + std::to_string(width) + " x " + std::to_string(height) +
         "\ndepth: " + std::to_string(depth) + "\npack method: " + pack +
         "\npalette: " + (depth == 8 ? "yes" : "no") + "\nframes: 0\nfont cell: " + cell + "\n";
}

TEST(KvrtoolPicture, MakeThenConvertGivesTheExactPixelsInEveryFormat) {
  struct Case {
    std::vector<std::string> make;
    std::string out, made, info;
  };
  const int w = 12, h = 5;
  const std::vector<Case> cases = {
      {{"pcx"}, "a.pcx", "PCX, 12 x 5, 8 bits, 40 colours", Info("PCX", w, h, 8, "0 (plain)")},
      {{"tga"}, "a.tga", "TGA, 12 x 5, 24 bits", Info("TGA", w, h, 24, "0 (plain)")},
      {{"bmp"}, "a.bmp", "BMP, 12 x 5, 24 bits", Info("BMP", w, h, 24, "0 (plain)")},
      {{"mtr"}, "a.mtr", "MDRAW, 12 x 5, 8 bits, 40 colours", Info("MDRAW", w, h, 8, "1 (run-length)")},
      {{"--pack", "FC", "mtr"},
       "fc.mtr",
       "MDRAW, 12 x 5, 8 bits, 40 colours",
       Info("MDRAW", w, h, 8, "1 (run-length)")},
      {{"--pack=nc", "MTR"},
       "nc.MTR",
       "MDRAW, 12 x 5, 8 bits, 40 colours",
       Info("MDRAW", w, h, 8, "0 (plain)")},
  };
  TempFolder folder;
  const Bytes rgb = Rgb_Pixels(w, h, 40);
  folder.Write("in.png", Png_Of(w, h, rgb));
  const Bytes raw = Raw_565(rgb);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.out);
    std::vector<std::string> args = {"picture", "make"};
    args.insert(args.end(), c.make.begin(), c.make.end());
    args.insert(args.end(), {"in.png", c.out});
    ToolRun run = Run_Kvrtool(args, folder.Path());
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.out, "wrote " + c.out + ": " + c.made + "\n");

    run = Run_Kvrtool({"picture", "info", c.out}, folder.Path());
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, c.info);

    run = Run_Kvrtool({"picture", "convert", c.out, "--raw", "out.bin"}, folder.Path());
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "12 5\n");
    EXPECT_EQ(folder.Read("out.bin"), Text(raw));

    run = Run_Kvrtool({"picture", "convert", c.out, "out.png"}, folder.Path());
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "");
    Expect_Png_Of_Raw(folder.Read("out.png").value_or(""), w, h, raw);
  }
}

TEST(KvrtoolPicture, MoreThan256ColoursAreReducedForEightBitFormats) {
  TempFolder folder;
  const int w = 40, h = 10;
  const Bytes rgb = Rgb_Pixels(w, h, 300);
  folder.Write("in.png", Png_Of(w, h, rgb));
  ToolRun run = Run_Kvrtool({"picture", "make", "pcx", "in.png", "a.pcx"}, folder.Path());
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "wrote a.pcx: PCX, 40 x 10, 8 bits, 256 colours (reduced from 283)\n");
  run = Run_Kvrtool({"picture", "convert", "--raw", "a.bin", "a.pcx"}, folder.Path());
  ASSERT_EQ(run.status, 0) << run.err;
  Bytes raw = Data(folder.Read("a.bin").value_or(""));
  ASSERT_EQ(raw.size(), size_t(w * h * 2));
  std::set<uint16_t> values;
  for (size_t i = 0; i < raw.size(); i += 2) values.insert(uint16_t(raw[i] | raw[i + 1] << 8));
  EXPECT_LE(values.size(), 256u);
  // Most colours keep a group of their own: their pixels come back exact.
  const Bytes exact = Raw_565(rgb);
  size_t same = 0;
  for (size_t i = 0; i < raw.size(); i += 2) same += raw[i] == exact[i] && raw[i + 1] == exact[i + 1];
  EXPECT_GT(same, raw.size() / 2 * 3 / 4);
  // The 24-bit formats keep every colour.
  run = Run_Kvrtool({"picture", "make", "tga", "in.png", "a.tga"}, folder.Path());
  ASSERT_EQ(run.status, 0) << run.err;
  run = Run_Kvrtool({"picture", "convert", "--raw", "t.bin", "a.tga"}, folder.Path());
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(folder.Read("t.bin"), Text(Raw_565(rgb)));
}

TEST(KvrtoolPicture, TransparentPixelsBecomeIndexZeroAndAFontSheetShowsItsCell) {
  // A 32 x 12 RGBA sheet: 16 x 6 cells of 2 x 2; every pixel with an even
  // x + y is transparent, the others white.
  std::vector<std::vector<uint8_t>> rows;
  for (int y = 0; y < 12; ++y) {
    std::vector<uint8_t> row;
    for (int x = 0; x < 32; ++x) {
      bool clear = (x + y) % 2 == 0;
      row.insert(row.end(), {255, 255, 255, uint8_t(clear ? 0 : 255)});
    }
    rows.push_back(row);
  }
  TempFolder folder;
  folder.Write("font.png", Text(Png_Build({32, 12, 8, 6, 0, Png_Rows(rows), {}, {}})));
  ToolRun run = Run_Kvrtool({"picture", "make", "mtr", "font.png", "MINIFON2.MTR"}, folder.Path());
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "wrote MINIFON2.MTR: MDRAW, 32 x 12, 8 bits, 2 colours\n");
  run = Run_Kvrtool({"picture", "info", "minifon2.mtr"}, folder.Path());
  EXPECT_EQ(run.out, Info("MDRAW", 32, 12, 8, "1 (run-length)", "2 x 2"));
  std::string file = folder.Read("MINIFON2.MTR").value_or("");
  ASSERT_GT(file.size(), 818u);
  EXPECT_EQ(file.substr(0, 23), "MDRAW 001F 000B 00FF FC");
  EXPECT_EQ(file.substr(50, 6), std::string("\0\0\0\xFF\xFF\xFF", 6));  // entry 0 black, entry 1 white

  run = Run_Kvrtool({"picture", "convert", "--raw", "f.bin", "MINIFON2.MTR"}, folder.Path());
  ASSERT_EQ(run.status, 0) << run.err;
  std::string raw = folder.Read("f.bin").value_or("");
  ASSERT_EQ(raw.size(), 32u * 12 * 2);
  EXPECT_EQ(raw.substr(0, 4), std::string("\0\0\xFF\xFF", 4));
}

TEST(KvrtoolPicture, ConvertLoadsAsTheEngineDoesWithItsFallback) {
  TempFolder folder;
  const Bytes rgb = Rgb_Pixels(4, 3, 7);
  folder.Write("in.png", Png_Of(4, 3, rgb));
  folder.Make_Folder("pics");
  ToolRun run = Run_Kvrtool({"picture", "make", "mtr", "in.png", "pics/cursor1.mtr"}, folder.Path());
  ASSERT_EQ(run.status, 0) << run.err;
  // CURSOR1.PCX does not exist: the engine falls back to cursor1.mtr. The
  // output path is taken from where kvrtool was started.
  run = Run_Kvrtool({"picture", "convert", "pics/CURSOR1.PCX", "--raw", "c.bin"}, folder.Path());
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "4 3\n");
  EXPECT_EQ(folder.Read("c.bin"), Text(Raw_565(rgb)));
  EXPECT_EQ(folder.Entries("pics"), std::vector<std::string>{"cursor1.mtr"});
  // An absolute path works the same.
  run = Run_Kvrtool({"picture", "convert", folder.Path("pics/cursor1.gif"), "c.png"}, folder.Path());
  ASSERT_EQ(run.status, 0) << run.err;
  Expect_Png_Of_Raw(folder.Read("c.png").value_or(""), 4, 3, Raw_565(rgb));
  // info reads the file itself, with no fallback.
  run = Run_Kvrtool({"picture", "info", "pics/cursor1.pcx"}, folder.Path());
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, "kvrtool picture: cannot open pics/cursor1.pcx\n");
}

// Files of the formats make does not write, built byte by byte.
std::string Gif_1x1(uint8_t r, uint8_t g, uint8_t b) {
  // A 2-entry global table; LZW with minimum code size 2: clear (4), the
  // index 1, end (5), 3 bits each, least significant bit first.
  return std::string("GIF89a\x01\x00\x01\x00\x80\x00\x00", 13) + std::string(3, '\0') +
         std::string{char(r), char(g), char(b)} + std::string(",\0\0\0\0\x01\0\x01\0\0", 10) +
         std::string("\x02\x02\x4C\x01\x00;", 6);
}

std::string Iff_Pbm(int width, int height, const std::string& pixels, const std::string& palette) {
  auto be32 = [](size_t v) { return std::string{char(v >> 24), char(v >> 16), char(v >> 8), char(v)}; };
  auto be16 = [](int v) { return std::string{char(v >> 8), char(v)}; };
  std::string bmhd = be16(width) + be16(height) + std::string(4, '\0') + std::string("\x08\0\0\0", 4) +
                     std::string(2, '\0') + std::string("\x01\x01", 2) + be16(width) + be16(height);
  std::string body = "PBM BMHD" + be32(bmhd.size()) + bmhd + "CMAP" + be32(palette.size()) + palette +
                     "BODY" + be32(pixels.size()) + pixels;
  return "FORM" + be32(body.size()) + body;
}

TEST(KvrtoolPicture, InfoAndConvertReadTheOtherEngineFormats) {
  TempFolder folder;
  folder.Write("dot.gif", Gif_1x1(0xFF, 0x80, 0x08));
  std::string palette(768, '\0');
  palette.replace(3, 6, std::string("\x10\x20\x30\xF8\xFC\xF8", 6));
  folder.Write("two.lbm", Iff_Pbm(2, 1, std::string("\x01\x02", 2), palette));

  ToolRun run = Run_Kvrtool({"picture", "info", "dot.gif"}, folder.Path());
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, Info("GIF", 1, 1, 8, "0 (plain)"));
  run = Run_Kvrtool({"picture", "convert", "--raw", "dot.bin", "dot.gif"}, folder.Path());
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "1 1\n");
  EXPECT_EQ(folder.Read("dot.bin"), std::string("\x01\xFC", 2));  // (255, 128, 8) -> 0xFC01

  run = Run_Kvrtool({"picture", "info", "TWO.LBM"}, folder.Path());
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, Info("IFF PBM", 2, 1, 8, "0 (plain)"));
  run =
      Run_Kvrtool({"picture", "convert", "--raw", "two.bin", "two.iff"}, folder.Path());  // found as two.lbm
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(folder.Read("two.bin"), std::string("\x06\x11\xFF\xFF", 4));  // 0x1106, 0xFFFF
}

TEST(KvrtoolPicture, UnreadableFilesAreErrorsAndNothingIsWritten) {
  TempFolder folder;
  folder.Write("junk.pcx", std::string(2000, 'x'));
  folder.Write("junk.png", "not a png at all");
  folder.Write("notes.txt", "text");
  folder.Write("keep.bmp", "old");
  folder.Write("in6.png", Png_Of(6, 2, Rgb_Pixels(6, 2, 3)));
  struct Case {
    std::vector<std::string> args;
    std::string err;
  };
  const std::vector<Case> cases = {
      {{"info", "none.pcx"}, "cannot open none.pcx"},
      {{"info", "junk.pcx"},
       "junk.pcx: not a PCX picture the engine reads (it reads version 5, 8 bits, 1 plane, a palette at the "
       "end)"},
      {{"info", "notes.txt"}, "notes.txt: the engine reads no picture format from the extension \"txt\""},
      {{"convert", "none.pcx", "out.png"},
       "no picture could be read from none.pcx (the engine also tried its name with mtd, mtr, iff, lbm, pcx, "
       "tga, "
       "gif and bmp)"},
      {{"convert", "junk.pcx", "--raw", "out.bin"},
       "no picture could be read from junk.pcx (the engine also tried its name with mtd, mtr, iff, lbm, pcx, "
       "tga, "
       "gif and bmp)"},
      {{"make", "pcx", "none.png", "out.pcx"}, "cannot open none.png: No such file or directory"},
      {{"make", "tga", "junk.png", "out.tga"}, "junk.png: not a PNG file"},
      {{"make", "bmp", "junk.png", "keep.bmp"}, "junk.png: not a PNG file"},
  };
  for (const Case& c : cases) {
    std::vector<std::string> args = {"picture"};
    args.insert(args.end(), c.args.begin(), c.args.end());
    ToolRun run = Run_Kvrtool(args, folder.Path());
    EXPECT_EQ(run.status, 1) << c.err;
    EXPECT_EQ(run.out, "") << c.err;
    EXPECT_EQ(run.err, "kvrtool picture: " + c.err + "\n");
  }
  EXPECT_EQ(folder.Read("keep.bmp"), "old");
  EXPECT_EQ(folder.Entries(),
            (std::vector<std::string>{"in6.png", "junk.pcx", "junk.png", "keep.bmp", "notes.txt"}));

  // An output that cannot be written: the error names it.
  folder.Write("in.png", Png_Of(4, 1, Rgb_Pixels(4, 1, 2)));
  ToolRun run = Run_Kvrtool({"picture", "make", "tga", "in.png", "no/such/folder/a.tga"}, folder.Path());
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("no/such/folder"), std::string::npos) << run.err;
}

TEST(KvrtoolPicture, WrongCommandLinesGiveUsage) {
  struct Case {
    std::vector<std::string> args;
    std::string message;
  };
  const std::vector<Case> cases = {
      {{}, "expects info, convert or make"},
      {{"frob"}, "unknown picture command \"frob\""},
      {{"info"}, "info expects one IN"},
      {{"info", "a.pcx", "b.pcx"}, "info expects one IN"},
      {{"info", "--raw", "x", "a.pcx"}, "unknown option --raw"},
      {{"convert", "a.pcx"}, "convert expects IN and OUT.png"},
      {{"convert", "a.pcx", "--raw", "a.bin", "b.png"}, "convert --raw OUT.bin expects one IN"},
      {{"convert", "a.pcx", "--raw"}, "option --raw needs a value"},
      {{"convert", "a.pcx", "--raw="}, "the output path is empty"},
      {{"make", "pcx", "a.png"}, "make expects FORMAT, IN.png and OUT"},
      {{"make", "gif", "a.png", "a.gif"}, "FORMAT is pcx, tga, bmp or mtr, not \"gif\""},
      {{"make", "--pack", "XC", "mtr", "a.png", "a.mtr"}, "--pack takes NC or FC, not \"XC\""},
      {{"make", "--pack", "NC", "pcx", "a.png", "a.pcx"}, "--pack is for mtr only"},
  };
  for (const Case& c : cases) {
    std::vector<std::string> args = {"picture"};
    args.insert(args.end(), c.args.begin(), c.args.end());
    ToolRun run = Run_Kvrtool(args);
    EXPECT_EQ(run.status, 1) << c.message;
    EXPECT_EQ(run.out, "") << c.message;
    EXPECT_EQ(run.err.rfind("kvrtool picture: " + c.message + "\nUsage: kvrtool picture info IN\n", 0), 0u)
        << run.err;
    EXPECT_NE(run.err.find("Run \"kvrtool picture --help\" for more.\n"), std::string::npos);
  }
}

TEST(KvrtoolPicture, HelpDescribesEverySubcommand) {
  ToolRun run = Run_Kvrtool({"picture", "--help"});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(run.out.rfind("Usage: kvrtool picture info IN\n", 0), 0u) << run.out;
  for (const char* part : {"convert --raw OUT.bin IN", "make [--pack NC|FC] FORMAT IN.png OUT", "\ninfo ",
                           "\nconvert ", "\nmake ", "font cell", "median cut"})
    EXPECT_NE(run.out.find(part), std::string::npos) << part;
  EXPECT_EQ(Run_Kvrtool({"picture", "make", "-h"}).out, run.out);
  run = Run_Kvrtool({"--help"});
  EXPECT_NE(run.out.find("\n  picture  inspect, convert and make pictures\n"), std::string::npos) << run.out;
}

}  // namespace
