// kvrtool archive: lists a data archive, extracts a picture of it as PNG and
// builds one from PNG files.
#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/archive/data_archive.h"
#include "pictures/picture_bytes.h"
#include "tools/archive_writer.h"
#include "tools/file_io.h"
#include "tools/json_writer.h"
#include "tools/kvrtool/arguments.h"
#include "tools/kvrtool/command.h"
#include "tools/picture_pixels.h"
#include "tools/png_file.h"
#include "tools/printable_text.h"

namespace {

constexpr uint64_t kPngFileMax = uint64_t(1) << 30;
constexpr int32_t kDataFilesMax = 999;
constexpr uint8_t kAlphaOpaque = 128;  // PNG alpha from which a pixel is opaque

bool Parse_Int(const std::string& text, int64_t min, int64_t max, int32_t& value) {
  const size_t digits = text.size() - (text.rfind('-', 0) == 0 ? 1 : 0);
  if (digits == 0 || digits > 10 ||
      text.find_first_not_of("0123456789", text.size() - digits) != std::string::npos)
    return false;
  const int64_t v = std::stoll(text);
  if (v < min || v > max) return false;
  value = int32_t(v);
  return true;
}

std::string Shown_Name(const std::string& name) { return name.empty() ? "\"\"" : Printable_Text(name); }

// Loads the archive as the engine does. False (with the message given) when
// the index's counts cannot be read; an index cut short or data files that
// do not open are warnings.
bool Load(const Command& self, DataArchive& archive) {
  const int result = archive.Archive_Load_Index();
  if (result == 0) return true;
  const std::string index = archive.Folder() + kArchiveIndexName;
  if (archive.Declared_Entries() < 0) {
    Command_Fail(self, "cannot read " + index + ": " +
                           (result == ENODATA ? "too short for its two counts" : std::strerror(result)));
    return false;
  }
  if (int64_t(archive.Entries().size()) < archive.Declared_Entries())
    Command_Warn(self, index + " declares " + std::to_string(archive.Declared_Entries()) +
                           " entries but holds " + std::to_string(archive.Entries().size()) +
                           "; the engine keeps those and opens no data file");
  else
    Command_Warn(self, archive.Folder() + "BData" + std::to_string(archive.Opened_File_Count() + 1) +
                           ".arn cannot be opened (" + std::strerror(result) +
                           "): its entries and those of later files draw nothing");
  return true;
}

std::string List_Text(const DataArchive& archive) {
  std::vector<std::vector<std::string>> rows = {
      {"NAME", "LEFT", "TOP", "RIGHT", "BOTTOM", "TYPE", "FILE", "OFFSET", "SIZE"}};
  for (const ArchiveEntry& e : archive.Entries())
    rows.push_back({Shown_Name(e.name), std::to_string(e.rect.left), std::to_string(e.rect.top),
                    std::to_string(e.rect.right), std::to_string(e.rect.bottom), std::to_string(e.type),
                    std::to_string(e.file_index), std::to_string(e.offset), std::to_string(e.size)});
  std::vector<size_t> widths(rows[0].size(), 0);
  for (const auto& row : rows)
    for (size_t i = 0; i < row.size(); ++i) widths[i] = std::max(widths[i], row[i].size());
  std::string text;
  for (const auto& row : rows) {
    std::string line = row[0] + std::string(widths[0] - row[0].size(), ' ');
    for (size_t i = 1; i < row.size(); ++i)
      line += "  " + std::string(widths[i] - row[i].size(), ' ') + row[i];
    text += line + "\n";
  }
  return text;
}

std::string List_Json(const DataArchive& archive) {
  JsonWriter json;
  json.Begin_Object();
  json.Key("data_files");
  json.Int(archive.Data_File_Count());
  json.Key("entries");
  json.Begin_Array();
  for (const ArchiveEntry& e : archive.Entries()) {
    json.Begin_Object(JsonWriter::Layout::kInline);
    json.Key("name");
    json.String(e.name);
    const std::pair<const char*, int64_t> fields[] = {
        {"left", e.rect.left}, {"top", e.rect.top},    {"right", e.rect.right}, {"bottom", e.rect.bottom},
        {"type", e.type},      {"file", e.file_index}, {"offset", e.offset},    {"size", e.size}};
    for (const auto& [key, value] : fields) {
      json.Key(key);
      json.Int(value);
    }
    json.End_Object();
  }
  json.End_Array();
  json.End_Object();
  return json.Text() + "\n";
}

int Run_List(const Command& self, const std::vector<std::string>& args) {
  Arguments parsed;
  std::string error;
  if (!Arguments_Parse(args, {{"json", false}}, parsed, error)) return Command_Usage_Fail(self, error);
  if (parsed.operands.size() != 1) return Command_Usage_Fail(self, "archive list expects FOLDER");
  DataArchive archive(parsed.operands[0]);
  if (!Load(self, archive)) return 1;
  return Command_Print(parsed.Has("json") ? List_Json(archive) : List_Text(archive)) ? 0 : 1;
}

int Run_Extract(const Command& self, const std::vector<std::string>& args) {
  Arguments parsed;
  std::string error;
  if (!Arguments_Parse(args, {}, parsed, error)) return Command_Usage_Fail(self, error);
  if (parsed.operands.size() != 3)
    return Command_Usage_Fail(self, "archive extract expects FOLDER, NAME and OUT.png");
  const std::string& name = parsed.operands[1];
  DataArchive archive(parsed.operands[0]);
  if (!Load(self, archive)) return 1;
  const int64_t found = archive.Find(name);
  if (found < 0)
    return Command_Fail(self, "no entry \"" + Printable_Text(name) + "\" in " + archive.Folder());
  const std::vector<uint16_t>* words = archive.Pixels(size_t(found));
  const ArchiveEntry& e = archive.Entries()[size_t(found)];
  if (!words)
    return Command_Fail(self,
                        "the pixels of \"" + Printable_Text(name) +
                            "\" cannot be read: its data file is missing or too short, or its rectangle "
                            "needs more pixels than its size holds");
  const int width = e.rect.right - e.rect.left, height = e.rect.bottom - e.rect.top;
  const bool keyed = e.type != kArchiveOpaqueType;
  const uint16_t key = keyed ? DataArchive::Key_Colour(e) : 0;
  const int channels = keyed ? 4 : 3;
  std::vector<uint8_t> samples(size_t(width) * size_t(height) * size_t(channels));
  uint8_t* at = samples.data();
  for (int r = 0; r < height; ++r)
    for (int c = 0; c < width; ++c) {
      const uint16_t value = (*words)[size_t(r) * size_t(e.rect.right) + size_t(c)];
      const std::array<uint8_t, 3> rgb = Rgb565_Widen(value);
      at = std::copy(rgb.begin(), rgb.end(), at);
      if (keyed) *at++ = value == key ? 0 : 255;
    }
  std::vector<uint8_t> png;
  const bool encoded = keyed ? Png_Encode_Rgba(width, height, samples, png, error)
                             : Png_Encode_Rgb(width, height, samples, png, error);
  if (!encoded || !Write_File_Atomic(parsed.operands[2], png, error)) return Command_Fail(self, error);
  return 0;
}

std::string Lower(std::string text) {
  for (char& c : text)
    if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
  return text;
}

// The key colour for a picture: one no opaque pixel has, magenta or black
// first. False when every colour is taken.
bool Key_For(const std::vector<uint16_t>& pixels, const std::vector<bool>& opaque, uint16_t& key) {
  std::vector<bool> used(65536, false);
  for (size_t i = 0; i < pixels.size(); ++i)
    if (opaque[i]) used[pixels[i]] = true;
  if (!used[0xF81F]) return key = 0xF81F, true;
  for (uint32_t v = 0; v < 65536; ++v)
    if (!used[v]) return key = uint16_t(v), true;
  return false;
}

bool Picture_Of(const std::filesystem::path& path, const int32_t* type, ArchivePicture& picture,
                std::string& error) {
  std::vector<uint8_t> bytes;
  RgbaImage image;
  if (!Read_Whole_File(path.string(), kPngFileMax, bytes, error) || !Png_Decode(bytes, image, error))
    return false;
  const size_t count = size_t(image.width) * size_t(image.height);
  if (count + size_t(image.height) > 0x3FFFFFFF) {
    error = "too many pixels for an archive entry";
    return false;
  }
  std::vector<uint16_t> pixels(count);
  std::vector<bool> opaque(count);
  bool any_clear = false;
  for (size_t i = 0; i < count; ++i) {
    const uint8_t* p = &image.rgba[4 * i];
    pixels[i] = Rgb_To_565(p[0], p[1], p[2]);
    opaque[i] = p[3] >= kAlphaOpaque;
    any_clear = any_clear || !opaque[i];
  }
  picture.name = path.filename().string();
  picture.type = type ? *type : any_clear ? 2 : kArchiveOpaqueType;
  picture.right = image.width;
  picture.bottom = image.height;
  if (picture.type == kArchiveOpaqueType) {
    picture.pixels = std::move(pixels);
    return true;
  }
  uint16_t key = 0;
  if (!Key_For(pixels, opaque, key)) {
    error = "its opaque pixels use every colour: no key colour is left for the transparent ones";
    return false;
  }
  for (size_t i = 0; i < count; ++i)
    if (!opaque[i]) pixels[i] = key;
  if (!opaque[count - 1]) {
    picture.pixels = std::move(pixels);
    return true;
  }
  // The key is the last pixel of the data: a key column after each row.
  picture.left = 1;
  picture.right = image.width + 1;
  picture.pixels.reserve(count + size_t(image.height));
  for (int r = 0; r < image.height; ++r) {
    picture.pixels.insert(picture.pixels.end(), pixels.begin() + ptrdiff_t(size_t(r) * size_t(image.width)),
                          pixels.begin() + ptrdiff_t(size_t(r + 1) * size_t(image.width)));
    picture.pixels.push_back(key);
  }
  return true;
}

int Run_Build(const Command& self, const std::vector<std::string>& args) {
  Arguments parsed;
  std::string error;
  if (!Arguments_Parse(args, {{"type", true}, {"files", true}}, parsed, error))
    return Command_Usage_Fail(self, error);
  if (parsed.operands.size() != 2)
    return Command_Usage_Fail(self, "archive build expects PICTURES_DIR and OUT_FOLDER");
  int32_t type = 0, files = 1;
  const std::string* type_text = parsed.Value("type");
  if (type_text && !Parse_Int(*type_text, INT32_MIN, INT32_MAX, type))
    return Command_Usage_Fail(self, "--type takes a 32-bit integer (1 opaque, others transparent)");
  if (const std::string* v = parsed.Value("files"); v && !Parse_Int(*v, 1, kDataFilesMax, files))
    return Command_Usage_Fail(self, "--files takes 1 to " + std::to_string(kDataFilesMax));

  const std::string& folder = parsed.operands[0];
  std::vector<std::filesystem::path> paths;
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(folder, ec))
    if (entry.is_regular_file() && Lower(entry.path().extension().string()) == ".png")
      paths.push_back(entry.path());
  if (ec) return Command_Fail(self, "cannot read the folder " + folder + ": " + ec.message());
  if (paths.empty()) return Command_Fail(self, folder + " holds no PNG files");
  std::sort(paths.begin(), paths.end());

