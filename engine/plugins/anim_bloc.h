// Animation blocs: the named animations of the warp's panorama file, played
// into the picture on screen (the panorama's tile store or the still
// picture) at their own rate, at most one frame a bloc per drawn frame.
#pragma once

#include <optional>
#include <string>
#include <string_view>

struct Engine;

inline constexpr size_t kAnimBlocNameMax = 31;  // characters of a bloc or end-variable name
inline constexpr float kAnimBlocDefaultFps = 25.0f;

// Starts the bloc of that name (ASCII case ignored; cut to 31 characters)
// unless the warp has none such or it plays already: its animation opened,
// the end variable and atoi(end_value) kept, atof(fps) frames a second (25
// when absent). Then every playing bloc shows its next frame at once, even
// when the open failed.
void Anim_Bloc_Start(Engine& engine, std::string_view name, std::string_view end_var,
                     const std::string& end_value, const std::optional<std::string>& fps);
// Asks a playing bloc of that name to end after its last frame.
void Anim_Bloc_Stop(Engine& engine, std::string_view name);
// The name "%s%.4d" of a numbered bloc: base then at least four digits.
std::string Anim_Bloc_Number_Name(std::string_view base, int32_t number);

// Moves every playing bloc on: elapsed seconds on the low 32 bits of the
// high-resolution counter times the rate, plus the fraction carried over;
// a whole frame due (or force) shows the next frame. A bloc that ends
// stops and sets its end variable.
void Anim_Advance(Engine& engine, bool force);
