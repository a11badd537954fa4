#include "host/page_print_device.h"

#include <algorithm>
#include <cmath>

#include "host/pdf_page.h"
#include "packing/byte_order.h"

namespace {

constexpr uint32_t kWhite = 0xFFFFFF;
constexpr double kHundredthsMmPerInch = 2540.0;

// Device pixels of a length in hundredths of a millimetre, rounded.
int Pixels(int hundredths_mm) {
  return int(std::lround(hundredths_mm * double(kPrintDpi) / kHundredthsMmPerInch));
}
int Millimetres(int hundredths_mm) { return int(std::lround(hundredths_mm / 100.0)); }
double Points(int hundredths_mm) { return hundredths_mm * 72.0 / kHundredthsMmPerInch; }

// The source pixels that page pixel i of `dest` pixels covers when `source`
// pixels are stretched over them, with the covered part of each.
struct Tap {
  int index;
  float weight;
};
struct AxisTaps {
  std::vector<size_t> first;  // dest + 1 offsets into taps
  std::vector<Tap> taps;
};

AxisTaps Box_Taps(int source, int dest) {
  AxisTaps a;
  a.first.reserve(size_t(dest) + 1);
  const double step = double(source) / double(dest);
  for (int i = 0; i < dest; ++i) {
    a.first.push_back(a.taps.size());
    const double lo = i * step, hi = (i + 1) * step;
    const int j0 = std::clamp(int(std::floor(lo)), 0, source - 1);
    const int j1 = std::clamp(int(std::ceil(hi)), j0 + 1, source);
    for (int j = j0; j < j1; ++j) {
      const double covered = std::min(hi, double(j + 1)) - std::max(lo, double(j));
      if (covered > 0) a.taps.push_back({j, float(covered / step)});
    }
    if (a.first.back() == a.taps.size()) a.taps.push_back({j0, 1.0f});
  }
  a.first.push_back(a.taps.size());
  return a;
}

struct Rgb {
  float r = 0, g = 0, b = 0;
};

Rgb Expand(uint16_t p) {
  const int r = p >> 11 & 0x1F, g = p >> 5 & 0x3F, b = p & 0x1F;
  return {float(r << 3 | r >> 2), float(g << 2 | g >> 4), float(b << 3 | b >> 2)};
}

uint32_t Pack(const Rgb& c) {
  auto channel = [](float v) { return uint32_t(std::clamp(int(std::lround(v)), 0, 255)); };
  return channel(c.r) << 16 | channel(c.g) << 8 | channel(c.b);
}

}  // namespace

bool PrintMedium::Usable() const {
  return width > 0 && length > 0 && left >= 0 && right >= 0 && top >= 0 && bottom >= 0 &&
         left + right < width && top + bottom < length;
}

PagePrintDevice::PagePrintDevice(const PrintMedium& given, bool landscape, PdfSink sink)
    : sink_(std::move(sink)) {
  PrintMedium m = given.Usable() ? given : PrintMedium{};
  if (landscape && m.length > m.width)
    m = {m.length, m.width, m.bottom, m.top, m.left, m.right};  // a quarter turn clockwise
  const int printable_w = m.width - m.left - m.right, printable_h = m.length - m.top - m.bottom;
  metrics_.horz_size_mm = Millimetres(printable_w);
  metrics_.vert_size_mm = Millimetres(printable_h);
  metrics_.horz_res = std::max(Pixels(printable_w), 1);
  metrics_.vert_res = std::max(Pixels(printable_h), 1);
  metrics_.log_pixels_x = kPrintDpi;
  metrics_.log_pixels_y = kPrintDpi;
  metrics_.stretch_dib = true;
  page_width_pt_ = Points(m.width);
  page_height_pt_ = Points(m.length);
  left_pt_ = Points(m.left);
  top_pt_ = Points(m.top);
}

bool PagePrintDevice::Start_Doc(std::string_view name) {
  if (state_ != State::kIdle) return false;
  name_ = std::string(name);
  raster_.clear();
  state_ = State::kDoc;
  return true;
}

