#include "pictures/gif_lzw.h"

#include <memory>

#include "pictures/file_window.h"

GifRowWriter::GifRowWriter(uint8_t* pixels, int width, int height, bool interlaced)
    : pixels_(pixels), width_(width), height_(height), interlaced_(interlaced) {
  if (width_ <= 0 || height_ <= 0) row_ = height_ = 0;
}

bool GifRowWriter::Put(uint8_t index) {
  if (Full()) return false;
  const int row = interlaced_ ? Gif_Interlaced_Row(row_, height_) : row_;
  pixels_[size_t(row) * size_t(width_) + size_t(column_)] = index;
  ++written_;
  if (++column_ == width_) {
    column_ = 0;
    ++row_;
  }
  return true;
}

int Gif_Interlaced_Row(int file_row, int height) {
  struct Pass {
    int first, step;
  };
  static constexpr Pass kPasses[4] = {{0, 8}, {4, 8}, {2, 4}, {1, 2}};
  for (const Pass& pass : kPasses) {
    const int rows = height > pass.first ? (height - pass.first + pass.step - 1) / pass.step : 0;
    if (file_row < rows) return pass.first + file_row * pass.step;
    file_row -= rows;
  }
  return -1;  // not a row of the image
}

namespace {

// Bytes of the sub-blocks one after another; a zero-length sub-block or the
// end of the file ends them.
class SubBlockReader {
 public:
  SubBlockReader(FileWindow& file, int64_t offset) : file_(file), position_(offset) {}

  int Next() {
    while (left_ == 0) {
      if (ended_) return -1;
      const int length = file_.Byte(position_++);
      if (length <= 0) {
        ended_ = true;
        return -1;
      }
      left_ = length;
    }
    const int b = file_.Byte(position_++);
    if (b < 0) {
      ended_ = true;
      left_ = 0;
      return -1;
    }
    --left_;
    return b;
  }

 private:
  FileWindow& file_;
  int64_t position_;
  int left_ = 0;
  bool ended_ = false;
};

// Codes of a given width, least significant bit first.
class CodeReader {
 public:
  explicit CodeReader(SubBlockReader& bytes) : bytes_(bytes) {}

  // The next code, or -1 when the data end first.
  int Next(int width) {
    while (count_ < width) {
      const int b = bytes_.Next();
      if (b < 0) return -1;
      bits_ |= uint32_t(b) << count_;
      count_ += 8;
    }
    const int code = int(bits_ & ((1u << width) - 1));
    bits_ >>= width;
    count_ -= width;
    return code;
  }

 private:
  SubBlockReader& bytes_;
  uint32_t bits_ = 0;
  int count_ = 0;
};

// The string table: each entry is a prefix code plus one byte.
struct Dictionary {
  uint16_t prefix[kGifDictionarySize];
  uint8_t suffix[kGifDictionarySize];
  uint8_t first[kGifDictionarySize];  // first byte of the entry's string
  uint16_t length[kGifDictionarySize];
};

// Writes the string of `code` to the picture; false once the picture is full.
bool Emit(const Dictionary& d, int code, GifRowWriter& out, uint8_t* stack) {
  const int n = d.length[code];
  for (int i = n - 1; i >= 0; --i) {
    stack[i] = d.suffix[code];
    code = d.prefix[code];
  }
  for (int i = 0; i < n; ++i)
    if (!out.Put(stack[i])) return false;
  return true;
}

}  // namespace

size_t Gif_Lzw_Decode(FileWindow& file, int64_t offset, int min_code_size, GifRowWriter& out) {
  if (min_code_size < 2 || min_code_size > 8) return 0;
  auto d = std::make_unique<Dictionary>();
  const int clear = 1 << min_code_size;
  const int end = clear + 1;
  for (int c = 0; c < clear; ++c) {
    d->prefix[c] = 0;
    d->suffix[c] = d->first[c] = uint8_t(c);
    d->length[c] = 1;
  }
  uint8_t stack[kGifDictionarySize];
  SubBlockReader bytes(file, offset);
  CodeReader codes(bytes);

  int width = min_code_size + 1;
  int next = clear + 2;
  int previous = -1;  // no predecessor: the stream's start or after a clear
  while (!out.Full()) {
    const int code = codes.Next(width);
    if (code < 0 || code == end) break;
    if (code == clear) {
      width = min_code_size + 1;
      next = clear + 2;
      previous = -1;
      continue;
    }
    if (previous < 0) {
      if (code > clear) break;  // a first code must be a root
      if (!out.Put(uint8_t(code))) break;
      previous = code;
      continue;
    }
    if (code > next) break;
    // A code equal to the next free one is the previous string plus its own
    // first byte; the entry is added before it is written.
    const uint8_t first = code == next ? d->first[previous] : d->first[code];
    if (next < kGifDictionarySize) {
      d->prefix[next] = uint16_t(previous);
      d->suffix[next] = first;
      d->first[next] = d->first[previous];
      d->length[next] = uint16_t(d->length[previous] + 1);
      ++next;
      if (next == (1 << width) && width < kGifCodeBitsMax) ++width;
    }
    if (!Emit(*d, code, out, stack)) break;
    previous = code;
  }
  return out.Written();
}

uint64_t Gif_Max_Pixels(uint64_t data_bytes) {
  const uint64_t codes = data_bytes * 8 / 3;
  const uint64_t full = kGifDictionarySize;
  if (codes <= full) return codes * (codes + 1) / 2;
  return full * (full + 1) / 2 + (codes - full) * full;
}
