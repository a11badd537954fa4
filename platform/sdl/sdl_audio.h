// The SDL2 audio device: 16-bit stereo at the asked rate (or the card's own
// rate when it has another), filled by the mixer from SDL's audio thread.
// Only the audio subsystem is initialised, so the display may init video on
// its own.
#pragma once

#include <memory>

#include "platform/sound/audio_device.h"

std::unique_ptr<AudioDevice> Sdl_Audio_Device();