bool PagePrintDevice::Start_Page() {
  if (state_ != State::kDoc) return false;
  raster_.assign(size_t(metrics_.horz_res) * size_t(metrics_.vert_res), kWhite);
  state_ = State::kPage;
  return true;
}

int PagePrintDevice::Stretch_DIB(const PrintRect& dest, const PrintRect& source, const Dib565& dib) {
  if (state_ != State::kPage || !dib.Valid()) return 0;
  if (dest.width <= 0 || dest.height <= 0 || source.width <= 0 || source.height <= 0) return 0;
  if (source.x < 0 || source.y < 0 || source.x > dib.width - source.width ||
      source.y > dib.height - source.height)
    return 0;
  // The part of the destination on the page, in destination coordinates.
  const int64_t x0 = std::max<int64_t>(0, -int64_t(dest.x)),
                x1 = std::min<int64_t>(dest.width, int64_t(metrics_.horz_res) - dest.x);
  const int64_t y0 = std::max<int64_t>(0, -int64_t(dest.y)),
                y1 = std::min<int64_t>(dest.height, int64_t(metrics_.vert_res) - dest.y);
  if (x0 >= x1 || y0 >= y1) return source.height;

  const AxisTaps across = Box_Taps(source.width, dest.width);
  const AxisTaps down = Box_Taps(source.height, dest.height);
  // Across first: each source row (counted from the source's top) stretched
  // to the visible columns.
  const size_t cols = size_t(x1 - x0);
  std::vector<Rgb> rows(size_t(source.height) * cols);
  std::vector<Rgb> line(size_t(source.width));
  for (int k = 0; k < source.height; ++k) {
    const uint8_t* bits = dib.bits.data() + size_t(source.y + source.height - 1 - k) * dib.row_bytes;
    for (int j = 0; j < source.width; ++j) line[size_t(j)] = Expand(Le_U16(bits + size_t(source.x + j) * 2));
    Rgb* out = &rows[size_t(k) * cols];
    for (int64_t i = x0; i < x1; ++i) {
      Rgb c;
      for (size_t t = across.first[size_t(i)]; t < across.first[size_t(i) + 1]; ++t) {
        const Tap& tap = across.taps[t];
        const Rgb& s = line[size_t(tap.index)];
        c.r += s.r * tap.weight;
        c.g += s.g * tap.weight;
        c.b += s.b * tap.weight;
      }
      out[i - x0] = c;
    }
  }
  // Then down, into the page.
  for (int64_t i = y0; i < y1; ++i) {
    uint32_t* page = &raster_[size_t(dest.y + i) * size_t(metrics_.horz_res) + size_t(dest.x + x0)];
    for (size_t x = 0; x < cols; ++x) {
      Rgb c;
      for (size_t t = down.first[size_t(i)]; t < down.first[size_t(i) + 1]; ++t) {
        const Tap& tap = down.taps[t];
        const Rgb& s = rows[size_t(tap.index) * cols + x];
        c.r += s.r * tap.weight;
        c.g += s.g * tap.weight;
        c.b += s.b * tap.weight;
      }
      page[x] = Pack(c);
    }
  }
  return source.height;
}

bool PagePrintDevice::End_Page() {
  if (state_ != State::kPage) return false;
  state_ = State::kPageDone;
  return true;
}

bool PagePrintDevice::End_Doc() {
  const bool page_done = state_ == State::kPageDone;
  state_ = State::kIdle;
  if (!page_done) return false;
  const std::vector<uint8_t> pdf = Pdf_Page_Bytes(raster_, metrics_.horz_res, metrics_.vert_res, kPrintDpi,
                                                  page_width_pt_, page_height_pt_, left_pt_, top_pt_, name_);
  return !pdf.empty() && sink_ && sink_(pdf, name_);
}

void PagePrintDevice::Abort_Doc() { state_ = State::kIdle; }
