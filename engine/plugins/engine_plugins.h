// The engine plug-in table's functions: a countdown drawn with a shrinking
// bar that queues test 99 when it runs out, the target game (a looping
// animation during which a test checks the time against windows), an
// overlay picture of the data archive, the stage update, a queued test and
// two variable operations. Numbers are read like atol (no variable names);
// missing arguments read as empty texts.
#pragma once

#include <cstddef>
#include <cstdint>

struct Engine;

int PauseTimer(Engine& engine, int argc, char** argv);
int KillTimer(Engine& engine, int argc, char** argv);
int StartTimer(Engine& engine, int argc, char** argv);
int StartCible(Engine& engine, int argc, char** argv);
int StopCible(Engine& engine, int argc, char** argv);
int TestCible(Engine& engine, int argc, char** argv);
int CopyVar(Engine& engine, int argc, char** argv);
int AfficheImage(Engine& engine, int argc, char** argv);
int StopAffiche(Engine& engine, int argc, char** argv);
int UpdateStage(Engine& engine, int argc, char** argv);
int ChangeCurseur(Engine& engine, int argc, char** argv);
int ExeDemo(Engine& engine, int argc, char** argv);

// The frame's step of the frame hooks: the overlay picture, then the
// countdown's update and drawing. Pictures go to the screen on a compressed
// panorama warp and into the still picture otherwise (so a raw panorama
// never shows them).
void Overlay_Countdown_Frame(Engine& engine);

// The countdown frame and bar, in screen pixels (left, top, right, bottom).
inline constexpr int32_t kCountdownFrame[4] = {165, 15, 474, 48};
inline constexpr int32_t kCountdownBar[4] = {177, 15, 461, 48};

// Whether `pos` ms into the period lies strictly inside one of the
// windows (seconds; a start of 0 ends the list).
bool Cible_Hit(const int32_t* windows, size_t count, int64_t pos);
// The position in the period, in (0, period], of `elapsed` ms; 0 for a
// period that is not positive.
int64_t Cible_Position(int64_t elapsed, int64_t period_ms);
