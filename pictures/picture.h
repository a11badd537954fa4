// Picture: the one in-memory picture type. A picture keeps the depth it was
// loaded with (8 bits with a palette, 16 = RGB565, 24 = R,G,B, 32 =
// R,G,B,unused), rows top to bottom without padding, and may keep its pixel
// data packed (pack method 1..7) until it is first drawn or converted.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

struct Wendax;

inline constexpr int kPictureVersion = 1284;        // pictures made in memory
inline constexpr size_t kPictureNameMax = 255;      // characters of a name
inline constexpr size_t kPalette_Rgb_Bytes = 768;   // 256 x R, G, B
inline constexpr size_t kPalette_565_Bytes = 1280;  // RGB, then 256 RGB565 words
// Largest plain pixel data a picture may hold. Readers refuse headers that
// ask for more, so a hostile file cannot make the allocation fail.
inline constexpr size_t kPictureBytesMax = size_t{256} << 20;

struct Picture {
  std::string name;  // at most kPictureNameMax characters
  int version = kPictureVersion;
  int width = 0;
  int height = 0;
  int depth = 0;        // 8, 16, 24 or 32
  int pack_method = 0;  // 0: plain pixels; 1..7: packed
  // Bytes of pixel data held (packed or plain); always pixels.size().
  int data_size = 0;
  // 768 bytes; an 8-bit picture's grows to 1280 with its RGB565 table
  // (little-endian words at bytes 768..1279).
  std::vector<uint8_t> palette;
  std::vector<uint8_t> pixels;
  int frame_count = 0;          // 0 for a still picture
  std::vector<uint8_t> frames;  // animation data when frame_count != 0
};

using PicturePtr = std::unique_ptr<Picture>;

// A 16-bit target: the engine's frame buffer or any RGB565 buffer.
struct Screen16 {
  uint16_t* pixels = nullptr;
  int width = 0;
  int height = 0;  // rows of `width` pixels
};

// The text after the last '/', ':' or '\' of the path, cut to 255 characters.
std::string Picture_Name_From_Path(std::string_view path);
// Bytes of plain pixel data; 0 when the size is not positive or the data
// would exceed kPictureBytesMax.
size_t Picture_Plain_Size(int width, int height, int depth);

// Makes a picture with zero-filled pixels and a zero-filled 768-byte
// palette; the depth is rounded up to 8, 16, 24 or 32 and the name is
// shortened as a path would be. Null when the size is not positive or the
// plain data would exceed kPictureBytesMax.
PicturePtr Picture_New(std::string_view name, int width, int height, int depth);
void Picture_Free(PicturePtr& picture);
// Decodes packed pixel data in place (methods 6 and 7 over zero-filled
// bytes). Nothing for plain or animated pictures.
void Picture_Unpack(Picture* picture);
// 8-bit pictures: grows the palette to 1280 bytes and fills the RGB565 table.
void Picture_Palette_565(Picture* picture);
// Converts an 8-, 24- or 32-bit picture to plain RGB565 (depth 16, data
// size width x height x 2). A 16-bit picture keeps its pixels; packed ones
// are unpacked, so afterwards every still picture is plain. Pictures that
// are not plain after unpacking (animated, or an impossible size) are left
// as they are.
void Picture_To_16(Picture* picture);
// Nearest-neighbour rescale with 8.8 steps.
void Picture_Resize(Picture* picture, int new_width, int new_height);
// Draws the picture at (x, y), clipped to the target.
void Picture_Draw(Picture* picture, Screen16 screen, int x, int y);
void Picture_Draw(Wendax& wx, Picture* picture, int x, int y);  // the frame buffer

// The engine's transparent draw (cursors): a 16-bit picture whose
// pixels of value 0 are skipped, clipped to the target. Pictures of other
// depths draw nothing (the engine converts its pictures to 16 bits first).
// At (x, y) as its top-left corner:
void Picture_Draw_Transparent(Picture* picture, Screen16 screen, int x, int y);
// Centred on (cx, cy): the top-left corner is (cx - width / 2, cy - height / 2).
void Picture_Draw_Transparent_Centred(Screen16 screen, Picture* picture, int cx, int cy);
void Picture_Draw_Transparent_Centred(Wendax& wx, Picture* picture, int cx, int cy);

// Reads a picture file by its extension, falling back to the same base name
// with the other extensions. Null when no reader succeeds.
//
// The extension is the text after the first '.' of the file name, up to
// the next '.' or the end: "cursor1.pcx" -> "pcx", "a.b.c" -> "b". For paths
// whose folders have no dot this is the first '.' of the whole path;
// counting from the file name gives the same for those and keeps
// "./disc.1/cursor1.pcx" working. By extension (case ignored): bmp, gif,
// tga, pcx, lbm/iff, mtr (MDRAW), mtd/mta (MTRD, only when the file exists
// and is not empty; the picture keeps the name stored in it). Otherwise, or
// when that reader fails, base + "mtd", "mtr", "iff", "lbm", "PCX", "tga",
// "gif", "bmp" in this order, the base being the path up to and including
// that first '.' (the path and a '.' when the file name has none); the
// first picture found is named after `path` ("cursor1.pcx" found as
// cursor1.gif is named "cursor1.pcx").
PicturePtr Picture_Load(Wendax& wx, std::string_view path);
// The extension and base of the rule above.
std::string Picture_Extension(std::string_view path);
std::string Picture_Base(std::string_view path);
