// The random ambient sounds of a warp: a 32-bit generator and the chance,
// every frame, that each sound starts.
#pragma once

#include <cstdint>

struct Engine;

// Steps the generator 32 times and returns its new state, which it stores.
uint32_t Sound_Random(uint32_t& state);

// True when a draw r of the generator starts a sound of that frequency
// (0..255) in a frame of frame_ms: r / ((frequency x 0x3C0000 >> 8) +
// 0x40000) < frame_ms. On average a sound starts every 16.4 s at frequency
// 0 and every 1.03 s at 255.
bool Random_Play_Due(uint32_t r, int frequency, int32_t frame_ms);

// The frame's random sounds: one draw per sound of the warp, and a play,
// once, at the sound's volume scaled by the global volume, when it is due.
// The channels of random plays that have ended are given back first.
void Random_Sounds_Frame(Engine& engine);
