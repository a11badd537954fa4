// Shared helpers of the engine tests: scripts as memory files, a temporary
// folder, and a recording EngineServices.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "tests/support/pak_bytes.h"
#include "tests/support/temp_folder.h"

#include "engine/engine.h"
#include "engine/engine_services.h"
#include "platform/files/file_layer.h"
#include "platform/headless/headless_display.h"
#include "platform/headless/null_audio.h"
#include "platform/wendax.h"

// A Wendax and an Engine whose debug lines are collected.
struct EngineFixture {
  Wendax wx;
  Engine engine{wx};
  std::vector<std::string> debug;

  EngineFixture() {
    engine.debug = [this](std::string_view line) { debug.emplace_back(line); };
  }
  void Add_File(std::string_view name, std::string_view bytes) {
    Memory_File_Add(wx, name, bytes.data(), bytes.size());
  }
};

// Records every call as one text line, e.g. "Play_Sound WIND.WAV 200 3".
class RecordingServices : public EngineServices {
 public:
  std::vector<std::string> calls;
  std::vector<std::vector<std::string>> blocks;

  void Interpolate_Angle(Engine&, int pitch, int yaw, int speed) override;
  void Interpolate_Zoom(Engine&, int degrees, int speed) override;
  void Interpolate_Angle_Zoom(Engine&, int pitch, int yaw, int degrees, int speed) override;
  void Fade(Engine&, int from, int to, int speed) override;
  void Transfade(Engine&, int speed) override;
  void Play_Video(Engine&, const std::string& file) override;
  void Play_Music(Engine&, const std::string& file, int volume) override;
  void Stop_Music(Engine&) override;
  void Play_Sound(Engine&, const std::string& file, int volume, int loops) override;
  void Stop_Sound(Engine&, const std::string& file) override;
  void Play_Sound_3D(Engine&, const std::string& file, int volume, int angle, int loops) override;
  void Stop_Sound_3D(Engine&, const std::string& file) override;
  void Add_Random_Sound(Engine&, const std::string& file, int volume, int frequency) override;
  void Plugin_Run_Block(Engine&, const std::vector<std::string>& statements) override;
  void Set_Default_Cursor(Engine&, bool active, const std::string& picture) override;
};

// An engine on the headless card (640 x 480 x 16 open, 20 ms a frame) with
// the null sound card on its clock, the sound output open, and a script of
// the named variables (all 0) and no warps.
struct HeadlessEngine {
  explicit HeadlessEngine(std::initializer_list<const char*> vars = {}, EngineServices* services = nullptr);
  ~HeadlessEngine();
  HeadlessDisplay card;
  Wendax wx{card};
  NullAudio* audio = nullptr;  // owned by the sound output
  Engine engine;
  std::vector<std::string> debug;

  int32_t Var(const char* name) const { return Get_Var(engine.script.get(), name); }
  void Set(const char* name, int32_t value) { Set_Var(engine.script.get(), name, value); }
  void Add_File(std::string_view name, const std::vector<uint8_t>& bytes) {
    Memory_File_Add(wx, name, bytes.data(), bytes.size());
  }
};
