#include "engine/run/engine_run.h"

#include <algorithm>
#include <cstring>

#include "engine/engine.h"
#include "engine/engine_services.h"
#include "engine/interpreter.h"
#include "engine/media/sound_commands.h"
#include "engine/run/cursor.h"
#include "engine/run/run_trace.h"
#include "engine/run/view.h"
#include "engine/script/script_loader.h"
#include "engine/script/zone_file.h"
#include "platform/display/display.h"
#include "platform/files/file_layer.h"
#include "platform/input/frame_clock.h"
#include "platform/input/input.h"
#include "platform/input/key_codes.h"
#include "platform/sound/sound_output.h"
#include "platform/sound/sound_timer.h"
#include "platform/wendax.h"

namespace {

constexpr size_t kTileStoreBytes = 3145728;
constexpr int kLockSlotEnter = 11;

// What comes after a frame or a test run.
enum class Next { kFrame, kTestCycle, kWarpEntry, kEnd };

Next After(TestResult result) {
  switch (result) {
    case TestResult::kWarpChange: return Next::kWarpEntry;
    case TestResult::kScriptEnd: return Next::kEnd;
    case TestResult::kFinished: break;
  }
  return Next::kTestCycle;
}

const std::string& Warp_Name(const WARP& warp) {
  static const std::string kNone;
  return warp.name ? *warp.name : kNone;
}

// Runs the test at `position` of the current warp and says what follows. A
// warp change by RETURN to the lock-return warp is the lock's way back.
Next Run_At(Engine& engine, int32_t position, TestCause cause) {
  WARP& warp = *engine.Warp();
  const TEST& test = warp.tests[size_t(position)];
  if (engine.trace) engine.trace->Test(engine, Warp_Name(warp), position, test.id, test.kind, cause);
  const int32_t lock_return = engine.state.Lock_Return;
  const bool entry = cause == TestCause::kEntry || cause == TestCause::kLock || cause == TestCause::kReturn;
  const TestResult result = Run_Test(engine, test, entry);
  if (result == TestResult::kWarpChange) {
    const bool returned =
        lock_return != -1 && engine.state.Lock_Return == -1 && engine.state.Warp_Index == lock_return;
    engine.run.entry_cause = returned ? TestCause::kReturn : TestCause::kEntry;
  }
  return After(result);
}

// Reads the warp picture through the file layer (memory files, the data
// archive's names): a still picture through the picture loader, a panorama
// as raw RGB555 words into the tile store.
int32_t Load_Through_Files(Engine& engine, const std::string& name) {
  RunState& run = engine.run;
  const int32_t kind = Warp_Kind_From_Name(name);
  if (kind == kWarpStill) {
    // "warpfix" becomes the loaded picture, or none when it cannot be read:
    // nothing is then drawn over the last frame.
    PicturePtr picture = Picture_Load(engine.wx, name);
    if (picture) {
      Picture_Unpack(picture.get());
      Picture_To_16(picture.get());
      Picture_Resize(picture.get(), kScreenWidth, kScreenHeight);
      picture->name = "warpfix";
    }
    run.warpfix = std::move(picture);
    run.scene.still = run.warpfix.get();
    return kind;
  }
  uint16_t* store = run.vr ? run.vr->Buffer() : nullptr;
  const int handle = store ? File_Open(engine.wx, name, kFileModeRead) : -1;
  if (handle < 0) return kind;
  std::vector<uint8_t> bytes(kTileStoreBytes);
  int got = File_Read(engine.wx, handle, bytes.data(), int(bytes.size()));
  File_Close(engine.wx, handle);
  for (int i = 0; i + 1 < got; i += 2)
    store[i / 2] = run.table_15_16[size_t(bytes[size_t(i)] | bytes[size_t(i) + 1] << 8)];
  return kind;
}

// Warp_Index and Lock_Return come from scripts and restored saves: an index
// outside the warp table enters the first warp, a lock return outside it is
// forgotten.
void Check_Indexes(Engine& engine) {
  const int32_t count = int32_t(engine.script->warps.size());
  if (engine.state.Warp_Index < 0 || engine.state.Warp_Index >= count) engine.state.Warp_Index = 0;
  if (engine.state.Lock_Return < -1 || engine.state.Lock_Return >= count) engine.state.Lock_Return = -1;
}

}  // namespace

