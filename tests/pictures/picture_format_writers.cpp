#include "tests/pictures/picture_format_writers.h"

#include <algorithm>
#include <cstddef>
#include <map>

#include "packing/byte_order.h"

namespace {

void Put_Be32(ByteVector& out, uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(uint8_t(v >> shift));
}
void Append(ByteVector& out, const ByteVector& more) { out.insert(out.end(), more.begin(), more.end()); }
void Append(ByteVector& out, std::string_view text) { out.insert(out.end(), text.begin(), text.end()); }

}  // namespace

ByteVector Gif_Pack_Codes(const std::vector<GifCode>& codes) {
  ByteVector out;
  uint32_t bits = 0;
  int count = 0;
  for (const GifCode& c : codes) {
    bits |= uint32_t(c.code) << count;
    count += c.width;
    while (count >= 8) {
      out.push_back(uint8_t(bits));
      bits >>= 8;
      count -= 8;
    }
  }
  if (count > 0) out.push_back(uint8_t(bits));
  return out;
}

std::vector<GifCode> Gif_Lzw_Codes(const ByteVector& indices, int b, bool clear_when_full) {
  const int clear = 1 << b;
  std::vector<GifCode> out;
  std::map<std::pair<int, int>, int> table;  // (prefix code, byte) -> code
  int decoder_next = 0;  // the decoder's next free code: it adds one entry per code after the first
  bool first_after_clear = true;
  auto width = [&] {
    int w = b + 1;
    while (w < 12 && decoder_next >= (1 << w)) ++w;
    return w;
  };
  auto reset = [&] {
    out.push_back({clear, width()});
    table.clear();
    decoder_next = clear + 2;
    first_after_clear = true;
  };
  auto emit = [&](int code) {
    out.push_back({code, width()});
    if (!first_after_clear && decoder_next < 4096) ++decoder_next;
    first_after_clear = false;
  };
  decoder_next = clear + 2;
  reset();
  int encoder_next = clear + 2;
  int current = -1;
  for (uint8_t index : indices) {
    if (current < 0) {
      current = index;
      continue;
    }
    auto found = table.find({current, index});
    if (found != table.end()) {
      current = found->second;
      continue;
    }
    emit(current);
    if (encoder_next < 4096) {
      table[{current, index}] = encoder_next++;
    } else if (clear_when_full) {
      reset();
      encoder_next = clear + 2;
    }
    current = index;
  }
  if (current >= 0) emit(current);
  out.push_back({clear + 1, width()});
  return out;
}

ByteVector Gif_Sub_Blocks(const ByteVector& data, size_t block, bool terminator) {
  ByteVector out;
  for (size_t at = 0; at < data.size(); at += block) {
    const size_t n = std::min(block, data.size() - at);
    out.push_back(uint8_t(n));
    out.insert(out.end(), data.begin() + ptrdiff_t(at), data.begin() + ptrdiff_t(at + n));
  }
  if (terminator) out.push_back(0);
  return out;
}

ByteVector Gif_Interlace_Rows(const ByteVector& pixels, int width, int height) {
  ByteVector out;
  const int passes[4][2] = {{0, 8}, {4, 8}, {2, 4}, {1, 2}};
  for (const auto& pass : passes)
    for (int row = pass[0]; row < height; row += pass[1])
      out.insert(out.end(), pixels.begin() + ptrdiff_t(row * width),
                 pixels.begin() + ptrdiff_t((row + 1) * width));
  return out;
}

int Gif_Table_Bits(size_t table_bytes) {
  int bits = 0;
  while ((size_t(3) << (bits + 1)) < table_bytes) ++bits;
  return bits;
}

ByteVector Gif_Table(int bits, int base) {
  ByteVector t;
  for (int i = 0; i < (2 << bits); ++i) {
    t.push_back(uint8_t(base + i));
    t.push_back(uint8_t(base + 2 * i));
    t.push_back(uint8_t(base + 3 * i));
  }
  return t;
}

ByteVector Make_Gif(const GifFile& gif) {
  const GifImage& im = gif.image;
  ByteVector out;
  Append(out, gif.signature);
  Push_Le16(out, gif.screen_width ? gif.screen_width : im.width);
  Push_Le16(out, gif.screen_height ? gif.screen_height : im.height);
  out.push_back(
      uint8_t(gif.global_table.empty() ? 0 : 0x80 | 0x70 | Gif_Table_Bits(gif.global_table.size())));
  out.push_back(0);  // background
  out.push_back(0);  // aspect
  Append(out, gif.global_table);
  Append(out, gif.before_image);
  out.push_back(',');
  Push_Le16(out, im.left);
  Push_Le16(out, im.top);
  Push_Le16(out, im.width);
  Push_Le16(out, im.height);
  uint8_t flags = im.interlaced ? 0x40 : 0;
  if (!im.local_table.empty()) flags |= uint8_t(0x80 | Gif_Table_Bits(im.local_table.size()));
  out.push_back(flags);
  Append(out, im.local_table);
  out.push_back(uint8_t(im.min_code_size));
  if (!im.raw_data.empty()) {
    Append(out, im.raw_data);
  } else {
    const ByteVector stored = im.interlaced ? Gif_Interlace_Rows(im.pixels, im.width, im.height) : im.pixels;
    Append(out, Gif_Sub_Blocks(Gif_Pack_Codes(Gif_Lzw_Codes(stored, im.min_code_size))));
  }
  if (gif.trailer) out.push_back(';');
  return out;
}

