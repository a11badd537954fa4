// kvrtool pak --method N [--name STORED] IN OUT: writes a packed file ("PAKF").
#include <charconv>
#include <optional>
#include <string>
#include <vector>

#include "platform/files/pak_file.h"
#include "tools/file_io.h"
#include "tools/kvrtool/arguments.h"
#include "tools/kvrtool/command.h"
#include "tools/pak_report.h"
#include "tools/pak_writer.h"

namespace {

std::optional<int> Method_Parse(const std::string& text) {
  int method = -1;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), method);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  if (method < 0 || method > kPakMethodMax) return std::nullopt;
  return method;
}

std::string File_Name_Of(const std::string& path) {
  size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

int Run_Pak(const Command& self, const std::vector<std::string>& args) {
  Arguments parsed;
  std::string error;
  if (!Arguments_Parse(args, {{"method", true}, {"name", true}}, parsed, error))
    return Command_Usage_Fail(self, error);
  if (parsed.operands.size() != 2) return Command_Usage_Fail(self, "expects IN and OUT");
  if (!parsed.Has("method")) return Command_Usage_Fail(self, "--method is required");
  std::optional<int> method = Method_Parse(*parsed.Value("method"));
  if (!method)
    return Command_Usage_Fail(self, "--method takes a number from 0 to " + std::to_string(kPakMethodMax) +
                                        ", not \"" + *parsed.Value("method") + "\"");
  const std::string& in = parsed.operands[0];
  const std::string& out = parsed.operands[1];

  const std::string* given = parsed.Value("name");
  std::string name = given ? *given : File_Name_Of(in);
  if (std::string problem = Pak_Name_Problem(name); !problem.empty())
    return given ? Command_Usage_Fail(self, problem)
                 : Command_Usage_Fail(self, problem + "; choose one with --name");

  std::vector<uint8_t> data;
  if (!Read_Whole_File(in, kPakFileSizeMax, data, error)) return Command_Fail(self, error);
  PakBuild build = Pak_Build(*method, name, data.data(), data.size());
  if (!build.ok()) return Command_Fail(self, in + ": " + build.error);
  if (!Write_File_Atomic(out, build.bytes, error)) return Command_Fail(self, error);

  PakHeader header;
  Pak_Parse_Header(build.bytes.data(), build.bytes.size(), header);
  return Command_Print(Pak_Info_Text(header)) ? 0 : 1;
}

}  // namespace

const Command kPakCommand = {
    "pak",
    "write a packed file (\"PAKF\")",
    "Usage: kvrtool pak --method N [--name STORED] IN OUT\n",
    "Packs the file IN with packing method N, writes the packed file (\"PAKF\")\n"
    "to OUT, and prints its header as \"kvrtool unpak\" does.\n"
    "\n"
    "  --method N      0 stored, 1 run-length, 2 short-window LZ, 3 long-window\n"
    "                  LZ, 4 Huffman, 5 Huffman-coded long-window LZ\n"
    "  --name STORED   the name stored in the header, 1 to 15 characters; by\n"
    "                  default the file name of IN, which must then fit\n"
    "\n"
    "The engine reads packed files, and data unpacked from them, of at most\n"
    "2147483647 bytes; anything larger is refused. The packed file is unpacked\n"
    "again before it is written, and OUT is only ever replaced by a complete\n"
    "file.\n",
    Run_Pak,
};
