// The engine: every piece of state of a running game, in one object.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "engine/debug_output.h"
#include "engine/media/movie_state.h"
#include "engine/media/sound_state.h"
#include "engine/plugins/load_save.h"
#include "engine/plugins/plugin_state.h"
#include "engine/run/run_state.h"
#include "engine/script/script_data.h"
#include "engine/search_path.h"

struct Wendax;
class DataArchive;
class EngineServices;
class RunTrace;

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
  // Without services of its own the engine uses the run's (view animations
  // and the frame's steps; the media and plug-in calls report themselves on
  // the debug output until they exist).
  explicit Engine(Wendax& platform, EngineServices* services = nullptr);
  ~Engine();
  Engine(const Engine&) = delete;
  Engine& operator=(const Engine&) = delete;

  // The current warp, or null outside a run or with an index out of range.
  WARP* Warp();
  // True when the current warp is a still picture (kind not 0).
  bool Warp_Is_Still();

  Wendax& wx;
  EngineServices* services;  // never null

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
  std::string start_folder;  // absolute, ending with '/'

  // The interface pictures of the start folder; made once the screen is
  // open, for the whole process.
  std::unique_ptr<DataArchive> archive;

  RunState run;
  SoundState sound;
  MovieState movies;
  PluginState plugins;
  LoadSaveState saves;                  // captures, slot list and pending load, for the whole process
  EngineSceneHooks scene_hooks{*this};  // the scene's loaders call back here
  RunTrace* trace = nullptr;            // null: nothing is reported

  DebugSink debug;

 private:
  std::unique_ptr<EngineServices> own_services_;
};

// Requests the test with that id at the end of the frame; negative ids are
// ignored.
void Pending_Test_Request(Engine& engine, int32_t id);

// Writes one line to the engine's debug output.
void Debug_Print(Engine& engine, std::string_view line);
