// Wendax: the platform library the engine runs on. One object holds all of
// its state; tests create their own.
#pragma once

#include <functional>
#include <string_view>

#include "platform/display/display_state.h"
#include "platform/files/file_layer.h"
#include "platform/input/frame_clock.h"
#include "platform/input/input_state.h"
#include "platform/sound/sound_output.h"
#include "platform/sound/sound_timer.h"

// Shows a fatal message (text, caption) before the process ends. The default
// writes both to stderr; a display backend adds its message box.
using FatalMessageSink = std::function<void(std::string_view text, std::string_view caption)>;

struct Wendax {
  Wendax();
  // With a display backend (headless for tests, SDL2 for the engine); it
  // also shows the fatal messages.
  explicit Wendax(DisplayBackend& backend);
  ~Wendax();
  Wendax(const Wendax&) = delete;
  Wendax& operator=(const Wendax&) = delete;

  FileLayer files;
  FatalMessageSink fatal_message;
  SoundOutput sound;
  SoundTimer sound_timer;  // after sound: stopped before the sound output goes
  DisplayState display;
  InputState input;
  FrameClock clock;
};
