#include "tools/pak_writer.h"

#include <algorithm>
#include <cstring>

#include "packing/packing_encode.h"
#include "platform/files/pak_file.h"

namespace {

void Put_U32(uint8_t* p, uint32_t value) {
  for (int i = 0; i < 4; ++i) p[i] = uint8_t(value >> (8 * i));
}

PakBuild Failed(std::string error) {
  PakBuild build;
  build.error = std::move(error);
  return build;
}

std::vector<uint8_t> Packed_Data(int method, const uint8_t* data, size_t size) {
  if (method == 0) return std::vector<uint8_t>(data, data + size);
  return Pack(method, data, size);
}

}  // namespace

std::string Pak_Name_Problem(std::string_view name) {
  if (name.empty()) return "the stored name is empty";
  if (name.size() > kPakNameMax)
    return "the stored name \"" + std::string(name) + "\" has " + std::to_string(name.size()) +
           " characters, at most " + std::to_string(kPakNameMax) + " fit";
  if (name.find('\0') != std::string_view::npos) return "the stored name holds a NUL byte";
  return {};
}

std::vector<uint8_t> Pak_Header(std::string_view name, int method, uint32_t packed_size,
                                uint32_t unpacked_size) {
  std::vector<uint8_t> header(kPakHeaderSize, 0);
  std::memcpy(header.data(), "PAKF", 4);
  std::copy_n(name.begin(), std::min(name.size(), kPakNameMax), header.begin() + 8);
  Put_U32(&header[24], uint32_t(method));
  Put_U32(&header[28], packed_size);
  Put_U32(&header[32], unpacked_size);
  return header;
}

PakBuild Pak_Build(int method, std::string_view name, const uint8_t* data, size_t size) {
  if (method < 0 || method > kPakMethodMax)
    return Failed("packing method " + std::to_string(method) + " is not 0 to " +
                  std::to_string(kPakMethodMax));
  if (std::string problem = Pak_Name_Problem(name); !problem.empty()) return Failed(problem);
  if (size > kPakFileSizeMax)
    return Failed("the data have " + std::to_string(size) + " bytes, more than the " +
                  std::to_string(kPakFileSizeMax) + " a packed file can hold");

  std::vector<uint8_t> packed = Packed_Data(method, data, size);
  if (packed.size() > kPakFileSizeMax - kPakHeaderSize)
    return Failed("the packed data have " + std::to_string(packed.size()) +
                  " bytes, too many for a packed file");

  PakBuild build;
  build.packed_size = uint32_t(packed.size());
  build.bytes = Pak_Header(name, method, build.packed_size, uint32_t(size));
  build.bytes.insert(build.bytes.end(), packed.begin(), packed.end());

  PakResult check = Pak_Decode(build.bytes.data(), build.bytes.size());
  if (!check.ok() || check.data.size() != size ||
      (size != 0 && std::memcmp(check.data.data(), data, size) != 0))
    return Failed("packing method " + std::to_string(method) +
                  " produced data that do not unpack to the input");
  return build;
}
