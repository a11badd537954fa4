#include "platform/files/pak_file.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "packing/byte_order.h"
#include "platform/files/file_layer.h"
#include "platform/wendax.h"

namespace {

// Sizes beyond this are refused: memory files and handles count in 32 bits.
constexpr uint32_t kPakUnpackedMax = uint32_t(std::numeric_limits<int32_t>::max());

}  // namespace

bool Pak_Parse_Header(const uint8_t* bytes, size_t size, PakHeader& header) {
  if (size < kPakHeaderSize || std::memcmp(bytes, "PAKF", 4) != 0) return false;
  const char* name = reinterpret_cast<const char*>(bytes + 8);
  header.stored_name.assign(name, strnlen(name, kPakNameMax));
  header.method = int32_t(Le_U32(bytes + 24));
  header.packed_size = Le_U32(bytes + 28);
  header.unpacked_size = Le_U32(bytes + 32);
  return true;
}

PakResult Pak_Decode(const uint8_t* bytes, size_t size) {
  PakResult result;
  if (!Pak_Parse_Header(bytes, size, result.header)) {
    result.status = PakStatus::kNotPak;
    return result;
  }
  const PakHeader& h = result.header;
  const uint8_t* packed = bytes + kPakHeaderSize;
  result.packed_available = std::min<size_t>(h.packed_size, size - kPakHeaderSize);
  if (h.method < 0 || h.method > kPakMethodMax) {
    result.status = PakStatus::kBadMethod;
    return result;
  }
  size_t ceiling =
      h.method == 0 ? result.packed_available : Unpack_Max_Output(h.method, result.packed_available);
  if (h.unpacked_size > kPakUnpackedMax || h.unpacked_size > ceiling) {
    result.status = h.method == 0 ? PakStatus::kMalformed : PakStatus::kImpossibleSize;
    return result;
  }
  result.data.resize(h.unpacked_size);
  if (h.method == 0) {
    std::copy_n(packed, h.unpacked_size, result.data.begin());
    result.unpack = {UnpackStatus::kOk, h.unpacked_size, h.unpacked_size};
  } else {
    result.unpack = Unpack(h.method, packed, result.packed_available, result.data.data(), result.data.size());
  }
  if (!result.unpack.ok()) {
    result.status = PakStatus::kMalformed;
    result.data.clear();
    return result;
  }
  result.status = PakStatus::kOk;
  return result;
}

PakResult Pak_Read_File(Wendax& wx, std::string_view name) {
  PakResult result;
  int handle = File_Open(wx, name, kFileModeRead);
  if (handle < 0) return result;
  // The header first, then only the packed bytes it announces.
  std::vector<uint8_t> bytes(kPakHeaderSize);
  int count = File_Read(wx, handle, bytes.data(), int(kPakHeaderSize));
  PakHeader header;
  if (count == int(kPakHeaderSize) && Pak_Parse_Header(bytes.data(), bytes.size(), header)) {
    File_Seek(wx, handle, 0, kSeekEnd);
    int64_t left = int64_t(File_Tell(wx, handle)) - int64_t(kPakHeaderSize);
    size_t packed = size_t(std::clamp<int64_t>(left, 0, header.packed_size));
    File_Seek(wx, handle, int32_t(kPakHeaderSize), kSeekStart);
    bytes.resize(kPakHeaderSize + packed);
    int got = packed ? File_Read(wx, handle, bytes.data() + kPakHeaderSize, int(packed)) : 0;
    bytes.resize(kPakHeaderSize + size_t(std::max(got, 0)));
    count = int(bytes.size());
  }
  File_Close(wx, handle);
  return Pak_Decode(bytes.data(), size_t(std::max(count, 0)));
}

int Pak_Read(Wendax& wx, std::string& name, std::vector<uint8_t>& data) {
  PakResult result = Pak_Read_File(wx, name);
  data.clear();
  if (!result.ok()) return -1;
  name = result.header.stored_name;
  data = std::move(result.data);
  return 0;
}

const char* Pak_Status_Text(PakStatus status) {
  switch (status) {
    case PakStatus::kOk: return "ok";
    case PakStatus::kNoFile: return "cannot open the file";
    case PakStatus::kNotPak: return "not a PAKF file";
    case PakStatus::kBadMethod: return "unknown packing method";
    case PakStatus::kImpossibleSize: return "unpacked size larger than the packed data can hold";
    case PakStatus::kMalformed: return "packed data malformed";
  }
  return "unknown";
}
