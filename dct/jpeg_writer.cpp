#include "dct/jpeg_writer.h"

// jpeglib.h needs FILE and size_t declared first.
#include <cstddef>
#include <cstdio>
#include <jpeglib.h>
// jerror.h after jpeglib.h, for ERREXIT.
#include <jerror.h>

#include <csetjmp>
#include <cstdlib>
#include <new>

namespace dct_internal {

namespace {

constexpr size_t kFirstBuffer = size_t{64} << 10;

struct ErrorTrap {
  jpeg_error_mgr manager;
  std::jmp_buf jump;
};

[[noreturn]] void On_Error(j_common_ptr cinfo) {
  std::longjmp(reinterpret_cast<ErrorTrap*>(cinfo->err)->jump, 1);
}

void Say_Nothing(j_common_ptr) {}

// A growing malloc'd buffer as libjpeg's destination; freed by its owner
// whatever happens.
struct GrowingOutput {
  jpeg_destination_mgr manager;
  unsigned char* bytes;
  size_t capacity;
  size_t used;
};

GrowingOutput* Output_Of(j_compress_ptr cinfo) { return reinterpret_cast<GrowingOutput*>(cinfo->dest); }

void Output_Start(j_compress_ptr cinfo) {
  GrowingOutput* o = Output_Of(cinfo);
  o->bytes = static_cast<unsigned char*>(std::malloc(kFirstBuffer));
  if (!o->bytes) ERREXIT(cinfo, JERR_OUT_OF_MEMORY);
  o->capacity = kFirstBuffer;
  o->manager.next_output_byte = o->bytes;
  o->manager.free_in_buffer = o->capacity;
}

boolean Output_Grow(j_compress_ptr cinfo) {
  GrowingOutput* o = Output_Of(cinfo);
  auto* bigger = static_cast<unsigned char*>(std::realloc(o->bytes, o->capacity * 2));
  if (!bigger) ERREXIT(cinfo, JERR_OUT_OF_MEMORY);
  o->bytes = bigger;
  o->manager.next_output_byte = bigger + o->capacity;
  o->manager.free_in_buffer = o->capacity;
  o->capacity *= 2;
  return TRUE;
}

void Output_End(j_compress_ptr cinfo) {
  GrowingOutput* o = Output_Of(cinfo);
  o->used = o->capacity - o->manager.free_in_buffer;
}

// Plain data only: a longjmp out of libjpeg skips no destructor.
struct Writer {
  jpeg_compress_struct cinfo{};
  ErrorTrap trap{};
  GrowingOutput output{};
  bool created = false;
};

// Runs the compression; true when the stream is complete in w.output.
bool Compress(Writer& w, const unsigned char* pixels, int width, int height, size_t pitch, int quality) {
  jpeg_compress_struct* c = &w.cinfo;
  c->err = jpeg_std_error(&w.trap.manager);
  w.trap.manager.error_exit = On_Error;
  w.trap.manager.output_message = Say_Nothing;
  if (setjmp(w.trap.jump)) return false;
  w.created = true;
  jpeg_create_compress(c);
  w.output.manager.init_destination = Output_Start;
  w.output.manager.empty_output_buffer = Output_Grow;
  w.output.manager.term_destination = Output_End;
  c->dest = &w.output.manager;
  c->image_width = static_cast<JDIMENSION>(width);
  c->image_height = static_cast<JDIMENSION>(height);
  c->input_components = 4;
  c->in_color_space = JCS_EXT_BGRX;
  jpeg_set_defaults(c);  // YCbCr, 4:2:0, sequential Huffman coding
  jpeg_set_quality(c, quality, TRUE);
  c->optimize_coding = TRUE;
  jpeg_start_compress(c, TRUE);
  while (c->next_scanline < c->image_height) {
    JSAMPROW row = const_cast<JSAMPROW>(pixels + c->next_scanline * pitch);
    jpeg_write_scanlines(c, &row, 1);
  }
  jpeg_finish_compress(c);
  return true;
}

}  // namespace

bool Jpeg_Write(const unsigned char* pixels, int width, int height, size_t pitch, int quality,
                std::vector<unsigned char>& out) {
  out.clear();
  auto* w = new (std::nothrow) Writer;
  if (!w) return false;
  bool ok = Compress(*w, pixels, width, height, pitch, quality);
  if (w->created) jpeg_destroy_compress(&w->cinfo);
  try {
    if (ok) out.assign(w->output.bytes, w->output.bytes + w->output.used);
  } catch (...) {
    ok = false;
    out.clear();
  }
  std::free(w->output.bytes);
  delete w;
  return ok;
}

}  // namespace dct_internal
