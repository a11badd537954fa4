// The sound card under the mixer. A device pulls 16-bit stereo frames from
// the mixer at its own rate, on its own thread (SDL2) or when a virtual
// clock is advanced (the headless null device).
#pragma once

class Mixer;

class AudioDevice {
 public:
  virtual ~AudioDevice() = default;

  // Sets the mixer's output rate to the device's (about wanted_rate) and
  // starts pulling frames from it. False when there is no device.
  virtual bool Open(Mixer& mixer, int wanted_rate) = 0;
  // Stops pulling; once it returns the mixer is no longer called. Closing a
  // device that is not open does nothing.
  virtual void Close() = 0;
};
