// A slot file read with its context, and any record of the running
// script's size restored into a small loaded game and drawn: no crash, no
// read past the file, no index outside the engine's tables, whatever the
// fields hold. The first byte chooses: even, the input is a slot file;
// odd, the rest is the record (cut or zero-padded to the script's size).
#include <cstddef>
#include <cstdint>
#include <vector>

#include "engine/plugins/save_context.h"
#include "engine/plugins/save_slot.h"
#include "engine/run/engine_run.h"
#include "fuzz/fuzz_plugin_rig.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static FuzzPluginRig rig;
  if (size == 0) return 0;
  Engine& engine = rig.Fresh();
  if (engine.script->warps.empty()) {
    // Two warps whose pictures are missing, so a restore reloads nothing;
    // named in the rig's small folder, which is cheap to search.
    WARP still, panorama;
    still.name = rig.Folder() + "/NONE.TGA";
    still.kind = kWarpStill;
    still.tests.resize(2);
    panorama.name = rig.Folder() + "/NONE.VR";
    panorama.tests.resize(1);
    engine.script->warps = {still, panorama};
  }
  engine.view = VIEW{};
  engine.state = ENGINE_STATE{};
  std::vector<uint8_t> record;
  if (data[0] % 2 == 0) {
    SaveSlot slot;
    if (!Slot_Parse(std::span(data + 1, size - 1), true, slot)) return 0;
    record = slot.context;
  } else {
    record.assign(data + 1, data + size);
  }
  record.resize(Context_Size(engine.script.get()));
  if (!Context_Restore(engine, record)) std::abort();
  Stage_Update(engine);
  rig.Clear();
  return 0;
}
