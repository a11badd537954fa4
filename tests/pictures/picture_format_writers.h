// GIF, IFF and MTRD files built byte by byte for the reader tests, with the
// encoders they need (GIF LZW, ByteRun1).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

using ByteVector = std::vector<uint8_t>;

// --- GIF -------------------------------------------------------------------

// Codes of the given widths packed least significant bit first.
struct GifCode {
  int code;
  int width;
};
ByteVector Gif_Pack_Codes(const std::vector<GifCode>& codes);
// LZW codes for the indices: a clear code, the codes with the widths a
// decoder expects, the end code. The dictionary stops growing when full and
// no further clear is sent, unless clear_when_full.
std::vector<GifCode> Gif_Lzw_Codes(const ByteVector& indices, int min_code_size,
                                   bool clear_when_full = false);
// Data cut into sub-blocks of at most `block` bytes, then the empty one.
ByteVector Gif_Sub_Blocks(const ByteVector& data, size_t block = 255, bool terminator = true);
// The indices of a display-order picture in the order an interlaced file
// stores its rows.
ByteVector Gif_Interlace_Rows(const ByteVector& pixels, int width, int height);

struct GifImage {
  int left = 0, top = 0;
  int width = 0, height = 0;
  ByteVector pixels;  // display order, width x height
  bool interlaced = false;
  ByteVector local_table;  // 3 x 2^(n+1) bytes, or empty
  int min_code_size = 8;
  // When not empty, written after the code-size byte instead of the
  // encoded pixels (already cut into sub-blocks).
  ByteVector raw_data;
};
struct GifFile {
  std::string signature = "GIF89a";
  int screen_width = 0, screen_height = 0;  // 0: the image's size
  ByteVector global_table;                  // 3 x 2^(n+1) bytes, or empty
  ByteVector before_image;                  // extension blocks and other bytes
  GifImage image;
  bool trailer = true;
};
// The table flags' size bits for a table of that many bytes.
int Gif_Table_Bits(size_t table_bytes);
ByteVector Make_Gif(const GifFile& gif);
// A colour table of 2^(bits+1) entries: entry i = (base + i, base + 2i, base + 3i).
ByteVector Gif_Table(int bits, int base);

// --- IFF -------------------------------------------------------------------

// Tag, 4-byte big-endian length, payload, and a pad byte after odd payloads.
ByteVector Iff_Chunk(std::string_view tag, const ByteVector& payload, bool pad = true);
// A 20-byte BMHD: width, height, x 0, y 0, planes, masking 0, compression,
// pad, transparent colour 0, aspect 10:11, page size = picture size.
ByteVector Iff_Bmhd(int width, int height, int planes, int compression);
// "FORM", its length, the form type, the chunks.
ByteVector Iff_Form(std::string_view type, const std::vector<ByteVector>& chunks);
// ByteRun1: runs of 3 or more equal bytes as repeats, the rest as literals.
ByteVector ByteRun1_Encode(const ByteVector& data);

// --- MTRD ------------------------------------------------------------------

// Tag, 32-bit little-endian length counting the 8 header bytes, payload.
ByteVector Mtrd_Chunk(std::string_view tag, const ByteVector& payload);
ByteVector Mtrd_Int(std::string_view tag, int32_t value);
// "MTRD" around the chunks.
ByteVector Mtrd_Container(const std::vector<ByteVector>& chunks);
// The HEAD chunk: name in 16 bytes, then the seven numbers.
ByteVector Mtrd_Head(std::string_view name, int32_t version, int32_t width, int32_t height, int32_t depth,
                     int32_t pack, int32_t size, int32_t frames);
// The NAME chunk: the name in 256 zero-padded bytes.
ByteVector Mtrd_Name(std::string_view name);

// The header chunks of a version-1282+ picture.
struct MtrdPictureFields {
  std::string name = "pic";
  int32_t version = 1284;
  int32_t width = 4, height = 2, depth = 8, pack = 0, frames = 0;
  ByteVector palette;  // PALE payload
  ByteVector pict;     // PICT payload
};
// VERS, NAME, SIZX, SIZY, BITP, PACK, SIZE, NBFR, PALE, PICT in that order.
std::vector<ByteVector> Mtrd_Picture_Chunks(const MtrdPictureFields& fields);