ByteVector Iff_Chunk(std::string_view tag, const ByteVector& payload, bool pad) {
  ByteVector out;
  Append(out, tag);
  Put_Be32(out, uint32_t(payload.size()));
  Append(out, payload);
  if (pad && payload.size() % 2) out.push_back(0);
  return out;
}

ByteVector Iff_Bmhd(int width, int height, int planes, int compression) {
  ByteVector b;
  b.push_back(uint8_t(width >> 8));
  b.push_back(uint8_t(width));
  b.push_back(uint8_t(height >> 8));
  b.push_back(uint8_t(height));
  b.insert(b.end(), 4, 0);  // x, y
  b.push_back(uint8_t(planes));
  b.push_back(0);  // masking
  b.push_back(uint8_t(compression));
  b.push_back(0);           // pad
  b.insert(b.end(), 2, 0);  // transparent colour
  b.push_back(10);          // x aspect
  b.push_back(11);          // y aspect
  b.push_back(uint8_t(width >> 8));
  b.push_back(uint8_t(width));
  b.push_back(uint8_t(height >> 8));
  b.push_back(uint8_t(height));
  return b;
}

ByteVector Iff_Form(std::string_view type, const std::vector<ByteVector>& chunks) {
  ByteVector inside;
  Append(inside, type);
  for (const ByteVector& c : chunks) Append(inside, c);
  ByteVector out;
  Append(out, "FORM");
  Put_Be32(out, uint32_t(inside.size()));
  Append(out, inside);
  return out;
}

ByteVector ByteRun1_Encode(const ByteVector& data) {
  ByteVector out;
  size_t i = 0;
  while (i < data.size()) {
    size_t run = 1;
    while (i + run < data.size() && run < 128 && data[i + run] == data[i]) ++run;
    if (run >= 3) {
      out.push_back(uint8_t(257 - run));
      out.push_back(data[i]);
      i += run;
      continue;
    }
    size_t start = i, n = 0;
    while (i < data.size() && n < 128) {
      if (i + 2 < data.size() && data[i] == data[i + 1] && data[i] == data[i + 2]) break;
      ++i;
      ++n;
    }
    out.push_back(uint8_t(n - 1));
    out.insert(out.end(), data.begin() + ptrdiff_t(start), data.begin() + ptrdiff_t(i));
  }
  return out;
}

ByteVector Mtrd_Chunk(std::string_view tag, const ByteVector& payload) {
  ByteVector out;
  Append(out, tag);
  Push_Le32(out, uint32_t(payload.size() + 8));
  Append(out, payload);
  return out;
}

ByteVector Mtrd_Int(std::string_view tag, int32_t value) {
  ByteVector payload;
  Push_Le32(payload, uint32_t(value));
  return Mtrd_Chunk(tag, payload);
}

ByteVector Mtrd_Container(const std::vector<ByteVector>& chunks) {
  ByteVector inside;
  for (const ByteVector& c : chunks) Append(inside, c);
  return Mtrd_Chunk("MTRD", inside);
}

ByteVector Mtrd_Head(std::string_view name, int32_t version, int32_t width, int32_t height, int32_t depth,
                     int32_t pack, int32_t size, int32_t frames) {
  ByteVector payload(16, 0);
  std::copy_n(name.begin(), std::min<size_t>(16, name.size()), payload.begin());
  for (int32_t v : {version, width, height, depth, pack, size, frames}) Push_Le32(payload, uint32_t(v));
  return Mtrd_Chunk("HEAD", payload);
}

ByteVector Mtrd_Name(std::string_view name) {
  ByteVector payload(256, 0);
  std::copy_n(name.begin(), std::min<size_t>(256, name.size()), payload.begin());
  return Mtrd_Chunk("NAME", payload);
}

std::vector<ByteVector> Mtrd_Picture_Chunks(const MtrdPictureFields& s) {
  return {Mtrd_Int("VERS", s.version),
          Mtrd_Name(s.name),
          Mtrd_Int("SIZX", s.width),
          Mtrd_Int("SIZY", s.height),
          Mtrd_Int("BITP", s.depth),
          Mtrd_Int("PACK", s.pack),
          Mtrd_Int("SIZE", int32_t(s.pict.size())),
          Mtrd_Int("NBFR", s.frames),
          Mtrd_Chunk("PALE", s.palette),
          Mtrd_Chunk("PICT", s.pict)};
}
