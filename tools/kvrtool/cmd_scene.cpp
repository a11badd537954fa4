// kvrtool scene: loads a warp's scene picture exactly as the engine does and
// shows what it got.
#include <string>
#include <vector>

#include "pictures/picture.h"
#include "scene/scene_picture.h"
#include "tools/file_io.h"
#include "tools/kvrtool/arguments.h"
#include "tools/kvrtool/command.h"
#include "tools/picture_pixels.h"
#include "tools/printable_text.h"

namespace {

std::string Kind_Text(int kind) {
  char hex[16];
  std::snprintf(hex, sizeof hex, "0x%X", static_cast<unsigned>(kind));
  const char* name = kind == kSceneKindTga   ? "TGA still picture"
                     : kind == kSceneKindVr  ? "compressed panorama"
                     : kind == kSceneKindPic ? "compressed still picture"
                     : kind == kSceneKindRaw ? "raw panorama"
                                             : "unknown";
  return std::string(hex) + " (" + name + ")";
}

std::string Scene_Text(const Scene& scene, int result) {
  std::string text = "result " + std::to_string(result) + ", kind " + Kind_Text(scene.picture_kind) + "\n";
  const SceneAnimationTable& table = scene.table;
  text += "animations: " + std::to_string(table.count) + "\n";
  for (int i = 0; i < table.count && table.names; ++i) {
    const SceneAnimationName& name = table.names[size_t(i)];
    size_t length = 0;
    while (length < name.size() && name[length]) ++length;
    text += "  \"" + Printable_Text(std::string_view(name.data(), length)) + "\"\n";
  }
  return text;
}

std::vector<uint8_t> Tile_Store_Bytes(const std::vector<uint16_t>& tiles) {
  std::vector<uint8_t> bytes(tiles.size() * 2);
  for (size_t i = 0; i < tiles.size(); ++i) {
    bytes[2 * i] = uint8_t(tiles[i]);
    bytes[2 * i + 1] = uint8_t(tiles[i] >> 8);
  }
  return bytes;
}

int Run_Scene(const Command& self, const std::vector<std::string>& args) {
  Arguments parsed;
  std::string error;
  if (!Arguments_Parse(args, {{"raw", true}}, parsed, error)) return Command_Usage_Fail(self, error);
  if (parsed.operands.size() != 1) return Command_Usage_Fail(self, "scene expects one FILE");
  const std::string& path = parsed.operands[0];
  const std::string* out = parsed.Value("raw");
  if (out && out->empty()) return Command_Usage_Fail(self, "the output path is empty");

  std::vector<uint16_t> tiles(size_t(kSceneVrPixels), 0);
  PicturePtr still = Picture_New("warpfix", kSceneStillWidth, kSceneStillHeight, 16);
  if (!still) return Command_Fail(self, "cannot make the still picture");
  Scene scene;
  scene.tile_store = tiles.data();
  scene.still = still.get();
  const int result = Load_Scene_Picture(scene, path.c_str());
  const std::string text = Scene_Text(scene, result);
  Free_Scene_Animations(scene);
  if (result < 0)
    return Command_Fail(self, "the engine loads nothing from " + path + ": it cannot be opened");

  if (out) {
    const std::vector<uint8_t> bytes = result == 0 ? Tile_Store_Bytes(tiles) : Picture_565_Raw(*still);
    if (!Write_File_Atomic(*out, bytes, error)) return Command_Fail(self, error);
  }
  return Command_Print(text) ? 0 : 1;
}

}  // namespace

const Command kSceneCommand = {
    "scene",
    "load a warp's scene picture as the engine does",
    "Usage: kvrtool scene FILE [--raw OUT.bin]\n",
    "Loads FILE as the engine loads the picture of a warp, trying in turn a\n"
    "640 x 480 true-colour TGA, a panorama file holding a panorama, one\n"
    "holding a still picture, and a raw panorama dump (any other file that\n"
    "can be opened is taken as one). Names are found ignoring case. Prints\n"
    "the loader's result and the picture kind, then the file's animations:\n"
    "\n"
    "  result 0, kind 0x10 (compressed panorama)\n"
    "  animations: 1\n"
    "    \"water\"\n"
    "\n"
    "Results: 0 a panorama (kind 0x10 compressed, 0x20 raw), 1 a TGA still\n"
    "picture (kind 0x1), 3 a compressed still picture (kind 0x3).\n"
    "\n"
    "With --raw OUT.bin the loaded pixels are written as little-endian\n"
    "RGB565 words, rows top to bottom: the 256 x 6144 tile store for result\n"
    "0 (3 145 728 bytes), the 640 x 480 still picture for 1 and 3 (614 400\n"
    "bytes).\n"
    "\n"
    "A file that cannot be opened is an error (exit status 1).\n",
    Run_Scene,
};
