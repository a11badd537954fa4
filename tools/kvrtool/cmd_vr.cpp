// kvrtool vr info|export|build: inspect panorama files, turn them into PNG
// pictures and make them from PNG pictures.
#include <algorithm>
#include <charconv>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "kvr_read/kvr_read.h"
#include "kvr_read/kvr_walk.h"
#include "packing/byte_order.h"
#include "platform/files/text.h"
#include "tools/animation_play.h"
#include "tools/face_strip.h"
#include "tools/file_io.h"
#include "tools/kvrtool/arguments.h"
#include "tools/kvrtool/command.h"
#include "tools/kvrtool/face_files.h"
#include "tools/panorama_report.h"
#include "tools/panorama_writer.h"
#include "tools/printable_text.h"

namespace {

namespace fs = std::filesystem;

constexpr std::string_view kAnimOption = "--anim";

// Takes every "--anim VALUE" and "--anim=VALUE" before "--" out of args,
// since the option may be given any number of times.
bool Take_Anim_Options(std::vector<std::string>& args, std::vector<std::string>& values, std::string& error) {
  std::vector<std::string> rest;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--") {
      rest.insert(rest.end(), args.begin() + std::ptrdiff_t(i), args.end());
      break;
    }
    if (arg == kAnimOption) {
      if (i + 1 == args.size()) {
        error = "option --anim needs a value";
        return false;
      }
      values.push_back(args[++i]);
    } else if (arg.rfind(std::string(kAnimOption) + "=", 0) == 0) {
      values.push_back(arg.substr(kAnimOption.size() + 1));
    } else {
      rest.push_back(arg);
    }
  }
  args = std::move(rest);
  return true;
}

// A whole decimal number, with an optional minus sign.
std::optional<long long> Whole_Number(std::string_view text) {
  long long value = 0;
  const char* end = text.data() + text.size();
  auto [stop, failed] = std::from_chars(text.data(), end, value);
  if (text.empty() || failed != std::errc() || stop != end || text[0] == '+') return std::nullopt;
  return value;
}

std::string Quoted(std::string_view text) { return "\"" + Printable_Text(text) + "\""; }

// ---------------------------------------------------------------- info

int Run_Info(const Command& self, const std::vector<std::string>& args) {
  Arguments parsed;
  std::string error;
  if (!Arguments_Parse(args, {}, parsed, error)) return Command_Usage_Fail(self, error);
  if (parsed.operands.size() != 1) return Command_Usage_Fail(self, "info expects one FILE");
  std::string text;
  if (!Panorama_Report(parsed.operands[0], text, error)) return Command_Fail(self, error);
  return Command_Print(text) ? 0 : 1;
}

// ---------------------------------------------------------------- export

// Why the file has no kind: it cannot be read, is no panorama file, or
// holds neither static chunk.
std::string No_Kind_Reason(const std::string& path) {
  std::vector<uint8_t> head;
  std::string error;
  if (!Read_File_Start(path, KVR_CHUNK_HEADER_SIZE, head, error)) return error;
  if (head.size() < size_t(KVR_CHUNK_HEADER_SIZE) || Le_I32(head.data()) != KVR_CHUNK_FILE)
    return path + " is not a panorama file (it does not begin with a KVR_CHUNK_FILE chunk)";
  return path + " holds neither a panorama (KVR_CHUNK_STATIC_VR) nor a still picture (KVR_CHUNK_STATIC_PIC)";
}

// How many stored names an error message lists.
constexpr int kNamesListed = 20;

// The names the file's animations store, the first kNamesListed of them,
// quoted and joined; "none" when it has none.
std::string Stored_Names_Text(const std::string& path) {
  KVR_FILE file;
  std::string list;
  int listed = 0;
  int count = 0;
  if (kvr_walk::Enter(file, path.c_str()))
    count = kvr_walk::For_Each_Animation(file, [&](KVR_FILE& at) {
      char name[KVR_ANIM_NAME_SIZE] = {};
      at.Get_Chunck_Data(name, KVR_ANIM_NAME_SIZE);
      if (listed++ < kNamesListed) list += (list.empty() ? "" : ", ") + Quoted(kvr_walk::Stored_Name(name));
    });
  if (count == 0) return "none";
  if (count > kNamesListed) list += " and " + std::to_string(count - kNamesListed) + " more";
  return list;
}

