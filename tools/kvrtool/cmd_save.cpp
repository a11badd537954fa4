// kvrtool save info: what a saved-game slot file holds.
#include <string>
#include <vector>

#include "engine/plugins/save_slot.h"
#include "host/text_1252.h"
#include "tools/file_io.h"
#include "tools/kvrtool/arguments.h"
#include "tools/kvrtool/command.h"
#include "tools/png_file.h"

namespace {

constexpr uint64_t kSlotFileMax = uint64_t(1) << 30;

// The thumbnail as RGB rows from the top.
std::vector<uint8_t> Thumbnail_Rgb(const SavePicture& p) {
  std::vector<uint8_t> rgb;
  rgb.reserve(size_t(p.width) * size_t(p.height) * 3);
  for (int32_t row = 0; row < p.height; ++row)
    for (int32_t x = 0; x < p.width; ++x) {
      const uint16_t v = p.Get(x, p.height - 1 - row);
      rgb.push_back(uint8_t((v >> 11) * 255 / 31));
      rgb.push_back(uint8_t(((v >> 5) & 63) * 255 / 63));
      rgb.push_back(uint8_t((v & 31) * 255 / 31));
    }
  return rgb;
}

int Run_Info(const Command& self, const std::vector<std::string>& args) {
  Arguments parsed;
  std::string error;
  if (!Arguments_Parse(args, {{"thumb", true}}, parsed, error)) return Command_Usage_Fail(self, error);
  if (parsed.operands.size() != 1) return Command_Usage_Fail(self, "save info expects SLOTFILE");
  const std::string& path = parsed.operands[0];
  std::vector<uint8_t> bytes;
  if (!Read_Whole_File(path, kSlotFileMax, bytes, error)) return Command_Fail(self, error);
  SaveSlot slot;
  if (!Slot_Parse(bytes, true, slot) || !slot.Holds_Game())
    return Command_Fail(self, path + " is no slot file a game can load");
  const std::vector<std::string> date = slot.Date_Lines();
  std::string report = path + ": saved game\n";
  report += "script: " + Text_1252_To_Utf8(SaveSlot::Text(slot.script)) + "\n";
  report += "label: " + Text_1252_To_Utf8(SaveSlot::Text(slot.label)) + "\n";
  report += "date: " + Text_1252_To_Utf8(date.empty() ? "" : date[0]) + "\n";
  report += "time: " + Text_1252_To_Utf8(date.size() < 2 ? "" : date[1]) + "\n";
  report +=
      "thumbnail: " + std::to_string(slot.picture.width) + " x " + std::to_string(slot.picture.height) + "\n";
  report += "context: " + std::to_string(slot.context.size()) + " bytes\n";
  if (const std::string* thumb = parsed.Value("thumb")) {
    std::vector<uint8_t> png;
    if (!Png_Encode_Rgb(slot.picture.width, slot.picture.height, Thumbnail_Rgb(slot.picture), png, error) ||
        !Write_File_Atomic(*thumb, png, error))
      return Command_Fail(self, error);
    report += "wrote " + *thumb + "\n";
  }
  return Command_Print(report) ? 0 : 1;
}

int Run_Save(const Command& self, const std::vector<std::string>& args) {
  if (args.empty()) return Command_Usage_Fail(self, "expects info");
  if (args[0] == "info") return Run_Info(self, std::vector<std::string>(args.begin() + 1, args.end()));
  return Command_Usage_Fail(self, "unknown save command \"" + args[0] + "\"");
}

}  // namespace

const Command kSaveCommand = {
    "save",
    "tell what a saved-game slot file holds",
    "Usage: kvrtool save info SLOTFILE [--thumb OUT.png]\n",
    "info     prints the script the game was saved in, its label, the date and\n"
    "         time it was saved (as the player's locale wrote them), the\n"
    "         thumbnail's size and the size of the saved context. With\n"
    "         --thumb, the thumbnail is written as a PNG file.\n"
    "\n"
    "A file that is no slot file (it ends inside a part, or its picture\n"
    "header is not 40 bytes) is an error (exit status 1).\n",
    Run_Save,
};
