#include "platform/display/display.h"
#include "platform/display/display_backend.h"
#include "platform/input/input.h"
#include "platform/input/virtual_keys.h"
#include "platform/wendax.h"

namespace {

// Removes and handles every waiting event; stops after a paint.
void Dispatch_Waiting(Wendax& wx) {
  WindowEvent event;
  while (wx.display.backend->Peek_Event(event)) {
    Wendax_Window_Proc(wx, event);
    if (event.type == WindowEventType::kPaint) break;
  }
}

void Wait_Until_Active(Wendax& wx) {
  DisplayBackend& backend = *wx.display.backend;
  while (wx.display.inactive) {
    backend.Wait_Event();
    WindowEvent event;
    if (backend.Peek_Event(event)) Wendax_Window_Proc(wx, event);
  }
}

}  // namespace

int Wendax_Window_Proc(Wendax& wx, const WindowEvent& event) {
  DisplayState& d = wx.display;
  switch (event.type) {
    case WindowEventType::kPaint:
      if (!d.inactive && d.backend) d.backend->Paint();
      return 1;
    case WindowEventType::kClose:
    case WindowEventType::kDestroy: return 1;  // the window is never closed from outside
    case WindowEventType::kActivateApp: d.inactive = !event.active; return 0;
    case WindowEventType::kMouseActivate: d.inactive = false; return 0;
    case WindowEventType::kKeyDown:
    case WindowEventType::kSysKeyDown: return Input_Key_Down(wx, event.virtual_key, event.key_data);
    case WindowEventType::kKeyUp:
    case WindowEventType::kSysKeyUp: Input_Key_Up(wx, event.key_data); return 0;
    case WindowEventType::kCharacter:
    case WindowEventType::kSysCharacter:
    case WindowEventType::kImeCharacter: Input_Character(wx, event.character); return 0;
    case WindowEventType::kQuitRequest: d.quit_requested = true; return 1;
    case WindowEventType::kOther: break;
  }
  return 0;
}

int Wendax_Pump(Wendax& wx) {
  DisplayState& d = wx.display;
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
