// Picture_Load: the reader chosen by the extension, then the
// fallback over the same base name with the other extensions.
#include <array>

#include "pictures/picture.h"
#include "pictures/picture_readers.h"
#include "platform/files/file_layer.h"
#include "platform/files/text.h"

namespace {

using Reader = PicturePtr (*)(Wendax&, std::string_view);

// Where the file name starts: after the last '/', ':' or '\'.
size_t File_Name_Start(std::string_view path) {
  size_t cut = path.find_last_of("/:\\");
  return cut == std::string_view::npos ? 0 : cut + 1;
}

// The MTRD reader runs only on a file that exists and is not empty.
PicturePtr Mtrd_If_Present(Wendax& wx, std::string_view path) {
  if (File_Size(wx, path) == 0) return nullptr;
  return Mtrd_Read_Picture_File(wx, path);
}

struct Candidate {
  std::string_view extension;
  Reader reader;
};

// The fallback order of step 4.
constexpr std::array<Candidate, 8> kFallback = {{
    {"mtd", Mtrd_If_Present},
    {"mtr", Mdraw_Read},
    {"iff", Iff_Read},
    {"lbm", Iff_Read},
    {"PCX", Pcx_Read},
    {"tga", Tga_Read},
    {"gif", Gif_Read},
    {"bmp", Bmp_Read},
}};

}  // namespace

std::string Picture_Extension(std::string_view path) {
  size_t dot = path.find('.', File_Name_Start(path));
  if (dot == std::string_view::npos) return {};
  std::string_view rest = path.substr(dot + 1);
  rest = rest.substr(0, rest.find('.'));
  return std::string(rest.substr(0, kPictureNameMax));
}

std::string Picture_Base(std::string_view path) {
  size_t dot = path.find('.', File_Name_Start(path));
  if (dot == std::string_view::npos) return std::string(path) + ".";
  return std::string(path.substr(0, dot + 1));
}

PicturePtr Picture_Load(Wendax& wx, std::string_view path) {
  // Steps 1 to 3: the reader of the extension.
  const std::string extension = Picture_Extension(path);
  auto is = [&](std::string_view e) { return Text_Equal(extension, e) == 0; };
  PicturePtr picture;
  if (is("bmp"))
    picture = Bmp_Read(wx, path);
  else if (is("gif"))
    picture = Gif_Read(wx, path);
  else if (is("tga"))
    picture = Tga_Read(wx, path);
  else if (is("pcx"))
    picture = Pcx_Read(wx, path);
  else if (is("lbm") || is("iff"))
    picture = Iff_Read(wx, path);
  else if (is("mtr"))
    picture = Mdraw_Read(wx, path);
  else if (is("mtd") || is("mta"))
    picture = Mtrd_If_Present(wx, path);  // keeps its stored name
  if (picture) return picture;

  // Step 4: the same base name with the other extensions; the picture found
  // is named after the path asked for.
  const std::string base = Picture_Base(path);
  for (const Candidate& candidate : kFallback) {
    picture = candidate.reader(wx, base + std::string(candidate.extension));
    if (picture) {
      picture->name = Picture_Name_From_Path(path);
      return picture;
    }
  }
  return nullptr;
}
