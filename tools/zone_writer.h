// Writing zone files: a little-endian signed 32-bit count, then four float32
// bounds per zone (yaw 1, yaw 2, pitch 1, pitch 2 in radians for a panorama;
// x 1, x 2, y 1, y 2 in pixels for a still picture).
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

using ZoneBounds = std::array<float, 4>;

std::vector<uint8_t> Zone_File_Bytes(const std::vector<ZoneBounds>& zones);

// Reads "a,b,c,d": four finite decimal numbers separated by commas, nothing
// else. Empty when the text is not of that form.
std::optional<ZoneBounds> Zone_Bounds_Parse(std::string_view text);
