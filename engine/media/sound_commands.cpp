#include "engine/media/sound_commands.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "engine/engine.h"
#include "engine/engine_services.h"
#include "engine/media/music_stream.h"
#include "engine/run/view.h"
#include "platform/files/text.h"
#include "platform/sound/sound_output.h"
#include "platform/sound/sound_timer.h"
#include "platform/sound/wav_file.h"

namespace {

constexpr double kAngleToRadians = 0.00076698977;  // 2 pi / 8192
constexpr double kPitchToRadians = 0.00153397955;  // 2 pi / 4096

using Slots = std::array<SoundSlot, kSoundSlots>;

bool Holds(const Slots& slots, const std::string& file) {
  for (const SoundSlot& slot : slots)
    if (slot.channel != 0 && Text_Equal(slot.file, file) == 0) return true;
  return false;
}

// Angles differ in double: a restored slot's angle is any 32-bit number.
double Radians_Between(int32_t angle, int32_t yaw) { return (double(angle) - double(yaw)) * kAngleToRadians; }

// Plays the file into the slot of its channel; the slot, or null.
SoundSlot* Play_Into(Engine& engine, Slots& slots, const std::string& file, int volume, int loops) {
  if (Holds(slots, file)) return nullptr;
  const int channel = Sound_Start(engine, file, loops != 1);
  if (channel == 0) return nullptr;
  SoundSlot& slot = slots[size_t(channel - 1)];
  slot = SoundSlot{file.substr(0, kSoundNameMax), channel, volume & 0xFF, loops < 0 ? 0 : loops, 0, 0};
  return &slot;
}

void Stop_In(Engine& engine, Slots& slots, const std::string& file) {
  for (SoundSlot& slot : slots) {
    if (slot.channel == 0 || Text_Equal(slot.file, file) != 0) continue;
    Sound_Stop(engine.wx, slot.channel);
    slot.channel = 0;
    slot.file.clear();
  }
}

void Free_Slot(Engine& engine, SoundSlot& slot) {
  Sound_Stop(engine.wx, slot.channel);
  slot.channel = 0;
  slot.file.clear();
}

// A wrap of the play cursor is one loop played; a sound that does not loop
// has played its only one once it stops, even when it ended before any
// service step saw its cursor move.
void Count_Loops(Engine& engine, SoundSlot& slot) {
  if (slot.channel == 0 || slot.loops_left == 0) return;
  const int32_t position = Sound_Position(engine.wx, slot.channel);
  if (position < slot.last_position || !Sound_Playing(engine.wx, slot.channel)) {
    if (slot.loops_left-- == 1) {
      Free_Slot(engine, slot);
      return;
    }
  }
  slot.last_position = position;
}

int Music_Volume(const Engine& engine) {
  return Sound_Scaled(engine.sound.music.volume, engine.defaults.global_volume);
}

}  // namespace

int Sound_Start(Engine& engine, const std::string& file, bool loop) {
  std::optional<Sample> sample = Wav_Load(engine.wx, file);
  if (!sample) return 0;
  const int channel = Sound_Play(engine.wx, &*sample, Sound_Scaled(255, engine.defaults.global_volume), 0,
                                 loop ? kSoundFlagLoop : 0);
  return channel >= 1 && channel <= kSoundSlots ? channel : 0;
}

int Sound_Scaled(int64_t volume, int global) {
  // In double, >> 8 is floor(/ 256): exact while the product is below 2^53,
  // and any larger one is held to the int range anyway.
  const double scaled = std::floor(double(volume) * double(global) / 256.0);
  return int(std::clamp(scaled, double(INT32_MIN), double(INT32_MAX)));
}

int Sound_First_Pan(int32_t angle, int32_t yaw) {
  return int(std::trunc(std::sin(Radians_Between(angle, yaw)) * 256.0));
}

void Command_Play_Sound(Engine& engine, const std::string& file, int volume, int loops) {
  if (SoundSlot* slot = Play_Into(engine, engine.sound.slots, file, volume, loops))
    Sound_Set(engine.wx, slot->channel, Sound_Scaled(slot->volume, engine.defaults.global_volume), 0);
}

void Command_Stop_Sound(Engine& engine, const std::string& file) {
  Stop_In(engine, engine.sound.slots, file);
}

