// The engine's own services: the view animations and transitions, the sound
// commands and the sound service, MTRD videos, ZQM overlays, PLUGIN blocks
// with their frame hooks, and SETCURSORDEFAULT's cursor. Full-screen movies
// and the functions of the plug-in tables not built yet report themselves on
// the debug output and do nothing else, until their subsystems take these
// calls over.
#pragma once

#include "engine/engine_services.h"

class RunServices : public EngineServices {
 public:
  void Interpolate_Angle(Engine& engine, int pitch, int yaw, int speed) override;
  void Interpolate_Zoom(Engine& engine, int degrees, int speed) override;
  void Interpolate_Angle_Zoom(Engine& engine, int pitch, int yaw, int degrees, int speed) override;
  void Fade(Engine& engine, int from, int to, int speed) override;
  void Transfade(Engine& engine, int speed) override;

  void Play_Video(Engine& engine, const std::string& file) override;
  void Play_Music(Engine& engine, const std::string& file, int volume) override;
  void Stop_Music(Engine& engine) override;
  void Play_Sound(Engine& engine, const std::string& file, int volume, int loops) override;
  void Stop_Sound(Engine& engine, const std::string& file) override;
  void Play_Sound_3D(Engine& engine, const std::string& file, int volume, int angle, int loops) override;
  void Stop_Sound_3D(Engine& engine, const std::string& file) override;
  void Add_Random_Sound(Engine& engine, const std::string& file, int volume, int frequency) override;
  void Plugin_Run_Block(Engine& engine, const std::vector<std::string>& statements) override;
  void Set_Default_Cursor(Engine& engine, bool active, const std::string& picture) override;

  void Random_Sounds_Frame(Engine& engine) override;
  void Frame_Hooks(Engine& engine) override;
  void Sound_Service(Engine& engine) override;
  void Sound_Run_Start(Engine& engine) override;
  void Sound_Warp_Entry(Engine& engine) override;
  void Sound_Run_End(Engine& engine) override;

  void Plugin_Function(Engine& engine, PluginId id, int argc, char** argv) override;
  int Movie_Play(Engine& engine, const std::string& file, int loops) override;
  bool Movie_Add_Overlay(Engine& engine, const std::string& file, int x, int y, int loops) override;
  void Movie_Draw_Overlays(Engine& engine) override;
  void Movie_Free_Overlays(Engine& engine) override;
  void Overlay_Countdown_Frame(Engine& engine) override;
};
