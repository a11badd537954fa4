#include "host/print_device.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <regex>

#include "host/page_print_device.h"
#include "packing/byte_order.h"
#include "tests/support/temp_folder.h"

namespace {

constexpr uint16_t kRed = 0xF800, kGreen = 0x07E0, kBlue = 0x001F, kWhite = 0xFFFF, kBlack = 0;

// A bottom-up DIB of rows given from the bottom (memory order).
struct TestDib {
  int32_t width = 0;
  int32_t height = 0;
  size_t row_bytes = 0;
  std::vector<uint8_t> bits;

  explicit TestDib(const std::vector<std::vector<uint16_t>>& rows)
      : width(int32_t(rows[0].size())),
        height(int32_t(rows.size())),
        row_bytes((size_t(width) * 2 + 3) / 4 * 4) {
    bits.assign(row_bytes * rows.size(), 0);
    for (size_t r = 0; r < rows.size(); ++r)
      for (size_t x = 0; x < rows[r].size(); ++x) Put_Le16(&bits[r * row_bytes + x * 2], rows[r][x]);
  }
  Dib565 Dib() const { return {width, height, row_bytes, bits}; }
};

PagePrintDevice Started(const PrintMedium& medium = {}, bool landscape = false) {
  PagePrintDevice device(medium, landscape, nullptr);
  EXPECT_TRUE(device.Start_Doc("t") && device.Start_Page());
  return device;
}

TEST(PrintRequest, KvrPrinterOverridesTheRegistryName) {
  struct Case {
    const char* setting;
    const char* registry;
    bool has;
    std::string printer, file;
  };
  const Case cases[] = {
      {nullptr, "", true, "", ""},
      {nullptr, "Office", true, "Office", ""},
      {"", "Office", true, "Office", ""},
      {"Lab/duplex", "Office", true, "Lab/duplex", ""},
      {"file:/tmp/p.pdf", "Office", true, "", "/tmp/p.pdf"},
      {"file:", "Office", false, "", ""},
  };
  for (const Case& c : cases) {
    std::optional<PrintRequest> r = Print_Request_From(c.setting, c.registry, true);
    const std::string what = c.setting ? c.setting : "(unset)";
    ASSERT_EQ(r.has_value(), c.has) << what;
    if (!r) continue;
    EXPECT_EQ(r->printer, c.printer) << what;
    EXPECT_EQ(r->file, c.file) << what;
    EXPECT_TRUE(r->landscape) << what;
  }
}

TEST(PagePrintDevice, MetricsOfTheMediumAt300Dpi) {
  struct Case {
    PrintMedium medium;
    bool landscape;
    PrintMetrics want;
    double width_pt, height_pt;
  };
  const Case cases[] = {
      {{}, false, {210, 297, 2480, 3508, 300, 300, true}, 595.276, 841.890},
      {{}, true, {297, 210, 3508, 2480, 300, 300, true}, 841.890, 595.276},
      // Letter with margins: the printable area is what they leave.
      {{21590, 27940, 100, 200, 300, 400}, true, {272, 213, 3217, 2515, 300, 300, true}, 792, 612},
      // A landscape medium stays as it is.
      {{29700, 21000, 0, 0, 0, 0}, true, {297, 210, 3508, 2480, 300, 300, true}, 841.890, 595.276},
      // Unusable media count as A4.
      {{0, 29700, 0, 0, 0, 0}, false, {210, 297, 2480, 3508, 300, 300, true}, 595.276, 841.890},
      {{21000, 29700, 10500, 10500, 0, 0}, false, {210, 297, 2480, 3508, 300, 300, true}, 595.276, 841.890},
  };
  for (const Case& c : cases) {
    PagePrintDevice device(c.medium, c.landscape, nullptr);
    const PrintMetrics m = device.Metrics();
    const std::string what = std::to_string(c.medium.width) + "x" + std::to_string(c.medium.length);
    EXPECT_EQ(m.horz_size_mm, c.want.horz_size_mm) << what;
    EXPECT_EQ(m.vert_size_mm, c.want.vert_size_mm) << what;
    EXPECT_EQ(m.horz_res, c.want.horz_res) << what;
    EXPECT_EQ(m.vert_res, c.want.vert_res) << what;
    EXPECT_EQ(m.log_pixels_x, 300) << what;
    EXPECT_EQ(m.log_pixels_y, 300) << what;
    EXPECT_TRUE(m.stretch_dib) << what;
    EXPECT_NEAR(device.Page_Width_Pt(), c.width_pt, 0.001) << what;
    EXPECT_NEAR(device.Page_Height_Pt(), c.height_pt, 0.001) << what;
  }
}

TEST(PagePrintDevice, StretchesBottomUpDibsByAreaAndClipsToThePage) {
  // Two rows from the bottom: red green / blue white above them.
  const TestDib quad({{kRed, kGreen}, {kBlue, kWhite}});
  PagePrintDevice device = Started();
  ASSERT_EQ(device.Stretch_DIB({10, 20, 4, 4}, {0, 0, 2, 2}, quad.Dib()), 2);
  const uint32_t want[4][4] = {{0x0000FF, 0x0000FF, 0xFFFFFF, 0xFFFFFF},
                               {0x0000FF, 0x0000FF, 0xFFFFFF, 0xFFFFFF},
                               {0xFF0000, 0xFF0000, 0x00FF00, 0x00FF00},
                               {0xFF0000, 0xFF0000, 0x00FF00, 0x00FF00}};
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) EXPECT_EQ(device.Pixel(10 + x, 20 + y), want[y][x]) << x << "," << y;
  EXPECT_EQ(device.Pixel(9, 20), 0xFFFFFFu);
  EXPECT_EQ(device.Pixel(10, 19), 0xFFFFFFu);
  EXPECT_EQ(device.Pixel(14, 20), 0xFFFFFFu);

