// Sound output: eight channels that each play a whole sample, and one
// streamed sound (music) played from a looping double buffer that the caller
// refills half by half. Channels are numbered 1 to 8; underneath, channel n
// is voice n - 1 of the software mixer, fed to the audio device.
//
// Volume is linear 0..255 and pan -255..255 (negative = left); both are
// clamped. The volume becomes an attenuation by Sound_Volume_To_Db, the pan
// attenuates the far side by pan x 10 hundredths of a decibel.
//
// Without an open device every call does nothing (playing returns -1).
//
// Locking: every call takes the sound lock for its whole length, so the main
// thread and the sound timer thread may both call in. The mixer's own lock is
// only ever taken inside the sound lock, or alone by the audio thread.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>

#include "platform/sound/audio_device.h"
#include "platform/sound/mixer.h"
#include "platform/sound/sample.h"

struct Wendax;

inline constexpr int kSoundChannels = kMixerVoices;
inline constexpr int kSoundFlagLoop = 1;
inline constexpr int kSoundVolumeMax = 255;
inline constexpr int kSoundPanMax = 255;
// Format asked of the device: 44100 Hz, 16-bit stereo.
inline constexpr int kSoundDeviceRate = 44100;
inline constexpr const char* kStreamSampleName = "Doublebuffer";

// The stream's double buffer: phase A once the first half is written (the
// second is next), phase B once the second half is written.
enum class StreamPhase { kOff, kA, kB };

// The channels, the stream, the mixer and the device, behind the functions
// below (sound_output.cpp). Lives in Wendax.
class SoundOutput {
 public:
  SoundOutput();
  ~SoundOutput();
  SoundOutput(const SoundOutput&) = delete;
  SoundOutput& operator=(const SoundOutput&) = delete;

  struct State;
  State& Get() const { return *state_; }

 private:
  std::unique_ptr<State> state_;
};

// The device Sound_Init opens. Without one, Sound_Init fails. Replacing the
// device closes the sound output first.
void Sound_Use_Device(Wendax& wx, std::unique_ptr<AudioDevice> device);
// 0 when the device opened; -1 when there is none or it is open already.
int Sound_Init(Wendax& wx);
// Stops the stream and every channel and closes the device.
void Sound_Close(Wendax& wx);
// 0 while the device is open, -1 otherwise.
int Sound_Device_Flag(const Wendax& wx);
// Plays a copy of the sample on the first free channel (flags bit 0: loop).
// Returns the channel 1..8, or -1 when there is no device, no sample, no free
// channel, or the sample cannot be played (not 8 or 16 bits, a rate outside
// 1..1000000 Hz, less than one whole frame of data).
int Sound_Play(Wendax& wx, const Sample* sample, int volume, int pan, int flags);
// Frees a channel in use; other numbers and free channels are ignored.
void Sound_Stop(Wendax& wx, int channel);
// Clamps, then applies volume and pan only while the channel is playing.
void Sound_Set(Wendax& wx, int channel, int volume, int pan);
// The play cursor in bytes of the channel's own data; 0 when the channel is
// not playing (free, or ended without looping) or the number is not 1..8.
int32_t Sound_Position(const Wendax& wx, int channel);
// Reads the status of every channel in use. A channel whose sound has ended
// stays in use until Sound_Stop: only a stop frees a channel, so a channel
// number held by a caller never passes to another sound behind its back.
void Sound_Poll(const Wendax& wx);
// True while the channel is in use and its sound still plays (a sound that
// does not loop stops playing after its last frame but keeps its channel).
bool Sound_Playing(const Wendax& wx, int channel);
// v = 0 gives -10000 (silence), v = 255 gives 0, other values
// trunc(-2000 x log10(255 / v)). Values outside 0..255 count as 0 or 255.
int Sound_Volume_To_Db(int volume);

// The attenuations a channel in use is playing at (volume and pan in
// hundredths of a decibel), or nothing.
std::optional<VoiceLevels> Sound_Levels(const Wendax& wx, int channel);

// Starts the looping stream of `size` bytes on a free channel with the first
// size / 2 bytes of `data` in its first half (the second half is silent until
// the next refill). -1 when there is no device, a stream is on already, the
// size is below 2, `data` holds fewer than size / 2 bytes, or no channel plays
// it; otherwise 0, stream in phase A.
int Stream_Start(Wendax& wx, std::span<const uint8_t> data, int rate, int bits, int stereo, int32_t size,
                 int volume, int pan);
// Offers the next half (size / 2 bytes; a shorter chunk is completed with
// silence, a longer one cut). Returns 0 while the play cursor is still in the
// half the chunk goes to, or when no stream is on; otherwise writes it,
// switches the phase, applies volume and pan, and returns 1.
int Stream_Refill(Wendax& wx, std::span<const uint8_t> chunk, int volume, int pan);
void Stream_Stop(Wendax& wx);
StreamPhase Stream_State(const Wendax& wx);

// Movie streams: up to 16 looping buffers of their own beside the eight
// channels, each written by its movie and played once it asks.
inline constexpr int kMovieVoices = kMixerStreamVoices;
// Opens movie voice 0..15 with a silent buffer of `bytes` in that format,
// not yet playing. False without a device, for a voice in use or out of
// range, or a format or size the mixer cannot play.
bool Movie_Voice_Open(Wendax& wx, int index, int rate, int bits, int channels, size_t bytes);
// Copies bytes into the buffer at the offset (false when they do not fit).
bool Movie_Voice_Write(Wendax& wx, int index, size_t offset, std::span<const uint8_t> bytes);
// Starts the buffer looping at volume and pan (clamped as the channels').
bool Movie_Voice_Play(Wendax& wx, int index, int volume, int pan);
// The play cursor in bytes; 0 when not playing.
int64_t Movie_Voice_Position(const Wendax& wx, int index);
// Stops the voice and frees its buffer; unknown voices are ignored.
void Movie_Voice_Close(Wendax& wx, int index);
