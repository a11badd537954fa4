// The script's sound commands and the sound service that keeps their sounds
// going. Volumes are 0..255 (& 0xFF of the script's number), scaled by the
// global volume (x global >> 8) just before they reach a channel; angles are
// in units of 8192 per turn, like the view's yaw.
#pragma once

#include <cstdint>
#include <string>

struct Engine;
struct SoundSlot;

// PLAYSOUND: nothing while a slot holds this file (ASCII case ignored) with
// a channel, or when the file cannot be loaded. Otherwise the sound plays,
// looping unless loops is 1, and slot n of its channel n keeps it: loops
// left = loops (negative counts as 0, endless).
void Command_Play_Sound(Engine& engine, const std::string& file, int volume, int loops);
// STOPSOUND: stops every slot of that file that has a channel and frees it.
void Command_Stop_Sound(Engine& engine, const std::string& file);
// PLAYSOUND3D and STOPSOUND3D: the same on the positional slots, the slot
// keeping angle & 0x1FFF; the first pan is trunc(sin(rel) x 256).
void Command_Play_Sound_3D(Engine& engine, const std::string& file, int volume, int angle, int loops);
void Command_Stop_Sound_3D(Engine& engine, const std::string& file);
// PLAYRNDSOUND: appends a random sound to the warp (its sample loaded now,
// none when the file cannot be read); nothing plays yet.
void Command_Add_Random_Sound(Engine& engine, const std::string& file, int volume, int frequency);
// PLAYMUSIQUE: the current music only takes the new volume; another file
// replaces it. STOPMUSIQUE stops it.
void Command_Play_Music(Engine& engine, const std::string& file, int volume);
void Command_Stop_Music(Engine& engine);

// Starts the file's sound on a free channel at full volume scaled by the
// global one, looping or played once; its channel 1..8, or 0 when the file
// cannot be loaded or no channel plays it.
int Sound_Start(Engine& engine, const std::string& file, bool loop);
// A volume as its channel gets it: volume x global >> 8, computed without
// overflow and held to the int range (the channel clamps it further): a
// script's global volume and a saved game's volumes are any 32-bit numbers.
int Sound_Scaled(int64_t volume, int global);
// The pan a positional sound starts with: trunc(sin(angle - yaw) x 256).
int Sound_First_Pan(int32_t angle, int32_t yaw);

// The levels of a positional slot for a view: the volume falls by
// F x (1 - cos(pitch) x cos(angle - yaw)), the pan is sin(angle - yaw) x 255,
// both before the channel's clamping.
struct ChannelLevels {
  int volume = 0;
  int pan = 0;
};
ChannelLevels Positional_Levels(const SoundSlot& slot, int32_t yaw, int32_t pitch, int facing, int global);

// Once a frame (and on the sound timer while the engine is blocked):
// refills the music, moves the positional sounds with the view and counts
// the loops of every slot, freeing a slot once its loops are played.
// Nothing without a sound device.
void Sound_Service(Engine& engine);

// The 100 ms sound timer around a blocking load: Sound_Service on the
// timer thread, under its busy flag, until the stop.
void Sound_Timer_Start(Engine& engine);
void Sound_Timer_Stop(Engine& engine);

// The sound side of a run's start (the music forgotten, the slots' channels
// emptied), of warp entry (the random sounds of the warp left behind) and of
// a run's end (every slot stopped, the music stopped).
void Sound_Run_Start(Engine& engine);
void Sound_Warp_Entry(Engine& engine);
void Sound_Run_End(Engine& engine);
