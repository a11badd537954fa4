// libkvr_read.so: reads the panoramas, still pictures and animations of
// panorama files (kvr_read/kvr_chunks.h gives the layout) for programs other
// than the engine, decoded to 4-byte pixels, and cuts a decoded panorama into
// its six cube faces. Chunk files themselves are walked and written through
// KVR_FILE (kvr_read/kvr_file.h).
//
// Pixels are 4 bytes: blue, green, red, 0. A panorama is the 256 x 6144
// strip of 24 tiles of 256 x 256 (6 291 456 bytes), a still picture
// 640 x 480 (1 228 800 bytes), rows top to bottom; the caller provides the
// buffers.
//
// Every function opens the file with mode "rb" and closes it before
// returning, except Kvr_Open_Animation on success. Results only, no
// messages: a missing file, a file that does not begin with KVR_CHUNK_FILE,
// a missing chunk or a damaged size all give 0. Any number of threads may
// call, one call per KVR_ANIM at a time.
//
// Programs are built against the signatures with plain `char *` and
// `unsigned char *`; a const overload stands beside each of them, so that
// callers holding const strings or buffers need no cast.
#pragma once

#include "kvr_read/kvr_chunks.h"
#include "kvr_read/kvr_file.h"

// One 4-byte pixel of a face image.
struct RGB {
  unsigned char b;
  unsigned char g;
  unsigned char r;
  unsigned char unused;
};

// The state of one animation being played; owned by the caller.
struct KVR_ANIM {
  char name[KVR_ANIM_NAME_SIZE] = {};  // for the caller; never read or written here
  KVR_FILE file;                       // the open panorama file
  int frame_count = 0;                 // F, from the animation chunk
  int current_frame = 0;               // the next frame, from 0
  int first_frame_position = 0;        // file position of the first frame chunk
  int next_frame_position = 0;         // file position of the frame chunk to play next
};

// Panorama kinds of Kvr_Get_Vr_Type.
inline constexpr int KVR_TYPE_NONE = 0;
inline constexpr int KVR_TYPE_VR = 1;   // the first static chunk is KVR_CHUNK_STATIC_VR
inline constexpr int KVR_TYPE_PIC = 2;  // it is KVR_CHUNK_STATIC_PIC

// 1 or 2 by the file's first static chunk (a file holding both has the kind
// of whichever comes first); 0 when there is none or the file is no
// panorama file.
KVR_READ_API int Kvr_Get_Vr_Type(char* path);
KVR_READ_API int Kvr_Get_Vr_Type(const char* path);

// Decodes the file's first KVR_CHUNK_STATIC_VR into dest (256 x 6144 pixels)
// or its first KVR_CHUNK_STATIC_PIC into dest (640 x 480). 1 when done,
// else 0 with dest untouched.
KVR_READ_API int Kvr_Load_Static_Vr(char* path, unsigned char* dest);
KVR_READ_API int Kvr_Load_Static_Vr(const char* path, unsigned char* dest);
KVR_READ_API int Kvr_Load_Static_Pic(char* path, unsigned char* dest);
KVR_READ_API int Kvr_Load_Static_Pic(const char* path, unsigned char* dest);

// The number of animations of the file; 0 on any failure.
KVR_READ_API int Kvr_Get_Number_Animation(char* path);
KVR_READ_API int Kvr_Get_Number_Animation(const char* path);
// Copies the 32 stored name bytes of each animation, in file order, to
// names[0], names[1], ...: the caller provides one 32-byte block for each
// animation Kvr_Get_Number_Animation counted.
KVR_READ_API void Kvr_Get_Animation(char* path, char** names);
KVR_READ_API void Kvr_Get_Animation(const char* path, char** names);

// Opens the first animation whose stored name is `name` (case counts) into
// anim; 1 when found, the file then staying open in anim, else 0 with
// nothing open.
KVR_READ_API int Kvr_Open_Animation(char* path, char* name, KVR_ANIM* anim);
KVR_READ_API int Kvr_Open_Animation(const char* path, const char* name, KVR_ANIM* anim);
// Decodes the animation's next frame into dest: kind 1, a panorama (rows of
// 256 pixels); any other kind, a still picture (rows of 640). Only the
// frame's changed blocks are written, so frames build on each other in the
// same buffer. After the last frame a loop chunk sends playback back to its
// frame. Returns 1 while the animation goes on; 0 when it has ended, its
// file then closed.
KVR_READ_API int Kvr_Play_Animation(KVR_ANIM* anim, unsigned char* dest, int kind);
// Closes the animation's file; harmless when already closed.
KVR_READ_API void Kvr_Close_Animation(KVR_ANIM* anim);

// Cuts a decoded panorama strip into six 512 x 512 face images:
//   faces[0] up (z = +255)     faces[1] x = +255   faces[2] down (z = -255)
//   faces[3] y = +255          faces[4] y = -255   faces[5] x = -255
// Face group f (tiles 4f .. 4f + 3) goes to faces[d], d = 2, 5, 0, 1, 3, 4
// for f = 0 .. 5, its tiles as the top-left, top-right, bottom-right and
// bottom-left quarters. Each face is 512 rows of 512 pixels.
KVR_READ_API void Kvr_Remap(RGB* faces[6], unsigned char* strip);
KVR_READ_API void Kvr_Remap(RGB* faces[6], const unsigned char* strip);
