// The work done after every drawn view, in this order: the animation blocs
// move on, the waves sway the frame, the overlay picture and countdown are
// drawn, the movie overlays are drawn, and the script error mark is painted.
#pragma once

#include <cstdint>

struct Engine;

inline constexpr float kWavesSpeed = 20.0f;

void Frame_Hooks(Engine& engine);

// Switches the wave effect on (the statement "waves").
void Waves_On(Engine& engine);
// One wave step: the phase moves by the elapsed seconds x 20, then row i of
// the 640 x 480 frame becomes row i + trunc(3 sin(i x 0.03926991 + phase x
// 0.4)) (clamped to the frame) of its copy.
void Waves_Step(Engine& engine);
