#include "dct/jpeg_reader.h"

// jpeglib.h needs FILE and size_t declared first.
#include <cstddef>
#include <cstdio>
#include <jpeglib.h>

#include <csetjmp>
#include <new>

namespace dct_internal {

namespace {

// Memory libjpeg may take for one stream: far more than the largest picture
// needs, far less than a hostile header could ask for.
constexpr long kMemoryLimit = 96L << 20;
constexpr int kRowsAtOnce = 16;

struct ErrorTrap {
  jpeg_error_mgr manager;
  std::jmp_buf jump;
};

[[noreturn]] void On_Error(j_common_ptr cinfo) {
  std::longjmp(reinterpret_cast<ErrorTrap*>(cinfo->err)->jump, 1);
}

// Level -1 is a warning: corrupt or missing data that libjpeg would paper
// over. Taken as a failure, like an error.
void On_Message(j_common_ptr cinfo, int level) {
  if (level < 0) std::longjmp(reinterpret_cast<ErrorTrap*>(cinfo->err)->jump, 1);
}

void Say_Nothing(j_common_ptr) {}

}  // namespace

// The libjpeg objects; plain data, so that a longjmp out of libjpeg skips no
// destructor. Fields changed after setjmp live here, not in locals.
struct JpegReader::State {
  jpeg_decompress_struct cinfo{};
  ErrorTrap trap{};
  bool created = false;
  bool header_read = false;
  bool failed = false;
  int rows_done = 0;
};

JpegReader::JpegReader(const unsigned char* data, int size)
    : data_(data), size_(size), state_(new (std::nothrow) State) {}

JpegReader::~JpegReader() {
  if (state_ && state_->created) jpeg_destroy_decompress(&state_->cinfo);
  delete state_;
}

bool JpegReader::Read_Header() {
  State* s = state_;
  if (!s || s->created || !data_ || size_ <= 0) return false;
  jpeg_decompress_struct* c = &s->cinfo;
  c->err = jpeg_std_error(&s->trap.manager);
  s->trap.manager.error_exit = On_Error;
  s->trap.manager.emit_message = On_Message;
  s->trap.manager.output_message = Say_Nothing;
  if (setjmp(s->trap.jump)) {
    s->failed = true;
    return false;
  }
  s->created = true;
  jpeg_create_decompress(c);
  c->mem->max_memory_to_use = kMemoryLimit;
  jpeg_mem_src(c, data_, static_cast<unsigned long>(size_));
  if (jpeg_read_header(c, TRUE) != JPEG_HEADER_OK) return false;
  if (c->progressive_mode || c->arith_code || c->data_precision != 8) return false;
  width_ = static_cast<int>(c->image_width);
  height_ = static_cast<int>(c->image_height);
  s->header_read = true;
  return true;
}

int JpegReader::Read_Rows(Pixels format, bool smooth_chroma, unsigned char* first, size_t pitch) {
  State* s = state_;
  if (!s || !s->header_read || s->failed || !first) return 0;
  jpeg_decompress_struct* c = &s->cinfo;
  s->rows_done = 0;
  if (setjmp(s->trap.jump)) {
    s->failed = true;
    return s->rows_done;
  }
  c->out_color_space = format == Pixels::kBgr0 ? JCS_EXT_BGRX : JCS_RGB565;
  c->dither_mode = JDITHER_NONE;  // RGB565 keeps the top bits of each channel
  c->quantize_colors = FALSE;
  c->do_fancy_upsampling = smooth_chroma ? TRUE : FALSE;
  c->scale_num = c->scale_denom = 1;
  jpeg_start_decompress(c);
  if (static_cast<int>(c->output_width) != width_ || static_cast<int>(c->output_height) != height_) {
    s->failed = true;
    return 0;
  }
  while (c->output_scanline < c->output_height) {
    const JDIMENSION y = c->output_scanline;
    const JDIMENSION left = c->output_height - y;
    const JDIMENSION batch = left < kRowsAtOnce ? left : kRowsAtOnce;
    JSAMPROW rows[kRowsAtOnce];
    for (JDIMENSION i = 0; i < batch; ++i) rows[i] = first + (y + i) * pitch;
    const JDIMENSION got = jpeg_read_scanlines(c, rows, batch);
    if (got == 0) break;
    for (JDIMENSION i = 0; i < got; ++i) Finish_Row(format, rows[i], c->output_width);
    s->rows_done += static_cast<int>(got);
  }
  return s->rows_done;
}

}  // namespace dct_internal
