#include "platform/display/display.h"
#include "platform/display/display_backend.h"
#include "platform/input/input.h"
#include "platform/input/virtual_keys.h"
#include "platform/wendax.h"

namespace {

// Removes and handles every waiting event; stops after a paint.
void Dispatch_Waiting(Wendax& wx) {
  Window_Event event;
  while (wx.display.backend->Peek_Event(event)) {
    Wendax_Window_Proc(wx, event);
    if (event.type == Window_Event_Type::paint) break;
  }
}

void Wait_Until_Active(Wendax& wx) {
  Display_Backend& backend = *wx.display.backend;
  while (wx.display.inactive) {
    backend.Wait_Event();
    Window_Event event;
    if (backend.Peek_Event(event)) Wendax_Window_Proc(wx, event);
  }
}

}  // namespace

int Wendax_Window_Proc(Wendax& wx, const Window_Event& event) {
  Display_State& d = wx.display;
  switch (event.type) {
    case Window_Event_Type::paint:
      if (!d.inactive && d.backend) d.backend->Paint();
      return 1;
    case Window_Event_Type::close:
    case Window_Event_Type::destroy:
      return 1;  // the window is never closed from outside
    case Window_Event_Type::activate_app:
      d.inactive = !event.active;
      return 0;
    case Window_Event_Type::mouse_activate:
      d.inactive = false;
      return 0;
    case Window_Event_Type::key_down:
    case Window_Event_Type::sys_key_down:
      return Input_Key_Down(wx, event.virtual_key, event.key_data);
    case Window_Event_Type::key_up:
    case Window_Event_Type::sys_key_up:
      Input_Key_Up(wx, event.key_data);
      return 0;
    case Window_Event_Type::character:
    case Window_Event_Type::sys_character:
    case Window_Event_Type::ime_character:
      Input_Character(wx, event.character);
      return 0;
    case Window_Event_Type::quit_request:
      d.quit_requested = true;
      return 1;
    case Window_Event_Type::other:
      break;
  }
  return 0;
}

int Wendax_Pump(Wendax& wx) {
  Display_State& d = wx.display;
  if (!d.backend) return 0;
  Dispatch_Waiting(wx);
  if (!d.inactive) {
    if (d.suspended) Wendax_Resume(wx);
    return 0;
  }
  Wendax_Suspend(wx);
  Wait_Until_Active(wx);
  Wendax_Resume(wx);
  d.backend->Async_Button(kVkLButton);  // the click that re-activated us is no click
  return -1;
}
