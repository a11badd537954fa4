// The print device of one page: a white raster of the medium's printable
// area at 300 dpi into which stretched DIBs are drawn, sent at the end of
// the document as a one-page PDF.
//
// Stretching averages areas: every page pixel is the mean of the DIB pixels
// its square covers, each weighted by the part of it that is covered (a box
// filter, separable, across and down). Enlarged pictures keep sharp pixels
// with one blended page pixel at each edge between two of them; reduced
// pictures are smoothed as a halftone stretch would.
#pragma once

#include <functional>
#include <span>
#include <string>
#include <vector>

#include "host/print_device.h"

inline constexpr int kPrintDpi = 300;

// A medium's size and margins in hundredths of a millimetre, portrait.
struct PrintMedium {
  int width = 21000;  // A4
  int length = 29700;
  int left = 0;
  int right = 0;
  int top = 0;
  int bottom = 0;

  // True when the sizes are positive and the margins leave a printable area.
  bool Usable() const;
};

// Sends a finished document: the PDF's bytes under the document's name.
// False when they could not be sent.
using PdfSink = std::function<bool(std::span<const uint8_t> pdf, const std::string& name)>;

class PagePrintDevice : public PrintDevice {
 public:
  // An unusable medium counts as A4 without margins. With `landscape` a
  // portrait medium is turned a quarter clockwise: its left margin goes to
  // the top.
  PagePrintDevice(const PrintMedium& medium, bool landscape, PdfSink sink);

  PrintMetrics Metrics() const override { return metrics_; }
  bool Start_Doc(std::string_view name) override;
  // One page a document: a second page is refused.
  bool Start_Page() override;
  // Refused outside a page, for sizes that are not positive, a source
  // rectangle outside the DIB or a DIB whose bits are short. The
  // destination is clipped to the page.
  int Stretch_DIB(const PrintRect& dest, const PrintRect& source, const Dib565& dib) override;
  bool End_Page() override;
  // Encodes the ended page and gives it to the sink. False (nothing sent)
  // without an ended page.
  bool End_Doc() override;
  void Abort_Doc() override;

  // The page: 0xRRGGBB pixels, horz_res x vert_res, rows from the top. It
  // stays after the document until the next one starts.
  std::span<const uint32_t> Raster() const { return raster_; }
  uint32_t Pixel(int x, int y) const { return raster_[size_t(y) * size_t(metrics_.horz_res) + size_t(x)]; }
  // The page's size in points (1/72 inch), oriented as printed.
  double Page_Width_Pt() const { return page_width_pt_; }
  double Page_Height_Pt() const { return page_height_pt_; }

 private:
  enum class State { kIdle, kDoc, kPage, kPageDone };

  PrintMetrics metrics_;
  double page_width_pt_ = 0;
  double page_height_pt_ = 0;
  double left_pt_ = 0;  // the printable area's corner on the page
  double top_pt_ = 0;
  PdfSink sink_;
  State state_ = State::kIdle;
  std::string name_;
  std::vector<uint32_t> raster_;
};
