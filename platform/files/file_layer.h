// One file interface with small integer handles. A handle is an ordinary
// disk file or a memory file: a named block of bytes registered earlier (an
// unpacked packed file, a preloaded file, a saved-game context). Opening a
// name for reading looks at the memory files first.
//
// Names are looked up ignoring case, with '\' or '/' as separator, both in
// the memory-file list and on disk (a game written for a case-insensitive
// file system names "CURSOR1.PCX" for cursor1.pcx).
//
// Every call sets the last result: 0 after success, -1 after failure. All
// state sits behind one lock, so the sound timer thread may read a music file
// while the main thread loads a picture.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

struct Wendax;

inline constexpr int kFileHandleCount = 40;

enum FileMode : int { kFileModeWrite = 0, kFileModeRead = 1 };
enum FileOrigin : int { kSeekStart = 0, kSeekCurrent = 1, kSeekEnd = 2 };

// Mode 1 (read): a memory file of that name, else the disk file. Mode 0
// (write): the disk file opened for update at its start, else created. Other
// modes open nothing. Returns the handle 0..39, or -1.
int File_Open(Wendax& wx, std::string_view name, int mode);
// Returns the bytes read. A disk read of 0 bytes marks the handle as failed.
int File_Read(Wendax& wx, int handle, void* buffer, int length);
// Writes to a disk file; returns the bytes written (memory files refuse).
int File_Write(Wendax& wx, int handle, const void* buffer, int length);
// Memory files: the position is clamped to 0..size+1 (past the end, reads
// return nothing). Disk files: a failed seek marks the handle.
void File_Seek(Wendax& wx, int handle, int32_t offset, int origin);
int32_t File_Tell(Wendax& wx, int handle);
// Disk: the fclose result; memory: 0. Closing a failed handle reports -1.
int File_Close(Wendax& wx, int handle);
// The memory file's size, else the disk file's; 0 when it cannot be opened.
int32_t File_Size(Wendax& wx, std::string_view name);
// Removes a file (never a folder): 0 or -1.
int File_Remove(Wendax& wx, std::string_view name);
int File_Last_Result(const Wendax& wx);

// Registers a copy of the data under a copy of the name. A name may be
// registered twice; lookups find the first.
void Memory_File_Add(Wendax& wx, std::string_view name, const void* data, size_t size);
void Memory_File_Add(Wendax& wx, std::string_view name, std::vector<uint8_t>&& data);
// Reads the whole named file into a new memory file of the same name, when
// its size is not 0 and it opens.
void Memory_File_Load(Wendax& wx, std::string_view name);
// Unregisters and frees every entry of that name. Handles open on a dropped
// memory file keep reading its bytes until they are closed.
void Memory_File_Drop(Wendax& wx, std::string_view name);

// Walks chunks from *start: 4-character ids, each followed by a 32-bit size
// that counts the 8 header bytes. Stops at the wanted id (case ignored), at a
// size below 8 (0, or a chunk that cannot hold its own header), or when the
// next header would not fit before *end. On success
// *start is the chunk's offset, *end = *start + size, and the result is 0; on
// failure *end = *start and the result is -1.
int File_Find_Chunk(Wendax& wx, int handle, int32_t file_size, std::string_view id, int32_t* start,
                    int32_t* end);

// The handle table, memory files and last result, behind the functions
// above (file_layer.cpp). Lives in Wendax.
class FileLayer {
 public:
  FileLayer();
  ~FileLayer();
  FileLayer(const FileLayer&) = delete;
  FileLayer& operator=(const FileLayer&) = delete;

  struct State;
  State& Get() const { return *state_; }

 private:
  std::unique_ptr<State> state_;
};
