// Packed files ("PAKF") built byte by byte for tests.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// A 36-byte packed-file header with the given fields (the stored name cut or
// zero-padded to 16 bytes), followed by `payload`.
std::string Pak_Bytes(std::string_view magic, std::string_view stored_name, uint32_t method,
                      uint32_t packed_size, uint32_t unpacked_size, std::string_view payload);
// A well-formed packed file holding `data` packed with `method` (0..7).
std::string Pak_File(std::string_view stored_name, int method, std::string_view data);
