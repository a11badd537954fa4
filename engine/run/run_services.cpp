#include "engine/run/run_services.h"

#include "engine/engine.h"
#include "engine/run/cursor.h"
#include "engine/run/run_trace.h"
#include "engine/run/view_animation.h"
#include "platform/files/text.h"

namespace {

void Not_Played(Engine& engine, std::string_view command, std::string_view file) {
  Debug_Print(engine,
              std::string(command) + " " + std::string(file) + ": not played (no sound and video yet)");
}

}  // namespace

void RunServices::Interpolate_Angle(Engine& engine, int pitch, int yaw, int speed) {
  ::Interpolate_Angle(engine, pitch, yaw, speed);
}
void RunServices::Interpolate_Zoom(Engine& engine, int degrees, int speed) {
  ::Interpolate_Zoom(engine, degrees, speed);
}
void RunServices::Interpolate_Angle_Zoom(Engine& engine, int pitch, int yaw, int degrees, int speed) {
  ::Interpolate_Angle_Zoom(engine, pitch, yaw, degrees, speed);
}
void RunServices::Fade(Engine& engine, int from, int to, int speed) { ::Fade(engine, from, to, speed); }
void RunServices::Transfade(Engine& engine, int speed) { ::Transfade(engine, speed); }

void RunServices::Play_Video(Engine& engine, const std::string& file) {
  Not_Played(engine, "PLAYVIDEO", file);
}
void RunServices::Play_Music(Engine& engine, const std::string& file, int) {
  Not_Played(engine, "PLAYMUSIQUE", file);
}
void RunServices::Stop_Music(Engine& engine) { Not_Played(engine, "STOPMUSIQUE", ""); }
void RunServices::Play_Sound(Engine& engine, const std::string& file, int, int) {
  Not_Played(engine, "PLAYSOUND", file);
}
void RunServices::Stop_Sound(Engine& engine, const std::string& file) {
  Not_Played(engine, "STOPSOUND", file);
}
void RunServices::Play_Sound_3D(Engine& engine, const std::string& file, int, int, int) {
  Not_Played(engine, "PLAYSOUND3D", file);
}
void RunServices::Stop_Sound_3D(Engine& engine, const std::string& file) {
  Not_Played(engine, "STOPSOUND3D", file);
}
void RunServices::Add_Random_Sound(Engine& engine, const std::string& file, int, int) {
  Not_Played(engine, "PLAYRNDSOUND", file);
}

void RunServices::Plugin_Run_Block(Engine& engine, const std::vector<std::string>& statements) {
  for (const std::string& statement : statements) {
    if (engine.trace) engine.trace->Plugin(engine, statement);
    Debug_Print(engine, "PLUGIN " + statement + ": no plug-ins yet");
  }
}

void RunServices::Set_Default_Cursor(Engine& engine, bool active, const std::string& picture) {
  (active ? engine.run.cursor_active : engine.run.cursor_default) = Cursor_Load(engine, picture);
}
