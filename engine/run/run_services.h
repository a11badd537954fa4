// The engine's own services: the view animations and transitions run here;
// SETCURSORDEFAULT loads the new default cursor; plug-in statements are
// reported to the trace. Sounds, music, videos and the statements of plug-in
// blocks report themselves on the debug output and do nothing else, until
// their subsystems take these calls over.
#pragma once

#include "engine/engine_services.h"
#include "scene/scene_picture.h"

class RunServices : public EngineServices, public SceneHooks {
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

  // SceneHooks: the overlays, the error marker and the waves of later
  // subsystems; nothing to clear yet.
  void Movie_Free_Overlays() override {}
  void Clear_Script_Error() override {}
  void Clear_Waves() override {}
};