void Warp_Load(Engine& engine) {
  RunState& run = engine.run;
  if (!engine.script || engine.script->warps.empty()) return;
  Check_Indexes(engine);
  WARP& warp = *engine.Warp();
  const std::string name = Warp_Name(warp);
  Sound_Timer_Start(engine);
  int32_t kind = Load_Scene_Picture(run.scene, name.c_str());
  if (kind < 0) kind = Load_Through_Files(engine, name);
  Sound_Timer_Stop(engine);
  warp.kind = kind;
  if (engine.trace) engine.trace->Warp(engine, engine.state.Warp_Index, name, kind);

  engine.zones.clear();
  if (warp.zone_file) engine.zones = Zone_File_Read(engine.wx, *warp.zone_file).zones;
  if (kind == kWarpPanorama) Zones_To_Grid(engine.zones);
}

namespace {

void Warp_Entry(Engine& engine) {
  RunState& run = engine.run;
  ENGINE_STATE& st = engine.state;
  engine.services->Sound_Warp_Entry(engine);
  run.last_enter = -1;
  run.leave_candidate = -1;
  // A restored game enters its warp with the printed text it was saved with.
  if (!run.keep_print_text) st.Print_Text.clear();
  run.keep_print_text = false;
  st.Gosub_Return = -1;

  Warp_Load(engine);
  WARP& warp = *engine.Warp();

  run.pass = 0;
  engine.wx.clock.previous = engine.wx.clock.now - kFrameMsAfterLoad;
  for (int i = 0; i < 2; ++i) {
    Wendax_Input(engine.wx);
    Engine_Show(engine);
  }
  engine.wx.clock.delta = kFrameMsAfterLoad;
  Run_Reset_Motion(engine);
  for (TEST& test : warp.tests) test.hidden = 0;
}

// Frame step 3: a leave test runs when its zone is left, or when the cursor
// goes straight into another leave zone.
Next Leave_Tests(Engine& engine, WARP& warp) {
  RunState& run = engine.run;
  bool inside_any = false;
  for (size_t k = 0; k < engine.zones.size(); ++k) {
    const bool inside = Zone_Hit(engine, engine.zones[k]) == 2;
    const int32_t position = Test_Find_First(warp, int32_t(k));
    if (position < 0 || warp.tests[size_t(position)].kind != kTestLeave || !inside) continue;
    inside_any = true;
    if (run.leave_candidate == -1) {
      run.leave_candidate = position;
    } else if (run.leave_candidate != position) {
      const int32_t left = run.leave_candidate;
      run.leave_candidate = position;
      return Run_At(engine, left, TestCause::kLeave);
    }
  }
  if (!inside_any && run.leave_candidate != -1) {
    const int32_t left = run.leave_candidate;
    run.leave_candidate = -1;
    return Run_At(engine, left, TestCause::kLeave);
  }
  return Next::kFrame;
}

// Frame step 4: an enter test runs once when its zone is entered.
Next Enter_Tests(Engine& engine, WARP& warp) {
  RunState& run = engine.run;
  for (size_t k = 0; k < engine.zones.size(); ++k) {
    const bool inside = Zone_Hit(engine, engine.zones[k]) == 2;
    const int32_t position = Test_Find_First(warp, int32_t(k));
    if (position < 0 || warp.tests[size_t(position)].kind != kTestEnter || !inside) continue;
    if (position == run.last_enter) return Next::kFrame;
    run.last_enter = position;
    return Run_At(engine, position, TestCause::kEnter);
  }
  run.last_enter = -1;
  return Next::kFrame;
}

// Frame step 11: a lock key (or the right button) jumps to the warp of its
// slot, remembering the warp to return to.
Next Lock_Keys(Engine& engine) {
  ENGINE_STATE& st = engine.state;
  if (st.Lock_Return != -1) return Next::kFrame;
  const int code = engine.wx.input.key_code;
  int slot = -1;
  if (code == kCodeEscape) slot = 0;
  if (code >= kCodeF1 && code < kCodeF1 + 10) slot = 1 + code - kCodeF1;  // F1 to F10
  if (code == kCodeEnter) slot = kLockSlotEnter;
  auto jump = [&](int s) {
    const std::string& name = st.Lock_Slots[size_t(s)];
    if (name.empty()) return false;
    const int32_t target = Warp_Find(engine.script.get(), name, st.Warp_Index);
    if (target < 0) return false;
    Make_Thumbnail(engine);
    st.Lock_Return = st.Warp_Index;
    st.Warp_Index = target;
    engine.run.entry_cause = TestCause::kLock;
    return true;
  };
  if (slot >= 0 && jump(slot)) return Next::kWarpEntry;
  if (engine.wx.input.right == kButtonClicked && jump(kLockSlotRightButton)) return Next::kWarpEntry;
  return Next::kFrame;
}

// Frame step 14: a click runs the last test of the first zone it is in.
Next Click(Engine& engine, WARP& warp) {
  if (engine.wx.input.left != kButtonClicked) return Next::kFrame;
  for (size_t k = 0; k < engine.zones.size(); ++k) {
    if (Zone_Hit(engine, engine.zones[k]) != 2) continue;
    const int32_t position = Test_Find_Last(warp, int32_t(k));
    if (position < 0) return Next::kTestCycle;
    return Run_At(engine, position, TestCause::kClick);
  }
  return Next::kTestCycle;
}

Next Frame(Engine& engine) {
  WARP& warp = *engine.Warp();
  Draw_View(engine);
  engine.services->Random_Sounds_Frame(engine);
  if (Next next = Leave_Tests(engine, warp); next != Next::kFrame) return next;
  if (Next next = Enter_Tests(engine, warp); next != Next::kFrame) return next;
  Draw_Cursor(engine);
  Draw_Print_Text(engine);
  engine.services->Frame_Hooks(engine);
  engine.services->Sound_Service(engine);
  Engine_Show(engine);
  Wendax_Input(engine.wx);
  if (engine.run.quit) return Next::kEnd;

  ENGINE_STATE& st = engine.state;
  if (st.Pending_Test != -1) {
    const int32_t position = Test_Find_First(warp, st.Pending_Test);
    st.Pending_Test = -1;
    if (position >= 0) return Run_At(engine, position, TestCause::kPending);
  }
  if (Next next = Lock_Keys(engine); next != Next::kFrame) return next;
  const CursorState& c = engine.wx.input.cursor;
  View_Move(engine.view, engine.defaults.panning_factor, c.dx, c.dy, engine.wx.clock.delta,
            warp.kind == kWarpPanorama);
  return Click(engine, warp);
}

bool Run_Start(Engine& engine, const std::string& file) {
  RunState& run = engine.run;
  Wendax& wx = engine.wx;
  engine.services->Sound_Run_Start(engine);
  run.vr = std::make_unique<ORV_VR>();
  Run_Reset(engine);
  run.no_sound = Sound_Init(wx);
  run.cursor_default = Cursor_Load(engine, "cursor1.pcx");
  run.cursor_active = Cursor_Load(engine, "cursor2.pcx");

  Script_Load(engine, file);
  if (!engine.script || engine.script->warps.empty()) return false;
  run.table_15_16 = Table_15_To_16();
  run.vr->Init_Resolution(0.0f, 0.0f, float(kScreenWidth), float(kScreenHeight), kScreenWidth, 1.0f);
  run.scene.tile_store = run.vr->Buffer();
  run.scene.hooks = &engine.scene_hooks;
  Wendax_Clock_Start(wx);
  run.warpfix = Picture_New("warpfix", kScreenWidth, kScreenHeight, 16);
  run.scene.still = run.warpfix.get();
  run.fonts = std::make_unique<FontTable>(wx);
  run.entry_cause = TestCause::kEntry;
  return true;
}

void Run_End(Engine& engine) {
  RunState& run = engine.run;
  Wendax_Clock_Stop(engine.wx);
  run.little.reset();
  engine.zones.clear();
  engine.services->Movie_Free_Overlays(engine);  // they draw into "warpfix"
  run.scene = Scene{};
  run.vr.reset();
  run.warpfix.reset();
  run.table_15_16 = {};
  Script_Free(engine);
  run.cursor_default.reset();
  run.cursor_active.reset();
  run.cursor_zone.reset();
  run.cursor_zone_id = -1;
  run.fonts.reset();
  engine.services->Sound_Run_End(engine);
  Sound_Close(engine.wx);
}

}  // namespace

