// kvrtool picture info|convert|make: inspect engine pictures, turn them into
// PNG or raw RGB565, and make them from PNG.
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "pictures/font.h"
#include "pictures/picture.h"
#include "pictures/picture_readers.h"
#include "platform/files/file_layer.h"
#include "host/path_resolve.h"
#include "platform/files/text.h"
#include "platform/wendax.h"
#include "tools/file_io.h"
#include "tools/kvrtool/arguments.h"
#include "tools/kvrtool/command.h"
#include "tools/picture_from_image.h"
#include "tools/picture_pixels.h"
#include "tools/picture_writers.h"
#include "tools/png_file.h"
#include "tools/printable_text.h"

namespace {

// The largest PNG file make reads.
constexpr uint64_t kPngFileSizeMax = uint64_t(1) << 30;

struct PictureFormat {
  const char* extensions[2];  // as the engine chooses a reader
  const char* name;
  PicturePtr (*read)(Wendax& wx, std::string_view path);
  const char* accepts;  // what the engine's reader takes
};

const PictureFormat kFormats[] = {
    {{"bmp", nullptr}, "BMP", Bmp_Read, "\"BM\", uncompressed, 8, 16 or 24 bits"},
    {{"gif", nullptr}, "GIF", Gif_Read, "GIF87a or GIF89a, the first image"},
    {{"tga", nullptr}, "TGA", Tga_Read, "image types 1, 2, 9 and 10 with 8, 16, 24 or 32 bits"},
    {{"pcx", nullptr}, "PCX", Pcx_Read, "version 5, 8 bits, 1 plane, a palette at the end"},
    {{"lbm", "iff"}, "IFF PBM", Iff_Read, "FORM of type PBM with 8 planes"},
    {{"mtr", nullptr}, "MDRAW", Mdraw_Read, "\"MDRAW \" with depth 00FF"},
    {{"mtd", "mta"}, "MTRD", Mtrd_Read_Picture_File, "an MTRD file holding a picture"},
};

const char* const kMethodNames[] = {"plain",           "run-length",
                                    "short-window LZ", "long-window LZ",
                                    "Huffman",         "Huffman-coded long-window LZ",
                                    "LZ with skips",   "Huffman-coded LZ with skips"};

const PictureFormat* Format_For(const std::string& extension) {
  for (const PictureFormat& format : kFormats)
    for (const char* e : format.extensions)
      if (e && Text_Equal(extension, e) == 0) return &format;
  return nullptr;
}

// Enters IN's folder so that the engine's loader sees a bare file name (its
// extension rule takes the first '.' of the path). Out paths are made
// absolute first, so they still name what the user meant.
bool Enter_Folder_Of(const Command& self, const std::string& in, std::string& name,
                     std::vector<std::string*> outs, int& status) {
  for (std::string* out : outs) {
    std::error_code failed;
    std::filesystem::path absolute = std::filesystem::absolute(*out, failed);
    if (failed) {
      status = Command_Fail(self, "cannot find the current folder: " + failed.message());
      return false;
    }
    *out = absolute.string();
  }
  size_t slash = in.rfind('/');
  name = slash == std::string::npos ? in : in.substr(slash + 1);
  if (name.empty()) {
    status = Command_Usage_Fail(self, in + " names a folder, not a picture");
    return false;
  }
  std::string folder = slash == std::string::npos ? "" : slash == 0 ? "/" : in.substr(0, slash);
  if (!folder.empty() && ::chdir(Path_Resolve(folder).c_str()) != 0) {
    status = Command_Fail(self, "cannot enter the folder " + folder + ": " + std::strerror(errno));
    return false;
  }
  return true;
}

bool Can_Open(Wendax& wx, const std::string& name) {
  int handle = File_Open(wx, name, kFileModeRead);
  if (handle < 0) return false;
  File_Close(wx, handle);
  return true;
}

std::string Method_Text(int method) {
  std::string text = std::to_string(method);
  if (method >= 0 && method <= 7) text += std::string(" (") + kMethodNames[method] + ")";
  return text;
}

std::string Info_Text(const PictureFormat& format, const Picture& picture) {
  int cell_width = 0, cell_height = 0;
  std::string cell = Font_Sheet_Cell(picture, cell_width, cell_height)
                         ? std::to_string(cell_width) + " x " + std::to_string(cell_height)
                         : "none";
  return std::string("format: ") + format.name + "\n" + "size: " + std::to_string(picture.width) + " x " +
         std::to_string(picture.height) + "\n" + "depth: " + std::to_string(picture.depth) + "\n" +
         "pack method: " + Method_Text(picture.pack_method) + "\n" +
         "palette: " + (picture.depth == 8 ? "yes" : "no") + "\n" +
         "frames: " + std::to_string(picture.frame_count) + "\n" + "font cell: " + cell + "\n";
}

int Run_Info(const Command& self, const std::vector<std::string>& args) {
  Arguments parsed;
  std::string error;
  if (!Arguments_Parse(args, {}, parsed, error)) return Command_Usage_Fail(self, error);
  if (parsed.operands.size() != 1) return Command_Usage_Fail(self, "info expects one IN");
  const std::string& in = parsed.operands[0];
  std::string name;
  int status = 1;
  if (!Enter_Folder_Of(self, in, name, {}, status)) return status;

  const PictureFormat* format = Format_For(Picture_Extension(name));
  if (!format)
    return Command_Fail(self, in + ": the engine reads no picture format from the extension \"" +
                                  Printable_Text(Picture_Extension(name)) + "\"");
  Wendax wx;
  if (!Can_Open(wx, name)) return Command_Fail(self, "cannot open " + in);
  PicturePtr picture = format->read(wx, name);
  if (!picture)
    return Command_Fail(self, in + ": not a " + format->name + " picture the engine reads (it reads " +
                                  format->accepts + ")");
  return Command_Print(Info_Text(*format, *picture)) ? 0 : 1;
}

bool Plain_16(const Picture& picture) {
  size_t size = Picture_Plain_Size(picture.width, picture.height, 16);
  return picture.depth == 16 && picture.pack_method == 0 && size != 0 && picture.pixels.size() >= size;
}

int Run_Convert(const Command& self, const std::vector<std::string>& args) {
  Arguments parsed;
  std::string error;
  if (!Arguments_Parse(args, {{"raw", true}}, parsed, error)) return Command_Usage_Fail(self, error);
  const bool raw = parsed.Has("raw");
  if (parsed.operands.size() != (raw ? 1u : 2u))
    return Command_Usage_Fail(
        self, raw ? "convert --raw OUT.bin expects one IN" : "convert expects IN and OUT.png");
  const std::string in = parsed.operands[0];
  std::string out = raw ? *parsed.Value("raw") : parsed.operands[1];
  if (out.empty()) return Command_Usage_Fail(self, "the output path is empty");
  std::string name;
  int status = 1;
  if (!Enter_Folder_Of(self, in, name, {&out}, status)) return status;

  Wendax wx;
  PicturePtr picture = Picture_Load(wx, name);
  if (!picture)
    return Command_Fail(
        self, "no picture could be read from " + in +
                  " (the engine also tried its name with mtd, mtr, iff, lbm, pcx, tga, gif and bmp)");
  Picture_To_16(picture.get());
  if (!Plain_16(*picture)) {
    if (picture->frame_count != 0)
      return Command_Fail(self, in + ": an animation of " + std::to_string(picture->frame_count) +
                                    " frames has no still picture to convert");
    return Command_Fail(self, in + ": the picture could not be converted to 16 bits");
  }
  std::vector<uint8_t> bytes;
  if (raw) {
    bytes = Picture_565_Raw(*picture);
  } else if (!Png_Encode_Rgb(picture->width, picture->height, Picture_565_Rgb_Rows(*picture), bytes, error)) {
    return Command_Fail(self, error);
  }
  if (!Write_File_Atomic(out, bytes, error)) return Command_Fail(self, error);
  if (!raw) return 0;
  return Command_Print(std::to_string(picture->width) + " " + std::to_string(picture->height) + "\n") ? 0 : 1;
}

// What make writes: the engine's format, its extension for the check read,
// the depth of its pictures and the writer.
struct MakeFormat {
  const char* name;
  const char* extension;
  int depth;
  bool packable;  // takes --pack
  PictureFile (*write)(const Picture& picture, MdrawPacking packing);
};

PictureFile Write_Pcx(const Picture& picture, MdrawPacking) { return Pcx_Write(picture); }
PictureFile Write_Tga(const Picture& picture, MdrawPacking) { return Tga_Write(picture); }
PictureFile Write_Bmp(const Picture& picture, MdrawPacking) { return Bmp_Write(picture); }

const MakeFormat kMakeFormats[] = {{"PCX", "pcx", 8, false, Write_Pcx},
                                   {"TGA", "tga", 24, false, Write_Tga},
                                   {"BMP", "bmp", 24, false, Write_Bmp},
                                   {"MDRAW", "mtr", 8, true, Mdraw_Write}};

const MakeFormat* Make_Format_For(const std::string& text) {
  for (const MakeFormat& format : kMakeFormats)
    if (Text_Equal(text, format.extension) == 0) return &format;
  return nullptr;
}

// True when the engine's reader gives back exactly the written picture.
bool Reads_Back(const MakeFormat& format, const std::vector<uint8_t>& bytes, const Picture& written) {
  Wendax wx;
  std::string name = std::string("check.") + format.extension;
  Memory_File_Add(wx, name, bytes.data(), bytes.size());
  PicturePtr back = Format_For(format.extension)->read(wx, name);
  if (!back) return false;
  Picture_Unpack(back.get());
  size_t size = Picture_Plain_Size(written.width, written.height, written.depth);
  if (back->depth != written.depth || back->width != written.width || back->height != written.height ||
      back->pack_method != 0 || back->pixels.size() < size || back->palette.size() < kPalette_Rgb_Bytes)
    return false;
  if (!std::equal(written.pixels.begin(), written.pixels.begin() + std::ptrdiff_t(size),
                  back->pixels.begin()))
    return false;
  return written.depth != 8 ||
         std::equal(written.palette.begin(), written.palette.begin() + kPalette_Rgb_Bytes,
                    back->palette.begin());
}

std::optional<MdrawPacking> Packing_Parse(const std::string& text) {
  if (Text_Equal(text, "NC") == 0) return MdrawPacking::kPlain;
  if (Text_Equal(text, "FC") == 0) return MdrawPacking::kRunLength;
  return std::nullopt;
}

int Run_Make(const Command& self, const std::vector<std::string>& args) {
  Arguments parsed;
  std::string error;
  if (!Arguments_Parse(args, {{"pack", true}}, parsed, error)) return Command_Usage_Fail(self, error);
  if (parsed.operands.size() != 3) return Command_Usage_Fail(self, "make expects FORMAT, IN.png and OUT");
  const std::string& format_text = parsed.operands[0];
  const std::string& in = parsed.operands[1];
  const std::string& out = parsed.operands[2];
  const MakeFormat* format = Make_Format_For(format_text);
  if (!format)
    return Command_Usage_Fail(self,
                              "FORMAT is pcx, tga, bmp or mtr, not \"" + Printable_Text(format_text) + "\"");
  MdrawPacking packing = MdrawPacking::kRunLength;
  if (const std::string* pack = parsed.Value("pack")) {
    if (!format->packable) return Command_Usage_Fail(self, "--pack is for mtr only");
    std::optional<MdrawPacking> given = Packing_Parse(*pack);
    if (!given)
      return Command_Usage_Fail(self, "--pack takes NC or FC, not \"" + Printable_Text(*pack) + "\"");
    packing = *given;
  }

  std::vector<uint8_t> png;
  if (!Read_Whole_File(in, kPngFileSizeMax, png, error)) return Command_Fail(self, error);
  RgbaImage image;
  if (!Png_Decode(png, image, error)) return Command_Fail(self, in + ": " + error);

  IndexedPicture indexed;
  PicturePtr picture;
  if (format->depth == 8) {
    indexed = Picture_Indexed_From_Image(image, out);
    picture = std::move(indexed.picture);
  } else {
    picture = Picture_Rgb_From_Image(image, out);
  }
  if (!picture)
    return Command_Fail(self, in + ": " + std::to_string(image.width) + " x " + std::to_string(image.height) +
                                  " pixels are more than an engine picture holds");
  PictureFile file = format->write(*picture, packing);
  if (!file.ok())
    return Command_Fail(self, "cannot write " + out + " as " + format->name + ": " + file.error);
  if (!Reads_Back(*format, file.bytes, *picture))
    return Command_Fail(self, "the engine would not read the " + std::string(format->name) +
                                  " file back to the same picture; nothing written");
  if (!Write_File_Atomic(out, file.bytes, error)) return Command_Fail(self, error);

  std::string report = "wrote " + out + ": " + format->name + ", " + std::to_string(picture->width) + " x " +
                       std::to_string(picture->height) + ", " + std::to_string(format->depth) + " bits";
  if (format->depth == 8) {
    report += ", " + std::to_string(indexed.palette_colours) + " colours";
    if (indexed.reduced()) report += " (reduced from " + std::to_string(indexed.image_colours) + ")";
  }
  return Command_Print(report + "\n") ? 0 : 1;
}

int Run_Picture(const Command& self, const std::vector<std::string>& args) {
  if (args.empty()) return Command_Usage_Fail(self, "expects info, convert or make");
  const std::vector<std::string> rest(args.begin() + 1, args.end());
  if (args[0] == "info") return Run_Info(self, rest);
  if (args[0] == "convert") return Run_Convert(self, rest);
  if (args[0] == "make") return Run_Make(self, rest);
  return Command_Usage_Fail(self, "unknown picture command \"" + Printable_Text(args[0]) + "\"");
}

}  // namespace

