#include "host/pdf_page.h"

#include <cairo-pdf.h>
#include <cairo.h>

namespace {

cairo_status_t Append(void* closure, const unsigned char* data, unsigned int length) {
  auto* out = static_cast<std::vector<uint8_t>*>(closure);
  out->insert(out->end(), data, data + length);
  return CAIRO_STATUS_SUCCESS;
}

}  // namespace

std::vector<uint8_t> Pdf_Page_Bytes(std::span<const uint32_t> raster, int width, int height, int dpi,
                                    double page_width_pt, double page_height_pt, double left_pt,
                                    double top_pt, const std::string& title) {
  std::vector<uint8_t> out;
  if (width <= 0 || height <= 0 || dpi <= 0 || !(page_width_pt > 0) || !(page_height_pt > 0)) return out;
  if (raster.size() / size_t(width) < size_t(height)) return out;
  const int stride = cairo_format_stride_for_width(CAIRO_FORMAT_RGB24, width);
  if (stride != width * 4) return out;  // the raster's rows are packed

  cairo_surface_t* pdf = cairo_pdf_surface_create_for_stream(Append, &out, page_width_pt, page_height_pt);
  cairo_pdf_surface_set_metadata(pdf, CAIRO_PDF_METADATA_TITLE, title.c_str());
  // cairo only reads the pixels; its interface takes them mutable.
  cairo_surface_t* image = cairo_image_surface_create_for_data(
      reinterpret_cast<unsigned char*>(const_cast<uint32_t*>(raster.data())), CAIRO_FORMAT_RGB24, width,
      height, stride);
  cairo_t* cr = cairo_create(pdf);
  cairo_translate(cr, left_pt, top_pt);
  cairo_scale(cr, 72.0 / dpi, 72.0 / dpi);
  cairo_set_source_surface(cr, image, 0, 0);
  cairo_paint(cr);
  cairo_show_page(cr);
  const bool drawn = cairo_status(cr) == CAIRO_STATUS_SUCCESS;
  cairo_destroy(cr);
  cairo_surface_destroy(image);
  cairo_surface_finish(pdf);
  const bool finished = cairo_surface_status(pdf) == CAIRO_STATUS_SUCCESS;
  cairo_surface_destroy(pdf);
  if (!drawn || !finished) out.clear();
  return out;
}
