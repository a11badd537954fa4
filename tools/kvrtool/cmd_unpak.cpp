// kvrtool unpak IN OUT: unpacks a packed file ("PAKF").
#include <string>
#include <vector>

#include "platform/files/pak_file.h"
#include "tools/file_io.h"
#include "tools/kvrtool/arguments.h"
#include "tools/kvrtool/command.h"
#include "tools/pak_report.h"

namespace {

// The header and the packed bytes it announces (no more, so that a file
// with trailing bytes, or a huge claimed size, reads only what matters).
bool Pak_Bytes_Read(const std::string& path, std::vector<uint8_t>& bytes, std::string& error) {
  if (!Read_File_Start(path, kPakHeaderSize, bytes, error)) return false;
  PakHeader header;
  if (!Pak_Parse_Header(bytes.data(), bytes.size(), header)) return true;  // Pak_Decode says why
  return Read_File_Start(path, kPakHeaderSize + uint64_t(header.packed_size), bytes, error);
}

int Run_Unpak(const Command& self, const std::vector<std::string>& args) {
  Arguments parsed;
  std::string error;
  if (!Arguments_Parse(args, {}, parsed, error)) return Command_Usage_Fail(self, error);
  if (parsed.operands.size() != 2) return Command_Usage_Fail(self, "expects IN and OUT");
  const std::string& in = parsed.operands[0];
  const std::string& out = parsed.operands[1];

  std::vector<uint8_t> bytes;
  if (!Pak_Bytes_Read(in, bytes, error)) return Command_Fail(self, error);
  PakResult result = Pak_Decode(bytes.data(), bytes.size());
  if (!result.ok()) return Command_Fail(self, in + ": " + Pak_Failure_Text(result));
  if (result.packed_available < result.header.packed_size)
    Command_Warn(self, in + ": the file ends after " + std::to_string(result.packed_available) + " of its " +
                           std::to_string(result.header.packed_size) +
                           " packed bytes, but they unpack completely");

  if (!Write_File_Atomic(out, result.data, error)) return Command_Fail(self, error);
  return Command_Print(Pak_Info_Text(result.header)) ? 0 : 1;
}

}  // namespace

const Command kUnpakCommand = {
    "unpak",
    "unpack a packed file (\"PAKF\")",
    "Usage: kvrtool unpak IN OUT\n",
    "Unpacks the packed file IN (\"PAKF\") and writes the unpacked bytes to OUT,\n"
    "then prints what its header says, one line each:\n"
    "  name: STORED         the name stored in the header (bytes outside\n"
    "                       printable ASCII, and '\\', as \\xNN)\n"
    "  method: N (NAME)     the packing method, 0 to 5\n"
    "  packed size: N       the packed size the header gives, in bytes\n"
    "  unpacked size: N     the unpacked size, in bytes\n"
    "\n"
    "A file that is not \"PAKF\", names an unknown method or an unpacked size the\n"
    "packed data cannot hold, or whose packed data end early or are corrupt, is\n"
    "an error: the reason and how far unpacking got go to standard error, the\n"
    "exit status is 1, and OUT is neither created nor changed. A file shorter\n"
    "than its header says whose data still unpack completely is accepted, as\n"
    "the engine accepts it, with a warning.\n",
    Run_Unpak,
};
