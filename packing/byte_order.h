// Fields of the byte formats, read and written a byte at a time so that no
// format depends on the host's byte order or alignment. The game's formats
// are little-endian; IFF pictures store big-endian fields. Callers check
// bounds first: each function touches exactly the bytes its name says.
#pragma once

#include <cstdint>
#include <vector>

inline uint16_t Le_U16(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }
inline uint32_t Le_U32(const uint8_t* p) {
  return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}
inline int16_t Le_I16(const uint8_t* p) { return int16_t(Le_U16(p)); }
inline int32_t Le_I32(const uint8_t* p) { return int32_t(Le_U32(p)); }

inline uint16_t Be_U16(const uint8_t* p) { return uint16_t(p[0] << 8 | p[1]); }
inline uint32_t Be_U32(const uint8_t* p) {
  return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | uint32_t(p[3]);
}

inline void Put_Le16(uint8_t* p, uint32_t value) {
  p[0] = uint8_t(value);
  p[1] = uint8_t(value >> 8);
}
inline void Put_Le32(uint8_t* p, uint32_t value) {
  Put_Le16(p, value & 0xFFFF);
  Put_Le16(p + 2, value >> 16);
}

// Appended to a growing file image.
inline void Push_Le16(std::vector<uint8_t>& out, uint32_t value) {
  out.push_back(uint8_t(value));
  out.push_back(uint8_t(value >> 8));
}
inline void Push_Le32(std::vector<uint8_t>& out, uint32_t value) {
  Push_Le16(out, value & 0xFFFF);
  Push_Le16(out, value >> 16);
}
