#include "engine/interpreter.h"

#include <algorithm>

#include "engine/engine.h"
#include "engine/engine_services.h"
#include "platform/files/text.h"

namespace {

// One running test: its commands and the current command's fields.
struct Run {
  Engine& engine;
  const TEST& test;
  bool entry_test;
  size_t index = 0;
  std::string command;  // a copy: services may run other code meanwhile
  std::string scratch;

  // Field n of the current command ("" when missing).
  const std::string& Text(int n) {
    Field_Get(command, scratch, n);
    return scratch;
  }
  std::string Name(int n) { return Text(n); }
  int32_t Number(int n) { return Text_To_Int(Text(n)); }
  bool Has(int n) { return Field_Get(command, scratch, n) == 0; }
  void Skip_Next() { ++index; }
  SCRIPT_DATA* Script() { return engine.script.get(); }
  EngineServices* Services() { return engine.services; }
};

using Handler = TestResult (*)(Run&);
constexpr TestResult kGoOn = TestResult::kFinished;  // a handler's "next command"

// IFOR / IFAND: ORs or ANDs the values of the named variables; names that
// match no variable take no part.
bool Condition(Run& run, bool all) {
  bool result = all;
  for (int n = 1; run.Has(n); ++n) {
    const SCRIPT_VAR* var = Var_Find(run.Script(), run.scratch);
    if (!var) continue;
    result = all ? (result && var->value != 0) : (result || var->value != 0);
  }
  return result;
}

TestResult Do_Set_Angle(Run& r) {
  r.engine.view.pitch = Angle_Pitch_13(r.Number(1));
  r.engine.view.yaw = r.Number(2);
  return kGoOn;
}
TestResult Do_Set_Nord(Run& r) {
  r.engine.view.yaw = int32_t(uint32_t(r.engine.view.yaw) + uint32_t(r.Number(1)));
  return kGoOn;
}
TestResult Do_Set_Zoom(Run& r) {
  r.engine.view.zoom = float(r.Number(1));
  return kGoOn;
}
TestResult Do_Angle_X_Max(Run& r) {
  r.engine.view.pitch_limit = r.Number(1);
  return kGoOn;
}
TestResult Do_Angle_Y_Max(Run& r) {
  r.engine.view.yaw_min = r.Number(1);
  r.engine.view.yaw_max = r.Number(2);
  return kGoOn;
}
TestResult Do_Interpol_Angle(Run& r) {
  if (auto* s = r.Services()) s->Interpolate_Angle(r.engine, r.Number(1), r.Number(2), r.Number(3));
  return kGoOn;
}
TestResult Do_Interpol_Zoom(Run& r) {
  if (auto* s = r.Services()) s->Interpolate_Zoom(r.engine, r.Number(1), r.Number(2));
  return kGoOn;
}
TestResult Do_Interpol_Angle_Zoom(Run& r) {
  if (auto* s = r.Services())
    s->Interpolate_Angle_Zoom(r.engine, r.Number(1), r.Number(2), r.Number(3), r.Number(4));
  return kGoOn;
}
TestResult Do_Fade(Run& r) {
  if (auto* s = r.Services()) s->Fade(r.engine, r.Number(1), r.Number(2), r.Number(3));
  return kGoOn;
}
TestResult Do_Transfade(Run& r) {
  if (auto* s = r.Services()) s->Transfade(r.engine, r.Number(1));
  return kGoOn;
}
TestResult Do_Set(Run& r) {
  std::string name = r.Name(1);
  Set_Var(r.Script(), name, r.Number(2));
  return kGoOn;
}
TestResult Do_Not(Run& r) {
  std::string name = r.Name(1);
  Set_Var(r.Script(), name, Get_Var(r.Script(), name) == 0 ? 1 : 0);
  return kGoOn;
}
TestResult Do_If_Or(Run& r) {
  if (!Condition(r, false)) r.Skip_Next();
  return kGoOn;
}
TestResult Do_If_And(Run& r) {
  if (!Condition(r, true)) r.Skip_Next();
  return kGoOn;
}
TestResult Do_Gosub(Run& r) {
  ENGINE_STATE& st = r.engine.state;
  if (st.Gosub_Return != -1) return kGoOn;
  std::string label = r.Name(1);
  std::string field;
  for (size_t i = 0; i < r.test.commands.size(); ++i) {
    const std::string& line = r.test.commands[i];
    Field_Get(line, field, 0);
    if (Text_Equal(field, "LABEL") != 0) continue;
    Field_Get(line, field, 1);
    if (Text_Equal(field, label) != 0) continue;
    st.Gosub_Return = int32_t(r.index);
    r.index = i;
    break;
  }
  return kGoOn;
}
TestResult Do_Return(Run& r) {
  ENGINE_STATE& st = r.engine.state;
  if (st.Gosub_Return != -1) {
    r.index = size_t(st.Gosub_Return);
    st.Gosub_Return = -1;
    return kGoOn;
  }
  if (st.Lock_Return != -1) {
    st.Warp_Index = st.Lock_Return;
    st.Lock_Return = -1;
    return TestResult::kWarpChange;
  }
  r.index = r.test.commands.size();  // the test ends
  return kGoOn;
}
TestResult Do_End(Run&) { return TestResult::kScriptEnd; }
TestResult Do_Goto_Warp(Run& r) {
  int32_t warp = Warp_Find(r.Script(), r.Name(1), r.engine.state.Warp_Index);
  if (warp < 0) return kGoOn;
  r.engine.state.Warp_Index = warp;
  return TestResult::kWarpChange;
}

// A lock slot named by the script, or -1 with a debug line when it has none.
int Lock_Slot(Run& r) {
  int32_t slot = r.Number(1);
  if (slot >= 0 && slot < int32_t(kLockSlotCount)) return slot;
  Debug_Print(r.engine, "Lock slot " + Int_To_Text(slot) + " does not exist (0 to 12): " + r.command);
  return -1;
}
TestResult Do_Lock_Key(Run& r) {
  int slot = Lock_Slot(r);
  if (slot >= 0) r.engine.state.Lock_Slots[size_t(slot)] = r.Name(2).substr(0, kLockNameMax);
  return kGoOn;
}
TestResult Do_Unlock_Key(Run& r) {
  int slot = Lock_Slot(r);
  if (slot >= 0) r.engine.state.Lock_Slots[size_t(slot)].clear();
  return kGoOn;
}
TestResult Do_Reset_Lock_Key(Run& r) {
  r.engine.state.Lock_Return = -1;
  return kGoOn;
}
TestResult Do_Print(Run& r) {
  std::string text = r.Name(1);
  std::replace(text.begin(), text.end(), '_', ' ');
  r.engine.state.Print_Text = text.substr(0, kPrintTextMax);
  r.engine.state.Print_Font = r.Name(2);
  return kGoOn;
}

// The test at position `index` of the first warp named in field `warp_field`.
TEST* Test_At(Run& r, int warp_field, int index_field) {
  int32_t warp = Warp_Find(r.Script(), r.Name(warp_field));
  if (warp < 0) return nullptr;
  int32_t index = r.Number(index_field);
  std::vector<TEST>& tests = r.Script()->warps[size_t(warp)].tests;
  if (index < 0 || size_t(index) >= tests.size()) return nullptr;
  return &tests[size_t(index)];
}
TestResult Do_Set_Cursor(Run& r) {
  std::string picture = r.Name(1);
  if (TEST* t = Test_At(r, 2, 3)) t->cursor = picture.substr(0, kCursorNameMax);
  return kGoOn;
}
TestResult Do_Hide_Cursor(Run& r) {
  if (TEST* t = Test_At(r, 1, 2)) t->hidden |= 1;
  return kGoOn;
}
TestResult Do_Set_Cursor_Default(Run& r) {
  bool active = r.Text(1) != "0";
  if (auto* s = r.Services()) s->Set_Default_Cursor(r.engine, active, r.Name(2));
  return kGoOn;
}
TestResult Do_Play_Video(Run& r) {
  if (auto* s = r.Services()) s->Play_Video(r.engine, r.Name(1));
  return kGoOn;
}
TestResult Do_Play_Music(Run& r) {
  if (auto* s = r.Services()) s->Play_Music(r.engine, r.Name(1), r.Number(2));
  return kGoOn;
}
TestResult Do_Stop_Music(Run& r) {
  if (auto* s = r.Services()) s->Stop_Music(r.engine);
  return kGoOn;
}
TestResult Do_Play_Sound(Run& r) {
  if (auto* s = r.Services()) s->Play_Sound(r.engine, r.Name(1), r.Number(2), r.Number(3));
  return kGoOn;
}
TestResult Do_Stop_Sound(Run& r) {
  if (auto* s = r.Services()) s->Stop_Sound(r.engine, r.Name(1));
  return kGoOn;
}
TestResult Do_Play_Sound_3D(Run& r) {
  if (auto* s = r.Services()) s->Play_Sound_3D(r.engine, r.Name(1), r.Number(2), r.Number(3), r.Number(4));
  return kGoOn;
}
TestResult Do_Stop_Sound_3D(Run& r) {
  if (auto* s = r.Services()) s->Stop_Sound_3D(r.engine, r.Name(1));
  return kGoOn;
}
TestResult Do_Play_Random_Sound(Run& r) {
  // The entry test writes file,volume,frequency; other tests
  // file,volume,angle,frequency, with the angle unused.
  int frequency = r.Number(r.entry_test ? 3 : 4);
  if (auto* s = r.Services()) s->Add_Random_Sound(r.engine, r.Name(1), r.Number(2), frequency);
  return kGoOn;
}
TestResult Do_Plugin(Run& r) {
  std::vector<std::string> statements = Plugin_Statements(r.command);
  if (auto* s = r.Services()) s->Plugin_Run_Block(r.engine, statements);
  return kGoOn;
}

struct Command {
  std::string_view keyword;
  Handler handler;
};

constexpr Command kCommands[] = {
    {"SETANGLE", Do_Set_Angle},
    {"SETNORD", Do_Set_Nord},
    {"SETZOOM", Do_Set_Zoom},
    {"ANGLEXMAX", Do_Angle_X_Max},
    {"ANGLEYMAX", Do_Angle_Y_Max},
    {"INTERPOLANGLE", Do_Interpol_Angle},
    {"INTERPOLZOOM", Do_Interpol_Zoom},
    {"INTERPOLANGLEZOOM", Do_Interpol_Angle_Zoom},
    {"FADE", Do_Fade},
    {"TRANSFADE", Do_Transfade},
    {"SET", Do_Set},
    {"NOT", Do_Not},
    {"IFOR", Do_If_Or},
    {"IFAND", Do_If_And},
    {"GOSUB", Do_Gosub},
    {"RETURN", Do_Return},
    {"END", Do_End},
    {"GOTOWARP", Do_Goto_Warp},
    {"LOCKKEY", Do_Lock_Key},
    {"UNLOCKKEY", Do_Unlock_Key},
    {"RESETLOCKKEY", Do_Reset_Lock_Key},
    {"PRINT", Do_Print},
    {"SETCURSOR", Do_Set_Cursor},
    {"HIDECURSOR", Do_Hide_Cursor},
    {"SETCURSORDEFAULT", Do_Set_Cursor_Default},
    {"PLAYVIDEO", Do_Play_Video},
    {"PLAYMUSIQUE", Do_Play_Music},
    {"STOPMUSIQUE", Do_Stop_Music},
    {"PLAYSOUND", Do_Play_Sound},
    {"STOPSOUND", Do_Stop_Sound},
    {"PLAYSOUND3D", Do_Play_Sound_3D},
    {"STOPSOUND3D", Do_Stop_Sound_3D},
    {"PLAYRNDSOUND", Do_Play_Random_Sound},
    {"PLUGIN", Do_Plugin},
};

Handler Handler_Of(std::string_view keyword) {
  for (const Command& c : kCommands)
    if (Text_Equal(keyword, c.keyword) == 0) return c.handler;
  return nullptr;  // LABEL, ENDPLUGIN and anything else do nothing
}

}  // namespace

int32_t Angle_Pitch_13(int32_t value) {
  int32_t low = value & 8191;
  return low >= 4096 ? low - 8192 : low;
}

std::vector<std::string> Plugin_Statements(std::string_view command) {
  std::vector<std::string> statements;
  size_t comma = command.find(',');
  if (comma == std::string_view::npos) return statements;
  std::string_view rest = command.substr(comma + 1);
  for (size_t semi; (semi = rest.find(';')) != std::string_view::npos; rest.remove_prefix(semi + 1))
    statements.emplace_back(rest.substr(0, semi));
  return statements;
}

TestResult Run_Test(Engine& engine, const TEST& test, bool entry_test) {
  Run run{engine, test, entry_test, 0, {}, {}};
  std::string keyword;
  for (; run.index < test.commands.size(); ++run.index) {
    run.command = test.commands[run.index];
    Field_Get(run.command, keyword, 0);
    Handler handler = Handler_Of(keyword);
    if (!handler) continue;
    TestResult result = handler(run);
    if (result != kGoOn) return result;
  }
  return TestResult::kFinished;
}
