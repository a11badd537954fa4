// The display: one window, one 16-bit 5-6-5 frame buffer that everything
// is drawn into, and Wendax_Show, which converts it for the screen mode
// and presents it. Also the message pump with its suspend and resume.
//
// The functions below are written by step: display/display.cpp (start,
// close, suspend and resume, title), display/set_mode.cpp (mode request,
// mode switch and surfaces, over the mode list of display_modes.h),
// display/show.cpp (conversion and presentation), display/pixel_ops.cpp
// (single pixels and filled rectangles of the frame buffer), and
// input/pump.cpp (the window procedure and the message pump).
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "platform/display/host_window.h"

struct Wendax;
class DisplayDevice;

// Opens the window and the card and builds the mode list; makes the
// program's folder current (the previous one comes back at Wendax_Close).
// Window and card failures are fatal. -1 when the Wendax has no backend.
int Wendax_Init(Wendax& wx);

// Fills the request fields of the current mode for a search (id 0).
void Wendax_Request_Mode(Wendax& wx, int width, int height, int bits, int kind = 0);
// Sets the mode the request fields describe: surfaces, a zero-filled frame
// buffer, the conversion table. -1 when no listed mode matches: then the
// mode in effect (if any) stays as it was, frame buffer included.
int Wendax_Set_Mode(Wendax& wx);

// Runs the pump; unless the program was just resumed, presents the frame
// (width x height of the mode; a smaller span is not drawn) and advances
// the frame clock.
void Wendax_Show(Wendax& wx, std::span<const uint16_t> frame);
void Wendax_Show(Wendax& wx);  // the frame buffer

// Dispatches the waiting events. When the program is inactive it gives the
// display back, waits to be active again, takes it back, swallows the
// re-activating click and returns -1; otherwise 0.
int Wendax_Pump(Wendax& wx);
// The window procedure: 1 when the event is handled without the default
// processing.
int Wendax_Window_Proc(Wendax& wx, const WindowEvent& event);

void Wendax_Suspend(Wendax& wx);
void Wendax_Resume(Wendax& wx);

// Releases card objects and the conversion table.
void Wendax_Close_Screen(Wendax& wx);
// Frees the mode list and the frame buffer, restores the saved folder,
// shows the pointer and destroys the window.
void Wendax_Close(Wendax& wx);

void Wendax_Set_Title(Wendax& wx, std::string_view title);
// The window icon: width x height pixels 0xAARRGGBB; nothing when the
// pixels are fewer than the size says.
void Wendax_Set_Icon(Wendax& wx, int width, int height, std::span<const uint32_t> argb);

// Pixel operations on the frame buffer, clipped to it.
void Wendax_Put_Pixel(Wendax& wx, int x, int y, uint16_t value);
uint16_t Wendax_Get_Pixel(const Wendax& wx, int x, int y);
void Wendax_Fill_Rect(Wendax& wx, int x, int y, int width, int height, uint16_t value);

std::span<uint16_t> Wendax_Frame_Buffer(Wendax& wx);
// The card, for drawing straight to its surfaces (the movie player).
DisplayDevice* Wendax_Device(Wendax& wx);
// True when the card shows a back buffer by flipping.
bool Wendax_Flip_Mode(const Wendax& wx);
// True once the quit key was pressed: the engine ends the game as after
// its last script.
bool Wendax_Quit_Requested(const Wendax& wx);
