#include <cstring>

#include "platform/display/display.h"
#include "platform/display/display_backend.h"
#include "platform/input/frame_clock.h"
#include "platform/wendax.h"

namespace {

// Bytes per screen pixel for the depths presentation knows; 0 otherwise.
int Screen_Bytes(int bits) {
  switch (bits) {
    case 8: return 1;
    case 15:
    case 16: return 2;
    case 24: return 3;
    case 32: return 4;
    default: return 0;
  }
}

void Store(uint8_t* out, int bytes, uint32_t value) {
  for (int i = 0; i < bytes; ++i) out[i] = uint8_t(value >> (8 * i));  // little-endian
}

// One source row converted into the surface; each pixel written `repeat`
// times side by side. Without a table the pixel is copied as it is.
void Convert_Row(const uint16_t* source, int width, uint8_t* out, int bytes, const uint32_t* table,
                 int repeat) {
  if (!table && repeat == 1) {
    std::memcpy(out, source, size_t(width) * 2);
    return;
  }
  for (int x = 0; x < width; ++x) {
    uint32_t value = table ? table[source[x]] : source[x];
    for (int r = 0; r < repeat; ++r, out += bytes) Store(out, bytes, value);
  }
}

// Copies the frame into the locked surface. Kind 5 doubles every pixel
// and leaves every second surface row black. Nothing is drawn when the
// frame or the surface is too small for the mode.
void Copy_Frame(const DisplayState& d, std::span<const uint16_t> frame, const SurfaceLock& lock) {
  const DisplayMode& m = d.mode;
  int bytes = Screen_Bytes(m.bits);
  const uint32_t* table = d.conversion.empty() ? nullptr : d.conversion.data();
  if (bytes == 0 || m.width <= 0 || m.height <= 0 || (m.bits != 16 && !table)) return;
  if (frame.size() < size_t(m.width) * size_t(m.height)) return;
  int scale = m.kind == kModeKindDoubled ? 2 : 1;
  int out_width = scale * m.width;
  if (!lock.pixels || lock.width < out_width || lock.height < scale * m.height ||
      lock.pitch < out_width * bytes) {
    return;
  }
  for (int y = 0; y < m.height; ++y) {
    uint8_t* row = lock.pixels + size_t(scale * y) * size_t(lock.pitch);
    Convert_Row(frame.data() + size_t(y) * size_t(m.width), m.width, row, bytes, table, scale);
    if (scale == 2) std::memset(row + lock.pitch, 0, size_t(out_width) * size_t(bytes));
  }
}

void Present(Wendax& wx, std::span<const uint16_t> frame) {
  DisplayState& d = wx.display;
  DisplayBackend& card = *d.backend;
  SurfaceLock lock;
  if (!card.Lock(lock)) {
    card.Restore_Surfaces();
    if (!card.Lock(lock)) return;
  }
  Copy_Frame(d, frame, lock);
  card.Unlock();
  if (d.flip_mode) card.Flip();
}

}  // namespace

void Wendax_Show(Wendax& wx, std::span<const uint16_t> frame) {
  DisplayState& d = wx.display;
  if (d.pump_hook && d.pump_hook(wx) != 0) return;  // just resumed: not shown
  if (d.inactive) return;
  if (d.backend && d.backend->Is_Lost()) {
    d.inactive = true;
    return;
  }
  if (d.backend) Present(wx, frame);
  Wendax_Clock_Step(wx);
}

void Wendax_Show(Wendax& wx) { Wendax_Show(wx, wx.display.frame_buffer); }