bool Has_Animation(const std::string& path, const std::string& name) {
  KVR_ANIM anim;
  const bool found = Kvr_Open_Animation(path.c_str(), name.c_str(), &anim) == 1;
  Kvr_Close_Animation(&anim);
  return found;
}

bool Usable_As_File_Name(const std::string& name) {
  return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos;
}

// Every name asked for: stored in the file, usable as a folder name, once.
bool Check_Export_Names(const std::vector<std::string>& wanted, const std::string& path, std::string& error) {
  for (size_t i = 0; i < wanted.size(); ++i) {
    const std::string& name = wanted[i];
    if (std::find(wanted.begin(), wanted.begin() + std::ptrdiff_t(i), name) !=
        wanted.begin() + std::ptrdiff_t(i)) {
      error = "--anim " + Quoted(name) + " is given twice";
      return false;
    }
    if (!Has_Animation(path, name)) {
      error = path + " has no animation " + Quoted(name) + " (it has " + Stored_Names_Text(path) + ")";
      return false;
    }
    if (!Usable_As_File_Name(name)) {
      error = "the animation name " + Quoted(name) + " cannot name a folder";
      return false;
    }
  }
  return true;
}

// Frame names count up with at least four digits, more when the count
// needs them, so that name order is playback order.
std::string Frame_Name(const std::string& name, int index, int frame_count) {
  const size_t digits = std::max<size_t>(4, std::to_string(std::max(frame_count - 1, 0)).size());
  std::string number = std::to_string(index);
  return name + "-" + std::string(digits - std::min(digits, number.size()), '0') + number;
}

bool Write_Picture(bool panorama, const std::string& base, const std::vector<uint8_t>& picture,
                   std::string& error) {
  if (panorama) return Write_Face_Folder(base, picture.data(), error);
  return Write_Png_Pixels(base + ".png", picture.data(), KVR_PIC_WIDTH, KVR_PIC_HEIGHT, error);
}

bool Folder_Is_Empty(const std::string& folder) {
  std::error_code failed;
  return !fs::exists(folder, failed) || (fs::is_directory(folder, failed) && fs::is_empty(folder, failed));
}

int Export_Animation(const Command& self, const std::string& path, const std::string& dir,
                     const std::string& name, bool panorama, const std::vector<uint8_t>& still) {
  const std::string folder = dir + "/" + name;
  std::string error;
  if (!Make_Folder(folder, error)) return Command_Fail(self, error);
  std::vector<uint8_t> picture = still;
  auto visit = [&](int index, int frame_count) {
    return Write_Picture(panorama, folder + "/" + Frame_Name(name, index, frame_count), picture, error);
  };
  const AnimationPlayResult played = Play_Animation_Once(path, name, panorama, picture, visit);
  if (!error.empty()) return Command_Fail(self, error);
  if (!played.opened) return Command_Fail(self, "cannot open the animation " + Quoted(name) + " of " + path);
  if (played.frames_played < played.frame_count)
    Command_Warn(self, "the frames of " + Quoted(name) + " end after " +
                           std::to_string(played.frames_played) + " of its " +
                           std::to_string(played.frame_count));
  return Command_Print("wrote " + std::to_string(played.frames_played) + " frames of " + Quoted(name) +
                       " in " + folder + "\n")
             ? 0
             : 1;
}

// The static picture of the file: the strip of a panorama or the still
// picture, decoded to 4-byte pixels.
bool Load_Static(const std::string& path, bool panorama, std::vector<uint8_t>& picture) {
  picture.assign(panorama ? kStripBytes : size_t(KVR_PIC_WIDTH) * KVR_PIC_HEIGHT * 4, 0);
  return panorama ? Kvr_Load_Static_Vr(path.c_str(), picture.data()) == 1
                  : Kvr_Load_Static_Pic(path.c_str(), picture.data()) == 1;
}

