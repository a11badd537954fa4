// A display backend: card, window and clock of one machine (real or
// virtual). A Wendax made with one uses it for display, input and timing;
// the backend must outlive that Wendax.
#pragma once

#include "platform/input/clock_source.h"
#include "platform/display/display_device.h"
#include "platform/display/host_window.h"

class DisplayBackend : public DisplayDevice, public HostWindow, public ClockSource {};
