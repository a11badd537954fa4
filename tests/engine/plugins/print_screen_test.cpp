// Print_Screen: the fit of the screen on the page, the fallback to pieces
// for devices that refuse large DIBs, the document's steps on a recording
// device, the printer named by the registry, and a headless game printing
// to a PDF file.
#include "engine/plugins/print_screen.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "engine/plugins/plugin_block.h"
#include "engine/run/run_services.h"
#include "host/registry_store.h"
#include "platform/display/display.h"
#include "tests/engine/engine_test_support.h"

namespace {

std::string Text(const PrintRect& r) {
  return std::to_string(r.x) + "," + std::to_string(r.y) + "," + std::to_string(r.width) + "," +
         std::to_string(r.height);
}

// Records every call; draws DIBs of at most `max_rows` source rows.
class RecordingDevice : public PrintDevice {
 public:
  PrintMetrics metrics{297, 210, 3508, 2480, 300, 300, true};
  int max_rows = 1 << 20;
  std::string fail;  // the call that fails: "Start_Doc", "Start_Page", "End_Page" or "End_Doc"
  std::vector<std::string> calls;
  std::vector<uint16_t> first_dib_corners;  // memory rows 0 and 479, columns 0 and 639

  PrintMetrics Metrics() const override { return metrics; }
  bool Start_Doc(std::string_view name) override { return Call("Start_Doc " + std::string(name)); }
  bool Start_Page() override { return Call("Start_Page"); }
  int Stretch_DIB(const PrintRect& dest, const PrintRect& source, const Dib565& dib) override {
    calls.push_back(Text(dest) + " <- " + Text(source));
    if (first_dib_corners.empty() && dib.width == 640 && dib.height == 480 && dib.row_bytes == 1280 &&
        dib.bits.size() >= 1280 * 480)
      for (size_t row : {0, 479})
        for (size_t x : {0, 639})
          first_dib_corners.push_back(
              uint16_t(dib.bits[row * 1280 + x * 2] | dib.bits[row * 1280 + x * 2 + 1] << 8));
    return source.height <= max_rows ? source.height : 0;
  }
  bool End_Page() override { return Call("End_Page"); }
  bool End_Doc() override { return Call("End_Doc"); }
  void Abort_Doc() override { calls.push_back("Abort_Doc"); }