  // Reduced: three pixels over two, each page pixel the covered mean
  // (2/3 of red and 1/3 of black; 1/3 of black and 2/3 of blue).
  const TestDib line({{kRed, kBlack, kBlue}});
  ASSERT_EQ(device.Stretch_DIB({100, 100, 2, 1}, {0, 0, 3, 1}, line.Dib()), 1);
  EXPECT_EQ(device.Pixel(100, 100), 0xAA0000u);
  EXPECT_EQ(device.Pixel(101, 100), 0x0000AAu);
  // A source part: the right column of the top row only.
  ASSERT_EQ(device.Stretch_DIB({200, 200, 1, 1}, {1, 1, 1, 1}, quad.Dib()), 1);
  EXPECT_EQ(device.Pixel(200, 200), 0xFFFFFFu);
  ASSERT_EQ(device.Stretch_DIB({200, 200, 1, 1}, {0, 1, 1, 1}, quad.Dib()), 1);
  EXPECT_EQ(device.Pixel(200, 200), 0x0000FFu);

  // Hanging over the corners: the visible parts land on the page.
  const PrintMetrics m = device.Metrics();
  ASSERT_EQ(device.Stretch_DIB({-1, -1, 2, 2}, {0, 0, 2, 2}, quad.Dib()), 2);
  EXPECT_EQ(device.Pixel(0, 0), 0x00FF00u);
  ASSERT_EQ(device.Stretch_DIB({m.horz_res - 1, m.vert_res - 1, 2, 2}, {0, 0, 2, 2}, quad.Dib()), 2);
  EXPECT_EQ(device.Pixel(m.horz_res - 1, m.vert_res - 1), 0x0000FFu);
  EXPECT_EQ(device.Stretch_DIB({m.horz_res, 0, 2, 2}, {0, 0, 2, 2}, quad.Dib()), 2);  // wholly off
}

