#include "tools/pak_report.h"

#include <cstdint>

#include "tools/printable_text.h"

namespace {

std::string Number(uint64_t value) { return std::to_string(value); }

std::string Truncation_Note(const PakResult& result) {
  if (result.packed_available >= result.header.packed_size) return {};
  return "; the file ends after " + Number(result.packed_available) + " of its " +
         Number(result.header.packed_size) + " packed bytes";
}

}  // namespace

const char* Pak_Method_Name(int method) {
  switch (method) {
    case 0: return "stored";
    case 1: return "run-length";
    case 2: return "short-window LZ";
    case 3: return "long-window LZ";
    case 4: return "Huffman";
    case 5: return "Huffman-coded long-window LZ";
    default: return "unknown";
  }
}

std::string Pak_Info_Text(const PakHeader& header) {
  return "name: " + Printable_Text(header.stored_name) + "\n" + "method: " + std::to_string(header.method) +
         " (" + Pak_Method_Name(header.method) + ")\n" + "packed size: " + Number(header.packed_size) + "\n" +
         "unpacked size: " + Number(header.unpacked_size) + "\n";
}

std::string Pak_Failure_Text(const PakResult& result) {
  const PakHeader& h = result.header;
  std::string text = Pak_Status_Text(result.status);
  switch (result.status) {
    case PakStatus::kOk:
    case PakStatus::kNoFile:
    case PakStatus::kNotPak: return text;
    case PakStatus::kBadMethod:
      return text + " " + std::to_string(h.method) + " (0 to " + std::to_string(kPakMethodMax) + " exist)";
    case PakStatus::kImpossibleSize:
      return text + ": " + Number(h.unpacked_size) + " bytes unpacked claimed from " +
             Number(result.packed_available) + " packed bytes with method " + std::to_string(h.method) +
             Truncation_Note(result);
    case PakStatus::kMalformed: break;
  }
  if (h.method == 0 || result.unpack.ok())
    return text + ": " + Number(h.unpacked_size) + " bytes claimed, " + Number(result.packed_available) +
           " stored" + Truncation_Note(result);
  return text + ": " + Unpack_Status_Text(result.unpack.status) + " after reading " +
         Number(result.unpack.read) + " of " + Number(result.packed_available) + " packed bytes, " +
         Number(result.unpack.written) + " of " + Number(h.unpacked_size) + " bytes unpacked" +
         Truncation_Note(result);
}
