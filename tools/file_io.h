// Whole-file reading and writing for tools, by exact path; writing through
// the atomic replacement of host/file_replace.h.
//
// Writing never leaves a half-written file: the bytes go to a temporary file
// in the same folder, which is renamed over the target only once complete.
// On any failure the target is untouched and the temporary file removed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

// Reads the whole regular file. A file larger than max_size is refused
// before anything is read. False with a message in `error` on failure.
bool Read_Whole_File(const std::string& path, uint64_t max_size, std::vector<uint8_t>& bytes,
                     std::string& error);

// Reads the first `count` bytes of the regular file (all of it when shorter).
bool Read_File_Start(const std::string& path, uint64_t count, std::vector<uint8_t>& bytes,
                     std::string& error);

// Replaces (or creates) the file with the bytes. An existing file keeps its
// permission bits; a new one gets 0666 less the umask.
bool Write_File_Atomic(const std::string& path, std::span<const uint8_t> bytes, std::string& error);