int Run_Export(const Command& self, std::vector<std::string> args) {
  std::vector<std::string> anims;
  std::string error;
  Arguments parsed;
  if (!Take_Anim_Options(args, anims, error) || !Arguments_Parse(args, {}, parsed, error))
    return Command_Usage_Fail(self, error);
  if (parsed.operands.size() != 2) return Command_Usage_Fail(self, "export expects FILE and DIR");
  const std::string& path = parsed.operands[0];
  const std::string& dir = parsed.operands[1];
  if (dir.empty()) return Command_Usage_Fail(self, "the folder name is empty");

  const int kind = Kvr_Get_Vr_Type(path.c_str());
  if (kind != KVR_TYPE_VR && kind != KVR_TYPE_PIC) return Command_Fail(self, No_Kind_Reason(path));
  const bool panorama = kind == KVR_TYPE_VR;
  if (!Check_Export_Names(anims, path, error)) return Command_Fail(self, error);
  for (const std::string& name : anims)
    if (!Folder_Is_Empty(dir + "/" + name))
      return Command_Fail(
          self, dir + "/" + name + " already holds files: frames are exported into an empty folder");
  std::vector<uint8_t> still;
  if (!Load_Static(path, panorama, still))
    return Command_Fail(self, "cannot decode the " + std::string(panorama ? "panorama" : "still picture") +
                                  " of " + path + ": its record is damaged");
  const bool written =
      panorama ? Write_Face_Folder(dir, still.data(), error)
               : Make_Folder(dir, error) &&
                     Write_Png_Pixels(dir + "/still.png", still.data(), KVR_PIC_WIDTH, KVR_PIC_HEIGHT, error);
  if (!written) return Command_Fail(self, error);
  if (!Command_Print(panorama ? "wrote the six faces of the panorama in " + dir + "\n"
                              : "wrote the still picture as " + dir + "/still.png\n"))
    return 1;
  for (const std::string& name : anims)
    if (int status = Export_Animation(self, path, dir, name, panorama, still); status != 0) return status;
  return 0;
}

// ---------------------------------------------------------------- build

struct AnimRequest {
  std::string name;
  std::string folder;
  std::optional<long long> loop;
  std::vector<std::string> frames;  // the frame pictures (files or folders), in name order
};

// NAME:DIR[:LOOP]: NAME runs to the first ':', LOOP is the text after the
// last ':' when it is a whole number.
bool Parse_Anim_Request(const std::string& text, AnimRequest& request, std::string& error) {
  const size_t colon = text.find(':');
  if (colon == std::string::npos || colon + 1 == text.size()) {
    error = "--anim takes NAME:DIR[:LOOP], not " + Quoted(text);
    return false;
  }
  request.name = text.substr(0, colon);
  request.folder = text.substr(colon + 1);
  const size_t last = request.folder.rfind(':');
  if (last != std::string::npos) {
    if (std::optional<long long> loop = Whole_Number(std::string_view(request.folder).substr(last + 1))) {
      request.loop = loop;
      request.folder.resize(last);
    }
  }
  if (request.folder.empty()) {
    error = "--anim " + Quoted(text) + " names no folder";
    return false;
  }
  if (request.name.empty() || request.name.size() > size_t(kPanoramaNameMax)) {
    error = "the animation name " + Quoted(request.name) + " has " + std::to_string(request.name.size()) +
            " characters; a name has 1 to " + std::to_string(kPanoramaNameMax);
    return false;
  }
  return true;
}

bool Is_Png_Name(const std::string& name) {
  return name.size() > 4 && Text_Equal(name.substr(name.size() - 4), ".png") == 0;
}

// The frames of an animation folder: its subfolders for a panorama, its
// .png files for a still picture, in name order; names starting with '.'
// are left out.
bool List_Frames(AnimRequest& request, bool panorama, std::string& error) {
  std::error_code failed;
  fs::directory_iterator entries(request.folder, failed);
  if (failed) {
    error = "cannot read the folder " + request.folder + ": " + failed.message();
    return false;
  }
  for (const fs::directory_entry& entry : entries) {
    const std::string name = entry.path().filename().string();
    if (name.empty() || name[0] == '.') continue;
    const bool wanted =
        panorama ? entry.is_directory(failed) : entry.is_regular_file(failed) && Is_Png_Name(name);
    if (wanted) request.frames.push_back(name);
  }
  std::sort(request.frames.begin(), request.frames.end());
  if (request.frames.empty()) {
    error = request.folder + " holds no frames (" + (panorama ? "subfolders of six faces" : ".png pictures") +
            ")";
    return false;
  }
  const long long count = (long long)request.frames.size();
  if (request.loop && (*request.loop < 0 || *request.loop >= count)) {
    error = "animation " + Quoted(request.name) + ": the loop point " + std::to_string(*request.loop) +
            " is not a frame of 0 .. " + std::to_string(count - 1);
    return false;
  }
  return true;
}

