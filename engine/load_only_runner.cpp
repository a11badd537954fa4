#include "engine/load_only_runner.h"

#include "engine/engine.h"
#include "engine/script/script_loader.h"
#include "platform/files/text.h"

void LoadOnlyRunner::Engine_Run(Engine& engine, const std::string& file, const std::string& folder) {
  engine.state.Warp_Index = 0;
  for (size_t slot = 0; slot < kLockSlotCount; ++slot)
    if (int(slot) != kLockSlotRightButton) engine.state.Lock_Slots[slot].clear();
  engine.state.Lock_Return = -1;

  Script_Load(engine, file);
  if (!engine.script) {
    Debug_Print(engine, "Script " + folder + file + ": nothing to run");
  } else {
    Debug_Print(engine, "Script " + folder + file + ": " + Int_To_Text(int32_t(engine.script->vars.size())) +
                            " variables, " + Int_To_Text(int32_t(engine.script->warps.size())) + " warps");
  }
  Script_Free(engine);
}
