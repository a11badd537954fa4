// Engine_Run: one script from its load to its END. The run's start, warp
// entry, the test cycle, the frame in its fourteen steps, and the end of the
// run; with the steps that the animations, the plug-ins and the block
// statements share.
#pragma once

#include <string>

#include "engine/script_chain.h"

struct Engine;

void Engine_Run(Engine& engine, const std::string& file);

// The script runner of kvr_viewer: Engine_Run for every script of the chain.
class MainRunner : public ScriptRunner {
 public:
  void Engine_Run(Engine& engine, const std::string& file, const std::string& folder) override;
};

// Presents the frame buffer (Wendax_Show), counts the frame and reports it.
void Engine_Show(Engine& engine);
// One frame of an animation: printed text, frame hooks, sound service, show.
void Animation_Frame(Engine& engine);
// The stage update: Draw_View, frame hooks, sound service, show.
void Stage_Update(Engine& engine);
// Draws the printed text centred on the screen (frame step 6).
void Draw_Print_Text(Engine& engine);
// Makes "little": the frame buffer scaled to the thumbnail size.
void Make_Thumbnail(Engine& engine);
// The per-run reset: pitch limit 1536, no zones, the view at 0 with zoom 90
// and no speed, warp 0, pass 0, lock slots 0 to 11 empty (12, the right
// button, stays), no lock return.
void Run_Reset(Engine& engine);
// Sets the frame clock as after a load (the previous time 14 ms ago,
// Frame_Ms 14) and stops the view: no mouse movement, no speed.
void Run_Reset_Motion(Engine& engine);
// Loads the current warp's picture and zones as warp entry does (a warp
// index outside the table is the first warp), with the sound timer running
// while the picture loads.
void Warp_Load(Engine& engine);
