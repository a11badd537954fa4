#include "tests/engine/engine_test_support.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "packing/packing_encode.h"
#include "platform/display/display.h"
#include "platform/files/memory.h"

namespace {
std::string Join(std::initializer_list<std::string> parts) {
  std::string out;
  for (const std::string& p : parts) {
    if (!out.empty()) out += ' ';
    out += p;
  }
  return out;
}
std::string S(int v) { return std::to_string(v); }
}  // namespace

void RecordingServices::Interpolate_Angle(Engine&, int pitch, int yaw, int speed) {
  calls.push_back(Join({"Interpolate_Angle", S(pitch), S(yaw), S(speed)}));
}
void RecordingServices::Interpolate_Zoom(Engine&, int degrees, int speed) {
  calls.push_back(Join({"Interpolate_Zoom", S(degrees), S(speed)}));
}
void RecordingServices::Interpolate_Angle_Zoom(Engine&, int pitch, int yaw, int degrees, int speed) {
  calls.push_back(Join({"Interpolate_Angle_Zoom", S(pitch), S(yaw), S(degrees), S(speed)}));
}
void RecordingServices::Fade(Engine&, int from, int to, int speed) {
  calls.push_back(Join({"Fade", S(from), S(to), S(speed)}));
}
void RecordingServices::Transfade(Engine&, int speed) { calls.push_back(Join({"Transfade", S(speed)})); }
void RecordingServices::Play_Video(Engine&, const std::string& file) {
  calls.push_back(Join({"Play_Video", file}));
}
void RecordingServices::Play_Music(Engine&, const std::string& file, int volume) {
  calls.push_back(Join({"Play_Music", file, S(volume)}));
}
void RecordingServices::Stop_Music(Engine&) { calls.push_back("Stop_Music"); }
void RecordingServices::Play_Sound(Engine&, const std::string& file, int volume, int loops) {
  calls.push_back(Join({"Play_Sound", file, S(volume), S(loops)}));
}
void RecordingServices::Stop_Sound(Engine&, const std::string& file) {
  calls.push_back(Join({"Stop_Sound", file}));
}
void RecordingServices::Play_Sound_3D(Engine&, const std::string& file, int volume, int angle, int loops) {
  calls.push_back(Join({"Play_Sound_3D", file, S(volume), S(angle), S(loops)}));
}
void RecordingServices::Stop_Sound_3D(Engine&, const std::string& file) {
  calls.push_back(Join({"Stop_Sound_3D", file}));
}
void RecordingServices::Add_Random_Sound(Engine&, const std::string& file, int volume, int frequency) {
  calls.push_back(Join({"Add_Random_Sound", file, S(volume), S(frequency)}));
}
void RecordingServices::Plugin_Run_Block(Engine&, const std::vector<std::string>& statements) {
  calls.push_back("Plugin_Run_Block " + S(int(statements.size())));
  blocks.push_back(statements);
}
void RecordingServices::Set_Default_Cursor(Engine&, bool active, const std::string& picture) {
  calls.push_back(Join({"Set_Default_Cursor", active ? "active" : "default", picture}));
}

namespace {
HeadlessConfig Card_640_480() {
  HeadlessConfig config;
  // The display modes full-screen movies ask for, too.
  config.modes = {
      {640, 480, 16, 0}, {320, 240, 16, 0}, {512, 384, 16, 0}, {800, 600, 16, 0}, {1024, 768, 16, 0}};
  config.frame_step_ms = 20;
  return config;
}
}  // namespace

HeadlessEngine::HeadlessEngine(std::initializer_list<const char*> vars, EngineServices* services)
    : card(Card_640_480()), engine(wx, services) {
  engine.debug = [this](std::string_view line) { debug.emplace_back(line); };
  if (Wendax_Init(wx) == 0) {
    Wendax_Request_Mode(wx, 640, 480, 16);
    Wendax_Set_Mode(wx);
  }
  auto device = std::make_unique<NullAudio>(44100);
  audio = device.get();
  card.Attach_Audio(audio);
  Sound_Use_Device(wx, std::move(device));
  engine.run.no_sound = Sound_Init(wx);
  engine.script = std::make_unique<SCRIPT_DATA>();
  for (const char* name : vars) engine.script->vars.push_back({std::string(name), 0});
}

HeadlessEngine::~HeadlessEngine() {
  Sound_Close(wx);
  card.Attach_Audio(nullptr);
}
