// A WAV file held in memory, read as the sound commands read it (its
// format, its chunks, the whole sample) and, when it loads, played looping
// through the mixer on the null device: no crash, no read past the file,
// and the mix never asks for more than the sample holds.
#include <cstddef>
#include <cstdint>
#include <memory>

#include "platform/files/file_layer.h"
#include "platform/headless/null_audio.h"
#include "platform/sound/sound_output.h"
#include "platform/sound/wav_file.h"
#include "platform/wendax.h"

namespace {

struct Rig {
  Wendax wx;
  NullAudio* audio = nullptr;
  Rig() {
    auto device = std::make_unique<NullAudio>(44100);
    audio = device.get();
    Sound_Use_Device(wx, std::move(device));
    Sound_Init(wx);
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static Rig rig;
  Memory_File_Add(rig.wx, "in.wav", data, size);
  int64_t start = 0, end = 0;
  Wav_Find_Chunk(rig.wx, "in.wav", "data", &start, &end);
  Wav_Read_Info(rig.wx, "in.wav");
  if (std::optional<Sample> sample = Wav_Load(rig.wx, "in.wav")) {
    const int channel = Sound_Play(rig.wx, &*sample, 200, -100, kSoundFlagLoop);
    rig.audio->Advance_Frames(300);
    if (channel > 0) Sound_Stop(rig.wx, channel);
  }
  Memory_File_Drop(rig.wx, "in.wav");
  return 0;
}
