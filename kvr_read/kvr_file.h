// KVR_FILE: the chunk-file class of libkvr_read.so, exported with every
// operation, reading and writing.
//
// A chunk file is a sequence of chunks: a 32-bit tag, a signed 32-bit length
// counting the 8 header bytes, then the payload, which may itself hold a
// chunk sequence; a 0 tag or the end of the file ends a sequence. Integers
// are little-endian. kvr_read/kvr_chunks.h gives the panorama file's tags
// and payloads.
//
// The object wraps one stdio stream; position and end-of-file state are the
// stream's own. No operation reports read or write errors; only Open and
// Open_Tmp return a result. Reading at or past the end of the file gives tag
// 0 and size 0, which ends every walk.
//
// Sharing: copies and assignment share the stream. Close (or Open) through
// any of the objects closes the stream for all of them, which then behave as
// objects with no stream open; destroying one object leaves the stream open
// for the others, and the last one destroyed closes it. So a shared stream
// is closed exactly once.
//
// Programs are built against the signatures with plain `char *` and
// `void *`; the const overloads beside them take the same arguments
// without a cast. The engine links the same compiled class statically and
// exports nothing.
#pragma once

#include <cstdio>

#define KVR_READ_API __attribute__((visibility("default")))

class KVR_READ_API KVR_FILE {
 public:
  KVR_FILE();
  KVR_FILE(const KVR_FILE& other);
  ~KVR_FILE();
  KVR_FILE& operator=(const KVR_FILE& other);

  // Closes the open stream if any, then opens `path` with the stdio `mode`.
  // 1 when the file was opened, else 0 (no stream is then open).
  int Open(char* path, char* mode);
  int Open(const char* path, const char* mode);
  // Closes the open stream if any, then opens an anonymous temporary file
  // (binary, read and write, deleted when closed). 1 or 0 as Open.
  int Open_Tmp();
  void Close();

  // The chunk header at the current position: its tag and payload size
  // (stored length - 8; 0 when the stored length is below 8). Get_Chunck
  // leaves the position at the chunk's start, Read_Chunck at its payload.
  // With no stream, or a header cut by the end of the file, both give 0 and
  // 0; the position is then where the reads stopped.
  void Get_Chunck(int* tag, int* size);
  void Read_Chunck(int* tag, int* size);
  // Writes the header of a chunk of `size` payload bytes (stored length
  // size + 8); the payload follows through Write.
  void Write_Chunck(int tag, int size);
  // Copies the first `len` payload bytes of the chunk at the current
  // position (as many as the file holds) into `buf` and returns to the
  // chunk's start.
  void Get_Chunck_Data(void* buf, int len);
  // Raw bytes. A short read leaves the rest of `buf` as it was; len <= 0
  // does nothing.
  void Read(void* buf, int len);
  void Write(void* data, int len);
  void Write(const void* data, int len);
  // From the start of a chunk to the start of its next sibling. A 0 tag, the
  // end of the file or a cut header do not move past it; a chunk whose stored
  // length is below 8 (it cannot hold its own header) ends the walk: the
  // position goes to the end of the file.
  void Next_Chunck();
  // The byte position; -1 with no stream open.
  int Tell();
  // Sets the position to `pos` bytes from the start; nothing with no stream
  // or a negative `pos`.
  void Seek(int pos);

 private:
  struct Stream;
#define KVR_READ_HIDDEN __attribute__((visibility("hidden")))
  KVR_READ_HIDDEN static Stream* Adopt(std::FILE* file);
  KVR_READ_HIDDEN std::FILE* File() const;
  KVR_READ_HIDDEN void Release();
#undef KVR_READ_HIDDEN

  Stream* stream_;  // the only field: null while no file is open
};
