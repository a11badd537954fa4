// A printed page as a PDF of one page (cairo).
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

// A page of `page_width_pt` x `page_height_pt` points titled `title`, with
// the raster (width x height 0xRRGGBB pixels, rows from the top, at `dpi`)
// placed with its top-left corner at (left_pt, top_pt) points. Empty when
// the sizes do not fit the raster or cairo fails.
std::vector<uint8_t> Pdf_Page_Bytes(std::span<const uint32_t> raster, int width, int height, int dpi,
                                    double page_width_pt, double page_height_pt, double left_pt,
                                    double top_pt, const std::string& title);
