// Saves a presented picture as an 8-bit RGB PNG file.
#pragma once

#include <string>

#include "platform/headless/headless_display.h"

// False when the file cannot be written.
bool Save_Png(const PresentedFrame& frame, const std::string& path);
