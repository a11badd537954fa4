#include "tools/zone_writer.h"

#include <bit>
#include <charconv>
#include <cmath>

namespace {

void Put_U32(std::vector<uint8_t>& out, uint32_t value) {
  for (int i = 0; i < 4; ++i) out.push_back(uint8_t(value >> (8 * i)));
}

std::optional<float> Number_Parse(std::string_view text) {
  float value = 0;
  const char* end = text.data() + text.size();
  auto [stop, error] = std::from_chars(text.data(), end, value, std::chars_format::general);
  if (error != std::errc() || stop != end || !std::isfinite(value)) return std::nullopt;
  return value;
}

}  // namespace

std::vector<uint8_t> Zone_File_Bytes(const std::vector<ZoneBounds>& zones) {
  std::vector<uint8_t> out;
  out.reserve(4 + zones.size() * 16);
  Put_U32(out, uint32_t(zones.size()));
  for (const ZoneBounds& zone : zones)
    for (float bound : zone) Put_U32(out, std::bit_cast<uint32_t>(bound));
  return out;
}

std::optional<ZoneBounds> Zone_Bounds_Parse(std::string_view text) {
  ZoneBounds bounds{};
  for (size_t i = 0; i < bounds.size(); ++i) {
    size_t comma = text.find(',');
    bool last = i + 1 == bounds.size();
    if (last != (comma == std::string_view::npos)) return std::nullopt;
    std::optional<float> value = Number_Parse(text.substr(0, comma));
    if (!value) return std::nullopt;
    bounds[i] = *value;
    text = last ? std::string_view() : text.substr(comma + 1);
  }
  return bounds;
}