const Command kPictureCommand = {
    "picture",
    "inspect, convert and make pictures",
    "Usage: kvrtool picture info IN\n"
    "       kvrtool picture convert IN OUT.png\n"
    "       kvrtool picture convert --raw OUT.bin IN\n"
    "       kvrtool picture make [--pack NC|FC] FORMAT IN.png OUT\n",
    "info     reads IN with the engine's reader for its extension (bmp, gif,\n"
    "         tga, pcx, lbm, iff, mtr, mtd, mta; case does not matter) and\n"
    "         prints what it holds:\n"
    "\n"
    "           format: PCX\n"
    "           size: 320 x 200\n"
    "           depth: 8\n"
    "           pack method: 0 (plain)\n"
    "           palette: yes\n"
    "           frames: 0\n"
    "           font cell: 20 x 33\n"
    "\n"
    "         \"pack method\" is how the pixels are held until first drawn\n"
    "         (MDRAW \"FC\" pictures: 1, run-length); \"palette\" is yes when\n"
    "         the pixels index a palette (8 bits); \"frames\" counts animation\n"
    "         frames (0 for a still picture). \"font cell\" is the character\n"
    "         size the engine gives the picture when a script prints with it\n"
    "         as a font: an 8-bit sheet of 16 x 6 cells for the characters\n"
    "         32 to 127, so width / 16 by height / 6, both dividing exactly;\n"
    "         \"none\" when the picture cannot be a font.\n"
    "\n"
    "convert  loads IN exactly as the engine does: by its extension, and when\n"
    "         that fails the same name with mtd, mtr, iff, lbm, pcx, tga, gif\n"
    "         and bmp in turn; names are found ignoring case. The picture is\n"
    "         converted to the engine's 16 bits (RGB565) and written as an\n"
    "         8-bit RGB PNG, each channel widened by bit replication (so\n"
    "         0x1F becomes 255). With --raw OUT.bin the RGB565 pixels are\n"
    "         written instead, as little-endian 16-bit words, rows top to\n"
    "         bottom, and \"WIDTH HEIGHT\" is printed.\n"
    "\n"
    "make     writes the PNG IN.png as an engine picture in FORMAT:\n"
    "           pcx  8 bits with a palette, run-length encoded\n"
    "           tga  24 bits, uncompressed\n"
    "           bmp  24 bits, uncompressed, rows padded to 4 bytes\n"
    "           mtr  MDRAW, 8 bits with a palette; --pack FC (the default)\n"
    "                packs the pixels with method 1 (run-length), --pack NC\n"
    "                stores them plain\n"
    "         Pixels with alpha below 128 are transparent: black in 24 bits,\n"
    "         palette index 0 in 8 bits. An 8-bit palette holds exactly the\n"
    "         image's colours when there are at most 256 (transparent counts\n"
    "         as one); index 0, which fonts and transparent drawing leave out,\n"
    "         is the transparent colour, or else the colour of the top left\n"
    "         pixel, and the others follow in order of first appearance. More\n"
    "         colours are reduced to 256 by median cut, and the printed line\n"
    "         says so. The written file is read back with the engine's reader\n"
    "         before OUT is replaced.\n"
    "\n"
    "A file that cannot be read, or is no picture the engine reads, is an\n"
    "error (exit status 1); outputs are only ever replaced by complete files.\n",
    Run_Picture,
};