  std::vector<ArchivePicture> pictures;
  for (size_t i = 0; i < paths.size(); ++i) {
    const std::string file = paths[i].filename().string();
    if (file.size() > kArchiveNameMax)
      return Command_Fail(self, Printable_Text(file) + ": names are at most " +
                                    std::to_string(kArchiveNameMax) + " bytes, extension included");
    ArchivePicture picture;
    if (!Picture_Of(paths[i], type_text ? &type : nullptr, picture, error))
      return Command_Fail(self, Printable_Text(paths[i].string()) + ": " + error);
    picture.file_index = int32_t(1 + i * size_t(files) / paths.size());
    for (const ArchivePicture& before : pictures)
      if (Archive_Name_Compare(std::string_view(before.name).substr(0, before.name.size() - 4),
                               std::string_view(picture.name).substr(0, picture.name.size() - 4)) == 0)
        return Command_Fail(self, Printable_Text(before.name) + " and " + Printable_Text(picture.name) +
                                      " load as the same name, case ignored");
    pictures.push_back(std::move(picture));
  }
  const std::string& out = parsed.operands[1];
  if (!Archive_Write_Folder(out, pictures, files, error)) return Command_Fail(self, error);
  return Command_Print("wrote " + out + ": " + std::to_string(pictures.size()) + " pictures in " +
                       std::to_string(files) + (files == 1 ? " data file\n" : " data files\n"))
             ? 0
             : 1;
}