 private:
  bool Call(const std::string& call) {
    calls.push_back(call);
    return call.rfind(fail, 0) != 0 || fail.empty();
  }
};

TEST(PrintScreen, FitsTheScreenToThePage) {
  struct Case {
    const char* what;
    PrintMetrics metrics;
    PrintRect want;
  };
  const Case cases[] = {
      // As tall as the page, centred across: 3306 wide, left (3508 - 3306) / 2.
      {"A4 landscape", {297, 210, 3508, 2480, 300, 300, true}, {101, 0, 3304, 2480}},
      {"A4 portrait", {210, 297, 2480, 3508, 300, 300, true}, {0, 824, 2480, 1860}},
      // Letter landscape is taller than 4:3: as wide as the page.
      {"Letter landscape", {279, 216, 3300, 2550, 300, 300, true}, {0, 37, 3300, 2472}},
      // Twice as many pixels across: twice as wide, hanging over both sides.
      {"600 x 300 dpi", {297, 210, 3508, 2480, 600, 300, true}, {-1552, 0, 6612, 2480}},
      // Exactly 4:3 counts as not taller: fitted to the height.
      {"exactly 4:3", {640, 480, 640, 480, 600, 300, true}, {-320, 0, 1280, 480}},
      {"no size", {0, 210, 3508, 2480, 300, 300, true}, {}},
      {"no resolution", {297, 210, 3508, 2480, 0, 300, true}, {}},
      {"too unequal", {297, 210, 3508, 2480, 2000000000, 1, true}, {}},
  };
  for (const Case& c : cases) EXPECT_EQ(Text(Print_Fit(c.metrics)), Text(c.want)) << c.what;
}

TEST(PrintScreen, RefusedPicturesAreDrawnInQuartersDownToSixteenRows) {
  struct Case {
    int source_rows;
    int max_rows;
    bool drawn;
    std::vector<std::string> calls;  // empty: only counted
    size_t count;
  };
  const std::vector<Case> cases = {
      {480, 480, true, {"101,0,3304,2480 <- 0,0,640,480"}, 1},
      // The page's upper quarters come from the DIB's upper rows.
      {480,
       240,
       true,
       {"101,0,3304,2480 <- 0,0,640,480", "101,0,1652,1240 <- 0,240,320,240",
        "1753,0,1652,1240 <- 320,240,320,240", "101,1240,1652,1240 <- 0,0,320,240",
        "1753,1240,1652,1240 <- 320,0,320,240"},
       5},
      {480, 120, true, {}, 21},
      // Refused at every size: halved while 16 rows or more remain, and the
      // first piece that fails ends the drawing.
      {480,
       0,
       false,
       {"101,0,3304,2480 <- 0,0,640,480", "101,0,1652,1240 <- 0,240,320,240",
        "101,0,826,620 <- 0,360,160,120", "101,0,413,310 <- 0,420,80,60", "101,0,206,155 <- 0,450,40,30"},
       5},
      {32, 16, true, {}, 5},
      {32, 0, false, {"101,0,3304,2480 <- 0,0,640,32", "101,0,1652,1240 <- 0,16,320,16"}, 2},
      {31, 16, false, {"101,0,3304,2480 <- 0,0,640,31"}, 1},
  };
  const std::vector<uint8_t> bits(1280 * 480);
  for (const Case& c : cases) {
    RecordingDevice device;
    device.max_rows = c.max_rows;
    const Dib565 dib{640, c.source_rows, 1280, std::span(bits).first(size_t(1280 * c.source_rows))};
    const std::string what = std::to_string(c.source_rows) + " rows, at most " + std::to_string(c.max_rows);
    EXPECT_EQ(Print_Draw(device, {101, 0, 3304, 2480}, {0, 0, 640, c.source_rows}, dib), c.drawn) << what;
    EXPECT_EQ(device.calls.size(), c.count) << what;
    if (!c.calls.empty()) {
      EXPECT_EQ(device.calls, c.calls) << what;
    }
  }
}

// A frame whose corners are told apart.
void Paint_Corners(Wendax& wx) {
  std::span<uint16_t> frame = Wendax_Frame_Buffer(wx);
  std::fill(frame.begin(), frame.end(), 0x1111);
  frame[0] = 0xF800;                // top left
  frame[639] = 0x07E0;              // top right
  frame[479 * 640] = 0x001F;        // bottom left
  frame[479 * 640 + 639] = 0xFFFF;  // bottom right
}

TEST(PrintScreen, OnePageWithTheScreenTheRightWayUp) {
  HeadlessEngine h;
  Paint_Corners(h.wx);
  RecordingDevice device;
  ASSERT_TRUE(Print_Screen_On(h.engine, &device));
  EXPECT_EQ(device.calls,
            (std::vector<std::string>{"Start_Doc ZQ OrvaneVR Warp Shoot", "Start_Page",
                                      "101,0,3304,2480 <- 0,0,640,480", "End_Page", "End_Doc"}));
  // Memory row 0 of the bottom-up DIB is the screen's bottom row.
  EXPECT_EQ(device.first_dib_corners, (std::vector<uint16_t>{0x001F, 0xFFFF, 0xF800, 0x07E0}));
  EXPECT_EQ(Wendax_Frame_Buffer(h.wx)[0], 0xF800);  // the screen is left as it was
}

TEST(PrintScreen, FailuresDropTheDocument) {
  const std::string draw = "101,0,3304,2480 <- 0,0,640,480";
  struct Case {
    std::string fail;
    int max_rows;
    bool stretch_dib;
    std::vector<std::string> calls;
  };
  const std::vector<Case> cases = {
      {"", 480, false, {}},  // no stretched DIBs: nothing at all
      {"Start_Doc", 480, true, {"Start_Doc ZQ OrvaneVR Warp Shoot"}},
      {"Start_Page", 480, true, {"Start_Doc ZQ OrvaneVR Warp Shoot", "Start_Page", "Abort_Doc"}},
      {"End_Page",
       480,
       true,
       {"Start_Doc ZQ OrvaneVR Warp Shoot", "Start_Page", draw, "End_Page", "Abort_Doc"}},
      {"End_Doc",
       480,
       true,
       {"Start_Doc ZQ OrvaneVR Warp Shoot", "Start_Page", draw, "End_Page", "End_Doc", "Abort_Doc"}},
  };
  HeadlessEngine h;
  for (const Case& c : cases) {
    RecordingDevice device;
    device.fail = c.fail;
    device.max_rows = c.max_rows;
    device.metrics.stretch_dib = c.stretch_dib;
    EXPECT_FALSE(Print_Screen_On(h.engine, &device)) << c.fail;
    EXPECT_EQ(device.calls, c.calls) << c.fail;
  }
  // A picture that cannot be drawn is not printed.
  RecordingDevice refusing;
  refusing.max_rows = 0;
  EXPECT_FALSE(Print_Screen_On(h.engine, &refusing));
  ASSERT_EQ(refusing.calls.size(), 8u);
  EXPECT_EQ(refusing.calls.back(), "Abort_Doc");
  EXPECT_FALSE(Print_Screen_On(h.engine, nullptr));
}

TEST(PrintScreen, TheRegistryNamesThePrinter) {
  TempFolder folder;
  RegistryStore store(folder.Path("registry"));
  EXPECT_EQ(Print_Printer_Name(store), "");
  std::optional<RegistryKey> key = store.Create_Key(RegistryRoot::kCurrentConfig, kPrintersKey);
  ASSERT_TRUE(key);
  EXPECT_EQ(Print_Printer_Name(store), "");
  const std::pair<std::string, std::string> cases[] = {
      {"Office", "Office"}, {"", ""}, {std::string(300, 'p'), std::string(259, 'p')}};
  for (const auto& [value, want] : cases) {
    ASSERT_TRUE(store.Write_Value(*key, "default", value));
    EXPECT_EQ(Print_Printer_Name(store), want) << value.size();
  }
  // The value must sit under the current-config root.
  RegistryStore other(folder.Path("other"));
  std::optional<RegistryKey> machine = other.Create_Key(RegistryRoot::kLocalMachine, kPrintersKey);
  ASSERT_TRUE(machine && other.Write_Value(*machine, "Default", "Office"));
  EXPECT_EQ(Print_Printer_Name(other), "");
}

TEST(PrintScreen, APluginBlockPrintsToThePdfFileOfKvrPrinter) {
  TempFolder folder;
  setenv("KVR_REGISTRY", folder.Path("registry").c_str(), 1);
  setenv("KVR_PRINTER", ("file:" + folder.Path("screen.pdf")).c_str(), 1);
  RunServices services;
  HeadlessEngine h({}, &services);
  Paint_Corners(h.wx);
  Plugin_Run_Block(h.engine, {"Print_Screen()"});
  const std::string pdf = folder.Read("screen.pdf").value_or("");
  EXPECT_EQ(pdf.substr(0, 5), "%PDF-");
  EXPECT_NE(pdf.find("/Title (ZQ OrvaneVR Warp Shoot)"), std::string::npos);
  EXPECT_NE(pdf.find("/MediaBox [ 0 0 841.889764 595.275591 ]"), std::string::npos);

  // "file:" without a path prints nowhere.
  ::remove(folder.Path("screen.pdf").c_str());
  setenv("KVR_PRINTER", "file:", 1);
  Plugin_Run_Block(h.engine, {"print_screen()"});
  EXPECT_EQ(folder.Entries(), std::vector<std::string>{});
  unsetenv("KVR_PRINTER");
  unsetenv("KVR_REGISTRY");
  EXPECT_EQ(h.debug, std::vector<std::string>{});
}

}  // namespace
