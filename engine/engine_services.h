// What the interpreter and the main loop ask of the rest of the engine: view
// animations and screen transitions, sounds and music, videos, plug-in
// blocks, cursor pictures, and the frame's steps that belong to the sound
// and plug-in subsystems. RunServices (engine/run/run_services.h) is the
// engine's own; tests record the calls.
#pragma once

#include <string>
#include <vector>

struct Engine;
enum class PluginId;

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

  // Steps of the run that the sound and plug-in subsystems fill in; each
  // does nothing by default. Random sounds of the frame (frame step 2), the
  // frame hooks (animation blocs, waves, overlays, error fill), the sound
  // service (also on the sound timer while a warp loads), and the sound side
  // of a run's start, of warp entry and of a run's end.
  virtual void Random_Sounds_Frame(Engine&) {}
  virtual void Frame_Hooks(Engine&) {}
  virtual void Sound_Service(Engine&) {}
  virtual void Sound_Run_Start(Engine&) {}
  virtual void Sound_Warp_Entry(Engine&) {}
  virtual void Sound_Run_End(Engine&) {}

  // A function of the plug-in tables, with the statement's tokens (argv[0]
  // the name as written, argv[argc] null).
  virtual void Plugin_Function(Engine&, PluginId, int /*argc*/, char** /*argv*/) {}
  // Movies: a full-screen ZQM movie (1 when it played, 0 when it could not
  // be opened), an overlay movie added to the still picture, the overlays
  // drawn each frame and released when a warp picture loads.
  virtual int Movie_Play(Engine&, const std::string& /*file*/, int /*loops*/) { return 0; }
  virtual bool Movie_Add_Overlay(Engine&, const std::string& /*file*/, int /*x*/, int /*y*/, int /*loops*/) {
    return false;
  }
  virtual void Movie_Draw_Overlays(Engine&) {}
  virtual void Movie_Free_Overlays(Engine&) {}
  // The overlay picture and the countdown of the engine plug-ins, drawn
  // each frame by the frame hooks.
  virtual void Overlay_Countdown_Frame(Engine&) {}
};