bool Read_Picture(bool panorama, const std::string& path, std::vector<uint8_t>& pixels, std::string& error) {
  if (panorama) return Read_Face_Folder(path, pixels, error);
  return Read_Png_Pixels(path, KVR_PIC_WIDTH, KVR_PIC_HEIGHT, pixels, error);
}

bool Encode_Animation(const AnimRequest& request, PanoramaKind kind, int quality,
                      const std::vector<uint8_t>& start, PanoramaAnimation& animation, std::string& error) {
  animation.name = request.name;
  if (request.loop) animation.loop = int(*request.loop);
  AnimationEncoder encoder(kind, quality, start.data());
  std::vector<uint8_t> pixels;
  for (const std::string& frame : request.frames)
    if (!Read_Picture(kind == PanoramaKind::kVr, request.folder + "/" + frame, pixels, error) ||
        !encoder.Add_Frame(pixels.data(), error))
      return false;
  animation.frames = encoder.Take_Frames();
  return true;
}

std::string Animation_Summary(const PanoramaAnimation& animation) {
  size_t empty = 0;
  size_t blocks = 0;
  for (const PanoramaFrame& frame : animation.frames) {
    empty += frame.blocks.empty();
    blocks += frame.blocks.size();
  }
  std::string line = "  animation " + Quoted(animation.name) + ": " +
                     std::to_string(animation.frames.size()) + " frames, " + std::to_string(empty) +
                     " empty, " + std::to_string(blocks) + " blocks";
  if (animation.loop) line += ", loop " + std::to_string(*animation.loop);
  return line + "\n";
}

struct BuildArguments {
  std::string faces, still, out;
  int quality = kPanoramaQualityDefault;
  std::vector<AnimRequest> anims;
};

bool Parse_Build(std::vector<std::string> args, BuildArguments& build, std::string& error) {
  std::vector<std::string> anims;
  Arguments parsed;
  if (!Take_Anim_Options(args, anims, error) ||
      !Arguments_Parse(args, {{"faces", true}, {"still", true}, {"quality", true}}, parsed, error))
    return false;
  if (parsed.Has("faces") == parsed.Has("still")) {
    error = "build takes one of --faces DIR and --still IN.png";
    return false;
  }
  if (parsed.operands.size() != 1 || parsed.operands[0].empty()) {
    error = "build expects one OUT";
    return false;
  }
  build.out = parsed.operands[0];
  build.faces = parsed.Has("faces") ? *parsed.Value("faces") : "";
  build.still = parsed.Has("still") ? *parsed.Value("still") : "";
  if (const std::string* quality = parsed.Value("quality")) {
    std::optional<long long> q = Whole_Number(*quality);
    if (!q || *q < 1 || *q > 100) {
      error = "--quality takes a number from 1 to 100, not " + Quoted(*quality);
      return false;
    }
    build.quality = int(*q);
  }
  for (const std::string& text : anims) {
    AnimRequest request;
    if (!Parse_Anim_Request(text, request, error)) return false;
    for (const AnimRequest& other : build.anims)
      if (other.name == request.name) {
        error = "the animation name " + Quoted(request.name) + " is given twice";
        return false;
      }
    build.anims.push_back(std::move(request));
  }
  return true;
}

int Run_Build(const Command& self, const std::vector<std::string>& args) {
  BuildArguments build;
  std::string error;
  if (!Parse_Build(args, build, error)) return Command_Usage_Fail(self, error);
  const bool panorama = !build.faces.empty();
  PanoramaContent content;
  content.kind = panorama ? PanoramaKind::kVr : PanoramaKind::kPic;
  for (AnimRequest& request : build.anims)
    if (!List_Frames(request, panorama, error)) return Command_Fail(self, error);

  std::vector<uint8_t> start;
  if (!Read_Picture(panorama, panorama ? build.faces : build.still, start, error) ||
      !Panorama_Encode_Static(start.data(), build.quality, content, error))
    return Command_Fail(self, error);
  for (const AnimRequest& request : build.anims) {
    content.animations.emplace_back();
    if (!Encode_Animation(request, content.kind, build.quality, start, content.animations.back(), error))
      return Command_Fail(self, error);
  }
  std::vector<uint8_t> bytes;
  if (!Panorama_File_Bytes(content, bytes, error) || !Write_File_Atomic(build.out, bytes, error))
    return Command_Fail(self, error);

  std::string report = "wrote " + build.out + ": " + (panorama ? "panorama" : "still picture") +
                       ", quality " + std::to_string(build.quality) + "\n";
  for (const PanoramaAnimation& animation : content.animations) report += Animation_Summary(animation);
  return Command_Print(report) ? 0 : 1;
}

