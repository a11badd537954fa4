// The engine: every piece of state of a running game, in one object.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "engine/debug_output.h"
#include "engine/script/script_data.h"
#include "engine/search_path.h"

struct Wendax;
class EngineServices;

inline constexpr size_t kScriptNameMax = 259;  // characters of a chain name
inline constexpr const char* kDefaultScript = "script.lst";

// The script chain: what runs now, before, and next.
struct ChainNames {
  std::string Next_Script;        // "" when none
  std::string Transition_Script;  // runs while Next_Script cannot be found
  std::string Current_Script;
  std::string Previous_Script;
};

// Engine-wide levels set at start-up.
struct EngineDefaults {
  int global_volume = 255;
  int facing_factor = 100;   // positional sounds
  int panning_factor = 255;  // mouse movement to turning speed
  int thumb_width = 139;     // the thumbnail picture "little"
  int thumb_height = 103;
};

struct Engine {
  explicit Engine(Wendax& platform, EngineServices* services = nullptr);
  ~Engine();
  Engine(const Engine&) = delete;
  Engine& operator=(const Engine&) = delete;

  Wendax& wx;
  EngineServices* services;  // the interpreter's media, animation and plug-in calls

  std::unique_ptr<SCRIPT_DATA> script;  // absent when no script is loaded
  ENGINE_STATE state;
  VIEW view;
  std::vector<ZONE> zones;  // the current warp's zones

  EngineDefaults defaults;
  SearchPath search_path;
  ChainNames chain;
  // Folders used to refill an empty search path: the program's folder as it
  // was started, and the CD roots.
  std::string program_folder;
  std::vector<std::string> cd_roots;

  DebugSink debug;
};

// Writes one line to the engine's debug output.
void Debug_Print(Engine& engine, std::string_view line);
