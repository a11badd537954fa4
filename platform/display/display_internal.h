// Steps shared by the display's own source files.
#pragma once

struct Wendax;
struct DisplayState;

// Opens the card (fatal on failure) and appends its modes to the mode list.
void Display_Start_Device(Wendax& wx);
// Marks primary surface and back buffer as gone.
void Display_Forget_Surfaces(DisplayState& d);
