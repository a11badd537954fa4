// kvrtool zones FILE: prints a zone file as JSON.
// kvrtool zones --write OUT [BOUNDS...]: writes one.
#include <optional>
#include <string>
#include <vector>

#include "engine/script/zone_file.h"
#include "platform/files/file_layer.h"
#include "platform/wendax.h"
#include "tools/file_io.h"
#include "tools/json_writer.h"
#include "tools/kvrtool/arguments.h"
#include "tools/kvrtool/command.h"
#include "tools/printable_text.h"
#include "tools/zone_writer.h"

namespace {

std::string Zones_Json(const std::vector<ZONE>& zones) {
  JsonWriter json;
  json.Begin_Object();
  json.Key("zones");
  json.Begin_Array();
  for (const ZONE& zone : zones) {
    json.Begin_Array(JsonWriter::Layout::kInline);
    for (float bound : zone.bounds) json.Float(bound);
    json.End_Array();
  }
  json.End_Array();
  json.End_Object();
  return json.Text() + "\n";
}

// What the engine does not say about a file it reads partly or not at all.
void Zone_File_Warnings(const Command& self, const std::string& file, int32_t size,
                        const ZoneFileResult& read) {
  std::string count = std::to_string(read.declared);
  std::string held = std::to_string(read.zones.size());
  if (size > 0 && size < 4)
    Command_Warn(self, file + ": " + std::to_string(size) + " bytes, too short for the zone count: no zones");
  else if (read.declared < 0)
    Command_Warn(self, file + ": the zone count is " + count + ": no zones");
  else if (read.cut)
    Command_Warn(
        self, file + ": declares " + count + " zones but holds only " + held + "; the engine reads " + held);
  else if (size >= 4 && int64_t(size) - 4 > int64_t(read.declared) * int64_t(kZoneRecordSize))
    Command_Warn(self,
                 file + ": " +
                     std::to_string(int64_t(size) - 4 - int64_t(read.declared) * int64_t(kZoneRecordSize)) +
                     " bytes after the last of its " + count + " zones are not read");
}

int Print_Zones(const Command& self, const std::string& file) {
  Wendax wx;
  int handle = File_Open(wx, file, kFileModeRead);
  if (handle < 0) return Command_Fail(self, "cannot read " + file);
  File_Close(wx, handle);
  int32_t size = File_Size(wx, file);
  ZoneFileResult read = Zone_File_Read(wx, file);
  Zone_File_Warnings(self, file, size, read);
  return Command_Print(Zones_Json(read.zones)) ? 0 : 1;
}

int Write_Zones(const Command& self, const std::string& out, const std::vector<std::string>& operands) {
  std::vector<ZoneBounds> zones;
  for (const std::string& operand : operands) {
    std::optional<ZoneBounds> bounds = Zone_Bounds_Parse(operand);
    if (!bounds)
      return Command_Usage_Fail(
          self, "\"" + Printable_Text(operand) + "\" is not four finite numbers separated by commas");
    zones.push_back(*bounds);
  }
  std::string error;
  if (!Write_File_Atomic(out, Zone_File_Bytes(zones), error)) return Command_Fail(self, error);
  return 0;
}

int Run_Zones(const Command& self, const std::vector<std::string>& args) {
  Arguments parsed;
  std::string error;
  if (!Arguments_Parse(args, {{"write", true}}, parsed, error)) return Command_Usage_Fail(self, error);
  if (const std::string* out = parsed.Value("write")) return Write_Zones(self, *out, parsed.operands);
  if (parsed.operands.size() != 1) return Command_Usage_Fail(self, "expects one FILE");
  return Print_Zones(self, parsed.operands[0]);
}

}  // namespace

const Command kZonesCommand = {
    "zones",
    "print a zone file as JSON, or write one",
    "Usage: kvrtool zones FILE\n"
    "       kvrtool zones --write OUT [BOUNDS...]\n",
    "Prints the zone file FILE as JSON, with the zones the engine reads from it:\n"
    "\n"
    "  {\n"
    "    \"zones\": [\n"
    "      [0.5, 1.25, 1.2, 1.9]\n"
    "    ]\n"
    "  }\n"
    "\n"
    "Each zone holds its four bounds in file order: yaw 1, yaw 2, pitch 1, pitch 2\n"
    "in radians for a panorama (a pitch of pi/2 is the horizon), or x 1, x 2, y 1,\n"
    "y 2 in pixels for a still picture. Zone numbers are the positions, from 0.\n"
    "A number is the shortest text that reads back as the same 32-bit float;\n"
    "infinities and NaN print as null. A file that declares more zones than it\n"
    "holds prints the whole zones present, with a warning on standard error; so\n"
    "do a negative count, a file too short for its count and bytes after the\n"
    "last zone. An empty file has no zones. A missing FILE is an error.\n"
    "\n"
    "With --write, writes the zone file OUT, one zone per BOUNDS argument: four\n"
    "finite numbers separated by commas, e.g. 0.5,1.25,1.2,1.9 (negative numbers\n"
    "are fine). No BOUNDS writes a file of no zones. OUT is only ever replaced\n"
    "by a complete file.\n",
    Run_Zones,
};
