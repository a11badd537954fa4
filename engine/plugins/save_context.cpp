#include "engine/plugins/save_context.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>

#include "engine/engine.h"
#include "engine/engine_services.h"
#include "engine/media/sound_commands.h"
#include "engine/run/engine_run.h"
#include "packing/byte_order.h"
#include "platform/sound/sound_output.h"
#include "platform/sound/wav_file.h"

namespace {

constexpr size_t kViewFields = 7;
constexpr size_t kSoundEntryBytes = kContextTextBytes + 8;
constexpr size_t kPositionalEntryBytes = kContextTextBytes + 12;

size_t Test_Count(const SCRIPT_DATA* script) {
  size_t n = 0;
  if (script)
    for (const WARP& warp : script->warps) n += warp.tests.size();
  return n;
}

class RecordWriter {
 public:
  void I32(int32_t v) { Push_Le32(out, uint32_t(v)); }
  void Text(const std::string& text) {
    const size_t n = std::min(text.size(), kContextTextBytes);
    out.insert(out.end(), text.begin(), text.begin() + std::ptrdiff_t(n));
    out.insert(out.end(), kContextTextBytes - n, 0);
  }
  // A sound that will not loop for ever: a zero byte, then the name.
  void Unplayable(const std::string& name) {
    out.push_back(0);
    const size_t n = std::min(name.size(), kContextTextBytes - 1);
    out.insert(out.end(), name.begin(), name.begin() + std::ptrdiff_t(n));
    out.insert(out.end(), kContextTextBytes - 1 - n, 0);
  }
  std::vector<uint8_t> out;
};

// Reads a record whose size was checked first; every read stays inside it.
class RecordReader {
 public:
  explicit RecordReader(std::span<const uint8_t> bytes) : bytes_(bytes) {}
  int32_t I32() {
    if (at_ + 4 > bytes_.size()) return 0;
    const int32_t v = Le_I32(bytes_.data() + at_);
    at_ += 4;
    return v;
  }
  // The text up to its first zero; a text of all 257 bytes keeps what the
  // owner held beyond them.
  std::string Text(const std::string& before = {}) {
    if (at_ + kContextTextBytes > bytes_.size()) return {};
    const uint8_t* p = bytes_.data() + at_;
    at_ += kContextTextBytes;
    const uint8_t* end = std::find(p, p + kContextTextBytes, 0);
    std::string text(p, end);
    if (end == p + kContextTextBytes && before.size() > kContextTextBytes)
      text += before.substr(kContextTextBytes);
    return text;
  }

 private:
  std::span<const uint8_t> bytes_;
  size_t at_ = 0;
};

void Stop_Slots(Engine& engine, std::array<SoundSlot, kSoundSlots>& slots) {
  for (SoundSlot& slot : slots) {
    if (slot.channel != 0) Sound_Stop(engine.wx, slot.channel);
    slot = SoundSlot{};
  }
}

}  // namespace

size_t Context_Size(const SCRIPT_DATA* script) {
  const size_t vars = script ? script->vars.size() : 0;
  return (kViewFields + 2) * 4 + 2 * kContextTextBytes + Test_Count(script) * kContextTextBytes + vars * 4 +
         2 * 4 + kContextLockSlots * kContextTextBytes + kContextTextBytes + 4 +
         kSoundSlots * (kSoundEntryBytes + kPositionalEntryBytes);
}

std::vector<uint8_t> Context_Capture(Engine& engine) {
  RecordWriter w;
  w.out.reserve(Context_Size(engine.script.get()));
  const VIEW& v = engine.view;
  for (int32_t field : {v.pitch, v.yaw, v.pitch_speed, v.yaw_speed, v.pitch_limit, v.yaw_min, v.yaw_max})
    w.I32(field);
  w.I32(engine.state.Warp_Index);
  w.I32(engine.run.pass);
  w.Text(engine.state.Print_Text);
  w.Text(engine.state.Print_Font);
  if (engine.script) {
    for (const WARP& warp : engine.script->warps)
      for (const TEST& test : warp.tests) w.Text(test.cursor);
    for (const SCRIPT_VAR& var : engine.script->vars) w.I32(var.value);
  }
  w.I32(engine.state.Gosub_Return);
  w.I32(engine.state.Lock_Return);
  for (size_t i = 0; i < kContextLockSlots; ++i) w.Text(engine.state.Lock_Slots[i]);
  w.Text(engine.sound.music.file);
  w.I32(engine.sound.music.volume);
  auto slot_entry = [&w](const SoundSlot& slot, bool positional) {
    if (slot.loops_left != 0)
      w.Unplayable(slot.file);
    else
      w.Text(slot.file);
    if (positional) w.I32(slot.angle);
    w.I32(slot.volume);
    w.I32(slot.loops_left);
  };
  for (const SoundSlot& slot : engine.sound.slots) slot_entry(slot, false);
  for (const SoundSlot& slot : engine.sound.positional) slot_entry(slot, true);
  return std::move(w.out);
}

bool Context_Restore(Engine& engine, std::span<const uint8_t> record) {
  if (!engine.script || record.size() != Context_Size(engine.script.get())) return false;
  RecordReader r(record);
  SoundState& sound = engine.sound;
  engine.zones.clear();
  sound.random.clear();
  Stop_Slots(engine, sound.slots);
  Stop_Slots(engine, sound.positional);
  Command_Stop_Music(engine);

  VIEW& v = engine.view;
  for (int32_t* field :
       {&v.pitch, &v.yaw, &v.pitch_speed, &v.yaw_speed, &v.pitch_limit, &v.yaw_min, &v.yaw_max})
    *field = r.I32();
  ENGINE_STATE& st = engine.state;
  st.Warp_Index = r.I32();
  engine.run.pass = r.I32();
  st.Print_Text = r.Text().substr(0, kPrintTextMax);
  st.Print_Font = r.Text();
  for (WARP& warp : engine.script->warps)
    for (TEST& test : warp.tests) test.cursor = r.Text(test.cursor).substr(0, kCursorNameMax);
  for (SCRIPT_VAR& var : engine.script->vars) var.value = r.I32();
  st.Gosub_Return = r.I32();
  st.Lock_Return = r.I32();
  for (size_t i = 0; i < kContextLockSlots; ++i) st.Lock_Slots[i] = r.Text().substr(0, kLockNameMax);
  const std::string music = r.Text();
  const int32_t music_volume = r.I32();

  // An entry's sound starts looping again on a free channel, whose slot it
  // takes; one that cannot be played is passed over.
  auto restore_slots = [&](std::array<SoundSlot, kSoundSlots>& slots, bool positional) {
    for (int i = 0; i < kSoundSlots; ++i) {
      const std::string name = r.Text();
      const int32_t angle = positional ? r.I32() : 0;
      const int32_t volume = r.I32(), loops = r.I32();
      const int channel = name.empty() ? 0 : Sound_Start(engine, name, true);
      if (channel == 0) continue;
      slots[size_t(channel - 1)] = SoundSlot{name.substr(0, kSoundNameMax), channel, volume, loops, 0, angle};
      const int pan = positional ? Sound_First_Pan(angle, v.yaw) : 0;
      Sound_Set(engine.wx, channel, Sound_Scaled(volume, engine.defaults.global_volume), pan);
    }
  };
  restore_slots(sound.slots, false);
  restore_slots(sound.positional, true);

  Warp_Load(engine);
  engine.run.pass = 0;
  Run_Reset_Motion(engine);
  if (!music.empty()) Command_Play_Music(engine, music, music_volume);
  engine.run.keep_print_text = true;
  st.Restart_Request = true;
  return true;
}
