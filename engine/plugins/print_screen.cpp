#include "engine/plugins/print_screen.h"

#include <climits>
#include <cmath>
#include <cstdlib>

#include "engine/engine.h"
#include "engine/run/run_state.h"
#include "host/registry_store.h"
#include "platform/display/display.h"
#include "platform/wendax.h"

namespace {

constexpr size_t kPrinterNameMax = 259;  // the value's 260-byte buffer

Dib565 Dib_Of(const SavePicture& picture) {
  return {picture.width, picture.height, SavePicture::Row_Bytes(picture.width), picture.bits};
}

}  // namespace

std::string Print_Printer_Name(const RegistryStore& store) {
  std::optional<RegistryKey> key = store.Open_Key(RegistryRoot::kCurrentConfig, kPrintersKey);
  if (!key) return "";
  std::string name = store.Read_Value(*key, kPrintersDefaultValue).value_or("");
  if (name.size() > kPrinterNameMax) name.resize(kPrinterNameMax);
  return name;
}

PrintRect Print_Fit(const PrintMetrics& m) {
  if (m.horz_size_mm <= 0 || m.vert_size_mm <= 0 || m.horz_res <= 0 || m.vert_res <= 0 ||
      m.log_pixels_x <= 0 || m.log_pixels_y <= 0)
    return {};
  const double hs = m.horz_size_mm, vs = m.vert_size_mm;
  double sx = 0, sy = 0;                         // device pixels per screen pixel
  if (vs / kScreenHeight > hs / kScreenWidth) {  // taller than 4:3
    sx = double(m.horz_res) / kScreenWidth;
    sy = sx * m.log_pixels_y / m.log_pixels_x;
  } else {
    sy = double(m.vert_res) / kScreenHeight;
    sx = sy * m.log_pixels_x / m.log_pixels_y;
  }
  const double w = std::trunc(kScreenWidth * sx), h = std::trunc(kScreenHeight * sy);
  // Very unequal pixel shapes could scale beyond what a rectangle holds.
  if (!(w >= 1 && w <= INT_MAX && h >= 1 && h <= INT_MAX)) return {};
  const int width = int(w), height = int(h);
  return {(m.horz_res - width) / 2, (m.vert_res - height) / 2, width / 4 * 4, height / 4 * 4};
}

bool Print_Draw(PrintDevice& device, const PrintRect& dest, const PrintRect& source, const Dib565& dib) {
  if (device.Stretch_DIB(dest, source, dib) > 0) return true;
  const int half_rows = source.height / 2;
  if (half_rows < kPrintDrawMinRows) return false;
  const int w = dest.width / 2, h = dest.height / 2, half_cols = source.width / 2;
  // DIB rows count from the bottom: the page's upper quarters come from the
  // source's upper half, which starts half_rows above its y.
  const PrintRect pieces[4][2] = {
      {{dest.x, dest.y, w, h}, {source.x, source.y + half_rows, half_cols, half_rows}},
      {{dest.x + w, dest.y, w, h}, {source.x + half_cols, source.y + half_rows, half_cols, half_rows}},
      {{dest.x, dest.y + h, w, h}, {source.x, source.y, half_cols, half_rows}},
      {{dest.x + w, dest.y + h, w, h}, {source.x + half_cols, source.y, half_cols, half_rows}},
  };
  for (const auto& piece : pieces)
    if (!Print_Draw(device, piece[0], piece[1], dib)) return false;
  return true;
}

SavePicture Print_Picture(Engine& engine) {
  const std::span<const uint16_t> frame = Wendax_Frame_Buffer(engine.wx);
  if (engine.wx.display.frame_width != kScreenWidth || engine.wx.display.frame_height != kScreenHeight ||
      frame.size() < size_t(kScreenWidth) * kScreenHeight)
    return {};
  SavePicture picture = SavePicture::Make(kScreenWidth, kScreenHeight);
  for (int y = 0; y < kScreenHeight; ++y)
    for (int x = 0; x < kScreenWidth; ++x) picture.Set(x, y, frame[size_t(y) * kScreenWidth + size_t(x)]);
  picture.Flip();
  return picture;
}

bool Print_Screen_On(Engine& engine, PrintDevice* device) {
  if (!device) return false;
  const PrintMetrics metrics = device->Metrics();
  if (!metrics.stretch_dib) return false;
  const PrintRect dest = Print_Fit(metrics);
  if (dest.width <= 0 || dest.height <= 0) return false;
  const SavePicture picture = Print_Picture(engine);
  if (picture.Empty()) return false;
  if (!device->Start_Doc(kPrintDocumentName)) return false;
  if (!device->Start_Page()) {
    device->Abort_Doc();
    return false;
  }
  // A picture that could not be drawn whole is not printed: no blank or
  // partial page goes out.
  if (!Print_Draw(*device, dest, {0, 0, picture.width, picture.height}, Dib_Of(picture)) ||
      !device->End_Page() || !device->End_Doc()) {
    device->Abort_Doc();
    return false;
  }
  return true;
}

int Print_Screen(Engine& engine, int, char**) {
  const RegistryStore store(Registry_Default_Path());
  const std::optional<PrintRequest> request =
      Print_Request_From(std::getenv("KVR_PRINTER"), Print_Printer_Name(store), true);
  if (!request) return 0;
  std::unique_ptr<PrintDevice> device = Print_Device_Open(*request);
  Print_Screen_On(engine, device.get());
  return 0;
}
