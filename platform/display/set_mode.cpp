#include <algorithm>

#include "platform/display/conversion_table.h"
#include "platform/display/display.h"
#include "platform/display/display_backend.h"
#include "platform/display/display_fatal.h"
#include "platform/display/display_internal.h"
#include "platform/display/palette_cube.h"
#include "platform/wendax.h"

namespace {

// Nothing matched. The mode in effect stays usable: its record goes back
// into the request fields so that presentation keeps using the surfaces'
// real size, and the frame buffer is kept.
int Keep_Mode_After_Miss(DisplayState& d) {
  if (d.screen_open) d.mode = d.shown;
  return -1;
}

void Release_Old_Surfaces(Wendax& wx) {
  DisplayState& d = wx.display;
  d.backend->Release_Surfaces();
  bool had_primary = d.has_primary;
  Display_Forget_Surfaces(d);
  if (had_primary && !d.backend->Restore_Display_Mode()) Display_Fatal(wx, kTextRestoreDisplayMode);
}

void Switch_Hardware_Mode(Wendax& wx) {
  DisplayState& d = wx.display;
  d.backend->Fit_To_Screen();
  bool doubled = d.mode.kind == kModeKindDoubled;
  int scale = doubled ? 2 : 1;
  if (!d.backend->Set_Display_Mode(scale * d.mode.width, scale * d.mode.height, d.mode.bits)) {
    Display_Fatal(wx, kTextSetDisplayMode);
  }
  wx.input.centre_x = doubled ? d.mode.width : d.mode.width / 2;
  wx.input.centre_y = doubled ? d.mode.height : d.mode.height / 2;
}

void Make_Surfaces(Wendax& wx) {
  DisplayState& d = wx.display;
  if (d.mode.kind == kModeKindNative && d.backend->Create_Flip_Chain()) {
    d.has_primary = true;
    if (!d.backend->Attach_Back_Buffer()) Display_Fatal(wx, kTextAttachedSurface);
    d.flip_mode = true;
  } else {
    if (!d.backend->Create_Primary()) Display_Fatal(wx, kTextCreateSurface);
    d.has_primary = true;
  }
  if (d.backend->Is_Mode_X()) Display_Fatal(wx, kTextModeX);
}

// The depth presentation works in: a 16-bit surface that is not 5-6-5 is
// 15 bits (5-5-5).
int Surface_Bits(const SurfaceFormat& format) {
  if (format.bits != 16) return format.bits;
  bool is_565 = format.red_mask == 0xF800 && format.green_mask == 0x07E0 && format.blue_mask == 0x001F;
  return is_565 ? 16 : 15;
}

void Set_Colours(Wendax& wx) {
  DisplayState& d = wx.display;
  if (d.mode.bits == 8) {
    // A palette that cannot be made leaves the card's colours; not fatal.
    d.backend->Set_Palette(Palette_Cube());
  } else {
    d.mode.bits = Surface_Bits(d.backend->Pixel_Format());
  }
}

void Allocate_Frame_Buffer(DisplayState& d) {
  d.frame_width = std::max(d.mode.width, 0);
  d.frame_height = std::max(d.mode.height, 0);
  d.frame_buffer.assign(size_t(d.frame_width) * size_t(d.frame_height), 0);
}

}  // namespace

void Wendax_Request_Mode(Wendax& wx, int width, int height, int bits, int kind) {
  DisplayMode& m = wx.display.mode;
  m.id = 0;
  m.kind = kind;
  m.width = width;
  m.height = height;
  m.bits = bits;
}

int Wendax_Set_Mode(Wendax& wx) {
  DisplayState& d = wx.display;
  if (!d.backend) return -1;
  if (d.mode.id == 0) {
    int found = Mode_List_Find(d.modes, d.mode);
    if (found < 0) return Keep_Mode_After_Miss(d);
    d.mode.id = found + 1;
  }
  if (!d.suspended) {
    d.frame_buffer.clear();
    d.frame_width = d.frame_height = 0;
  }
  Release_Old_Surfaces(wx);
  if (d.mode.id < 1 || size_t(d.mode.id) > d.modes.size()) Display_Fatal(wx, kTextScreenError);
  d.mode = d.modes[size_t(d.mode.id) - 1];
  Switch_Hardware_Mode(wx);
  Make_Surfaces(wx);
  Set_Colours(wx);
  if (!d.suspended) Allocate_Frame_Buffer(d);
  d.conversion = Conversion_Table(d.mode.bits);
  d.shown = d.mode;
  if (!d.suspended) d.screen_open = true;
  return 0;
}
