// Shared helpers of the platform tests: a temporary folder, byte texts and
// hand-made packed files.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "tests/support/temp_folder.h"

struct Wendax;


std::string_view As_Text(const std::vector<uint8_t>& bytes);
std::vector<uint8_t> As_Bytes(std::string_view text);

// Reads from the handle until a read returns 0 bytes.
std::string Read_All(Wendax& wx, int handle);

// A 36-byte packed-file header with the given fields, followed by `payload`.
std::string Pak_Bytes(std::string_view magic, std::string_view stored_name, uint32_t method,
                      uint32_t packed_size, uint32_t unpacked_size, std::string_view payload);
// A well-formed packed file holding `data` packed with `method` (0..5).
std::string Pak_File(std::string_view stored_name, int method, std::string_view data);

// Bytes that exercise every packer: runs, repeats near and far, and noise.
std::string Sample_Data(size_t size);