TEST(PagePrintDevice, RefusesWhatItCannotDraw) {
  const TestDib quad({{kRed, kGreen}, {kBlue, kWhite}});
  Dib565 short_bits = quad.Dib();
  short_bits.bits = short_bits.bits.first(short_bits.bits.size() - 1);
  Dib565 narrow_rows = quad.Dib();
  narrow_rows.row_bytes = 2;
  struct Case {
    PrintRect dest, source;
    Dib565 dib;
  };
  const Case cases[] = {
      {{0, 0, 0, 4}, {0, 0, 2, 2}, quad.Dib()}, {{0, 0, 4, -1}, {0, 0, 2, 2}, quad.Dib()},
      {{0, 0, 4, 4}, {0, 0, 0, 2}, quad.Dib()}, {{0, 0, 4, 4}, {-1, 0, 2, 2}, quad.Dib()},
      {{0, 0, 4, 4}, {0, 1, 2, 2}, quad.Dib()}, {{0, 0, 4, 4}, {1, 0, 2, 2}, quad.Dib()},
      {{0, 0, 4, 4}, {0, 0, 2, 2}, short_bits}, {{0, 0, 4, 4}, {0, 0, 2, 2}, narrow_rows},
      {{0, 0, 4, 4}, {0, 0, 2, 2}, Dib565{}},
  };
  PagePrintDevice device = Started();
  for (size_t i = 0; i < std::size(cases); ++i)
    EXPECT_EQ(device.Stretch_DIB(cases[i].dest, cases[i].source, cases[i].dib), 0) << i;
  EXPECT_EQ(device.Pixel(0, 0), 0xFFFFFFu);

  // Outside a page nothing is drawn; one page a document.
  PagePrintDevice idle({}, false, nullptr);
  EXPECT_EQ(idle.Stretch_DIB({0, 0, 4, 4}, {0, 0, 2, 2}, quad.Dib()), 0);
  EXPECT_FALSE(idle.Start_Page());
  EXPECT_FALSE(idle.End_Doc());
  ASSERT_TRUE(device.End_Page());
  EXPECT_EQ(device.Stretch_DIB({0, 0, 4, 4}, {0, 0, 2, 2}, quad.Dib()), 0);
  EXPECT_FALSE(device.Start_Page());
}

// The first "/Name [ numbers ]" or "/Name (text)" of a PDF.
std::string Pdf_Entry(const std::string& pdf, const std::string& pattern) {
  std::smatch m;
  return std::regex_search(pdf, m, std::regex(pattern)) ? m[1].str() : "";
}

TEST(PrintDeviceOpen, AFileDeviceWritesALandscapeA4PdfTitledByTheDocument) {
  TempFolder folder;
  std::optional<PrintRequest> request =
      Print_Request_From(("file:" + folder.Path("page.pdf")).c_str(), "Office", true);
  ASSERT_TRUE(request);
  std::unique_ptr<PrintDevice> device = Print_Device_Open(*request);
  auto* page = dynamic_cast<PagePrintDevice*>(device.get());
  ASSERT_TRUE(page);
  const TestDib quad({{kRed, kGreen}, {kBlue, 0x8410}});
  ASSERT_TRUE(device->Start_Doc("ZQ OrvaneVR Warp Shoot"));
  ASSERT_TRUE(device->Start_Page());
  ASSERT_EQ(device->Stretch_DIB({3000, 2000, 300, 300}, {0, 0, 2, 2}, quad.Dib()), 2);
  EXPECT_FALSE(folder.Exists("page.pdf"));
  ASSERT_TRUE(device->End_Page());
  ASSERT_TRUE(device->End_Doc());
  EXPECT_EQ(page->Pixel(3299, 2149), 0x848284u);  // the top-right source pixel, grey
  EXPECT_EQ(page->Pixel(3000, 2299), 0xFF0000u);

  const std::string pdf = folder.Read("page.pdf").value_or("");
  EXPECT_EQ(pdf.substr(0, 5), "%PDF-");
  EXPECT_NE(pdf.find("(ZQ OrvaneVR Warp Shoot)"), std::string::npos);
  const std::string box = Pdf_Entry(pdf, R"(/MediaBox\s*\[\s*([^\]]*)\])");
  double x0 = -1, y0 = -1, x1 = 0, y1 = 0;
  ASSERT_EQ(std::sscanf(box.c_str(), "%lf %lf %lf %lf", &x0, &y0, &x1, &y1), 4) << box;
  EXPECT_EQ(x0, 0);
  EXPECT_EQ(y0, 0);
  EXPECT_NEAR(x1, 841.89, 0.01);
  EXPECT_NEAR(y1, 595.28, 0.01);
  EXPECT_EQ(folder.Entries(), std::vector<std::string>{"page.pdf"});  // no temporary file left

  // An aborted document writes nothing.
  ::remove(folder.Path("page.pdf").c_str());
  ASSERT_TRUE(device->Start_Doc("x") && device->Start_Page());
  device->Abort_Doc();
  EXPECT_FALSE(device->End_Doc());
  EXPECT_FALSE(folder.Exists("page.pdf"));
}

TEST(PrintDeviceOpen, AFileInAMissingFolderFailsAtTheEnd) {
  TempFolder folder;
  std::unique_ptr<PrintDevice> device = Print_Device_Open({"", folder.Path("none/page.pdf"), true});
  ASSERT_TRUE(device && device->Start_Doc("d") && device->Start_Page() && device->End_Page());
  EXPECT_FALSE(device->End_Doc());
}

}  // namespace
