// The music: a WAV file streamed through the sound output's looping double
// buffer, 16384 bytes at a time, read round and round so that it loops for
// ever without a gap.
#pragma once

#include "engine/media/sound_state.h"

struct Wendax;

// Nothing without a sound device. Stops a running music, then reads the
// file's header; a file without a readable header or without sound data is
// refused (nothing plays). Otherwise opens the file, fills the chunk with
// the first 16384 data bytes, starts the stream with them (the header's
// rate, bits and channels, 32768 bytes, volume, pan) and reads the next
// chunk.
void Music_Start(Wendax& wx, MusicStream& music, const std::string& path, int volume, int pan);
// Nothing without a device or a music: offers the chunk to the stream and,
// when it was taken, reads the next one.
void Music_Refill(Wendax& wx, MusicStream& music, int volume, int pan);
// Stops the stream, closes the file and frees the chunk and the header.
void Music_Stop(Wendax& wx, MusicStream& music);

// Fills the chunk with the next 16384 data bytes, going back to the start
// of the data whenever its end is reached, as often as a chunk needs: data
// shorter than a chunk is repeated within it. Bytes that cannot be read are
// silence.
void Music_Read_Chunk(Wendax& wx, MusicStream& music);
