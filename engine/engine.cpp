#include "engine/engine.h"

Engine::Engine(Wendax& platform, EngineServices* engine_services) : wx(platform), services(engine_services) {}

Engine::~Engine() = default;

void Debug_Print(Engine& engine, std::string_view line) {
  if (engine.debug) engine.debug(line);
}
