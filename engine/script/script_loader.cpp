#include "engine/script/script_loader.h"

#include <array>
#include <memory>

#include "engine/engine.h"
#include "engine/script/line_read.h"
#include "platform/files/file_layer.h"
#include "platform/files/pak_file.h"
#include "platform/files/text.h"

namespace {

constexpr std::array<std::string_view, 36> kCommandKeywords = {
    "ANGLEXMAX",     "ANGLEYMAX",
    "SETANGLE",      "SETNORD",
    "INTERPOLANGLE", "SETZOOM",
    "INTERPOLZOOM",  "INTERPOLANGLEZOOM",
    "FADE",          "TRANSFADE",
    "IFOR",          "IFAND",
    "SET",           "NOT",
    "GOSUB",         "LABEL",
    "RETURN",        "END",
    "GOTOWARP",      "LOCKKEY",
    "UNLOCKKEY",     "RESETLOCKKEY",
    "PRINT",         "SETCURSOR",
    "HIDECURSOR",    "SETCURSORDEFAULT",
    "PLAYVIDEO",     "PLAYMUSIQUE",
    "STOPMUSIQUE",   "PLAYSOUND",
    "STOPSOUND",     "PLAYSOUND3D",
    "STOPSOUND3D",   "PLAYRNDSOUND",
    "ENDPLUGIN",     "PLUGIN",
};

bool Is(std::string_view field, std::string_view keyword) { return Text_Equal(field, keyword) == 0; }

SCRIPT_DATA& Script_Of(Engine& engine) {
  if (!engine.script) engine.script = std::make_unique<SCRIPT_DATA>();
  return *engine.script;
}

// Makes the script readable from memory under its plain name. False when
// nothing can be read.
bool Script_To_Memory(Engine& engine, std::string_view name) {
  std::string packed = Script_Packed_Name(name);
  if (!packed.empty() && File_Size(engine.wx, packed) != 0) {
    PakResult pak = Pak_Read_File(engine.wx, packed);
    if (!pak.ok()) {
      // The packed form is the script: a damaged one is not replaced by the
      // plain file.
      Debug_Print(engine, "Packed script " + packed + ": " + Pak_Status_Text(pak.status));
      return false;
    }
    Memory_File_Add(engine.wx, name, std::move(pak.data));
    return true;
  }
  Memory_File_Load(engine.wx, name);
  return true;
}

void Variable_Pass(Engine& engine, std::string_view name) {
  std::string line, field;
  int32_t position = 0;
  while (Line_Read(engine.wx, name, line, &position) == 0) {
    Field_Get(line, field, 0);
    if (!Is(field, "[BOOL]")) continue;
    SCRIPT_VAR var;
    if (Field_Get(line, field, 1) == 0 && !field.empty()) var.name = field;
    Script_Of(engine).vars.push_back(std::move(var));
  }
}

// Reads the raw lines of a PLUGIN block onto `command` up to its "endplugin"
// line. False when the file ends first.
bool Plugin_Block_Read(Engine& engine, std::string_view name, std::string& command, int32_t* position) {
  std::string raw;
  while (Raw_Line_Read(engine.wx, name, raw, position) == 0) {
    std::string_view head(raw);
    head = head.substr(0, head.find(','));
    if (Is(head, "endplugin")) return true;
    command += raw;
    command += ';';
  }
  Debug_Print(engine, kPluginUnterminated);
  Debug_Print(engine, "Offset: " + Int_To_Text(*position));
  return false;
}

enum class WarpEnd { kNextWarp, kStop };

// Reads the tests of `warp`, whose [WARP] line ends at *position. Returns
// NextWarp when a further [WARP] line follows (*position is then back at the
// end of this warp's [WARP] line, from where the next one is searched).
WarpEnd Warp_Tests_Read(Engine& engine, std::string_view name, WARP& warp, int32_t* position) {
  const int32_t after_warp_line = *position;
  std::string line, field;
  if (Line_Read(engine.wx, name, line, position) != 0) return WarpEnd::kStop;
  Field_Get(line, field, 0);
  if (!Is(field, "[TEST]")) return WarpEnd::kStop;

  while (true) {  // one test per round
    TEST test;
    Field_Get(line, field, 1);
    test.id = Text_To_Int(field);
    Field_Get(line, field, 2);
    test.kind = Text_To_Int(field);
    warp.tests.push_back(std::move(test));
    TEST& current = warp.tests.back();

    while (true) {  // its commands
      if (Line_Read(engine.wx, name, line, position) != 0) return WarpEnd::kStop;
      Field_Get(line, field, 0);
      if (Is(field, "[WARP]")) {
        *position = after_warp_line;
        return WarpEnd::kNextWarp;
      }
      if (Is(field, "[TEST]")) break;
      if (field.empty()) continue;
      if (Is(field, "PLUGIN")) {
        current.commands.emplace_back("PLUGIN,");
        if (!Plugin_Block_Read(engine, name, current.commands.back(), position)) return WarpEnd::kStop;
        continue;
      }
      if (!Script_Keyword_Known(field)) return WarpEnd::kStop;
      current.commands.push_back(line);
    }
  }
}

void Warp_Pass(Engine& engine, std::string_view name) {
  std::string line, field;
  int32_t position = 0;
  while (Line_Read(engine.wx, name, line, &position) == 0) {
    Field_Get(line, field, 0);
    if (!Is(field, "[WARP]")) continue;

    const int32_t warp_line = position;
    WARP warp;
    if (Field_Get(line, field, 1) == 0 && !field.empty()) {
      warp.kind = Warp_Kind_From_Name(field);
      warp.name = field;
    }
    if (Field_Get(line, field, 2) == 0 && !field.empty()) warp.zone_file = field;

    SCRIPT_DATA& script = Script_Of(engine);
    WarpEnd end = Warp_Tests_Read(engine, name, warp, &position);
    if (warp.name) {
      script.warps.push_back(std::move(warp));
    } else {
      Debug_Print(engine,
                  "[WARP] without a picture name before offset " + Int_To_Text(warp_line) + ": warp skipped");
    }
    if (end == WarpEnd::kStop) return;
  }
}

}  // namespace

std::string Script_Packed_Name(std::string_view name) {
  if (name.size() < 3) return {};
  return std::string(name.substr(0, name.size() - 3)) + "pak";
}

bool Script_Keyword_Known(std::string_view keyword) {
  for (std::string_view known : kCommandKeywords)
    if (Is(keyword, known)) return true;
  return false;
}

void Script_Load(Engine& engine, std::string_view name) {
  Script_Free(engine);
  if (!Script_To_Memory(engine, name)) return;
  Variable_Pass(engine, name);
  Warp_Pass(engine, name);
  Memory_File_Drop(engine.wx, name);
}

void Script_Free(Engine& engine) { engine.script.reset(); }
