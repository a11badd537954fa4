// A printer as the engine's screen printing sees it: the metrics of its
// printable area, a document of pages, and stretched 16-bit DIBs drawn into
// a page.
//
// The real device (Print_Device_Open) draws into a page raster and sends the
// page as a PDF to a CUPS destination, or writes the PDF to a file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>

// The device's metrics, as a printer's device context reports them.
struct PrintMetrics {
  int horz_size_mm = 0;  // printable width and height in millimetres
  int vert_size_mm = 0;
  int horz_res = 0;  // printable width and height in device pixels
  int vert_res = 0;
  int log_pixels_x = 0;  // device pixels per inch across and down
  int log_pixels_y = 0;
  bool stretch_dib = false;  // the device draws stretched DIBs
};

// A rectangle in device pixels or in DIB pixels.
struct PrintRect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  bool operator==(const PrintRect&) const = default;
};

// A bottom-up DIB of 16-bit 5-6-5 pixels (little-endian; red bits 11-15,
// green 5-10, blue 0-4): memory row 0 is the picture's bottom row, and DIB
// y coordinates count from it.
struct Dib565 {
  int32_t width = 0;
  int32_t height = 0;
  size_t row_bytes = 0;
  std::span<const uint8_t> bits;  // height x row_bytes

  // True when the sizes are positive and the bits hold every row.
  bool Valid() const;
};

class PrintDevice {
 public:
  virtual ~PrintDevice() = default;

  virtual PrintMetrics Metrics() const = 0;
  // Starts a document of that name (the job's title). False when it cannot.
  virtual bool Start_Doc(std::string_view name) = 0;
  virtual bool Start_Page() = 0;
  // Draws the DIB's source rectangle stretched into the page's destination
  // rectangle (both with positive sizes). The number of source rows drawn,
  // 0 when the device refuses.
  virtual int Stretch_DIB(const PrintRect& dest, const PrintRect& source, const Dib565& dib) = 0;
  virtual bool End_Page() = 0;
  // Ends the document and sends it out. False when it could not be sent.
  virtual bool End_Doc() = 0;
  // Drops the document: nothing is sent.
  virtual void Abort_Doc() = 0;
};

// Where a print goes and how.
struct PrintRequest {
  std::string printer;     // a CUPS destination ("name" or "name/instance"); empty: the default one
  std::string file;        // not empty: the PDF goes to this file instead of CUPS
  bool landscape = false;  // a portrait medium is turned to landscape
};

// The request for `printer` under the setting of $KVR_PRINTER: "file:PATH"
// writes the PDF to PATH, any other non-empty value names the CUPS
// destination in place of `printer`. Nothing for "file:" with an empty
// PATH: it names no destination.
std::optional<PrintRequest> Print_Request_From(const char* kvr_printer, std::string printer, bool landscape);

// The device of the request: for a file, A4 (210 x 297 mm) at 300 dpi with
// no margins; for CUPS, the destination's default medium (A4 when it has
// none) and its margins at 300 dpi. Null when the destination does not
// exist or no CUPS destination is set up.
std::unique_ptr<PrintDevice> Print_Device_Open(const PrintRequest& request);