void Engine_Show(Engine& engine) {
  Wendax_Show(engine.wx);
  ++engine.run.frames;
  if (engine.trace) engine.trace->Frame(engine);
}

void Run_Reset(Engine& engine) {
  VIEW& v = engine.view;
  v.pitch_limit = 1536;
  engine.zones.clear();
  v.pitch = 0;
  v.yaw = 0;
  v.zoom = 90.0f;
  v.pitch_speed = v.yaw_speed = 0;
  engine.state.Warp_Index = 0;
  engine.run.pass = 0;
  for (size_t slot = 0; slot < kLockSlotCount; ++slot)
    if (int(slot) != kLockSlotRightButton) engine.state.Lock_Slots[slot].clear();
  engine.state.Lock_Return = -1;
}

void Run_Reset_Motion(Engine& engine) {
  CursorState& c = engine.wx.input.cursor;
  c.dx = c.dy = 0;
  engine.view.pitch_speed = engine.view.yaw_speed = 0;
}

void Animation_Frame(Engine& engine) {
  Draw_Print_Text(engine);
  engine.services->Frame_Hooks(engine);
  engine.services->Sound_Service(engine);
  Engine_Show(engine);
}

void Stage_Update(Engine& engine) {
  Draw_View(engine);
  engine.services->Frame_Hooks(engine);
  engine.services->Sound_Service(engine);
  Engine_Show(engine);
}