void Command_Play_Sound_3D(Engine& engine, const std::string& file, int volume, int angle, int loops) {
  SoundSlot* slot = Play_Into(engine, engine.sound.positional, file, volume, loops);
  if (!slot) return;
  slot->angle = angle & kAngleMask;
  Sound_Set(engine.wx, slot->channel, Sound_Scaled(slot->volume, engine.defaults.global_volume),
            Sound_First_Pan(slot->angle, engine.view.yaw));
}

void Command_Stop_Sound_3D(Engine& engine, const std::string& file) {
  Stop_In(engine, engine.sound.positional, file);
}

void Command_Add_Random_Sound(Engine& engine, const std::string& file, int volume, int frequency) {
  RandomSound entry;
  entry.file = file.substr(0, kSoundNameMax);
  entry.sample = Wav_Load(engine.wx, file);
  entry.volume = volume & 0xFF;
  entry.frequency = frequency & 0xFF;
  engine.sound.random.push_back(std::move(entry));
}

void Command_Play_Music(Engine& engine, const std::string& file, int volume) {
  MusicStream& music = engine.sound.music;
  if (!music.file.empty() && Text_Equal(music.file, file) == 0) {
    music.volume = volume;
    Music_Refill(engine.wx, music, Music_Volume(engine), 0);
    return;
  }
  Music_Stop(engine.wx, music);
  music.file = file;
  music.volume = volume;
  Music_Start(engine.wx, music, file, Music_Volume(engine), 0);
}

void Command_Stop_Music(Engine& engine) {
  MusicStream& music = engine.sound.music;
  if (music.file.empty()) return;
  Music_Stop(engine.wx, music);
  music.file.clear();
}

ChannelLevels Positional_Levels(const SoundSlot& slot, int32_t yaw, int32_t pitch, int facing, int global) {
  const double rel = Radians_Between(slot.angle, yaw);
  const double pitch_angle = double(pitch) * kPitchToRadians;
  const int facing_part = int(std::trunc(std::cos(pitch_angle) * std::cos(rel) * double(facing)));
  return {Sound_Scaled(int64_t(facing_part) + slot.volume - facing, global),
          int(std::trunc(std::sin(rel) * 255.0))};
}

void Sound_Service(Engine& engine) {
  if (engine.run.no_sound != 0) return;
  Sound_Poll(engine.wx);
  if (!engine.sound.music.file.empty()) Music_Refill(engine.wx, engine.sound.music, Music_Volume(engine), 0);
  for (SoundSlot& slot : engine.sound.slots) Count_Loops(engine, slot);
  for (SoundSlot& slot : engine.sound.positional) {
    if (slot.channel == 0) continue;
    const ChannelLevels levels =
        Positional_Levels(slot, engine.view.yaw, engine.view.pitch, engine.defaults.facing_factor,
                          engine.defaults.global_volume);
    Sound_Set(engine.wx, slot.channel, levels.volume, levels.pan);
    Count_Loops(engine, slot);
  }
}

void Sound_Timer_Start(Engine& engine) {
  EngineServices* services = engine.services;
  Sound_Timer_Start(engine.wx, [services, &engine] { services->Sound_Service(engine); });
}

void Sound_Timer_Stop(Engine& engine) { Sound_Timer_Stop(engine.wx); }

void Sound_Run_Start(Engine& engine) {
  SoundState& sound = engine.sound;
  sound.music.file.clear();
  for (SoundSlot& slot : sound.slots) slot.channel = 0;
  for (SoundSlot& slot : sound.positional) slot.channel = 0;
  sound.random_channels.clear();
}

void Sound_Warp_Entry(Engine& engine) { engine.sound.random.clear(); }

void Sound_Run_End(Engine& engine) {
  SoundState& sound = engine.sound;
  sound.random.clear();
  for (Slots* slots : {&sound.slots, &sound.positional})
    for (SoundSlot& slot : *slots)
      if (slot.channel != 0) Free_Slot(engine, slot);
  for (int channel : sound.random_channels) Sound_Stop(engine.wx, channel);
  sound.random_channels.clear();
  Music_Stop(engine.wx, sound.music);
}
