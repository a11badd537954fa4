// kvrtool save info: a slot file's texts decoded from Windows-1252, its
// thumbnail as a PNG the right way up, and files that are no slot.
#include <gtest/gtest.h>

#include "engine/plugins/save_slot.h"
#include "tests/support/temp_folder.h"
#include "tests/tools/tool_run.h"
#include "tools/png_file.h"

namespace {

TEST(KvrtoolSave, InfoAndThumbnail) {
  TempFolder folder;
  SaveSlot slot;
  slot.script = Slot_Text_Part("script.lst");
  slot.label = Slot_Text_Part("Caf\xE9");
  slot.date = Slot_Text_Part("vendredi 11 12 2026");
  slot.date.insert(slot.date.end(), {'9', ' ', 'h', ' ', '0', '5', 0, 0});
  slot.picture = SavePicture::Make(3, 2);
  slot.picture.Set(0, 1, 0xF800);  // top-left red
  slot.context.assign(20, 0);
  const std::vector<uint8_t> bytes = Slot_Bytes(slot);
  folder.Write("Saved_1.bin", std::string(bytes.begin(), bytes.end()));
  const ToolRun run =
      Run_Kvrtool({"save", "info", folder.Path("Saved_1.bin"), "--thumb", folder.Path("t.png")});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, folder.Path("Saved_1.bin") +
                         ": saved game\nscript: script.lst\nlabel: Caf\xC3\xA9\ndate: vendredi 11 12 2026\n"
                         "time: 9 h 05\nthumbnail: 3 x 2\ncontext: 20 bytes\nwrote " +
                         folder.Path("t.png") + "\n");
  const std::string png = folder.Read("t.png").value_or("");
  RgbaImage image;
  std::string error;
  ASSERT_TRUE(Png_Decode({reinterpret_cast<const uint8_t*>(png.data()), png.size()}, image, error)) << error;
  EXPECT_EQ(image.width, 3);
  EXPECT_EQ(image.rgba[0], 255);
  EXPECT_EQ(image.rgba[3 * 4], 0);  // the bottom row is black

  folder.Write("junk.bin", std::string(bytes.begin(), bytes.begin() + 30));
  const ToolRun bad = Run_Kvrtool({"save", "info", folder.Path("junk.bin")});
  EXPECT_EQ(bad.status, 1);
  EXPECT_NE(bad.err.find("is no slot file"), std::string::npos);
}

}  // namespace
