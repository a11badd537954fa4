// Shared helpers of the platform tests: a temporary folder, byte texts and
// hand-made packed files.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "tests/support/pak_bytes.h"
#include "tests/support/temp_folder.h"

struct Wendax;

std::string_view As_Text(const std::vector<uint8_t>& bytes);
std::vector<uint8_t> As_Bytes(std::string_view text);

// Reads from the handle until a read returns 0 bytes.
std::string Read_All(Wendax& wx, int handle);

// Bytes that exercise every packer: runs, repeats near and far, and noise.
std::string Sample_Data(size_t size);
