// The display card under Wendax: a list of hardware modes, a mode switch,
// a visible (primary) surface with an optional back buffer to flip to, an
// 8-bit palette, locking for direct pixel access, and surfaces that can be
// lost and restored. Wendax's own mode choice and pixel conversion sit above
// this interface and run unchanged on every backend.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

// One mode the card can show.
struct HardwareMode {
  int width = 0;
  int height = 0;
  int bits = 0;   // bits per pixel as enumerated: 8, 15, 16, 24 or 32
  int pitch = 0;  // bytes per row of a surface in this mode
};

// The pixel layout of the primary surface.
struct SurfaceFormat {
  int bits = 0;
  uint32_t red_mask = 0;
  uint32_t green_mask = 0;
  uint32_t blue_mask = 0;
};

struct PaletteEntry {
  uint8_t red = 0;
  uint8_t green = 0;
  uint8_t blue = 0;
};

// Direct access to a locked surface: height rows of pitch bytes each.
struct SurfaceLock {
  uint8_t* pixels = nullptr;
  int pitch = 0;
  int width = 0;
  int height = 0;
};

class DisplayDevice {
 public:
  virtual ~DisplayDevice() = default;

  // Opens the card (false: it cannot be used).
  virtual bool Create() = 0;
  // Takes the card for this program alone.
  virtual bool Set_Exclusive() = 0;
  virtual std::vector<HardwareMode> Enumerate_Modes() = 0;
  virtual bool Set_Display_Mode(int width, int height, int bits) = 0;
  virtual bool Restore_Display_Mode() = 0;

  // A primary surface with one back buffer to flip to.
  virtual bool Create_Flip_Chain() = 0;
  // Fetches the back buffer of the flip chain.
  virtual bool Attach_Back_Buffer() = 0;
  // A single primary surface that is drawn into directly.
  virtual bool Create_Primary() = 0;
  // True when the primary surface is a planar VGA mode.
  virtual bool Is_Mode_X() = 0;
  virtual SurfaceFormat Pixel_Format() = 0;
  // Makes a 256-entry palette, sets its first entries and attaches it to
  // the primary surface; the other entries keep their initial (black) value.
  virtual bool Set_Palette(std::span<const PaletteEntry> entries) = 0;
  // Releases palette, back buffer and primary surface (each when present).
  virtual void Release_Surfaces() = 0;
  // Releases everything: the card goes back to the desktop mode and shared
  // use. Create() starts it again.
  virtual void Release() = 0;

  virtual bool Is_Lost() = 0;
  virtual void Restore_Surfaces() = 0;
  // Locks the back buffer in flip mode, else the primary surface.
  virtual bool Lock(SurfaceLock& lock) = 0;
  virtual void Unlock() = 0;
  // Shows the back buffer.
  virtual void Flip() = 0;
};
