// What the interpreter asks of the rest of the engine: view animations and
// screen transitions, sounds and music, videos, plug-in blocks and cursor
// pictures. The main loop implements it with the real subsystems; tests
// record the calls.
#pragma once

#include <string>
#include <vector>

struct Engine;

class EngineServices {
 public:
  virtual ~EngineServices() = default;

  // Animations: each runs to its end before the next command.
  virtual void Interpolate_Angle(Engine& engine, int pitch, int yaw, int speed) = 0;
  virtual void Interpolate_Zoom(Engine& engine, int degrees, int speed) = 0;
  virtual void Interpolate_Angle_Zoom(Engine& engine, int pitch, int yaw, int degrees, int speed) = 0;
  virtual void Fade(Engine& engine, int from, int to, int speed) = 0;
  virtual void Transfade(Engine& engine, int speed) = 0;

  // Media. Names are the command's fields as loaded (upper case).
  virtual void Play_Video(Engine& engine, const std::string& file) = 0;
  virtual void Play_Music(Engine& engine, const std::string& file, int volume) = 0;
  virtual void Stop_Music(Engine& engine) = 0;
  virtual void Play_Sound(Engine& engine, const std::string& file, int volume, int loops) = 0;
  virtual void Stop_Sound(Engine& engine, const std::string& file) = 0;
  virtual void Play_Sound_3D(Engine& engine, const std::string& file, int volume, int angle, int loops) = 0;
  virtual void Stop_Sound_3D(Engine& engine, const std::string& file) = 0;
  virtual void Add_Random_Sound(Engine& engine, const std::string& file, int volume, int frequency) = 0;

  // The statements of a PLUGIN block, in order.
  virtual void Plugin_Run_Block(Engine& engine, const std::vector<std::string>& statements) = 0;

  // Replaces the default cursor (active = false) or the default active
  // cursor (active = true) with the named picture.
  virtual void Set_Default_Cursor(Engine& engine, bool active, const std::string& picture) = 0;
};
