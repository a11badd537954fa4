// DCT: the unpackers of animation frames.
#include <cstdint>
#include <vector>

#include "dct/block_layout.h"
#include "dct/dct.h"
#include "dct/jpeg_reader.h"
#include "dct/pixel_rows.h"

namespace {

using namespace dct_internal;

// Decodes the packed picture of `count` blocks whole; false (nothing in
// `cells`) unless it has exactly the packed size and decodes without fault.
bool Decode_Packed(const unsigned char* data, int size, int count, Pixels format,
                   std::vector<uint32_t>& cells) {
  const Grid packed = Packed_Grid(count);
  JpegReader reader(data, size);
  if (!reader.Read_Header() || reader.Width() != packed.Width() || reader.Height() != packed.Height())
    return false;
  const size_t pitch = static_cast<size_t>(packed.Width()) * Bytes_Per_Pixel(format);
  // 32-bit words keep both pixel sizes aligned.
  cells.resize((pitch * packed.Height() + 3) / 4);
  auto* first = reinterpret_cast<unsigned char*>(cells.data());
  return reader.Read_Rows(format, false, first, pitch) == packed.Height();
}

void Unpack_Blocks(unsigned char* dest, const int* blocks, int count, int width, const unsigned char* data,
                   int size, Pixels format) {
  Grid target;
  if (!dest || !blocks || !Target_Grid(width, target) || count < 1 || count > target.Blocks()) return;
  std::vector<uint32_t> cells;
  try {
    if (!Decode_Packed(data, size, count, format, cells)) return;
  } catch (...) {  // no memory for the packed picture
    return;
  }
  const Grid packed = Packed_Grid(count);
  const int bpp = Bytes_Per_Pixel(format);
  const auto* from = reinterpret_cast<const unsigned char*>(cells.data());
  for (int i = 0; i < count; ++i) {
    const int n = blocks[i];
    if (n < 0 || n >= target.Blocks()) continue;
    Copy_Block(from + Block_Offset(packed, i, bpp), static_cast<size_t>(packed.Width()) * bpp,
               dest + Block_Offset(target, n, bpp), static_cast<size_t>(target.Width()) * bpp, bpp);
  }
}

}  // namespace

DCT::DCT() = default;
DCT::~DCT() = default;

void DCT::Unpack_Bloc_Rgb_16(unsigned short* dest, int* blocks, int count, int width, unsigned char* data,
                             int size, int, int depth) {
  Unpack_Blocks(reinterpret_cast<unsigned char*>(dest), blocks, count, width, data, size,
                depth == 15 ? Pixels::kRgb555 : Pixels::kRgb565);
}

void DCT::Unpack_Bloc_Rgb_32_2(unsigned char* dest, int* blocks, int count, int width, unsigned char* data,
                               int size, int) {
  Unpack_Blocks(dest, blocks, count, width, data, size, Pixels::kBgr0);
}