void Draw_Print_Text(Engine& engine) {
  const ENGINE_STATE& st = engine.state;
  if (st.Print_Text.empty() || !engine.run.fonts) return;
  FontTable& fonts = *engine.run.fonts;
  const int width = Font_Width(fonts, st.Print_Font);
  const int height = Font_Height(fonts, st.Print_Font);
  // A text wider than the screen starts left of it and is clipped.
  const int x = (kScreenWidth - width * int(st.Print_Text.size())) / 2;
  const int y = (kScreenHeight - height) / 2;
  Font_Draw(engine.wx, fonts, st.Print_Text, x, y, st.Print_Font);
}

void Make_Thumbnail(Engine& engine) {
  std::span<uint16_t> frame = Wendax_Frame_Buffer(engine.wx);
  PicturePtr little = Picture_New("little", kScreenWidth, kScreenHeight, 16);
  if (!little) return;
  const size_t bytes = std::min(little->pixels.size(), frame.size_bytes());
  if (!frame.empty()) std::memcpy(little->pixels.data(), frame.data(), bytes);
  Picture_Resize(little.get(), engine.defaults.thumb_width, engine.defaults.thumb_height);
  engine.run.little = std::move(little);
}

void Engine_Run(Engine& engine, const std::string& file) {
  if (!Run_Start(engine, file)) {
    Run_End(engine);
    return;
  }
  Next next = Next::kWarpEntry;
  RunState& run = engine.run;
  while (next != Next::kEnd && !run.quit) {
    if (next == Next::kWarpEntry) {
      Warp_Entry(engine);
      next = Next::kTestCycle;
    }
    ++run.pass;
    if (run.pass == 1) {
      const int32_t entry = Test_Find_First(*engine.Warp(), kEntryTestId);
      const TestCause cause = run.entry_cause;
      run.entry_cause = TestCause::kEntry;
      if (entry >= 0) {
        next = Run_At(engine, entry, cause);
        if (next != Next::kTestCycle) continue;
      }
    }
    if (engine.state.Restart_Request) {
      engine.state.Restart_Request = false;
      next = Next::kWarpEntry;
      continue;
    }
    run.cursor_zone.reset();
    run.cursor_zone_id = -1;
    engine.wx.clock.previous = engine.wx.clock.now - kFrameMsAfterLoad;
    engine.wx.clock.delta = kFrameMsAfterLoad;
    Run_Reset_Motion(engine);
    do next = Frame(engine);
    while (next == Next::kFrame);
  }
  if (run.quit) engine.chain.Next_Script.clear();
  Run_End(engine);
}

void MainRunner::Engine_Run(Engine& engine, const std::string& file, const std::string&) {
  if (engine.trace) engine.trace->Script(engine, file);
  ::Engine_Run(engine, file);
}

const char* Test_Cause_Name(TestCause cause) {
  switch (cause) {
    case TestCause::kEntry: return "entry";
    case TestCause::kClick: return "click";
    case TestCause::kEnter: return "enter";
    case TestCause::kLeave: return "leave";
    case TestCause::kPending: return "pending";
    case TestCause::kLock: return "lock";
    case TestCause::kReturn: return "return";
  }
  return "entry";
}
