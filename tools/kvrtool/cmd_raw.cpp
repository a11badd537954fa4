// kvrtool raw: writes a raw panorama dump from six face pictures.
#include <string>
#include <vector>

#include "tools/file_io.h"
#include "tools/kvrtool/arguments.h"
#include "tools/kvrtool/command.h"
#include "tools/kvrtool/face_files.h"
#include "tools/raw_panorama.h"

namespace {

int Run_Raw(const Command& self, const std::vector<std::string>& args) {
  Arguments parsed;
  std::string error;
  if (!Arguments_Parse(args, {}, parsed, error)) return Command_Usage_Fail(self, error);
  if (parsed.operands.size() != 2) return Command_Usage_Fail(self, "raw expects FACES_DIR and OUT");
  const std::string& faces = parsed.operands[0];
  const std::string& out = parsed.operands[1];
  if (out.empty()) return Command_Usage_Fail(self, "the output path is empty");
  std::vector<uint8_t> strip;
  if (!Read_Face_Folder(faces, strip, error)) return Command_Fail(self, error);
  if (!Write_File_Atomic(out, Raw_Panorama_Bytes(strip.data()), error)) return Command_Fail(self, error);
  return Command_Print("wrote " + out + ": raw panorama, 256 x 6144 RGB555 words\n") ? 0 : 1;
}

}  // namespace

const Command kRawCommand = {
    "raw",
    "write a raw panorama dump from six faces",
    "Usage: kvrtool raw FACES_DIR OUT\n",
    "Reads the six 512 x 512 PNG faces of FACES_DIR (up.png, down.png,\n"
    "x+.png, x-.png, y+.png, y-.png, as kvrtool vr export writes them; +z is\n"
    "up) and writes OUT, a raw panorama dump: the 256 x 6144 panorama strip\n"
    "as 1 572 864 little-endian RGB555 words (red bits 10-14, green 5-9,\n"
    "blue 0-4, the top five bits of each channel; bit 15 clear), rows top to\n"
    "bottom, 3 145 728 bytes. The engine loads any file it cannot take as\n"
    "anything else as such a dump. The alpha of the PNGs is not read.\n"
    "\n"
    "A face that is missing, no PNG, or not 512 x 512 is an error (exit\n"
    "status 1); OUT is only ever replaced by a complete file.\n",
    Run_Raw,
};