int Run_Vr(const Command& self, const std::vector<std::string>& args) {
  if (args.empty()) return Command_Usage_Fail(self, "expects info, export or build");
  const std::vector<std::string> rest(args.begin() + 1, args.end());
  if (args[0] == "info") return Run_Info(self, rest);
  if (args[0] == "export") return Run_Export(self, rest);
  if (args[0] == "build") return Run_Build(self, rest);
  return Command_Usage_Fail(self, "unknown vr command " + Quoted(args[0]));
}

}  // namespace

const Command kVrCommand = {
    "vr",
    "inspect, export and build panorama files",
    "Usage: kvrtool vr info FILE\n"
    "       kvrtool vr export FILE DIR [--anim NAME]...\n"
    "       kvrtool vr build (--faces DIR | --still IN.png) [--anim NAME:DIR[:LOOP]]...\n"
    "                        [--quality Q] OUT\n",
    "A panorama file holds one static picture, a panorama (a 256 x 6144 strip\n"
    "of 24 tiles, the six faces of a cube) or a 640 x 480 still picture, and\n"
    "any number of named animations, whose frames replace the 16 x 16 blocks\n"
    "that changed.\n"
    "\n"
    "A panorama is handled as six 512 x 512 PNG faces in a folder, named by\n"
    "direction (+z is up):\n"
    "  up.png  (z+)   down.png  (z-)\n"
    "  x+.png         x-.png\n"
    "  y+.png         y-.png\n"
    "A still picture is one 640 x 480 PNG.\n"
    "\n"
    "info     prints the file's kind (panorama, still picture or none) and\n"
    "         every chunk of the file with its offset and payload size:\n"
    "         dct_param and data size of the static picture; name, frame\n"
    "         count F, frames counted, empty frames, changed blocks and loop\n"
    "         point of each animation. Damaged fields are pointed out.\n"
    "\n"
    "export   writes the panorama's faces into DIR (made when missing), or\n"
    "         the still picture as DIR/still.png. Each --anim NAME also writes\n"
    "         that animation's frames, played once from frame 0 to F - 1 (the\n"
    "         loop point is not followed), as whole pictures into DIR/NAME,\n"
    "         which must be empty: NAME-0000.png, NAME-0001.png, ... for a\n"
    "         still picture, folders NAME-0000, NAME-0001, ... of six faces\n"
    "         for a panorama (more digits when F needs them).\n"
    "\n"
    "build    writes the panorama file OUT from the faces in DIR (--faces) or\n"
    "         from IN.png (--still). Each --anim NAME:DIR[:LOOP] adds an\n"
    "         animation NAME (1 to 31 characters) whose frames are the\n"
    "         pictures of DIR in name order, as export writes them: the .png\n"
    "         files for a still picture, the subfolders of six faces for a\n"
    "         panorama (names starting with '.' are left out). Each frame\n"
    "         stores the blocks that differ from the frame before it (the\n"
    "         first from the static picture); a frame that changes nothing is\n"
    "         stored empty. LOOP, a frame from 0 to F - 1, is where playback\n"
    "         goes on after the last frame; without it the animation ends.\n"
    "         NAME ends at the first ':', LOOP is the text after the last\n"
    "         ':' when it is a number. --quality Q (1 to 100, default 90) is\n"
    "         the JPEG quality of every picture; the alpha of PNGs is not\n"
    "         read. So that export gives back what build was given:\n"
    "           kvrtool vr export F.kvr D --anim water\n"
    "           kvrtool vr build --faces D --anim water:D/water OUT.kvr\n"
    "\n"
    "A file that cannot be read, is no panorama file or holds pictures of\n"
    "the wrong size is an error (exit status 1); outputs are only ever\n"
    "replaced by complete files.\n",
    Run_Vr,
};