int Run_Archive(const Command& self, const std::vector<std::string>& args) {
  if (args.empty()) return Command_Usage_Fail(self, "expects list, extract or build");
  const std::vector<std::string> rest(args.begin() + 1, args.end());
  if (args[0] == "list") return Run_List(self, rest);
  if (args[0] == "extract") return Run_Extract(self, rest);
  if (args[0] == "build") return Run_Build(self, rest);
  return Command_Usage_Fail(self, "unknown archive command \"" + Printable_Text(args[0]) + "\"");
}

}  // namespace

const Command kArchiveCommand = {
    "archive",
    "list, extract and build data archives (BDataHeader.vit)",
    "Usage: kvrtool archive list [--json] FOLDER\n"
    "       kvrtool archive extract FOLDER NAME OUT.png\n"
    "       kvrtool archive build [--type N] [--files M] PICTURES_DIR OUT_FOLDER\n",
    "A data archive is the index BDataHeader.vit and the data files BData1.arn,\n"
    "BData2.arn ... of a folder; it holds the small interface pictures the\n"
    "engine draws by name (file names are found ignoring case). Names lose\n"
    "their last four characters when loaded: \"door.tga\" is found as DOOR.\n"
    "\n"
    "list     prints the entries as the engine sorts them (by name, ASCII case\n"
    "         ignored; the first of equal names is the one drawn), one a line:\n"
    "         name, rectangle (left, top, right, bottom), type (1 opaque, any\n"
    "         other transparent), data file, offset in it and size in bytes.\n"
    "         With --json, an object {\"data_files\": M, \"entries\": [...]}.\n"
    "\n"
    "extract  writes the picture NAME (looked up as the engine does) as PNG:\n"
    "         right - left by bottom - top pixels; a transparent type gets\n"
    "         alpha 0 where it holds its key colour (the data's pixel\n"
    "         bottom x right - 1), an opaque one is written without alpha.\n"
    "\n"
    "build    writes OUT_FOLDER's index and data files from the PNG files of\n"
    "         PICTURES_DIR, in name order, each stored under its file name\n"
    "         (at most 31 bytes; \"door.png\" loads as DOOR) with the rectangle\n"
    "         0, 0, width, height. Type N (any 32-bit number) for all of them;\n"
    "         without --type, 2 for a picture with transparent pixels (alpha\n"
    "         below 128) and 1 for others. Transparent pixels of a transparent\n"
    "         type get a key colour no opaque pixel has (magenta first); when\n"
    "         its last pixel is opaque a key column is added after each row\n"
    "         and the rectangle becomes 1, 0, width + 1, height, so the\n"
    "         engine draws it one pixel to the right of its position. With\n"
    "         --files M (1 to 999, default 1) the pictures are spread in name\n"
    "         order over M data files.\n"
    "\n"
    "A missing index, a missing entry, pixels that cannot be read, a picture\n"
    "that is no PNG and names that load the same are errors (exit status 1);\n"
    "an index cut short or a data file that does not open is a warning.\n"
    "Files are only ever replaced by complete ones.\n",
    Run_Archive,
};
