#include "engine/plugins/plugin_block.h"

#include <algorithm>
#include <cstring>

#include "engine/engine.h"
#include "engine/engine_services.h"
#include "engine/plugins/block_statements.h"
#include "engine/plugins/plugin_tables.h"
#include "engine/run/run_trace.h"
#include "platform/display/display.h"

namespace {

constexpr size_t kErrorFillBytes = 307200;
constexpr uint8_t kErrorFillByte = 31;

}  // namespace

void Script_Error_Fill(Engine& engine) {
  if (!engine.plugins.script_error) return;
  std::span<uint16_t> frame = Wendax_Frame_Buffer(engine.wx);
  if (frame.empty()) return;
  std::memset(frame.data(), kErrorFillByte, std::min(kErrorFillBytes, frame.size_bytes()));
}

void Script_Error_Set(Engine& engine) {
  engine.plugins.script_error = true;
  Script_Error_Fill(engine);
}

void Plugin_Run_Block(Engine& engine, const std::vector<std::string>& statements) {
  for (const std::string& statement : statements) {
    if (engine.run.quit) return;
    if (engine.trace) engine.trace->Plugin(engine, statement);
    const size_t open = statement.find('(');
    if (open == std::string::npos) {
      Script_Error_Set(engine);
      return;
    }
    switch (Block_Statement_Run(engine, statement)) {
      case BlockStep::kNext: continue;
      case BlockStep::kStop: return;
      case BlockStep::kNotBuiltIn: break;
    }
    if (Plugin_Call(statement, Extension_Plugin_Table(), kExtensionPluginBuffer, &engine)) continue;
    if (Plugin_Call(statement, Engine_Plugin_Table(), kEnginePluginBuffer, &engine)) continue;
    Debug_Print(engine, statement);
  }
}

void EngineSceneHooks::Movie_Free_Overlays() { engine_.services->Movie_Free_Overlays(engine_); }
void EngineSceneHooks::Clear_Script_Error() { engine_.plugins.script_error = false; }
void EngineSceneHooks::Clear_Waves() { engine_.plugins.waves.on = false; }
