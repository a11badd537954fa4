#include "tests/tools/png_bytes.h"

#include <zlib.h>

namespace {

void Put_Be32(std::vector<uint8_t>& out, uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(uint8_t(value >> shift));
}

std::vector<uint8_t> Deflate(const std::vector<uint8_t>& data) {
  uLongf size = compressBound(uLong(data.size()));
  std::vector<uint8_t> out(size);
  compress(out.data(), &size, data.data(), uLong(data.size()));
  out.resize(size);
  return out;
}

}  // namespace

std::vector<uint8_t> Png_Chunk(std::string_view type, const std::vector<uint8_t>& data) {
  std::vector<uint8_t> chunk;
  Put_Be32(chunk, uint32_t(data.size()));
  chunk.insert(chunk.end(), type.begin(), type.end());
  chunk.insert(chunk.end(), data.begin(), data.end());
  uLong crc = crc32(0, chunk.data() + 4, uInt(chunk.size() - 4));
  Put_Be32(chunk, uint32_t(crc));
  return chunk;
}

std::vector<uint8_t> Png_Build(const PngFields& fields) {
  std::vector<uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  std::vector<uint8_t> header;
  Put_Be32(header, uint32_t(fields.width));
  Put_Be32(header, uint32_t(fields.height));
  header.insert(header.end(),
                {uint8_t(fields.bit_depth), uint8_t(fields.colour_type), 0, 0, uint8_t(fields.interlace)});
  auto add = [&](std::string_view type, const std::vector<uint8_t>& data) {
    std::vector<uint8_t> chunk = Png_Chunk(type, data);
    png.insert(png.end(), chunk.begin(), chunk.end());
  };
  add("IHDR", header);
  if (!fields.palette.empty()) add("PLTE", fields.palette);
  if (!fields.trns.empty()) add("tRNS", fields.trns);
  add("IDAT", Deflate(fields.scan_lines));
  add("IEND", {});
  return png;
}

std::vector<uint8_t> Png_Rows(const std::vector<std::vector<uint8_t>>& rows) {
  std::vector<uint8_t> out;
  for (const std::vector<uint8_t>& row : rows) {
    out.push_back(0);
    out.insert(out.end(), row.begin(), row.end());
  }
  return out;
}
