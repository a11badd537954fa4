#include "engine/engine.h"

#include "engine/archive/data_archive.h"

#include "engine/run/run_services.h"
#include "engine/run/run_trace.h"

Engine::Engine(Wendax& platform, EngineServices* engine_services) : wx(platform), services(engine_services) {
  if (!services) {
    own_services_ = std::make_unique<RunServices>();
    services = own_services_.get();
  }
}

Engine::~Engine() = default;

WARP* Engine::Warp() {
  if (!script || state.Warp_Index < 0 || size_t(state.Warp_Index) >= script->warps.size()) return nullptr;
  return &script->warps[size_t(state.Warp_Index)];
}

bool Engine::Warp_Is_Still() {
  const WARP* warp = Warp();
  return warp && warp->kind != kWarpPanorama;
}

void Debug_Print(Engine& engine, std::string_view line) {
  if (engine.debug) engine.debug(line);
  if (engine.trace) engine.trace->Debug(engine, line);
}

void Pending_Test_Request(Engine& engine, int32_t id) {
  if (id >= 0) engine.state.Pending_Test = id;
}
