#include "platform/display/display.h"

#include <unistd.h>

#include <algorithm>
#include <climits>

#include "platform/display/display_backend.h"
#include "platform/display/display_fatal.h"
#include "platform/display/display_internal.h"
#include "platform/files/folders.h"
#include "platform/wendax.h"

namespace {

inline constexpr size_t kProgramPathMax = 255;

std::string Program_Path() {
  char path[PATH_MAX];
  ssize_t length = ::readlink("/proc/self/exe", path, sizeof path - 1);
  if (length <= 0) return {};
  return std::string(path, std::min(size_t(length), kProgramPathMax));
}

std::string Folder_Of(const std::string& path) {
  size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return {};
  return slash == 0 ? "/" : path.substr(0, slash);
}

void Hide_Pointer(DisplayBackend& backend) { backend.Show_Cursor(false); }

}  // namespace

Wendax::Wendax(DisplayBackend& backend) : Wendax() {
  display.backend = &backend;
  fatal_message = [&backend](std::string_view text, std::string_view caption) {
    backend.Show_Fatal(text, caption);
  };
}

// Opens the card and appends its modes to the list.
void Display_Start_Device(Wendax& wx) {
  DisplayBackend& backend = *wx.display.backend;
  if (!backend.Create()) Display_Fatal(wx, kTextDirectDrawCreate);
  if (!backend.Set_Exclusive()) Display_Fatal(wx, kTextCooperativeLevel);
  for (const HardwareMode& mode : backend.Enumerate_Modes()) Mode_List_Add(wx.display.modes, mode);
}

int Wendax_Init(Wendax& wx) {
  DisplayState& d = wx.display;
  if (!d.backend) return -1;
  d.program_path = Program_Path();
  if (!d.backend->Register_Class()) Display_Fatal(wx, kTextRegisterClass);
  if (!d.backend->Create_Window(d.program_path)) Display_Fatal(wx, kTextWindowsError);
  d.backend->Show_Window();
  d.saved_folder = Wendax_Get_Folder();
  std::string folder = Folder_Of(d.program_path);
  if (!folder.empty()) Wendax_Set_Folder(folder);
  // A Linux process already runs at the normal priority: nothing to set.
  Hide_Pointer(*d.backend);
  Display_Start_Device(wx);
  d.pump_hook = Wendax_Pump;
  int width = 0, height = 0;
  d.backend->Screen_Size(width, height);
  wx.input.centre_x = width / 2;
  wx.input.centre_y = height / 2;
  d.initialised = true;
  return 0;
}

// Forgets the surfaces; the card object itself is released by the caller.
void Display_Forget_Surfaces(DisplayState& d) {
  d.has_primary = false;
  d.flip_mode = false;
}

void Wendax_Close_Screen(Wendax& wx) {
  DisplayState& d = wx.display;
  if (d.backend) d.backend->Release();
  Display_Forget_Surfaces(d);
  d.conversion.clear();
  d.conversion.shrink_to_fit();
  // Without surfaces no mode is set any more.
  d.screen_open = false;
}

void Wendax_Close(Wendax& wx) {
  DisplayState& d = wx.display;
  d.modes.clear();
  d.frame_buffer.clear();
  d.frame_buffer.shrink_to_fit();
  d.frame_width = d.frame_height = 0;
  if (!d.initialised) return;
  if (!d.saved_folder.empty()) Wendax_Set_Folder(d.saved_folder);
  d.backend->Show_Cursor(true);
  d.backend->Destroy_Window();
  d.pump_hook = nullptr;
  d.initialised = false;
}

void Wendax_Suspend(Wendax& wx) {
  DisplayState& d = wx.display;
  if (!d.backend || !d.screen_open || d.suspended) return;
  d.suspended = true;
  d.backend->Release();
  Display_Forget_Surfaces(d);
  d.conversion.clear();
  d.backend->Minimise();
}

void Wendax_Resume(Wendax& wx) {
  DisplayState& d = wx.display;
  if (!d.backend || !d.screen_open || !d.suspended) return;
  d.backend->Restore();
  Hide_Pointer(*d.backend);
  Display_Start_Device(wx);
  Wendax_Set_Mode(wx);
  d.suspended = false;
}

void Wendax_Set_Title(Wendax& wx, std::string_view title) {
  if (wx.display.backend && wx.display.initialised) wx.display.backend->Set_Title(title);
}

void Wendax_Set_Icon(Wendax& wx, int width, int height, std::span<const uint32_t> argb) {
  if (width <= 0 || height <= 0 || argb.size() < size_t(width) * size_t(height)) return;
  if (wx.display.backend && wx.display.initialised) wx.display.backend->Set_Icon(width, height, argb);
}

std::span<uint16_t> Wendax_Frame_Buffer(Wendax& wx) { return wx.display.frame_buffer; }

DisplayDevice* Wendax_Device(Wendax& wx) { return wx.display.backend; }

bool Wendax_Flip_Mode(const Wendax& wx) { return wx.display.flip_mode; }

bool Wendax_Quit_Requested(const Wendax& wx) { return wx.display.quit_requested; }
