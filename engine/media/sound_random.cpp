#include "engine/media/sound_random.h"

#include <algorithm>

#include "engine/engine.h"
#include "engine/media/sound_commands.h"
#include "platform/sound/sound_output.h"
#include "platform/wendax.h"

uint32_t Sound_Random(uint32_t& state) {
  uint32_t s = state;
  for (int i = 0; i < 32; ++i) {
    uint32_t t = (s & 0xFFFFFFFEu) ^ (s << 1);
    t = (t << 1) ^ (s & 0xFFFFFFFCu);
    t = (t << 2) ^ (s & 0xFFFFFFF0u);
    t = (t << 2) ^ (s & 0xFFFFFFC0u);
    t = (t << 25) ^ (s & 0x80000000u);
    s = ((s >> 1) + 1) | t;
  }
  state = s;
  return s;
}

bool Random_Play_Due(uint32_t r, int frequency, int32_t frame_ms) {
  const uint32_t divisor = ((uint32_t(frequency & 0xFF) * 0x3C0000u) >> 8) + 0x40000u;
  return int64_t(r / divisor) < int64_t(frame_ms);
}

void Random_Sounds_Frame(Engine& engine) {
  SoundState& sound = engine.sound;
  // A random play keeps its channel until it is stopped; once its sound has
  // ended the channel goes back, so that ambient sounds never fill the
  // channel table.
  std::erase_if(sound.random_channels, [&](int channel) {
    if (Sound_Playing(engine.wx, channel)) return false;
    Sound_Stop(engine.wx, channel);
    return true;
  });
  for (const RandomSound& entry : sound.random) {
    const uint32_t r = Sound_Random(sound.generator);
    if (!Random_Play_Due(r, entry.frequency, engine.wx.clock.delta) || !entry.sample) continue;
    const int volume = Sound_Scaled(entry.volume, engine.defaults.global_volume);
    const int channel = Sound_Play(engine.wx, &*entry.sample, volume, 0, 0);
    if (channel > 0) sound.random_channels.push_back(channel);
  }
}
