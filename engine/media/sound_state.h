// The script's sounds: the slots of PLAYSOUND and PLAYSOUND3D, the random
// ambient sounds of the warp, the music stream and the generator behind the
// random plays. Lives in Engine; the slots' channel fields are emptied at
// the start of every run.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/sound/sample.h"
#include "platform/sound/wav_file.h"

inline constexpr int kSoundSlots = 8;         // slot n belongs to channel n
inline constexpr size_t kSoundNameMax = 256;  // characters of a slot's or random sound's name
inline constexpr int kMusicChunkBytes = 16384;
inline constexpr int kMusicStreamBytes = 32768;

struct SoundSlot {
  std::string file;        // empty: free
  int channel = 0;         // 0: none
  int volume = 0;          // 0..255
  int32_t loops_left = 0;  // 0: endless
  int32_t last_position = 0;
  int angle = 0;  // positional slots only: 0..8191
};

// A random ambient sound (the angle that one layout of the command writes
// is never read, so it is not kept).
struct RandomSound {
  std::string file;
  std::optional<Sample> sample;  // none when the file could not be loaded
  int volume = 0;                // 0..255
  int frequency = 0;             // 0..255
};

// The looping music stream and its chunk reader.
struct MusicStream {
  std::string file;   // the current music; empty: none
  int volume = 0;     // as written in the script
  bool open = false;  // a stream was started and its file is open
  Wav_Info info;
  int handle = -1;             // of the file layer
  std::vector<uint8_t> chunk;  // kMusicChunkBytes once open
  uint32_t consumed = 0;       // data bytes consumed, modulo the data size
};

struct SoundState {
  std::array<SoundSlot, kSoundSlots> slots;
  std::array<SoundSlot, kSoundSlots> positional;
  std::vector<RandomSound> random;
  // Channels of random sounds that are playing: given back once they end.
  std::vector<int> random_channels;
  MusicStream music;
  uint32_t generator = 0;  // Sound_Random's state
};
