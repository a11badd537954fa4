// The display half of Wendax's state: mode list, current mode, frame
// buffer, conversion table and the flags of the window procedure.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/display/display_modes.h"

struct Wendax;
class DisplayBackend;

struct DisplayState {
  DisplayBackend* backend = nullptr;
  // Run first by Wendax_Show; Wendax_Init installs Wendax_Pump.
  int (*pump_hook)(Wendax& wx) = nullptr;

  std::string program_path;  // window caption and fatal message caption
  std::string saved_folder;  // current folder before Wendax_Init

  std::vector<DisplayMode> modes;
  // The request fields before Wendax_Set_Mode, the chosen record after it.
  DisplayMode mode;
  // The record in effect while the screen is open (bits as enumerated).
  DisplayMode shown;

  std::vector<uint16_t> frame_buffer;  // frame_width x frame_height, 5-6-5
  int frame_width = 0;
  int frame_height = 0;
  std::vector<uint32_t> conversion;  // 65536 entries, none at 16 bits

  bool screen_open = false;
  bool suspended = false;
  bool inactive = false;
  bool has_primary = false;
  bool flip_mode = false;
  bool initialised = false;
  // Set by the quit key; the engine's main loop ends the game when it sees it.
  bool quit_requested = false;
};
