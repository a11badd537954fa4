// The saved-game context: a flat little-endian record of the view, the
// script's position and variables, the lock keys and the sounds that loop
// for ever. Its size and meaning follow the warps, tests and variables of
// the script that wrote it, so only the same script restores it.
//
// Fields in order: pitch, yaw, pitch speed, yaw speed, pitch limit, yaw
// min, yaw max, warp index, pass counter (4 bytes each); the printed text
// and its font name (257 bytes each); the cursor of every test of every
// warp in table order (257 each); every variable (4 each); the gosub
// return and the lock return (4 each); lock slots 0 to 11 (257 each); the
// music name (257) and volume (4); the 8 sound slots (name 257, volume 4,
// loops left 4) and the 8 positional slots (name 257, angle 4, volume 4,
// loops left 4). Texts are zero-padded; one of 257 characters or more
// keeps its first 257 bytes. A slot whose sound plays a finite number of
// loops is written with a zero byte before the first 256 bytes of its
// name, so only endless sounds come back.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

struct Engine;
struct SCRIPT_DATA;

inline constexpr size_t kContextTextBytes = 257;
inline constexpr size_t kContextLockSlots = 12;  // the right button's slot is not saved

// The record's size for the script (also without one: no warps, tests or
// variables).
size_t Context_Size(const SCRIPT_DATA* script);

// The record of the engine's present state.
std::vector<uint8_t> Context_Capture(Engine& engine);

// Restores the state from a record of the running script: every slot
// sound stopped and the looping ones started again, the warp's picture and
// zones loaded again, the motion stopped, the music restarted, and the warp
// entered again at the next test cycle with the restored printed text.
// False, with nothing changed, when the record's size is not the one the
// running script implies.
bool Context_Restore(Engine& engine, std::span<const uint8_t> record);
