// Wendax: the platform library the engine runs on. One object holds all of
// its state; tests create their own.
#pragma once

#include <functional>
#include <string_view>

#include "platform/file_layer.h"

// Shows a fatal message (text, caption) before the process ends. The default
// writes both to stderr; a display backend adds its message box.
using FatalMessageSink = std::function<void(std::string_view text, std::string_view caption)>;

struct Wendax {
  Wendax();
  ~Wendax();
  Wendax(const Wendax&) = delete;
  Wendax& operator=(const Wendax&) = delete;

  FileLayer files;
  FatalMessageSink fatal_message;
};
