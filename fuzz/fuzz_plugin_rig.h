// A small loaded game for the PLUGIN fuzz targets, made once per process: a
// headless engine with its null sound card, a script of five variables and
// a still picture whose panorama file holds two animation blocs ("door0007"
// and "loop", the second with a loop point). Each input starts from the same
// state, and a run that asks for more than kFrameLimit frames is ended by
// the run's quit, as a headless session ends it.
//
// The rig keeps the game inside a temporary folder of its own: it is the
// start folder (so saves land there), the temporary and per-user data
// folders, and the only search path, which holds no programs, so a
// Shell_Execute of the input starts nothing. Each run ends with Clear(),
// which frees what the run made: a run that allocates more than it frees
// makes the fuzzer scan the whole heap for leaks.
#pragma once

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "engine/engine.h"
#include "engine/media/movie_overlays.h"
#include "engine/media/sound_commands.h"
#include "engine/plugins/load_save.h"
#include "engine/run/run_trace.h"
#include "platform/display/display.h"
#include "platform/files/folders.h"
#include "platform/headless/headless_display.h"
#include "platform/headless/null_audio.h"
#include "platform/wendax.h"
#include "tools/panorama_writer.h"

class FuzzPluginRig : public RunTrace {
 public:
  static constexpr uint64_t kFrameLimit = 6;

  FuzzPluginRig() : folder_(Make_Folder()), card_(Config()), wx_(card_), engine_(wx_) {
    // Opening the screen makes the program's folder current; the fuzzer
    // reads its corpus by paths relative to the folder it was started in.
    const std::string folder = Wendax_Get_Folder();
    if (Wendax_Init(wx_) == 0) {
      Wendax_Request_Mode(wx_, 640, 480, 16);
      Wendax_Set_Mode(wx_);
    }
    Wendax_Set_Folder(folder);
    auto device = std::make_unique<NullAudio>(44100);
    card_.Attach_Audio(device.get());
    Sound_Use_Device(wx_, std::move(device));
    engine_.run.no_sound = Sound_Init(wx_);
    engine_.script = std::make_unique<SCRIPT_DATA>();
    for (const char* name : {"A", "B", "N", "DONE", "T"})
      engine_.script->vars.push_back({std::string(name), 0});
    engine_.trace = this;
    engine_.start_folder = folder_ + "/";
    Make_Scene();
  }

  ~FuzzPluginRig() {
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
  }

  // The engine as every input finds it.
  Engine& Fresh() {
    Clear();
    first_frame_ = engine_.run.frames;
    return engine_;
  }

  // The rig's folder, without a final '/'.
  const std::string& Folder() const { return folder_; }

  // Frees and resets what a run may have made.
  void Clear() {
    for (SCRIPT_VAR& var : engine_.script->vars) var.value = 0;
    engine_.script->vars[2].value = 7;
    engine_.defaults = EngineDefaults{};
    engine_.plugins = PluginState{};
    engine_.run.quit = false;
    Sound_Run_End(engine_);
    engine_.sound = SoundState{};
    Movie_Free_Overlays(engine_);
    LoadSave_Release(engine_);
    engine_.saves.context = {};
    engine_.saves.label = {};
    engine_.saves.thumbnail = {};
    SceneAnimationTable& table = engine_.run.scene.table;
    for (int i = 0; i < table.count; ++i) {
      SceneAnimation& bloc = table.records[size_t(i)];
      if (bloc.playing) {
        bloc.stop_at_end = 1;  // close its file by playing it out
        while (Play_Scene_Animation_Frame(&bloc, nullptr, 16, table.target_width)) {
        }
      }
      bloc.playing = 0;
    }
  }

  void Warp(Engine&, int, std::string_view, int) override {}
  void Test(Engine&, std::string_view, int, int, int, TestCause) override {}
  void Plugin(Engine&, std::string_view) override {}
  void Script(Engine&, std::string_view) override {}
  void Debug(Engine&, std::string_view) override {}
  void Frame(Engine& engine) override {
    if (engine.run.frames - first_frame_ >= kFrameLimit) engine.run.quit = true;
  }
  void End(Engine&) override {}

 private:
  static std::string Make_Folder() {
    char folder[] = "/tmp/kvr_fuzz_plugin_XXXXXX";
    if (!mkdtemp(folder)) std::abort();
    for (const char* name : {"PATH", "TMPDIR", "XDG_DATA_HOME"}) setenv(name, folder, 1);
    return folder;
  }

  static HeadlessConfig Config() {
    HeadlessConfig config;
    config.modes = {{640, 480, 16, 0}};
    config.frame_step_ms = 40;
    config.frames_kept = 1;
    return config;
  }

  static std::vector<uint8_t> Grey(int shade) { return std::vector<uint8_t>(640 * 480 * 4, uint8_t(shade)); }

  void Make_Scene() {
    PanoramaContent content;
    content.kind = PanoramaKind::kPic;
    std::string error;
    const std::vector<uint8_t> start = Grey(0x40);
    if (!Panorama_Encode_Static(start.data(), 50, content, error)) std::abort();
    for (const char* name : {"door0007", "loop"}) {
      AnimationEncoder encoder(PanoramaKind::kPic, 50, start.data());
      std::vector<uint8_t> frame = start;
      for (int k = 0; k < 3; ++k) {
        frame[size_t(k) * 64] = uint8_t(0x90 + k);  // one block changes a frame
        if (!encoder.Add_Frame(frame.data(), error)) std::abort();
      }
      content.animations.push_back(
          {name, encoder.Take_Frames(), name[0] == 'l' ? std::optional<int>(1) : std::nullopt});
    }
    std::vector<uint8_t> bytes;
    if (!Panorama_File_Bytes(content, bytes, error)) std::abort();
    path_ = folder_ + "/ROOM.PIC";
    std::FILE* file = std::fopen(path_.c_str(), "wb");
    if (!file || std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size()) std::abort();
    std::fclose(file);
    Scene& scene = engine_.run.scene;
    scene.still = still_.get();
    scene.hooks = &engine_.scene_hooks;
    if (Load_Scene_Picture(scene, path_.c_str()) != 3) std::abort();
  }

  std::string folder_;
  HeadlessDisplay card_;
  Wendax wx_;
  Engine engine_;
  PicturePtr still_ = Picture_New("warpfix", 640, 480, 16);
  std::string path_;
  uint64_t first_frame_ = 0;
};
