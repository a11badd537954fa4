// The 65536-entry table that converts a 5-6-5 pixel for the screen depth:
// 8 bits a palette index, 15 bits a 5-5-5 value, 24 and 32 bits 0x00RRGGBB.
#pragma once

#include <cstdint>
#include <vector>

uint32_t Convert_To_555(uint16_t pixel);
uint32_t Convert_To_888(uint16_t pixel);

// The table for the depth; empty for 16 bits and for depths it has no rule for.
std::vector<uint32_t> Conversion_Table(int bits);
