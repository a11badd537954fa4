// Byte strings of chunk files built by hand, and the open files of this
// process, for the KVR_FILE tests.
#pragma once

#include <cstdint>
#include <string>

#include "kvr_read/kvr_file.h"
#include "tests/support/temp_folder.h"

namespace kvr_test {

std::string Le32(uint32_t v);
// A header with any stored length.
std::string Header(uint32_t tag, int32_t length);
// A well-formed chunk: header with length 8 + payload size, then payload.
std::string Chunk(uint32_t tag, const std::string& payload);

// Writes `bytes` as `name` in the folder and opens it "rb" into `file`.
void Open_Bytes(KVR_FILE& file, const TempFolder& folder, const std::string& name, const std::string& bytes);

// Open file descriptors of this process, and how many of them are files
// already deleted from their folder.
int Open_Descriptors();
int Open_Deleted_Files();

}  // namespace kvr_test
