// Full-screen ZQM movies: the display mode a movie plays in, the player,
// and the audio track movies present first.
#pragma once

#include <string>

struct Engine;

struct DisplaySize {
  int width = 0;
  int height = 0;
  bool operator==(const DisplaySize&) const = default;
};

// The first of 320 x 240, 512 x 384, 640 x 480, 800 x 600 and 1024 x 768
// that holds the movie; else 1280 x 1024 when it fits, else 1600 x 1200.
DisplaySize Movie_Fit_Mode(int width, int height);

// Plays the movie full screen until it ends, Space is pressed or the run
// quits: the sound timer runs meanwhile and every overlay's clock stands
// still; a movie of another size than 640 x 480 gets the display mode of
// Movie_Fit_Mode, and 640 x 480 x 16 comes back afterwards; each audio
// stream (16 at most) gets a looping buffer of one second, stream 0 is the
// one heard. The last frame stays in the frame buffer, centred. 1, or 0
// when the movie could not be opened.
int Movie_Play(Engine& engine, const std::string& file, int loops);

// The plug-in: plays any video file FFmpeg reads full screen, each frame
// scaled to 640 x 480, its first audio stream heard, until it ends or Space
// is pressed; the music is refilled between passes. Nothing for a file that
// cannot be played.
int Media_PlayVideo(Engine& engine, int argc, char** argv);

// The plug-in: writes the track (a value argument) as a decimal number into
// the registry value "ZQMOVIE_AUDIO_TRACK" directly under
// HKEY_LOCAL_MACHINE, which the movie library reads at every open. Nothing
// without an argument.
int ZQMovie_Set_Audio_Track(Engine& engine, int argc, char** argv);
