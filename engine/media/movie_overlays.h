// ZQM movies over the still picture: added by the block statement
// "add_zqm_movie_bloc", drawn into the picture "warpfix" by the frame hooks
// when their frames are due, released when a warp picture loads.
#pragma once

#include <string>

#include "zqm/zqm.h"

struct Engine;

// Files above this size are streamed by name instead of read into memory.
inline constexpr int64_t kOverlayMemoryMax = 0x3FFFFF;

// The movie clock of the engine: milliseconds of the high-resolution counter
// (the virtual clock in headless runs).
ZqmClock Movie_Clock(Engine& engine);

// Adds an overlay at (x, y) playing `loops` times (-1 for ever): true when
// it opened with a video stream. A node whose open failed is used again by
// the next overlay; one without video keeps its movie and draws nothing.
bool Movie_Add_Overlay(Engine& engine, const std::string& file, int x, int y, int loops);
// Draws every overlay whose frame is due into the still picture, clipped on
// all four sides, and lets it note whether it still runs.
void Movie_Draw_Overlays(Engine& engine);
void Movie_Free_Overlays(Engine& engine);
