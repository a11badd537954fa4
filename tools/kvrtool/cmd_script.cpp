// kvrtool script FILE: loads a script as the engine does and prints it as JSON.
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "engine/engine.h"
#include "engine/script/script_loader.h"
#include "platform/files/file_layer.h"
#include "platform/files/pak_file.h"
#include "host/path_resolve.h"
#include "platform/wendax.h"
#include "tools/json_writer.h"
#include "tools/kvrtool/arguments.h"
#include "tools/kvrtool/command.h"
#include "tools/pak_report.h"

namespace {

void Test_Json(JsonWriter& json, const TEST& test) {
  json.Begin_Object();
  json.Key("id");
  json.Int(test.id);
  json.Key("kind");
  json.Int(test.kind);
  json.Key("commands");
  json.Begin_Array();
  for (const std::string& command : test.commands) json.String(command);
  json.End_Array();
  json.End_Object();
}

void Warp_Json(JsonWriter& json, const WARP& warp) {
  json.Begin_Object();
  json.Key("name");
  json.String_Or_Null(warp.name);
  json.Key("zone_file");
  json.String_Or_Null(warp.zone_file);
  json.Key("kind");
  json.Int(warp.kind);
  json.Key("tests");
  json.Begin_Array();
  for (const TEST& test : warp.tests) Test_Json(json, test);
  json.End_Array();
  json.End_Object();
}

// The loaded script as JSON; an absent script gives empty lists.
std::string Script_Json(const SCRIPT_DATA* script) {
  JsonWriter json;
  json.Begin_Object();
  json.Key("variables");
  json.Begin_Array();
  if (script) {
    for (const SCRIPT_VAR& var : script->vars) {
      json.Begin_Object(JsonWriter::Layout::kInline);
      json.Key("name");
      json.String_Or_Null(var.name);
      json.Key("value");
      json.Int(var.value);
      json.End_Object();
    }
  }
  json.End_Array();
  json.Key("warps");
  json.Begin_Array();
  if (script)
    for (const WARP& warp : script->warps) Warp_Json(json, warp);
  json.End_Array();
  json.End_Object();
  return json.Text() + "\n";
}

void Debug_To_Stderr(std::string_view line) {
  std::fprintf(stderr, "%.*s\n", int(line.size()), line.data());
  std::fflush(stderr);
}

// Splits FILE into its folder ("" for none) and its file name.
void Path_Split(const std::string& path, std::string& folder, std::string& name) {
  size_t slash = path.rfind('/');
  folder = slash == std::string::npos ? "" : slash == 0 ? "/" : path.substr(0, slash);
  name = slash == std::string::npos ? path : path.substr(slash + 1);
}

// Checks that the script can be read the way Script_Load will read it: the
// packed form when it has bytes (then it must unpack), else the plain file.
bool Script_Readable(const Command& self, Wendax& wx, const std::string& file, const std::string& name,
                     int& status) {
  std::string packed = Script_Packed_Name(name);
  if (!packed.empty() && File_Size(wx, packed) != 0) {
    PakResult pak = Pak_Read_File(wx, packed);
    if (pak.ok()) return true;
    status = Command_Fail(self, "packed form " + packed + " of " + file + ": " + Pak_Failure_Text(pak));
    return false;
  }
  int handle = File_Open(wx, name, kFileModeRead);
  if (handle >= 0) {
    File_Close(wx, handle);
    return true;
  }
  std::string also = packed.empty() ? "" : " (nor its packed form " + packed + ")";
  status = Command_Fail(self, "cannot read " + file + also);
  return false;
}

int Run_Script(const Command& self, const std::vector<std::string>& args) {
  Arguments parsed;
  std::string error;
  if (!Arguments_Parse(args, {}, parsed, error)) return Command_Usage_Fail(self, error);
  if (parsed.operands.size() != 1) return Command_Usage_Fail(self, "expects one FILE");
  const std::string& file = parsed.operands[0];

  // The engine loads a script by a name relative to its folder.
  std::string folder, name;
  Path_Split(file, folder, name);
  if (name.empty()) return Command_Usage_Fail(self, file + " names a folder, not a script");
  if (!folder.empty() && ::chdir(Path_Resolve(folder).c_str()) != 0)
    return Command_Fail(self, "cannot enter the folder " + folder + ": " + std::strerror(errno));

  Wendax wx;
  int status = 1;
  if (!Script_Readable(self, wx, file, name, status)) return status;
  Engine engine(wx);
  engine.debug = Debug_To_Stderr;
  Script_Load(engine, name);
  return Command_Print(Script_Json(engine.script.get())) ? 0 : 1;
}

}  // namespace

const Command kScriptCommand = {
    "script",
    "load a script as the engine does and print it as JSON",
    "Usage: kvrtool script FILE\n",
    "Loads the script FILE exactly as the engine does and prints what was loaded\n"
    "as JSON. As in the engine, the packed form of FILE (its name with the last\n"
    "three characters replaced by \"pak\": script.pak for script.lst) is read\n"
    "instead when it exists and is not empty, and names are found ignoring case.\n"
    "\n"
    "  {\n"
    "    \"variables\": [\n"
    "      {\"name\": \"HAS_KEY\", \"value\": 0}\n"
    "    ],\n"
    "    \"warps\": [\n"
    "      {\n"
    "        \"name\": \"HALL.VR\",\n"
    "        \"zone_file\": \"HALL.ZON\",\n"
    "        \"kind\": 0,\n"
    "        \"tests\": [\n"
    "          {\n"
    "            \"id\": -1,\n"
    "            \"kind\": 0,\n"
    "            \"commands\": [\n"
    "              \"SETANGLE,0,0\"\n"
    "            ]\n"
    "          }\n"
    "        ]\n"
    "      }\n"
    "    ]\n"
    "  }\n"
    "\n"
    "Variables and warps are in file order. A warp's \"kind\" is 0 for a panorama,\n"
    "1 for a still picture (preset from the last letter of its name). A variable\n"
    "without a name, or a warp without a zone file, has null there. Commands are\n"
    "the normalised lines the engine stores; a PLUGIN block is one command,\n"
    "\"PLUGIN,\" followed by each statement and a ';'. Strings are 8-bit text read\n"
    "as Latin-1: bytes from 0x80 up and control characters are written as\n"
    "\\u00xx. A file with nothing loadable prints empty lists.\n"
    "\n"
    "The loader's messages (an unterminated PLUGIN block, a warp without a\n"
    "picture name, which is not kept) go to standard error. A FILE that exists\n"
    "in neither form, or whose packed form cannot be unpacked, is an error\n"
    "(exit status 1).\n",
    Run_Script,
};
